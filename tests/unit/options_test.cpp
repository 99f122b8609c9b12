#include <gtest/gtest.h>
#include <string>
#include "app/startup.h"
#include "platform/numbers.h"
#include "power/unplug.h"
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
// or stopped by the firmware), not after charging below it. On from 1 to 100 (the menu offers that level,
// else its default); an unknown level or flag, or no battery, neither shows nor re-arms.
TEST(Unplug, OncePerChargeFromTheThresholdOn) {
    EXPECT_EQ(Reminders(80, {{79, CHARGING}, {80, CHARGING}, {81, CHARGING}, {80, CHARGING}}), ".R..");
    EXPECT_EQ(Reminders(80, {{85, CHARGING}, {84, ON_BATTERY}, {85, CHARGING}, {60, CHARGING}, {90, CHARGING}}), "R.R..");
    EXPECT_EQ(Reminders(80, {{80, CHARGING}, {80, BATTERY_HIGH}, {80, BATTERY_HIGH}}), "R..");
    const auto at = [](uint8_t t) { return Reminders(t, {{100, CHARGING}}) + std::to_string(UnplugMenuLevel(t)) + " "; };
    EXPECT_EQ(at(0) + at(1) + at(100) + at(101) + at(255), ".80 R1 R100 .80 .80 ");
    EXPECT_EQ(Reminders(80, {{90, CHARGING}, {90, FLAG_UNKNOWN}, {PERCENT_UNKNOWN, ON_BATTERY}, {90, CHARGING}}),
              "R...");
    EXPECT_EQ(Reminders(80, {{90, FLAG_UNKNOWN}, {PERCENT_UNKNOWN, CHARGING}, {90, BATTERY_CHARGING | BATTERY_NONE}}),
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
