#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "app/startup.h"
#include "app/text.h"
#include "platform/numbers.h"
#include "power/unplug.h"
#include "ui/tray_retry.h"
namespace {
const uint8_t CHARGING = BATTERY_HIGH | BATTERY_CHARGING, HELD = BATTERY_HIGH, IN = MAINS_ONLINE, OUT = MAINS_OFFLINE;
struct Seen { int percent; uint8_t flag, mains; };
// A run of samples against one threshold: "R" where the reminder shows, "." where not.
std::string Reminders(uint8_t threshold, std::initializer_list<Seen> samples) {
    bool latched = false;
    std::string shown;
    for (const Seen &s : samples) {
        const PowerSample sample = {s.mains, s.flag, uint8_t(s.percent), LIFETIME_UNKNOWN};
        shown += StepUnplugReminder(&latched, &sample, threshold) ? "R" : ".";
    }
    return shown;
}
}  // namespace
// At the threshold while charging, once per plug-in: a charge held at its limit (charging stops and
// resumes, the charger in) or a charger of unknown state does not re-arm it, an unplugged one does, even
// at an unknown level. Off outside 1..100 (the menu then offers 80 %); an unknown level or flag, or no
// battery, never shows it.
TEST(Unplug, OncePerPlugInFromTheThresholdOn) {
    EXPECT_EQ(Reminders(80, {{79, CHARGING, IN}, {80, CHARGING, IN}, {81, CHARGING, IN}, {80, CHARGING, IN}}), ".R..");
    EXPECT_EQ(Reminders(80, {{85, CHARGING, IN}, {85, HELD, IN}, {85, CHARGING, IN}, {84, HELD, OUT}, {60, CHARGING, IN},
                             {86, CHARGING, IN}}), "R....R");
    EXPECT_EQ(Reminders(80, {{90, CHARGING, IN}, {PERCENT_UNKNOWN, HELD, OUT}, {90, CHARGING, IN}}), "R.R");
    EXPECT_EQ(Reminders(80, {{90, CHARGING, IN}, {90, HELD, AC_UNKNOWN}, {90, CHARGING, IN}}), "R..");
    std::string levels;  // each threshold at 100 % charging, then the level the menu offers
    for (int t : {0, 1, 100, 101, 255})
        levels += " " + Reminders(uint8_t(t), {{100, CHARGING, IN}}) + std::to_string(UnplugMenuLevel(uint8_t(t)));
    EXPECT_EQ(levels, " .80 R1 R100 .80 .80");
    EXPECT_EQ(Reminders(80, {{90, FLAG_UNKNOWN, IN}, {PERCENT_UNKNOWN, CHARGING, IN}, {90, CHARGING | BATTERY_NONE, IN}}),
              "...");
}
// The Run value starts this program only when it names its path, in any case of its letters; no room, a cut: none.
TEST(Startup, RunValueNamesThisProgramOnly) {
    char command[16], cut[14];
    EXPECT_FALSE(FormatRunCommand(cut, 0, "C:\\x.exe") || FormatRunCommand(cut, sizeof cut, "C:\\A z\\x.exe") || cut[0]);
    EXPECT_TRUE(FormatRunCommand(cut, sizeof cut, "C:\\x.exe") && !FormatRunCommand(cut, sizeof cut, "") && !cut[0]);
    EXPECT_TRUE(FormatRunCommand(command, sizeof command, "C:\\A z\\x.exe"));
    EXPECT_TRUE(RunCommandNamesProgram("\"c:\\a Z\\X.EXE\"", command));
    for (const char *other : {"\"C:\\A z\\x.exe", "\"C:\\A z\\x.exe\" /x", "\"D:\\A z\\x.exe\"", "", "C:\\A z\\x.exe"})
        EXPECT_FALSE(RunCommandNamesProgram(other, command)) << other;
}
// The Run key takes commands of up to 260 characters as Windows counts them (UTF-16, not bytes). Task
// Manager's mark switches the entry off by an odd first byte; no mark is on.
TEST(Startup, CommandsTheRunKeyTakesAndTaskManagersMark) {
    SetProgramCodePage(CODE_PAGE_UTF8);
    std::string umlauts;
    for (int i = 0; i < 258; ++i) umlauts += "\xC3\xBC";
    char command[RUN_COMMAND_CAPACITY];
    EXPECT_TRUE(FormatRunCommand(command, sizeof command, std::string(258, 'a').c_str()));
    EXPECT_TRUE(FormatRunCommand(command, sizeof command, umlauts.c_str()) && strlen(command) == 518);
    EXPECT_FALSE(FormatRunCommand(command, sizeof command, (umlauts + "a").c_str()) || command[0]);
    const uint8_t off[12] = {3, 0, 1}, on[12] = {2, 1, 1}, other[1] = {7};
    EXPECT_TRUE(SwitchedOffByTaskManager(off, sizeof off) && SwitchedOffByTaskManager(other, 1));
    EXPECT_FALSE(SwitchedOffByTaskManager(on, sizeof on) || SwitchedOffByTaskManager(off, 0));
}
// A refused icon is asked for again until a minute has passed since the first refusal, across the
// wrap of the tick count; once it is there, that is the end, however late.
TEST(Tray, IconAskedForAMinuteThenGivenUp) {
    const struct { bool there; uint32_t since, now; TrayRetry want; } steps[] = {
        {false, 1000, 1000, TRAY_RETRY_AGAIN}, {false, 1000, 60999, TRAY_RETRY_AGAIN},
        {false, 1000, 61000, TRAY_RETRY_GIVE_UP}, {true, 1000, 99000, TRAY_RETRY_DONE},
        {false, 0xFFFFF000u, 50000, TRAY_RETRY_AGAIN}, {false, 0xFFFFF000u, 60000 - 0x1000, TRAY_RETRY_GIVE_UP}};
    for (const auto &s : steps)
        EXPECT_EQ(NextTrayRetry(s.there, s.since, s.now), s.want) << s.since << " " << s.now;
}
