#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
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

// Answers like the platform's reader: the fallback for a missing key, else
// the number at the start of the text, negative as two's complement.
struct Ini {
    const char *key, *text;  // one key at most
};
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

TEST(Settings, KeysReadWithDefaultsAndValidatedPathsWithin259AndTheSmallRules) {
    // Thresholds keep their low byte before the range test; an alert of 255 is off.
    const struct { const char *key; std::vector<std::pair<const char *, int64_t>> values; } cases[] = {
        {"RunHidden", {{nullptr, 0}, {"2", 1}}}, {"ShowDetails", {{nullptr, 0}, {"1", 1}}}, {"Logfile", {{nullptr, 0}, {"-1", 1}}},
        {"Interval", {{nullptr, 60}, {"59", 60}, {"61", 61}, {"360", 360}, {"361", 60}, {"-5", 60}}},
        {"AlertThreshold", {{nullptr, 9}, {"0", 0}, {"99", 99}, {"100", 9}, {"254", 9}, {"-1", 255}, {"355", 99}}},
        {"LowThreshold", {{nullptr, 32}, {"0", 0}, {"100", 100}, {"101", 32}, {"356", 100}}},
        {"CriticalThreshold", {{nullptr, 9}, {"0", 0}, {"100", 100}, {"101", 9}}},
        {"IconColor", {{nullptr, 0x224466}, {"", 0x224466}, {"0", 0}, {"4278190335", 0xFF}}}};
    for (const auto &c : cases)
        for (const auto &v : c.values) {
            EXPECT_EQ(Loaded(c.key, v.first), v.second) << c.key << "=" << (v.first ? v.first : "(none)");
            // Stored only when the value is there and not empty: else the taskbar is followed.
            EXPECT_EQ(iconSettings.iconColorStored, v.first && *v.first && !strcmp(c.key, "IconColor"));
        }
    memset(&iconSettings, 0xAB, sizeof iconSettings);
    Loaded("", nullptr);  // everything of the font not read is cleared, and it is never smoothed
    const IconFont font = {-9, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 3, 34, "Tahoma"};
    EXPECT_EQ(memcmp(&iconSettings.font, &font, sizeof font), 0);
    const std::string dot250 = std::string(250, 'a') + ".exe", f255(255, 'f'), fallback = ".\\Ampwatch.ini";
    const struct { std::string module, settings; } paths[] = {
        {"C:\\T\\amp.w.exe", "C:\\T\\amp.w.ini"}, {"C:\\v1.9\\a", "C:\\v1.9\\a.ini"}, {"Z:/v1.9/a", "Z:/v1.9/a.ini"},
        {"v1.9:a", "v1.9:a.ini"}, {"a", "a.ini"}, {".exe", ".ini"}, {"", fallback}, {f255, f255 + ".ini"},
        {std::string(256, 'f'), fallback}, {dot250 + "xxxxx", std::string(250, 'a') + ".ini"},
        {dot250 + "xxxxxx", fallback}};  // 260 characters: cut by the platform
    PathSet p;
    for (const auto &c : paths) {
        DerivePaths(&p, c.module.c_str(), static_cast<uint32_t>(c.module.size()));
        EXPECT_EQ(std::string(p.settings), c.settings) << c.module.size() << " " << c.module;
    }
    DerivePaths(&p, "C:\\T\\Ampwatch.exe", 17);
    EXPECT_EQ(std::string(p.history) + p.eventLog, "C:\\T\\Ampwatch.datC:\\T\\Ampwatch.txt");
    const int64_t positions[] = {59, 60, 119, 120, 121, 360, 361, 120 + (int64_t{1} << 32)};
    const bool changes[] = {false, true, true, false, true, true, false, false};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(IntervalChangeRequested(positions[i], 120), changes[i]) << positions[i];
    // White on a dark taskbar, else the button text colour, also when the system does not say (-1).
    EXPECT_TRUE(TaskbarDigitColor(0, 0x123456u) == 0xFFFFFFu && TaskbarDigitColor(1, 0x123456u) == 0x123456u &&
                TaskbarDigitColor(-1, 0x123456u) == 0x123456u);
    EXPECT_TRUE(IsGermanLanguage(0x0407) && IsGermanLanguage(0x0807) && IsGermanLanguage(0x0007));
    EXPECT_FALSE(IsGermanLanguage(0x0409) || IsGermanLanguage(0x0107) || IsGermanLanguage(0x0417));
    EXPECT_TRUE(LocalisedStringId(1, true) == 401 && LocalisedStringId(15, false) == 815 && MainDialogId(false) == 800);
    char out[12] = "x";
    EXPECT_TRUE(FormatUnsigned(out, 0, 7) == 0 && !strcmp(out, "x") && FormatUnsigned(out, 1, 7) == 0 && !*out);
    EXPECT_TRUE(FormatUnsigned(out, 5, 12345) == 0 && !*out && FormatUnsigned(out, 6, 12345) == 5 && !strcmp(out, "12345"));
    EXPECT_TRUE(FormatUnsigned(out, 11, 4294967295u) == 10 && !strcmp(out, "4294967295"));
}

// The levels in turn through one latch, "!" where the alert box is shown.
std::string Alerts(uint8_t threshold, std::initializer_list<int> levels) {
    bool latched = false;
    std::string shown;
    for (int level : levels)
        shown += std::to_string(level) + (StepAlert(&latched, uint8_t(level), threshold) ? "! " : " ");
    return shown.substr(0, shown.size() - 1);
}
int addCalls;
bool AddIcon(void *answer) { return ++addCalls > 0 && *static_cast<bool *>(answer); }

TEST(StatusRules, AlertFiresOnceAndRearmsAboveThePlusThreeMarkAndHidingNeedsTheIcon) {
    EXPECT_FALSE(alertLatched);  // armed at start
    EXPECT_EQ(Alerts(9, {11, 10, 9, 9, 8, 0, 12, 9, 13, 9, 255, 13, 9}), "11 10 9! 9 8 0 12 9 13 9! 255 13 9!");
    EXPECT_EQ(Alerts(0, {1, 0, 3, 0, 4, 0}), "1 0! 3 0 4 0!");
    EXPECT_EQ(Alerts(95, {95, 98, 95, 99, 95}), "95! 98 95 99 95!");
    EXPECT_EQ(Alerts(97, {97, 99, 97, 100, 97}), "97! 99 97 100 97!");  // the mark is at most 99
    EXPECT_EQ(Alerts(99, {99, 100, 99}), "99! 100 99!");
    EXPECT_EQ(Alerts(9, {255, 9, 255, 9}), "255 9! 255 9");  // an unknown level neither fires nor re-arms
    EXPECT_EQ(Alerts(255, {0, 50, 100, 0}), "0 50 100 0");   // off
    const PowerSample base = {0, 1, 80, 7200};
    const struct { PowerSample sample; bool picture, lifetime; } changes[] = {
        {base, false, false}, {{1, 1, 80, 7200}, true, false}, {{0, 9, 80, 7200}, true, false},
        {{0, 1, 79, 7200}, true, false}, {{0, 1, 80, 7140}, false, true}};
    for (const auto &c : changes) {
        const StatusChange change = CompareWithSnapshot(&base, &c.sample);
        EXPECT_TRUE(change.picture == c.picture && change.lifetime == c.lifetime) << c.sample.batteryLifeTime;
    }
    const struct { bool add, answer, shown, hide; int calls; } hides[] = {  // an icon that could be added again
        {true, false, true, true, 0}, {true, true, false, true, 1}, {true, false, false, false, 1}, {false, true, false, false, 0}};
    for (const auto &c : hides) {
        bool answer = c.answer;
        addCalls = 0;
        EXPECT_EQ(MayHideToTray(c.shown, c.add ? AddIcon : nullptr, &answer), c.hide);
        EXPECT_EQ(addCalls, c.calls);
    }
    EXPECT_TRUE(ScreenIsGreyOnly(0) && ScreenIsGreyOnly(0x020202) && ScreenIsGreyOnly(0x808080) && ScreenIsGreyOnly(0xFFFFFF));
    EXPECT_FALSE(ScreenIsGreyOnly(0x0000FF) || ScreenIsGreyOnly(0x000100) || ScreenIsGreyOnly(0x010000) ||
                 ScreenIsGreyOnly(0x010100) || ScreenIsGreyOnly(COLOR_QUERY_FAILED));  // a failed query: colour
}

// The text and its length as FormatCounts answers them, of 2, 5 and 57.
std::string Counts(const char *format, uint32_t capacity, uint32_t argCount) {
    const uint32_t args[3] = {2, 5, 57};
    char out[64] = "x";
    const uint32_t n = FormatCounts(out, capacity, format, args, argCount);
    return std::string(out) + "/" + std::to_string(n);
}

TEST(Texts, TipCutsMinutesDurationsRoundHalvesUpFiguresAwayFromZeroAllWithinTheirBuffers) {
    const struct { uint8_t percent; uint32_t seconds; int id; std::vector<uint32_t> args; } tips[] = {
        {255, 7500, 0, {}}, {80, 0xFFFFFFFFu, IDS_TIP_PERCENT, {80}}, {57, 7559, IDS_TIP_HOURS, {2, 5, 57}},
        {57, 3600, IDS_TIP_HOURS, {1, 0, 57}}, {57, 3599, IDS_TIP_MINUTES, {59, 57}}, {0, 59, IDS_TIP_MINUTES, {0, 0}}};
    for (const auto &c : tips) {
        const TipPlan plan = PlanTrayTip(c.percent, c.seconds);
        EXPECT_EQ(plan.textId, c.id) << c.seconds;
        EXPECT_EQ(std::vector<uint32_t>(plan.args, plan.args + plan.argCount), c.args) << c.seconds;
    }
    EXPECT_EQ(Counts("%u:%02u h (%u%%) remaining", 64, 3), "2:05 h (57%) remaining/22");
    EXPECT_EQ(Counts("%01u|%09u|%u", 64, 3), "2|000000005|57/14");
    EXPECT_EQ(Counts("%00u %0au %s %d %u %u", 64, 1), "%00u %0au %s %d 2 %u/20");  // unknown or unfed: literal
    EXPECT_EQ(Counts("%0", 64, 0) + Counts("%u%u", 3, 3) + Counts("%05u", 3, 1), "%0/225/200/2");
    EXPECT_EQ(Counts("ab", 1, 0) + Counts("ab", 0, 0), "/0x/0");
    std::string all;  // durations: whole units exact, else rounded halves up; a no-break space before the unit
    char out[64];
    for (uint32_t s : {59u, 60u, 599u, 600u, 629u, 630u, 3599u, 3600u, 36000u, 37799u, 37800u, 0xFFFFFFFFu})
        all += (FormatDuration(out, sizeof out, "%s|", s) ? out : "failed");
    EXPECT_EQ(all, "59\xA0s|1\xA0min|599\xA0s|10\xA0min|10\xA0min|11\xA0min|60\xA0min|1\xA0h|10\xA0h|10\xA0h|11\xA0h|1193046\xA0h|");
    EXPECT_TRUE(FormatDuration(out, 6, "%s/div", 480) && !strcmp(out, "8\xA0min"));
    EXPECT_TRUE(FormatDuration(out, sizeof out, "no mark", 60) && !strcmp(out, "no mark"));
    EXPECT_FALSE(FormatDuration(out, sizeof out, nullptr, 60) || FormatDuration(nullptr, 8, "%s", 60) ||
                 FormatDuration(out, 0, "%s", 60));
    all.clear();  // figures: two decimals, halves away from zero, never "-0.00"
    for (int64_t milli : {int64_t{48840}, int64_t{0}, int64_t{125}, int64_t{124}, int64_t{-125}, int64_t{-4}, int64_t{-5},
                          int64_t{995}, int64_t{-15000}, int64_t{4294967294}, INT64_MIN, INT64_MAX}) {
        FormatMilli(milli, out, sizeof out);
        all += std::string(out) + " ";
    }
    EXPECT_EQ(all, "48.84 0.00 0.13 0.12 -0.13 0.00 -0.01 1.00 -15.00 4294967.29 -9223372036854775.81 9223372036854775.81 ");
    const CapacityFigures report = {48840, 0xFFFFFFFFu, 125, -15000};  // unknown figures as 0.00
    EXPECT_TRUE(FillCapacityReport("%.2f|%.2f|%.2f|%.2f|%.2f %% %d", &report, out, sizeof out) == 32 &&
                !strcmp(out, "48.84|0.00|0.13|-15.00|0.00 % %d"));
    EXPECT_TRUE(FillCapacityReport("M: %.2f", &report, out, 6) == 5 && !strcmp(out, "M: 48"));
    EXPECT_EQ(FillCapacityReport("%%%%", &report, out, 2) + FillCapacityReport("x", &report, out, 0), 1u);
    const struct { uint8_t percent, mains, flags; const char *fields; } lines[] = {
        {85, 1, 9, "85, ONLINE, HIGH|CHARGING"}, {7, 0, 0, "7, OFFLINE, -"}, {100, 2, 16, "100, BACKUP, "},
        {255, 255, 255, "UNKNOWN, UNKNOWN, UNKNOWN"}, {0, 3, 4 | 16, "0, 3, CRITICAL"},
        {1, 254, 2 | 128, "1, 254, LOW|NO_BATTERY"}, {2, 0, 143, "2, OFFLINE, HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY"}};
    const LogTime t = {2011, 3, 5, 14, 8, 9}, odd = {9, 12, 31, 0, 0, 7};
    char line[LOG_LINE_CAPACITY];
    for (const auto &c : lines) {
        const size_t n = FormatStatusLine(line, sizeof line, &t, c.percent, c.mains, c.flags);
        EXPECT_EQ(std::string(line), std::string("2011-03-05, 14:08:09, ") + c.fields + "\n");
        EXPECT_EQ(n, strlen(line));
    }
    EXPECT_TRUE(FormatEventLine(line, sizeof line, &odd, "started") == 28 && !strcmp(line, "09-12-31, 00:00:07, started\n"));
    EXPECT_TRUE(FormatEventLine(line, 28, &odd, "started") == 27 && FormatStatusLine(line, 12, &odd, 5, 0, 0) == 11 &&
                !strcmp(line, "09-12-31, 0"));
    EXPECT_EQ(FormatEventLine(line, 0, &odd, "x") + FormatStatusLine(line, 0, &odd, 5, 0, 0), 0u);
    char field[8] = "";
    FormatLogFlags(255, field, 7);
    FormatLogMains(1, field + 7, 0);
    EXPECT_STREQ(field, "UNKNOW");
}

}  // namespace
