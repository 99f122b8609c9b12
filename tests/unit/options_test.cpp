#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "app/startup.h"
#include "app/text.h"
#include "platform/numbers.h"
#include "power/unplug.h"
#include "ui/tray_retry.h"
namespace {
const uint8_t CHARGING = BATTERY_HIGH | BATTERY_CHARGING, ON_BATTERY = BATTERY_HIGH;
// A run of samples against one threshold: "R" where the reminder shows, "." where not.
std::string Reminders(uint8_t threshold, std::initializer_list<std::pair<int, uint8_t>> samples) {
    bool latched = false;
    std::string shown;
    for (const auto &s : samples)
        shown += StepUnplugReminder(&latched, uint8_t(s.first), s.second, threshold) ? "R" : ".";
    return shown;
}
}  // namespace
// At the threshold while charging, once; again only after the battery was seen not charging (unplugged,
// or stopped by the firmware), not after charging below it. Off outside 1..100; an unknown level or flag,
// or no battery, neither shows nor re-arms.
TEST(Unplug, OncePerChargeFromTheThresholdOn) {
    EXPECT_EQ(Reminders(80, {{79, CHARGING}, {80, CHARGING}, {81, CHARGING}, {80, CHARGING}}), ".R..");
    EXPECT_EQ(Reminders(80, {{85, CHARGING}, {84, ON_BATTERY}, {85, CHARGING}, {60, CHARGING}, {90, CHARGING}}), "R.R..");
    EXPECT_EQ(Reminders(80, {{80, CHARGING}, {80, BATTERY_HIGH}, {80, BATTERY_HIGH}}), "R..");
    for (uint8_t off : {0, 101, 255}) EXPECT_EQ(Reminders(off, {{100, CHARGING}}), ".") << int(off);
    EXPECT_EQ(Reminders(80, {{90, CHARGING}, {90, FLAG_UNKNOWN}, {PERCENT_UNKNOWN, ON_BATTERY}, {90, CHARGING}}),
              "R...");
    EXPECT_EQ(Reminders(80, {{90, FLAG_UNKNOWN}, {PERCENT_UNKNOWN, CHARGING}, {90, BATTERY_CHARGING | BATTERY_NONE}}),
              "...");
}
// The Run value starts this program only when it names the same path, in any case of its letters.
TEST(Startup, RunValueNamesThisProgramOnly) {
    char command[16], cut[14];
    EXPECT_TRUE(FormatRunCommand(command, sizeof command, "C:\\A b\\x.exe"));
    EXPECT_TRUE(RunCommandNamesProgram("\"c:\\a B\\X.EXE\"", command));
    EXPECT_FALSE(FormatRunCommand(cut, sizeof cut, "C:\\A b\\x.exe") || FormatRunCommand(cut, sizeof cut, "") || cut[0]);
    for (const char *other : {"\"C:\\A b\\x.exe", "\"C:\\A b\\x.exe\" /x", "\"D:\\A b\\x.exe\"", "", "C:\\A b\\x.exe"})
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
