#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "app/settings.h"
#include "app/text.h"
#include "log/event_log.h"
#include "power/capacity.h"
#include "power/status.h"
#include "res/resource.h"
#include "ui/graph.h"
#include "ui/screen.h"
#include "ui/tray_tip.h"
namespace {
// Answers like the platform's reader: the fallback for a missing key, else the number at the start
// of the text, negative as two's complement. One key at most.
struct Ini { const char *key, *text; };
const char *Find(const void *ini, const char *key) {
    const Ini *i = static_cast<const Ini *>(ini);
    return i->text && !strcmp(i->key, key) ? i->text : nullptr;
}
uint32_t ReadInt(const void *ini, const char *key, uint32_t fallback) {
    return Find(ini, key) ? static_cast<uint32_t>(strtoll(Find(ini, key), nullptr, 10)) : fallback;
}
void ReadString(const void *ini, const char *key, const char *fallback, char *out, uint32_t capacity) {
    snprintf(out, capacity, "%s", Find(ini, key) ? Find(ini, key) : fallback);
}
// What key leaves in the records after loading a file with only that key.
int64_t Loaded(const char *key, const char *text) {
    const Ini ini = {key, text};
    const ProfileReader reader = {&ini, ReadInt, ReadString};
    LoadSettings(&reader, 0x00224466u);
    const std::string k = key;
    return k == "RunHidden" ? appGlobals.runHidden : k == "ShowDetails" ? appGlobals.storedShowDetails
         : k == "Logfile" ? appGlobals.logfile : k == "Interval" ? appGlobals.interval
         : k == "AlertThreshold" ? thresholds.alertThreshold : k == "LowThreshold" ? thresholds.lowThreshold
         : k == "CriticalThreshold" ? thresholds.criticalThreshold : int64_t{iconSettings.iconColor};
}
std::string Repeated(const char *text, int times) { std::string s; while (times-- > 0) s += text; return s; }
// What a writer leaves in a buffer that held "x": the length it says, a colon and the text.
template <class Write> std::string Out(Write write) {
    char out[128] = "x";
    return std::to_string(write(out)) + ":" + out;
}
// What call answers in a single-byte code page (Windows before UTF-8 as the program's code page).
template <class Call> auto InCodePage1252(Call call) {
    SetProgramCodePage(1252);
    const auto answer = call();
    SetProgramCodePage(CODE_PAGE_UTF8);
    return answer;
}
// Thresholds keep their low byte before the range test, an alert of 255 is off; IconColor stored when set.
TEST(Settings, DefaultsForMissingOrOutOfRangeKeys) {
    const struct { const char *key; std::vector<std::pair<const char *, int64_t>> values; } cases[] = {
        {"RunHidden", {{nullptr, 0}, {"2", 1}}}, {"ShowDetails", {{nullptr, 0}, {"1", 1}}},
        {"Logfile", {{nullptr, 0}, {"-1", 1}}},
        {"Interval", {{nullptr, 60}, {"59", 60}, {"61", 61}, {"360", 360}, {"361", 60}, {"-5", 60}}},
        {"AlertThreshold", {{nullptr, 9}, {"0", 0}, {"99", 99}, {"100", 9}, {"254", 9}, {"-1", 255},
                            {"355", 99}}},
        {"LowThreshold", {{nullptr, 32}, {"0", 0}, {"100", 100}, {"101", 32}, {"356", 100}}},
        {"CriticalThreshold", {{nullptr, 9}, {"0", 0}, {"100", 100}, {"101", 9}}},
        {"IconColor", {{nullptr, 0x224466}, {"", 0x224466}, {"0", 0}, {"4278190335", 0xFF}}}};
    for (const auto &c : cases)
        for (const auto &v : c.values)
            EXPECT_EQ(std::make_pair(Loaded(c.key, v.first), iconSettings.iconColorStored),
                      std::make_pair(v.second, v.first && *v.first && !strcmp(c.key, "IconColor")))
                << c.key << "=" << (v.first ? v.first : "(none)");
    memset(&iconSettings, 0xAB, sizeof iconSettings);  // the font's parts not read are cleared
    Loaded("", nullptr);
    const IconFont &f = iconSettings.font;
    EXPECT_EQ((std::vector<int>{f.height, f.width, f.escapement, f.orientation, f.weight, f.italic, f.underline,
                                f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily}),
              (std::vector<int>{-9, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 34}));
    EXPECT_STREQ(f.faceName, "Tahoma");
    // Cut to 30 bytes by the platform, then to whole characters: a byte of a single-byte code page is one.
    const auto face = [&](const std::string &name) { Loaded("FaceName", name.c_str()); return std::string(f.faceName); };
    const std::string cjk = "A" + Repeated("\xE7\x94\xB0", 10), sharp = "Stra\xDF";
    EXPECT_EQ(std::make_pair(face(cjk), face(sharp)), std::make_pair("A" + Repeated("\xE7\x94\xB0", 9), std::string("Stra")));
    EXPECT_EQ(InCodePage1252([&] { return face(cjk) + "|" + face(sharp); }), cjk.substr(0, 30) + "|" + sharp);
}
// The program's name with another extension, within 259 UTF-16 units, whatever their bytes in the code page.
TEST(Settings, FilesBesideTheProgram) {
    const std::string dot250 = std::string(250, 'a') + ".exe", f255(255, 'f'), fallback = ".\\Ampwatch.ini";
    const std::string cjk250 = "C:\\" + Repeated("\xE7\x94\xB0", 250), u252 = "C:\\" + std::string(252, '\xFC');
    const std::string emoji126 = Repeated("\xF0\x9F\x98\x80", 126);  // two units each
    const struct { std::string module, settings; } paths[] = {
        {"C:\\T\\amp.w.exe", "C:\\T\\amp.w.ini"}, {"C:\\v1.9\\a", "C:\\v1.9\\a.ini"},
        {"Z:/v1.9/a", "Z:/v1.9/a.ini"}, {"v1.9:a", "v1.9:a.ini"}, {"a", "a.ini"}, {".exe", ".ini"},
        {"", fallback}, {f255, f255 + ".ini"}, {std::string(256, 'f'), fallback},
        {dot250 + "xxxxx", std::string(250, 'a') + ".ini"}, {dot250 + "xxxxxx", fallback},  // 260: cut
        {cjk250 + ".exe", cjk250 + ".ini"}, {cjk250 + Repeated("\xE7\x94\xB0", 3) + ".exe", fallback},
        {"C:" + emoji126 + "1.exe", "C:" + emoji126 + "1.ini"}, {"C:" + emoji126 + "12.exe", fallback},
        {u252 + ".exe", fallback}};  // 0xFC leads four bytes in UTF-8
    PathSet p;
    const auto settings = [&](const std::string &module) {
        DerivePaths(&p, module.c_str(), static_cast<uint32_t>(module.size()));
        return std::string(p.settings);
    };
    for (const auto &c : paths) EXPECT_EQ(settings(c.module), c.settings) << c.module.size() << " " << c.module;
    // 259 characters of a single-byte code page, each a byte above 0x7F; 260 were cut.
    EXPECT_EQ(InCodePage1252([&] { return settings(u252 + ".exe") + "|" + settings(u252 + "\xE4.exe"); }),
              u252 + ".ini|" + fallback);
    DerivePaths(&p, "C:\\T\\Ampwatch.exe", 17);
    EXPECT_EQ(std::string(p.history) + "|" + p.eventLog, "C:\\T\\Ampwatch.dat|C:\\T\\Ampwatch.txt");
}
// A new interval in range: 60 to 360 and not the current one.
TEST(Settings, IntervalChangeWithinRange) {
    const struct { int64_t position; bool change; } positions[] = {{59, false}, {60, true}, {119, true},
        {120, false}, {121, true}, {360, true}, {361, false}, {120 + (int64_t{1} << 32), false}};
    for (const auto &c : positions)
        EXPECT_EQ(IntervalChangeRequested(c.position, 120), c.change) << c.position;
}
// German for every German variety, whatever the sublanguage (the texts themselves: end to end).
TEST(Texts, GermanForEveryGermanVariety) {
    for (const uint16_t german : {0x0407, 0x0807, 0x0007}) EXPECT_TRUE(IsGermanLanguage(german)) << std::hex << german;
    for (const uint16_t other : {0x0409, 0x0107, 0x0417}) EXPECT_FALSE(IsGermanLanguage(other)) << std::hex << other;
}
// Numbers of 64 bits with leading zeros to a least count of digits, and files in a folder (its length: 0
// failed, capacity or more too small), whole or not at all.
TEST(Texts, NumbersAndPathsWholeOrNothing) {
    const auto number = [](uint32_t capacity, uint64_t value, uint32_t digits) {
        return Out([&](char *o) { return FormatUnsigned(o, capacity, value, digits); });
    };
    EXPECT_EQ(number(0, 7, 1) + number(1, 7, 1) + number(5, 12345, 1) + number(6, 12345, 1), "0:x0:0:5:12345");
    EXPECT_EQ(number(21, UINT64_MAX, 1), "20:18446744073709551615");
    EXPECT_EQ(number(3, 7, 2) + number(11, 0, 10) + number(3, 123, 2) + number(3, 7, 3), "2:0710:00000000000:0:");
    EXPECT_EQ(number(8, 7, UINT32_MAX), "0:");
    const auto join = [](uint32_t capacity, uint32_t folderLength) {
        return Out([&](char *o) { memcpy(o, "C:\\W", 5); return JoinPath(o, capacity, folderLength, "ab"); });
    };
    EXPECT_EQ(join(8, 4) + "|" + join(7, 4) + "|" + join(8, 0) + "|" + join(8, 8), "1:C:\\W\\ab|0:C:\\W|0:C:\\W|0:C:\\W");
}
// The levels in turn through one latch, "!" where the alert box is shown.
std::string Alerts(uint8_t threshold, std::initializer_list<int> levels) {
    bool latched = false;
    std::string shown;
    for (int level : levels)
        shown += " " + std::to_string(level) + (StepAlert(&latched, uint8_t(level), threshold) ? "!" : "");
    return shown;
}
// Once at the threshold, again only after rising above threshold + 3 (at most 99); 255 threshold: off.
TEST(Alert, OnceThenRearmedAboveThePlusThreeMark) {
    EXPECT_EQ(Alerts(9, {11, 10, 9, 9, 8, 0, 12, 9, 13, 9, 255, 13, 9}),
              " 11 10 9! 9 8 0 12 9 13 9! 255 13 9!");
    EXPECT_EQ(Alerts(0, {1, 0, 3, 0, 4, 0}), " 1 0! 3 0 4 0!");
    EXPECT_EQ(Alerts(95, {95, 98, 95, 99, 95}), " 95! 98 95 99 95!");
    EXPECT_EQ(Alerts(97, {97, 99, 97, 100, 97}), " 97! 99 97 100 97!");
    EXPECT_EQ(Alerts(99, {99, 100, 99}), " 99! 100 99!");
    EXPECT_EQ(Alerts(9, {255, 9, 255, 9}), " 255 9! 255 9");  // an unknown level neither fires nor re-arms
    EXPECT_EQ(Alerts(255, {0, 50, 100, 0}), " 0 50 100 0");
}
// A new level, flag or mains state redraws the picture; a new time only the tooltip. A screen is grey-only
// when red comes out grey; a failed query (grey by its bytes) counts as colour.
TEST(Status, PictureForLevelFlagOrMainsTooltipForTime) {
    const PowerSample base = {MAINS_OFFLINE, BATTERY_HIGH, 80, 7200};
    PowerSample mains = base, flag = base, level = base, time = base;
    mains.acLineStatus = MAINS_ONLINE; flag.batteryFlag = BATTERY_HIGH | BATTERY_CHARGING;
    level.batteryLifePercent = 79; time.batteryLifeTime = 7140;
    std::string changes;
    for (const PowerSample &sample : {base, mains, flag, level, time}) {
        const StatusChange c = CompareWithSnapshot(&base, &sample);
        changes += std::string(c.picture ? "picture" : "-") + (c.lifetime ? "+tooltip " : " ");
    }
    EXPECT_EQ(changes, "- picture picture picture -+tooltip ");
    EXPECT_EQ(std::make_tuple(ScreenIsGreyOnly(0x808080), ScreenIsGreyOnly(COLOR_QUERY_FAILED)), std::make_tuple(true, false));
}
// The tooltip's text and the numbers it takes: hours from one hour, minutes below, leftover seconds dropped.
TEST(Tip, HoursFromOneHourMinutesBelow) {
    const auto tip = [](uint8_t percent, uint32_t seconds) {  // the text's id, then its numbers
        const TipPlan p = PlanTrayTip(percent, seconds);
        std::vector<uint32_t> plan(1, uint32_t(p.textId));
        return plan.insert(plan.end(), p.args, p.args + std::min(p.argCount, 3u)), plan;
    };
    using Plan = std::vector<uint32_t>;
    EXPECT_EQ(tip(57, 7559), (Plan{IDS_TIP_HOURS, 2, 5, 57}));
    EXPECT_EQ(tip(57, 3600), (Plan{IDS_TIP_HOURS, 1, 0, 57}));
    EXPECT_EQ(tip(57, 3599), (Plan{IDS_TIP_MINUTES, 59, 57}));
    EXPECT_EQ(tip(0, 59), (Plan{IDS_TIP_MINUTES, 0, 0}));
    EXPECT_EQ(tip(100, 0), (Plan{IDS_TIP_MINUTES, 0, 100}));
    EXPECT_EQ(tip(80, LIFETIME_UNKNOWN), (Plan{IDS_TIP_PERCENT, 80}));
    EXPECT_EQ(std::make_pair(tip(PERCENT_UNKNOWN, LIFETIME_UNKNOWN), tip(PERCENT_UNKNOWN, 7500)),
              std::make_pair(Plan{IDS_TIP_UNKNOWN}, Plan{IDS_TIP_UNKNOWN}));  // the caption alone
}
// "%u", "%0Nu" and "%%"; any other form, or one without an argument, as it stands. Cut where the buffer
// ends, back to a whole character: in UTF-8 not inside a two-, three- or four-byte one.
TEST(Tip, CountsFormattedWithinTheBuffer) {
    const uint32_t args[3] = {2, 5, 57};
    const auto counts = [&](const char *format, uint32_t argCount, uint32_t capacity) {
        return Out([&](char *o) { return FormatCounts(o, capacity, format, args, argCount); });
    };
    EXPECT_EQ(counts("%01u|%09u|%u", 3, 64), "14:2|000000005|57");
    EXPECT_EQ(counts("%00u %0au %s %d %u %u", 1, 64), "20:%00u %0au %s %d 2 %u");
    EXPECT_EQ(counts("%0", 0, 64) + "|" + counts("%u%u", 3, 3) + "|" + counts("%05u", 1, 3), "2:%0|2:25|2:00");
    EXPECT_EQ(counts("ab", 0, 0) + "|" + counts("ab", 0, 1), "0:x|0:");
    const struct { const char *format, *utf8, *singleByte; } cuts[] = {{"%u\xC3\xA4", "1:2", "2:2\xC3"},
        {"%u\xE2\x82\xAC", "1:2", "3:2\xE2\x82"}, {"%u\xF0\x9F\x98\x80", "1:2", "4:2\xF0\x9F\x98"}};
    for (const auto &c : cuts) {
        const uint32_t whole = uint32_t(strlen(c.format));  // the text's bytes and the terminator
        EXPECT_EQ(counts(c.format, 1, whole), std::to_string(whole - 1) + ":2" + (c.format + 2));
        EXPECT_EQ(counts(c.format, 1, whole - 1) + "|" + InCodePage1252([&] { return counts(c.format, 1, whole - 1); }),
                  c.utf8 + std::string("|") + c.singleByte);
    }
}
// Whole units exact, else halves rounded up, a no-break space before the unit in the program's code page;
// cut between characters.
TEST(Texts, DurationsInTheirLargestWholeUnit) {
    const struct { uint32_t seconds; const char *out; } durations[] = {{60, "1:1\xC2\xA0min"},
        {599, "1:599\xC2\xA0s"}, {629, "1:10\xC2\xA0min"}, {630, "1:11\xC2\xA0min"}, {3599, "1:60\xC2\xA0min"},
        {3600, "1:1\xC2\xA0h"}, {36000, "1:10\xC2\xA0h"}, {37799, "1:10\xC2\xA0h"}, {37800, "1:11\xC2\xA0h"},
        {600, "1:10\xC2\xA0min"}};
    const auto duration = [](uint32_t seconds, const char *format, size_t capacity) {
        return Out([&](char *o) { return FormatDuration(o, capacity, format, seconds); });
    };
    for (const auto &c : durations) EXPECT_EQ(duration(c.seconds, "%s", 64), c.out) << c.seconds;
    EXPECT_EQ(duration(59, "%s|", 64) + duration(0xFFFFFFFFu, "%s|", 64), "1:59\xC2\xA0s|1:1193046\xC2\xA0h|");
    EXPECT_EQ(duration(480, "%s/div", 7) + "|" + duration(480, "%s", 3), "1:8\xC2\xA0min|1:8");
    EXPECT_EQ(InCodePage1252([&] { return duration(60, "%s", 64) + "|" + duration(480, "%s", 3); }), "1:1\xA0min|1:8\xA0");
    EXPECT_EQ(duration(60, "no mark", 64) + duration(60, nullptr, 64) + duration(60, "%s", 0), "1:no mark0:x0:x");
    EXPECT_FALSE(FormatDuration(nullptr, 8, "%s", 60));
}
// Two decimals, halves away from zero, never "-0.00"; the report shows unknown figures as 0.00.
TEST(Capacity, FiguresInTwoDecimals) {
    const struct { int64_t milli; const char *text; } figures[] = {{48840, "48.84"}, {0, "0.00"},
        {125, "0.13"}, {124, "0.12"}, {-125, "-0.13"}, {-4, "0.00"}, {-5, "-0.01"}, {995, "1.00"},
        {-15000, "-15.00"}, {4294967294, "4294967.29"}, {INT64_MIN, "-9223372036854775.81"},
        {INT64_MAX, "9223372036854775.81"}};
    for (const auto &c : figures)
        EXPECT_EQ(Out([&](char *o) { return FormatMilli(c.milli, o, 128), 0; }), "0:" + std::string(c.text))
            << c.milli;
    CapacityFigures known = {}, unknown = {CAPACITY_UNKNOWN, CAPACITY_UNKNOWN, CAPACITY_UNKNOWN, INT32_MIN};
    known.maxCapacity = 48840; known.remainingCapacity = CAPACITY_UNKNOWN; known.defaultAlert1 = 125;
    known.rate = -15000;
    const auto report = [](const char *format, const CapacityFigures &figures, size_t capacity) {
        return Out([&](char *o) { return FillCapacityReport(format, &figures, o, capacity); });
    };
    EXPECT_EQ(report("%.2f|%.2f|%.2f|%.2f|%.2f %% %d", known, 128), "32:48.84|0.00|0.13|-15.00|0.00 % %d");
    EXPECT_EQ(report("M %.2f|R %.2f|C %.2f|W %.2f", unknown, 128), "27:M 0.00|R 0.00|C 0.00|W 0.00");
    EXPECT_EQ(report("M: %.2f", known, 6) + "|" + report("%%%%", known, 2) + "|" + report("x", known, 0),
              "5:M: 48|1:%|0:x");
}
// Date, time and the status fields or the event, each line cut at its buffer.
TEST(Log, LinesWithinTheirBuffer) {
    const LogTime t = {2011, 3, 5, 14, 8, 9}, odd = {9, 12, 31, 0, 0, 7};
    const auto status = [&](uint8_t percent, uint8_t mains, uint8_t flags) {
        return Out([&](char *o) { return FormatStatusLine(o, 128, &t, percent, mains, flags); });
    };
    const std::pair<std::string, const char *> lines[] = {
        {status(85, MAINS_ONLINE, BATTERY_HIGH | BATTERY_CHARGING), "85, ONLINE, HIGH|CHARGING"},
        {status(7, MAINS_OFFLINE, 0), "7, OFFLINE, -"}, {status(100, MAINS_BACKUP, 16), "100, BACKUP, "},
        {status(PERCENT_UNKNOWN, AC_UNKNOWN, FLAG_UNKNOWN), "UNKNOWN, UNKNOWN, UNKNOWN"},
        {status(0, 3, BATTERY_CRITICAL | 16), "0, 3, CRITICAL"},
        {status(1, 254, BATTERY_LOW | BATTERY_NONE), "1, 254, LOW|NO_BATTERY"},
        {status(2, MAINS_OFFLINE, 143), "2, OFFLINE, HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY"}};
    for (const auto &c : lines) {
        const std::string line = "2011-03-05, 14:08:09, " + std::string(c.second) + "\n";
        EXPECT_EQ(c.first, std::to_string(line.size()) + ":" + line);
    }
    const struct { size_t capacity; const char *event, *out; } odds[] = {{0, "x", "0:x"}, {0, nullptr, "0:x"},
        {99, "started", "28:09-12-31, 00:00:07, started\n"}, {12, nullptr, "11:09-12-31, 0"},
        {28, "started", "27:09-12-31, 00:00:07, started"}};  // no event: a status line
    for (const auto &c : odds)
        EXPECT_EQ(Out([&](char *o) { return c.event ? FormatEventLine(o, c.capacity, &odd, c.event)
                                                    : FormatStatusLine(o, c.capacity, &odd, 5, 0, 0); }), c.out);
    char field[8];  // a field cut at its buffer, and none in no buffer
    memset(field, '#', sizeof field);
    FormatLogFlags(FLAG_UNKNOWN, field, 7);
    FormatLogMains(MAINS_ONLINE, field + 7, 0);
    EXPECT_EQ(std::string(field, sizeof field), std::string("UNKNOW\0#", 8));
}
}  // namespace
