#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "app/settings.h"
#include "app/text.h"
#include "history/history.h"
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
         : k == "CriticalThreshold" ? thresholds.criticalThreshold
         : k == "UnplugThreshold" ? thresholds.unplugThreshold : int64_t{iconSettings.iconColor};
}
std::string Face(const std::string &name) { Loaded("FaceName", name.c_str()); return iconSettings.font.faceName; }
std::string Repeated(const char *text, int times) { std::string s; while (times-- > 0) s += text; return s; }
// What a writer leaves in a buffer that held "x": the length it says, a colon and the text.
template <class Write> std::string Out(Write write) {
    char out[128] = "x";
    return std::to_string(write(out)) + ":" + out;
}
// Each case: what the program answered, and what it should have.
void ExpectEach(std::initializer_list<std::pair<std::string, std::string>> cases) {
    for (const auto &c : cases) EXPECT_EQ(c.first, c.second);
}
std::string SettingsPath(const std::string &module) {  // after "?" when the program's own path is not known whole
    PathSet p;
    memset(&p, 'x', sizeof p);  // as an earlier start left it
    DerivePaths(&p, module.c_str(), static_cast<uint32_t>(module.size()));
    return (p.program[0] ? "" : "?") + std::string(p.settings);
}
std::string Counts(const char *format, uint32_t argCount, uint32_t capacity = 64) {
    const uint32_t args[3] = {2, 5, 57};  // the first argCount of them
    return Out([&](char *o) { return FormatCounts(o, capacity, format, args, argCount); });
}
std::string Duration(uint32_t seconds, const char *format = "%s", size_t capacity = 64) {
    return Out([&](char *o) { return FormatDuration(o, capacity, format, seconds); });
}
// Thresholds keep their low byte before the range test (the reminder's not: off outside 1..100), an alert of
// 255 is off; IconColor stored when set.
TEST(Settings, DefaultsForMissingOrOutOfRangeKeys) {
    const struct { const char *key; std::vector<std::pair<const char *, int64_t>> values; } cases[] = {
        {"RunHidden", {{nullptr, 0}, {"2", 1}}}, {"ShowDetails", {{nullptr, 0}, {"1", 1}}},
        {"Logfile", {{nullptr, 0}, {"-1", 1}}},
        {"Interval", {{nullptr, 60}, {"59", 60}, {"61", 61}, {"360", 360}, {"361", 60}, {"-5", 60}}},
        {"AlertThreshold", {{nullptr, 9}, {"0", 0}, {"99", 99}, {"100", 9}, {"254", 9}, {"-1", 255}, {"355", 99}}},
        {"LowThreshold", {{nullptr, 32}, {"0", 0}, {"100", 100}, {"101", 32}, {"356", 100}}},
        {"CriticalThreshold", {{nullptr, 9}, {"0", 0}, {"100", 100}, {"101", 9}}},
        {"UnplugThreshold", {{nullptr, 255}, {"0", 255}, {"1", 1}, {"100", 100}, {"101", 255}, {"336", 255}}},
        {"IconColor", {{nullptr, 0x224466}, {"", 0x224466}, {"0", 0}, {"4278190335", 0xFF}}}};
    for (const auto &c : cases)
        for (const auto &v : c.values)
            EXPECT_EQ(std::make_pair(Loaded(c.key, v.first), iconSettings.iconColorStored),
                      std::make_pair(v.second, v.first && *v.first && !strcmp(c.key, "IconColor")))
                << c.key << "=" << (v.first ? v.first : "(none)");
    memset(&iconSettings, 0xAB, sizeof iconSettings);  // the font's parts not read are cleared
    Loaded("", nullptr);
    IconFont tahoma = {};
    tahoma.height = -9; tahoma.weight = WEIGHT_NORMAL; tahoma.pitchAndFamily = 34;
    memcpy(tahoma.faceName, "Tahoma", 7);
    EXPECT_EQ(memcmp(&iconSettings.font, &tahoma, sizeof tahoma), 0);
    // Cut to 30 bytes by the platform, then to whole characters.
    ExpectEach({{Face("A" + Repeated("\xE7\x94\xB0", 10)), "A" + Repeated("\xE7\x94\xB0", 9)},
                {Face("Stra\xDF"), "Stra"}});
    // Without IconColor: high contrast's text colour (1), else white on a dark (0) taskbar only, else buttons' (2).
    const auto digits = [](bool highContrast, int32_t light) { return TaskbarDigitColor(highContrast, 1, light, 2); };
    EXPECT_EQ(std::make_tuple(digits(true, 0), digits(true, 1), digits(false, 0), digits(false, 1), digits(false, -1)),
              std::make_tuple(1u, 1u, 0xFFFFFFu, 2u, 2u));
}
// The program's name with another extension, within 259 UTF-16 units, whatever their bytes in UTF-8.
TEST(Settings, FilesBesideTheProgram) {
    const std::string dot250 = std::string(250, 'a') + ".exe", fallback = ".\\Ampwatch.ini", unknown = "?" + fallback;
    const std::string cjk250 = "C:\\" + Repeated("\xE7\x94\xB0", 250), u252 = "C:\\" + std::string(252, '\xFC');
    const std::string emoji126 = Repeated("\xF0\x9F\x98\x80", 126), f255(255, 'f');  // emoji: two units each
    const struct { std::string module, settings; } paths[] = {
        {"C:\\T\\amp.w.exe", "C:\\T\\amp.w.ini"}, {"C:\\v1.9\\a", "C:\\v1.9\\a.ini"},
        {"Z:/v1.9/a", "Z:/v1.9/a.ini"}, {"v1.9:a", "v1.9:a.ini"}, {"a", "a.ini"}, {".exe", ".ini"},
        {"", unknown}, {f255, f255 + ".ini"}, {std::string(256, 'f'), fallback},
        {dot250 + "xxxxx", std::string(250, 'a') + ".ini"}, {dot250 + "xxxxxx", unknown},  // 260: cut
        {cjk250 + ".exe", cjk250 + ".ini"}, {cjk250 + Repeated("\xE7\x94\xB0", 3) + ".exe", unknown},
        {"C:" + emoji126 + "1.exe", "C:" + emoji126 + "1.ini"}, {"C:" + emoji126 + "12.exe", unknown},
        {u252 + ".exe", unknown}};  // 0xFC leads four bytes
    for (const auto &c : paths) EXPECT_EQ(SettingsPath(c.module), c.settings) << c.module.size();
}
// A new interval: 60 to 360 and not the current one. German for every German variety, whatever the sublanguage.
TEST(Settings, IntervalAndLanguage) {
    const struct { int64_t position; bool change; } positions[] = {{59, false}, {60, true}, {119, true},
        {120, false}, {121, true}, {360, true}, {361, false}, {120 + (int64_t{1} << 32), false}};
    for (const auto &c : positions) EXPECT_EQ(IntervalChangeRequested(c.position, 120), c.change) << c.position;
    for (const uint16_t german : {0x0407, 0x0807, 0x0007}) EXPECT_TRUE(IsGermanLanguage(german)) << german;
    for (const uint16_t other : {0x0409, 0x0107, 0x0417}) EXPECT_FALSE(IsGermanLanguage(other)) << other;
}
// Numbers of 64 bits, with leading zeros up to a count of digits, and files in a folder (its length: 0
// failed, capacity or more too small): whole or not at all.
TEST(Texts, NumbersAndPathsWholeOrNothing) {
    const auto number = [](uint32_t capacity, uint64_t value, uint32_t digits = 1) {
        return Out([&](char *o) { return FormatUnsigned(o, capacity, value, digits); });
    };
    const auto join = [](uint32_t capacity, uint32_t folder) {
        return Out([&](char *o) { memcpy(o, "C:\\W", 5); return JoinPath(o, capacity, folder, "ab"); });
    };
    ExpectEach({{number(0, 7), "0:x"}, {number(1, 7), "0:"}, {number(5, 12345), "0:"}, {number(6, 12345), "5:12345"},
                {number(21, UINT64_MAX), "20:18446744073709551615"}, {number(3, 7, 2), "2:07"},
                {number(11, 0, 10), "10:0000000000"}, {number(3, 123, 2), "0:"}, {number(3, 7, 3), "0:"},
                {number(8, 7, UINT32_MAX), "0:"}, {join(8, 4), "1:C:\\W\\ab"}, {join(7, 4), "0:C:\\W"},
                {join(8, 0), "0:C:\\W"}, {join(8, 8), "0:C:\\W"}});
}
// In a single-byte code page (older Windows) each byte is a whole character: a face name ending in 0xDF or
// a tooltip keeps its last bytes, 259 bytes above 0x7F make a path; the no-break space is the byte 0xA0.
TEST(Texts, SingleByteCodePage) {
    SetProgramCodePage(1252);
    const std::string cjk = "A" + Repeated("\xE7\x94\xB0", 10), u252 = "C:\\" + std::string(252, '\xFC');
    char temp[PATH_CAPACITY];
    const bool made = HistoryTempPath(std::string(255, '\xFC').c_str(), temp, sizeof temp);
    ExpectEach({{Face(cjk), cjk.substr(0, 30)}, {Face("Stra\xDF"), "Stra\xDF"},
                {Counts("%u\xC3\xA4", 1, 3), "2:2\xC3"}, {Counts("%u\xE2\x82\xAC", 1, 4), "3:2\xE2\x82"},
                {Counts("%u\xF0\x9F\x98\x80", 1, 5), "4:2\xF0\x9F\x98"},
                {SettingsPath(u252 + ".exe"), u252 + ".ini"}, {SettingsPath(u252 + "\xE4.exe"), "?.\\Ampwatch.ini"},
                {made ? temp : "", std::string(255, '\xFC') + ".tmp"}, {Duration(60), "1:1\xA0min"},
                {Duration(480, "%s", 3), "1:8\xA0"}});
    SetProgramCodePage(CODE_PAGE_UTF8);
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
    EXPECT_EQ(Alerts(9, {11, 10, 9, 9, 8, 0, 12, 9, 13, 9, 255, 13, 9}), " 11 10 9! 9 8 0 12 9 13 9! 255 13 9!");
    EXPECT_EQ(Alerts(0, {1, 0, 3, 0, 4, 0}), " 1 0! 3 0 4 0!");
    EXPECT_EQ(Alerts(95, {95, 98, 95, 99, 95}), " 95! 98 95 99 95!");
    EXPECT_EQ(Alerts(97, {97, 99, 97, 100, 97}), " 97! 99 97 100 97!");
    EXPECT_EQ(Alerts(9, {255, 9, 255, 9}), " 255 9! 255 9");  // an unknown level neither fires nor re-arms
    EXPECT_EQ(Alerts(255, {0, 50, 100, 0}), " 0 50 100 0");
}
std::string Action(uint32_t code, PowerSetting setting = SETTING_NO_RECORD, uint32_t value = 0) {
    return std::vector<std::string>{"-", "refresh", "save"}[ActionForPowerEvent(code, setting, value)];
}
// Sleep saves; every wake, the low battery and the status news refresh, other codes do nothing. A setting
// change is news of the status without its record or with the percent or source, the display's only on.
TEST(Power, EachNotificationItsAction) {
    std::string codes;
    for (uint32_t code : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 17u, 18u, 19u, 0x8013u, 0x8014u})
        codes += " " + std::to_string(code) + Action(code);
    EXPECT_EQ(codes, " 0- 1- 2- 3- 4save 5- 6refresh 7refresh 8- 9refresh 10refresh 11- 17- 18refresh 19- 32787refresh 32788-");
    ExpectEach({{Action(0x8013, SETTING_STATUS, 57), "refresh"}, {Action(0x8013, SETTING_DISPLAY, DISPLAY_OFF), "-"},
                {Action(0x8013, SETTING_DISPLAY, DISPLAY_ON), "refresh"}, {Action(0x8013, SETTING_DISPLAY, DISPLAY_DIMMED), "-"},
                {Action(0x8013, SETTING_OTHER, DISPLAY_ON), "-"}, {Action(4, SETTING_DISPLAY, DISPLAY_ON), "save"}});
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
    EXPECT_TRUE(ScreenIsGreyOnly(0x808080) && !ScreenIsGreyOnly(PURE_RED) && !ScreenIsGreyOnly(COLOR_QUERY_FAILED));
}
// The tooltip's text and numbers: hours from one hour, else minutes (seconds dropped); unknown level: caption.
TEST(Tip, HoursFromOneHourMinutesBelow) {
    using Plan = std::vector<uint32_t>;  // the text's id, then its numbers
    const auto tip = [](uint8_t percent, uint32_t seconds) {
        const TipPlan p = PlanTrayTip(percent, seconds);
        Plan plan = {uint32_t(p.textId), p.args[0], p.args[1], p.args[2]};
        plan.resize(1 + p.argCount);
        return plan;
    };
    for (const auto &c : std::initializer_list<std::pair<Plan, Plan>>{{tip(57, 7559), {IDS_TIP_HOURS, 2, 5, 57}},
             {tip(57, 3600), {IDS_TIP_HOURS, 1, 0, 57}}, {tip(57, 3599), {IDS_TIP_MINUTES, 59, 57}},
             {tip(0, 59), {IDS_TIP_MINUTES, 0, 0}}, {tip(100, 0), {IDS_TIP_MINUTES, 0, 100}},
             {tip(80, LIFETIME_UNKNOWN), {IDS_TIP_PERCENT, 80}}, {tip(PERCENT_UNKNOWN, 7500), {IDS_TIP_UNKNOWN}},
             {tip(PERCENT_UNKNOWN, LIFETIME_UNKNOWN), {IDS_TIP_UNKNOWN}}})
        EXPECT_EQ(c.first, c.second);
}
// "%u", "%0Nu" and "%%"; any other form, or one without an argument, as it stands. Cut where the buffer
// ends, back to a whole character: in UTF-8 not inside a two-, three- or four-byte one.
TEST(Tip, CountsFormattedWithinTheBuffer) {
    ExpectEach({{Counts("%01u|%09u|%u%%", 3), "15:2|000000005|57%"}, {Counts("%0", 0), "2:%0"},
                {Counts("%00u %0au %s %d %u %u", 1), "20:%00u %0au %s %d 2 %u"}, {Counts("%u%u", 3, 3), "2:25"},
                {Counts("%05u", 1, 3), "2:00"}, {Counts("ab", 0, 0), "0:x"}, {Counts("ab", 0, 1), "0:"},
                {Counts("%u\xC3\xA4", 1, 4), "3:2\xC3\xA4"}, {Counts("%u\xC3\xA4", 1, 3), "1:2"},
                {Counts("%u\xE0\xA4\x85", 1, 5), "4:2\xE0\xA4\x85"}, {Counts("%u\xE0\xA4\x85", 1, 4), "1:2"},
                {Counts("%u\xF0\x9F\x98\x80", 1, 6), "5:2\xF0\x9F\x98\x80"},
                {Counts("%u\xF0\x9F\x98\x80", 1, 5), "1:2"}});
}
// Whole units exact, else halves rounded up, a no-break space before the unit; cut between characters.
TEST(Texts, DurationsInTheirLargestWholeUnit) {
    const std::string s = "\xC2\xA0s", min = "\xC2\xA0min", h = "\xC2\xA0h";  // after a no-break space
    ExpectEach({{Duration(60), "1:1" + min}, {Duration(599), "1:599" + s}, {Duration(600), "1:10" + min},
                {Duration(629), "1:10" + min}, {Duration(630), "1:11" + min}, {Duration(3599), "1:60" + min},
                {Duration(3600), "1:1" + h}, {Duration(36000), "1:10" + h}, {Duration(37799), "1:10" + h},
                {Duration(37800), "1:11" + h}, {Duration(0xFFFFFFFFu), "1:1193046" + h},
                {Duration(59, "%s|"), "1:59" + s + "|"}, {Duration(480, "%s/div", 7), "1:8" + min},
                {Duration(480, "%s", 3), "1:8"}, {Duration(60, "no mark"), "1:no mark"},
                {Duration(60, nullptr), "0:x"}, {Duration(60, "%s", 0), "0:x"}});
    EXPECT_FALSE(FormatDuration(nullptr, 8, "%s", 60));
}
// Two decimals, halves away from zero, never "-0.00"; the report shows unknown figures as 0.00.
TEST(Capacity, FiguresInTwoDecimals) {
    const auto milli = [](int64_t value) { char text[32]; FormatMilli(value, text, 32); return std::string(text); };
    ExpectEach({{milli(48840), "48.84"}, {milli(0), "0.00"}, {milli(125), "0.13"}, {milli(124), "0.12"},
                {milli(-125), "-0.13"}, {milli(-4), "0.00"}, {milli(-5), "-0.01"}, {milli(995), "1.00"},
                {milli(-15000), "-15.00"}, {milli(4294967294), "4294967.29"},
                {milli(INT64_MIN), "-9223372036854775.81"}, {milli(INT64_MAX), "9223372036854775.81"}});
    const CapacityFigures unknown = {CAPACITY_UNKNOWN, CAPACITY_UNKNOWN, CAPACITY_UNKNOWN, INT32_MIN};
    CapacityFigures known = unknown;
    known.maxCapacity = 48840; known.defaultAlert1 = 125; known.rate = -15000;
    const auto report = [](const char *format, const CapacityFigures &figures, size_t capacity) {
        return Out([&](char *o) { return FillCapacityReport(format, &figures, o, capacity); });
    };
    ExpectEach({{report("%.2f|%.2f|%.2f|%.2f|%.2f %% %d", known, 128), "32:48.84|0.00|0.13|-15.00|0.00 % %d"},
                {report("M %.2f|R %.2f|C %.2f|W %.2f", unknown, 128), "27:M 0.00|R 0.00|C 0.00|W 0.00"},
                {report("M: %.2f", known, 6), "5:M: 48"}, {report("%%%%", known, 2), "1:%"},
                {report("x", known, 0), "0:x"}});
}
// Date, time and the status fields or the event, each line cut at its buffer.
TEST(Log, LinesWithinTheirBuffer) {
    const LogTime t = {2011, 3, 5, 14, 8, 9}, odd = {9, 12, 31, 0, 0, 7};
    const struct { uint8_t percent, mains, flags; const char *fields; } lines[] = {
        {85, MAINS_ONLINE, BATTERY_HIGH | BATTERY_CHARGING, "85, ONLINE, HIGH|CHARGING"},
        {7, MAINS_OFFLINE, 0, "7, OFFLINE, -"}, {100, MAINS_BACKUP, 16, "100, BACKUP, "},
        {PERCENT_UNKNOWN, AC_UNKNOWN, FLAG_UNKNOWN, "UNKNOWN, UNKNOWN, UNKNOWN"},
        {0, 3, BATTERY_CRITICAL | 16, "0, 3, CRITICAL"},
        {1, 254, BATTERY_LOW | BATTERY_NONE, "1, 254, LOW|NO_BATTERY"},
        {2, MAINS_OFFLINE, 143, "2, OFFLINE, HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY"}};
    for (const auto &c : lines) {
        const std::string line = "2011-03-05, 14:08:09, " + std::string(c.fields) + "\n";
        EXPECT_EQ(Out([&](char *o) { return FormatStatusLine(o, 128, &t, c.percent, c.mains, c.flags); }),
                  std::to_string(line.size()) + ":" + line);
    }
    const auto event = [&](size_t capacity, const char *text) {  // no text: a status line
        return Out([&](char *o) { return text ? FormatEventLine(o, capacity, &odd, text)
                                              : FormatStatusLine(o, capacity, &odd, 5, 0, 0); });
    };
    ExpectEach({{event(0, "x"), "0:x"}, {event(0, nullptr), "0:x"}, {event(12, nullptr), "11:09-12-31, 0"},
                {event(99, "started"), "28:09-12-31, 00:00:07, started\n"},
                {event(28, "started"), "27:09-12-31, 00:00:07, started"}});
    char field[8];  // a field cut at its buffer, and none in no buffer
    memset(field, '#', sizeof field);
    FormatLogFlags(FLAG_UNKNOWN, field, 7);
    FormatLogMains(MAINS_ONLINE, field + 7, 0);
    EXPECT_EQ(std::string(field, sizeof field), std::string("UNKNOW\0#", 8));
}
}  // namespace
