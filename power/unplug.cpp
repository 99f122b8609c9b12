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

bool StepUnplugReminder(bool *latched, const PowerSample *sample, uint8_t threshold)
{
    if (sample->acLineStatus == MAINS_OFFLINE)
        *latched = false;
    // An unknown flag has the no-battery bit: not charging.
    const bool charging = (sample->batteryFlag & (BATTERY_CHARGING | BATTERY_NONE)) == BATTERY_CHARGING;
    if (*latched || !charging || !UnplugReminderOn(threshold) || sample->batteryLifePercent == PERCENT_UNKNOWN ||
        sample->batteryLifePercent < threshold)
        return false;
    *latched = true;
    return true;
}
