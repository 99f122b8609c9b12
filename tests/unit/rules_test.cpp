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

// Thresholds keep their low byte before the range test; an alert of 255 is off. IconColor is
// stored only when there and not empty, else the taskbar is followed. The font's parts that are
// not read are cleared (the picture decides the smoothing).
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
    memset(&iconSettings, 0xAB, sizeof iconSettings);
    Loaded("", nullptr);
    const IconFont &f = iconSettings.font;
    EXPECT_EQ((std::vector<int>{f.height, f.width, f.escapement, f.orientation, f.weight, f.italic,
                                f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision,
                                f.quality, f.pitchAndFamily}),
              (std::vector<int>{-9, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 34}));
    EXPECT_STREQ(f.faceName, "Tahoma");
    std::string cjk10;  // 32 bytes: cut to 30, then back to the last whole character
    for (int i = 0; i < 10; ++i)
        cjk10 += "\xE7\x94\xB0";
    Loaded("FaceName", ("Ab" + cjk10).c_str());
    EXPECT_EQ(std::string(f.faceName), "Ab" + cjk10.substr(0, 27));
}

std::string Repeated(const char *text, int times) {
    std::string s;
    while (times-- > 0)
        s += text;
    return s;
}

// The program's name with another extension, within 259 characters (UTF-16 units, whatever their
// bytes in UTF-8).
TEST(Settings, FilesBesideTheProgram) {
    const std::string dot250 = std::string(250, 'a') + ".exe", f255(255, 'f'), fallback = ".\\Ampwatch.ini";
    const std::string cjk250 = "C:\\" + Repeated("\xE7\x94\xB0", 250);
    const std::string emoji126 = Repeated("\xF0\x9F\x98\x80", 126);  // two units each
    const struct { std::string module, settings; } paths[] = {
        {"C:\\T\\amp.w.exe", "C:\\T\\amp.w.ini"}, {"C:\\v1.9\\a", "C:\\v1.9\\a.ini"},
        {"Z:/v1.9/a", "Z:/v1.9/a.ini"}, {"v1.9:a", "v1.9:a.ini"}, {"a", "a.ini"}, {".exe", ".ini"},
        {"", fallback}, {f255, f255 + ".ini"}, {std::string(256, 'f'), fallback},
        {dot250 + "xxxxx", std::string(250, 'a') + ".ini"}, {dot250 + "xxxxxx", fallback},  // 260: cut
        {cjk250 + ".exe", cjk250 + ".ini"}, {cjk250 + "\xE7\x94\xB0\xE7\x94\xB0\xE7\x94\xB0.exe", fallback},
        {"C:" + emoji126 + "1.exe", "C:" + emoji126 + "1.ini"}, {"C:" + emoji126 + "12.exe", fallback}};
    PathSet p;
    for (const auto &c : paths) {
        DerivePaths(&p, c.module.c_str(), static_cast<uint32_t>(c.module.size()));
        EXPECT_EQ(std::string(p.settings), c.settings) << c.module.size() << " " << c.module;
    }
    DerivePaths(&p, "C:\\T\\Ampwatch.exe", 17);
    EXPECT_EQ(std::make_pair(std::string(p.history), std::string(p.eventLog)),
              std::make_pair(std::string("C:\\T\\Ampwatch.dat"), std::string("C:\\T\\Ampwatch.txt")));
}

// A new interval in range, and the digits white on a dark taskbar, else the button text colour,
// also when the system does not say (-1).
TEST(Settings, IntervalAndDigitChoices) {
    const struct { int64_t position; bool change; } positions[] = {{59, false}, {60, true}, {119, true},
        {120, false}, {121, true}, {360, true}, {361, false}, {120 + (int64_t{1} << 32), false}};
    for (const auto &c : positions)
        EXPECT_EQ(IntervalChangeRequested(c.position, 120), c.change) << c.position;
    EXPECT_EQ(std::make_tuple(TaskbarDigitColor(0, 0x123456u), TaskbarDigitColor(1, 0x123456u),
                              TaskbarDigitColor(-1, 0x123456u)),
              std::make_tuple(0xFFFFFFu, 0x123456u, 0x123456u));
}

TEST(Texts, GermanForEveryGermanVariety) {
    const struct { uint16_t id; bool german; } languages[] = {{0x0407, true}, {0x0807, true}, {0x0007, true},
        {0x0409, false}, {0x0107, false}, {0x0417, false}};
    for (const auto &c : languages)
        EXPECT_EQ(IsGermanLanguage(c.id), c.german) << std::hex << c.id;
    EXPECT_EQ(std::make_tuple(LocalisedStringId(1, true), LocalisedStringId(15, false), MainDialogId(false)),
              std::make_tuple(401, 815, 800));
}

TEST(Texts, NumbersWholeOrNothing) {
    const struct { uint32_t capacity, value, length; const char *text; } cases[] = {{0, 7, 0, "x"},
        {1, 7, 0, ""}, {5, 12345, 0, ""}, {6, 12345, 5, "12345"}, {11, 4294967295u, 10, "4294967295"}};
    for (const auto &c : cases) {
        char out[12] = "x";
        const uint32_t length = FormatUnsigned(out, c.capacity, c.value);
        EXPECT_EQ(std::make_pair(length, std::string(out)), std::make_pair(c.length, std::string(c.text)))
            << c.value << " in " << c.capacity;
    }
}

// The levels in turn through one latch, "!" where the alert box is shown.
std::string Alerts(uint8_t threshold, std::initializer_list<int> levels) {
    bool latched = false;
    std::string shown;
    for (int level : levels)
        shown += std::to_string(level) + (StepAlert(&latched, uint8_t(level), threshold) ? "! " : " ");
    return shown.substr(0, shown.size() - 1);
}

TEST(Alert, OnceThenRearmedAboveThePlusThreeMark) {
    EXPECT_EQ(Alerts(9, {11, 10, 9, 9, 8, 0, 12, 9, 13, 9, 255, 13, 9}),
              "11 10 9! 9 8 0 12 9 13 9! 255 13 9!");
    EXPECT_EQ(Alerts(0, {1, 0, 3, 0, 4, 0}), "1 0! 3 0 4 0!");
    EXPECT_EQ(Alerts(95, {95, 98, 95, 99, 95}), "95! 98 95 99 95!");
    EXPECT_EQ(Alerts(97, {97, 99, 97, 100, 97}), "97! 99 97 100 97!");  // the mark is at most 99
    EXPECT_EQ(Alerts(99, {99, 100, 99}), "99! 100 99!");
    EXPECT_EQ(Alerts(9, {255, 9, 255, 9}), "255 9! 255 9");  // an unknown level neither fires nor re-arms
    EXPECT_EQ(Alerts(255, {0, 50, 100, 0}), "0 50 100 0");   // off
}

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

int addCalls;
bool AddIcon(void *answer) { return ++addCalls > 0 && *static_cast<bool *>(answer); }

TEST(Status, HidingNeedsTheTrayIcon) {  // one that could be added again counts
    const struct { bool add, answer, shown, hide; int calls; } hides[] = {{true, false, true, true, 0},
        {true, true, false, true, 1}, {true, false, false, false, 1}, {false, true, false, false, 0}};
    for (const auto &c : hides) {
        bool answer = c.answer;
        addCalls = 0;
        const bool hide = MayHideToTray(c.shown, c.add ? AddIcon : nullptr, &answer);
        EXPECT_EQ(std::make_pair(hide, addCalls), std::make_pair(c.hide, c.calls)) << "row " << &c - hides;
    }
}

TEST(Status, GreyOnlyWhenRedComesOutGrey) {  // a failed query: colour
    const struct { uint32_t red; bool grey; } screens[] = {{0, true}, {0x020202, true}, {0x808080, true},
        {0xFFFFFF, true}, {0x0000FF, false}, {0x000100, false}, {0x010000, false}, {0x010100, false},
        {COLOR_QUERY_FAILED, false}};
    for (const auto &c : screens)
        EXPECT_EQ(ScreenIsGreyOnly(c.red), c.grey) << std::hex << c.red;
}

// The tooltip in the English texts; leftover seconds are dropped.
TEST(Tip, HoursFromOneHourMinutesBelow) {
    const char *const forms[] = {"Battery Meter", "Battery power remaining: %u%%",
                                 "%u:%02u h (%u%%) remaining", "%u min (%u%%) remaining"};
    const uint32_t takes[] = {0, 1, 3, 2};  // the numbers each text takes, no more
    const struct { uint8_t percent; uint32_t seconds; const char *tip; } tips[] = {
        {57, 7559, "2:05 h (57%) remaining"}, {57, 3600, "1:00 h (57%) remaining"},
        {57, 3599, "59 min (57%) remaining"}, {0, 59, "0 min (0%) remaining"},
        {100, 0, "0 min (100%) remaining"},
        {80, 0xFFFFFFFFu, "Battery power remaining: 80%"}, {255, 0xFFFFFFFFu, "Battery Meter"},
        {255, 7500, "Battery Meter"}};
    for (const auto &c : tips) {
        const TipPlan plan = PlanTrayTip(c.percent, c.seconds);
        const unsigned form = plan.textId ? unsigned(plan.textId - IDS_TIP_PERCENT + 1) : 0;  // 0: caption
        ASSERT_LT(form, 4u) << plan.textId;
        EXPECT_EQ(plan.argCount, takes[form]) << plan.textId;
        char tip[TIP_CAPACITY];
        FormatCounts(tip, sizeof tip, forms[form], plan.args, plan.argCount);
        EXPECT_STREQ(tip, c.tip) << int(c.percent) << " % " << c.seconds << " s";
    }
}

// "%u", "%0Nu" and "%%"; any other form, or one without an argument, as it stands.
TEST(Tip, CountsFormattedWithinTheBuffer) {
    const struct { const char *format; uint32_t capacity, argCount; const char *text; uint32_t length; }
        cases[] = {{"%01u|%09u|%u", 64, 3, "2|000000005|57", 14},
        {"%00u %0au %s %d %u %u", 64, 1, "%00u %0au %s %d 2 %u", 20},
        {"%0", 64, 0, "%0", 2}, {"%u%u", 3, 3, "25", 2}, {"%05u", 3, 1, "00", 2}, {"ab", 1, 0, "", 0},
        {"%u\xC3\xA4", 4, 1, "2\xC3\xA4", 3}, {"%u\xC3\xA4", 3, 1, "2", 1},  // cut between characters
        {"ab", 0, 0, "x", 0}};
    const uint32_t args[3] = {2, 5, 57};
    for (const auto &c : cases) {
        char out[64] = "x";
        const uint32_t length = FormatCounts(out, c.capacity, c.format, args, c.argCount);
        EXPECT_EQ(std::make_pair(length, std::string(out)), std::make_pair(c.length, std::string(c.text)))
            << c.format << " in " << c.capacity;
    }
}

// Whole units exact, else rounded halves up; a no-break space before the unit. Cut at the buffer,
// between characters;
// nothing without a buffer or a format.
TEST(Texts, DurationsInTheirLargestWholeUnit) {
    const struct { uint32_t seconds; size_t capacity; const char *format, *text; } durations[] = {
        {59, 64, "%s|", "59\xC2\xA0s|"}, {60, 64, "%s|", "1\xC2\xA0min|"},
        {599, 64, "%s|", "599\xC2\xA0s|"}, {600, 64, "%s|", "10\xC2\xA0min|"},
        {629, 64, "%s|", "10\xC2\xA0min|"}, {630, 64, "%s|", "11\xC2\xA0min|"},
        {3599, 64, "%s|", "60\xC2\xA0min|"}, {3600, 64, "%s|", "1\xC2\xA0h|"},
        {36000, 64, "%s|", "10\xC2\xA0h|"},
        {37799, 64, "%s|", "10\xC2\xA0h|"}, {37800, 64, "%s|", "11\xC2\xA0h|"},
        {0xFFFFFFFFu, 64, "%s|", "1193046\xC2\xA0h|"},
        {480, 7, "%s/div", "8\xC2\xA0min"}, {480, 3, "%s", "8"}, {60, 64, "no mark", "no mark"},
        {60, 64, nullptr, "(none)"},
        {60, 0, "%s", "(none)"}};
    for (const auto &c : durations) {
        char out[64] = "(none)";
        const bool written = strcmp(c.text, "(none)") != 0;
        EXPECT_EQ(FormatDuration(out, c.capacity, c.format, c.seconds), written) << c.seconds;
        EXPECT_STREQ(out, c.text) << c.seconds;
    }
    EXPECT_FALSE(FormatDuration(nullptr, 8, "%s", 60));
}

// Two decimals, halves away from zero, never "-0.00"; the report shows unknown figures as 0.00.
TEST(Capacity, FiguresInTwoDecimals) {
    const struct { int64_t milli; const char *text; } figures[] = {{48840, "48.84"}, {0, "0.00"},
        {125, "0.13"}, {124, "0.12"}, {-125, "-0.13"}, {-4, "0.00"}, {-5, "-0.01"}, {995, "1.00"},
        {-15000, "-15.00"},
        {4294967294, "4294967.29"}, {INT64_MIN, "-9223372036854775.81"}, {INT64_MAX, "9223372036854775.81"}};
    char out[128];
    for (const auto &c : figures) {
        FormatMilli(c.milli, out, sizeof out);
        EXPECT_STREQ(out, c.text) << c.milli;
    }
    const CapacityFigures known = {48840, 0xFFFFFFFFu, 125, -15000}, unknown = {~0u, ~0u, ~0u, INT32_MIN};
    EXPECT_EQ(FillCapacityReport("%.2f|%.2f|%.2f|%.2f|%.2f %% %d", &known, out, sizeof out), 32u);
    EXPECT_STREQ(out, "48.84|0.00|0.13|-15.00|0.00 % %d");
    FillCapacityReport("Maximum Capacity: %.2f Wh\r\nRemaining Capacity: %.2f Wh\r\n"
                       "Critical Capacity: %.2f Wh\r\nCharging Rate: %.2f W", &unknown, out, sizeof out);
    EXPECT_STREQ(out, "Maximum Capacity: 0.00 Wh\r\nRemaining Capacity: 0.00 Wh\r\n"
                      "Critical Capacity: 0.00 Wh\r\nCharging Rate: 0.00 W");
    EXPECT_EQ(FillCapacityReport("M: %.2f", &known, out, 6), 5u);
    EXPECT_STREQ(out, "M: 48");
    EXPECT_EQ(FillCapacityReport("%%%%", &known, out, 2), 1u);
    EXPECT_EQ(FillCapacityReport("x", &known, out, 0), 0u);
}

// Date, time and the status fields or the event, each line cut at its buffer.
TEST(Log, LinesWithinTheirBuffer) {
    const struct { uint8_t percent, mains, flags; const char *fields; } lines[] = {
        {85, 1, 9, "85, ONLINE, HIGH|CHARGING"}, {7, 0, 0, "7, OFFLINE, -"}, {100, 2, 16, "100, BACKUP, "},
        {255, 255, 255, "UNKNOWN, UNKNOWN, UNKNOWN"}, {0, 3, 4 | 16, "0, 3, CRITICAL"},
        {1, 254, 2 | 128, "1, 254, LOW|NO_BATTERY"},
        {2, 0, 143, "2, OFFLINE, HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY"}};
    const LogTime t = {2011, 3, 5, 14, 8, 9}, odd = {9, 12, 31, 0, 0, 7};
    char line[LOG_LINE_CAPACITY];
    for (const auto &c : lines) {
        const size_t n = FormatStatusLine(line, sizeof line, &t, c.percent, c.mains, c.flags);
        EXPECT_EQ(std::make_pair(n, std::string(line)),
                  std::make_pair(strlen(line), std::string("2011-03-05, 14:08:09, ") + c.fields + "\n"));
    }
    EXPECT_EQ(FormatEventLine(line, sizeof line, &odd, "started"), 28u);
    EXPECT_STREQ(line, "09-12-31, 00:00:07, started\n");
    EXPECT_EQ(FormatEventLine(line, 28, &odd, "started"), 27u);
    EXPECT_EQ(FormatStatusLine(line, 12, &odd, 5, 0, 0), 11u);
    EXPECT_STREQ(line, "09-12-31, 0");
    EXPECT_EQ(FormatEventLine(line, 0, &odd, "x"), 0u);
    EXPECT_EQ(FormatStatusLine(line, 0, &odd, 5, 0, 0), 0u);
    char field[8] = "";
    FormatLogFlags(255, field, 7);
    FormatLogMains(1, field + 7, 0);
    EXPECT_STREQ(field, "UNKNOW");
}

}  // namespace
