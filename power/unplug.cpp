#include "power/unplug.h"

#include "platform/numbers.h"

bool UnplugReminderOn(uint8_t threshold)
{
    return threshold >= 1 && threshold <= 100;
}

uint8_t UnplugMenuLevel(uint8_t threshold)
{
    return UnplugReminderOn(threshold) ? threshold : uint8_t{UNPLUG_DEFAULT};
}

bool StepUnplugReminder(bool *latched, uint8_t percent, uint8_t batteryFlag, uint8_t threshold)
{
    if (!UnplugReminderOn(threshold) || percent == PERCENT_UNKNOWN || batteryFlag == FLAG_UNKNOWN)
        return false;
    const bool charging = (batteryFlag & (BATTERY_CHARGING | BATTERY_NONE)) == BATTERY_CHARGING;
    if (!charging) {
        *latched = false;
        return false;
    }
    if (*latched || percent < threshold)
        return false;
    *latched = true;
    return true;
}
