#include <gtest/gtest.h>
#include <stdlib.h>
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
    EXPECT_EQ((std::vector<int>{f.height, f.width, f.escapement, f.orientation, f.weight, f.italic,
                                f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision,
                                f.quality, f.pitchAndFamily}),
              (std::vector<int>{-9, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 34}));
    EXPECT_STREQ(f.faceName, "Tahoma");
    Loaded("FaceName", ("A" + Repeated("\xE7\x94\xB0", 10)).c_str());  // 31 bytes: cut to 30, then
    EXPECT_EQ(std::string(f.faceName), "A" + Repeated("\xE7\x94\xB0", 9));  // to the last whole character
}
// The program's name with another extension, within 259 UTF-16 units, whatever their bytes in UTF-8.
TEST(Settings, FilesBesideTheProgram) {
    const std::string dot250 = std::string(250, 'a') + ".exe", f255(255, 'f'), fallback = ".\\Ampwatch.ini";
    const std::string cjk250 = "C:\\" + Repeated("\xE7\x94\xB0", 250);
    const std::string emoji126 = Repeated("\xF0\x9F\x98\x80", 126);  // two units each
    const struct { std::string module, settings; } paths[] = {
        {"C:\\T\\amp.w.exe", "C:\\T\\amp.w.ini"}, {"C:\\v1.9\\a", "C:\\v1.9\\a.ini"},
        {"Z:/v1.9/a", "Z:/v1.9/a.ini"}, {"v1.9:a", "v1.9:a.ini"}, {"a", "a.ini"}, {".exe", ".ini"},
        {"", fallback}, {f255, f255 + ".ini"}, {std::string(256, 'f'), fallback},
        {dot250 + "xxxxx", std::string(250, 'a') + ".ini"}, {dot250 + "xxxxxx", fallback},  // 260: cut
        {cjk250 + ".exe", cjk250 + ".ini"}, {cjk250 + Repeated("\xE7\x94\xB0", 3) + ".exe", fallback},
        {"C:" + emoji126 + "1.exe", "C:" + emoji126 + "1.ini"}, {"C:" + emoji126 + "12.exe", fallback}};
    PathSet p;
    for (const auto &c : paths) {
        DerivePaths(&p, c.module.c_str(), static_cast<uint32_t>(c.module.size()));
        EXPECT_EQ(std::string(p.settings), c.settings) << c.module.size() << " " << c.module;
    }
    DerivePaths(&p, "C:\\T\\Ampwatch.exe", 17);
    EXPECT_EQ(std::string(p.history) + "|" + p.eventLog, "C:\\T\\Ampwatch.dat|C:\\T\\Ampwatch.txt");
}
// A new interval in range; the digits white on a dark taskbar, else (also unknown: -1) the button text's.
TEST(Settings, IntervalAndDigitChoices) {
    const struct { int64_t position; bool change; } positions[] = {{59, false}, {60, true}, {119, true},
        {120, false}, {121, true}, {360, true}, {361, false}, {120 + (int64_t{1} << 32), false}};
    for (const auto &c : positions)
        EXPECT_EQ(IntervalChangeRequested(c.position, 120), c.change) << c.position;
    EXPECT_EQ(std::make_tuple(TaskbarDigitColor(0, 0x123456u), TaskbarDigitColor(1, 0x123456u),
                              TaskbarDigitColor(-1, 0x123456u)),
              std::make_tuple(0xFFFFFFu, 0x123456u, 0x123456u));
}
// German for every German variety, whatever the sublanguage (the texts themselves: end to end).
TEST(Texts, GermanForEveryGermanVariety) {
    const struct { uint16_t id; bool german; } languages[] = {{0x0407, true}, {0x0807, true}, {0x0007, true},
        {0x0409, false}, {0x0107, false}, {0x0417, false}};
    for (const auto &c : languages) EXPECT_EQ(IsGermanLanguage(c.id), c.german) << std::hex << c.id;
}
// Numbers, and files in a folder (its length: 0 failed, capacity or more too small), whole or not at all.
TEST(Texts, NumbersAndPathsWholeOrNothing) {
    const struct { uint32_t capacity, value; const char *out; } cases[] = {{0, 7, "0:x"}, {1, 7, "0:"},
        {5, 12345, "0:"}, {6, 12345, "5:12345"}, {11, 4294967295u, "10:4294967295"}};
    for (const auto &c : cases)
        EXPECT_EQ(Out([&](char *o) { return FormatUnsigned(o, c.capacity, c.value); }), c.out) << c.capacity;
    const struct { uint32_t size, length; const char *out; } joins[] = {{8, 4, "1:C:\\W\\ab"},
        {7, 4, "0:C:\\W"}, {8, 0, "0:C:\\W"}, {8, 8, "0:C:\\W"}};
    for (const auto &c : joins) {
        const auto join = [&](char *o) { memcpy(o, "C:\\W", 5); return JoinPath(o, c.size, c.length, "ab"); };
        EXPECT_EQ(Out(join), c.out) << c.size << " " << c.length;
    }
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
// A new level, flag or mains state redraws the picture; a new time only the tooltip.
TEST(Status, PictureForLevelFlagOrMainsTooltipForTime) {
    const PowerSample base = {0, 1, 80, 7200};
    const struct { PowerSample sample; bool picture, lifetime; } changes[] = {{base, false, false},
        {{1, 1, 80, 7200}, true, false}, {{0, 9, 80, 7200}, true, false}, {{0, 1, 79, 7200}, true, false},
        {{0, 1, 80, 7140}, false, true}};
    for (const auto &c : changes) {
        const StatusChange change = CompareWithSnapshot(&base, &c.sample);
        EXPECT_EQ(std::make_pair(change.picture, change.lifetime), std::make_pair(c.picture, c.lifetime))
            << "row " << &c - changes;
    }
}
// A screen is grey-only when red comes out grey; a failed query: colour.
TEST(Status, GreyOnlyWhenRedComesOutGrey) {
    const struct { uint32_t red; bool grey; } screens[] = {{0, true}, {0x020202, true}, {0x808080, true},
        {0xFFFFFF, true}, {0x0000FF, false}, {0x000100, false}, {0x010000, false}, {0x010100, false},
        {COLOR_QUERY_FAILED, false}};
    for (const auto &c : screens) EXPECT_EQ(ScreenIsGreyOnly(c.red), c.grey) << std::hex << c.red;
}
// The tooltip's text and the numbers it takes: hours from one hour, minutes below, leftover seconds dropped.
TEST(Tip, HoursFromOneHourMinutesBelow) {
    const char *const forms[] = {"percent", "h", "min"};  // from IDS_TIP_PERCENT
    const struct { uint8_t percent; uint32_t seconds; const char *tip; } tips[] = {{57, 7559, "h 2 5 57"},
        {57, 3600, "h 1 0 57"}, {57, 3599, "min 59 57"}, {0, 59, "min 0 0"}, {100, 0, "min 0 100"},
        {80, 0xFFFFFFFFu, "percent 80"}, {255, 0xFFFFFFFFu, "caption"}, {255, 7500, "caption"}};
    for (const auto &c : tips) {
        const TipPlan p = PlanTrayTip(c.percent, c.seconds);
        const unsigned form = unsigned(p.textId - IDS_TIP_PERCENT);
        std::string tip = p.textId == IDS_TIP_UNKNOWN ? "caption" : form < 3 ? forms[form] : "?";
        for (uint32_t i = 0; i < p.argCount; ++i) tip += " " + (i < 3 ? std::to_string(p.args[i]) : "?");
        EXPECT_EQ(tip, c.tip) << int(c.percent) << " % " << c.seconds << " s";
    }
}
// "%u", "%0Nu" and "%%"; any other form, or one without an argument, as it stands; cut between characters.
TEST(Tip, CountsFormattedWithinTheBuffer) {
    const struct { const char *format, *out; uint32_t count, capacity = 64; } rows[] = {
        {"%01u|%09u|%u", "14:2|000000005|57", 3}, {"%0", "2:%0", 0}, {"%u%u", "2:25", 3, 3},
        {"%00u %0au %s %d %u %u", "20:%00u %0au %s %d 2 %u", 1}, {"%05u", "2:00", 1, 3}, {"ab", "0:x", 0, 0},
        {"ab", "0:", 0, 1}, {"%u\xC3\xA4", "3:2\xC3\xA4", 1, 4}, {"%u\xC3\xA4", "1:2", 1, 3},
        {"%u\xF0\x9F\x98\x80", "5:2\xF0\x9F\x98\x80", 1, 6}, {"%u\xF0\x9F\x98\x80", "1:2", 1, 5}};
    const uint32_t args[3] = {2, 5, 57};
    for (const auto &c : rows)
        EXPECT_EQ(Out([&](char *o) { return FormatCounts(o, c.capacity, c.format, args, c.count); }),
                  c.out) << c.format << " in " << c.capacity;
}
// Whole units exact, else halves rounded up, a no-break space before the unit; cut between characters.
TEST(Texts, DurationsInTheirLargestWholeUnit) {
    const struct { uint32_t seconds; const char *out, *format = "%s"; size_t capacity = 64; } durations[] = {
        {59, "1:59\xC2\xA0s|", "%s|"}, {60, "1:1\xC2\xA0min"}, {599, "1:599\xC2\xA0s"}, {480, "1:8", "%s", 3},
        {629, "1:10\xC2\xA0min"}, {630, "1:11\xC2\xA0min"}, {3599, "1:60\xC2\xA0min"}, {3600, "1:1\xC2\xA0h"},
        {36000, "1:10\xC2\xA0h"}, {37799, "1:10\xC2\xA0h"}, {37800, "1:11\xC2\xA0h"},
        {0xFFFFFFFFu, "1:1193046\xC2\xA0h|", "%s|"}, {480, "1:8\xC2\xA0min", "%s/div", 7},
        {60, "1:no mark", "no mark"}, {60, "0:x", nullptr}, {60, "0:x", "%s", 0}, {600, "1:10\xC2\xA0min"}};
    for (const auto &c : durations)
        EXPECT_EQ(Out([&](char *o) { return FormatDuration(o, c.capacity, c.format, c.seconds); }), c.out)
            << c.seconds;
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
    const CapacityFigures known = {48840, 0xFFFFFFFFu, 125, -15000}, unknown = {~0u, ~0u, ~0u, INT32_MIN};
    const struct { const char *format; const CapacityFigures *figures; size_t capacity; const char *out; }
        reports[] = {
        {"%.2f|%.2f|%.2f|%.2f|%.2f %% %d", &known, 128, "32:48.84|0.00|0.13|-15.00|0.00 % %d"},
        {"M %.2f|R %.2f|C %.2f|W %.2f", &unknown, 128, "27:M 0.00|R 0.00|C 0.00|W 0.00"},
        {"M: %.2f", &known, 6, "5:M: 48"}, {"%%%%", &known, 2, "1:%"}, {"x", &known, 0, "0:x"}};
    for (const auto &c : reports)
        EXPECT_EQ(Out([&](char *o) { return FillCapacityReport(c.format, c.figures, o, c.capacity); }), c.out)
            << c.format;
}
// Date, time and the status fields or the event, each line cut at its buffer.
TEST(Log, LinesWithinTheirBuffer) {
    const LogTime t = {2011, 3, 5, 14, 8, 9}, odd = {9, 12, 31, 0, 0, 7};
    const struct { uint8_t percent, mains, flags; const char *fields; } lines[] = {
        {85, 1, 9, "85, ONLINE, HIGH|CHARGING"}, {7, 0, 0, "7, OFFLINE, -"}, {100, 2, 16, "100, BACKUP, "},
        {255, 255, 255, "UNKNOWN, UNKNOWN, UNKNOWN"}, {0, 3, 4 | 16, "0, 3, CRITICAL"},
        {1, 254, 2 | 128, "1, 254, LOW|NO_BATTERY"},
        {2, 0, 143, "2, OFFLINE, HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY"}};
    for (const auto &c : lines) {
        const std::string line = "2011-03-05, 14:08:09, " + std::string(c.fields) + "\n";
        EXPECT_EQ(Out([&](char *o) { return FormatStatusLine(o, 128, &t, c.percent, c.mains, c.flags); }),
                  std::to_string(line.size()) + ":" + line);
    }
    const struct { size_t capacity; const char *event, *out; } odds[] = {{0, "x", "0:x"}, {0, nullptr, "0:x"},
        {99, "started", "28:09-12-31, 00:00:07, started\n"}, {12, nullptr, "11:09-12-31, 0"},
        {28, "started", "27:09-12-31, 00:00:07, started"}};  // no event: a status line
    for (const auto &c : odds)
        EXPECT_EQ(Out([&](char *o) {
            return c.event ? FormatEventLine(o, c.capacity, &odd, c.event)
                           : FormatStatusLine(o, c.capacity, &odd, 5, 0, 0);
        }), c.out) << c.capacity;
    char field[8] = "";
    FormatLogFlags(255, field, 7);
    FormatLogMains(1, field + 7, 0);
    EXPECT_STREQ(field, "UNKNOW");
}
}  // namespace
