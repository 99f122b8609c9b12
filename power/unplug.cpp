#include "power/unplug.h"

#include "platform/numbers.h"

bool StepUnplugReminder(bool *latched, uint8_t percent, uint8_t batteryFlag, uint8_t threshold)
{
    if (threshold < 1 || threshold > 100 || percent == PERCENT_UNKNOWN || batteryFlag == FLAG_UNKNOWN)
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
