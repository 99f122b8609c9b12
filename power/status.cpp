#include "power/status.h"

#include "app/settings.h"

PowerSample UnknownSample()
{
    PowerSample s = {AC_UNKNOWN, FLAG_UNKNOWN, PERCENT_UNKNOWN, LIFETIME_UNKNOWN};
    return s;
}

StatusChange CompareWithSnapshot(const PowerSample *snapshot, const PowerSample *sample)
{
    StatusChange c;
    c.picture = snapshot->batteryLifePercent != sample->batteryLifePercent ||
                snapshot->batteryFlag != sample->batteryFlag ||
                snapshot->acLineStatus != sample->acLineStatus;
    c.lifetime = snapshot->batteryLifeTime != sample->batteryLifeTime;
    return c;
}

void UpdateSnapshot(PowerSample *snapshot, const PowerSample *sample, StatusChange change)
{
    if (change.picture) {
        snapshot->batteryLifePercent = sample->batteryLifePercent;
        snapshot->batteryFlag = sample->batteryFlag;
        snapshot->acLineStatus = sample->acLineStatus;
    }
    if (change.lifetime)
        snapshot->batteryLifeTime = sample->batteryLifeTime;
}

bool StepAlert(bool *latched, uint8_t percent, uint8_t threshold)
{
    // An unknown level neither raises nor re-arms; a threshold of 255 is off.
    if (percent == PERCENT_UNKNOWN || threshold == THRESHOLD_OFF)
        return false;
    if (percent <= threshold) {
        if (*latched)
            return false;
        *latched = true;
        return true;
    }
    // Re-armed a little above the threshold, so a level wavering around it
    // raises one box; at most 99, or a level that ends at 100 never re-arms.
    const int rearm = threshold + 3 < 99 ? threshold + 3 : 99;
    if (percent > rearm)
        *latched = false;
    return false;
}

PowerAction ActionForPowerEvent(uint32_t code, PowerSetting setting, uint32_t value)
{
    switch (code) {
    case BROADCAST_SUSPEND:
        return POWER_SAVE;
    // Every wake refreshes: a wake without the user (18) brings no 7, and a
    // wake from Modern Standby may bring neither, only the display turning on.
    case BROADCAST_RESUME_CRITICAL:
    case BROADCAST_RESUME_SUSPEND:
    case BROADCAST_RESUME_AUTOMATIC:
    case BROADCAST_BATTERY_LOW:
    case BROADCAST_STATUS_CHANGE:
        return POWER_REFRESH;
    case BROADCAST_SETTING_CHANGE:
        // Without a record the status itself is the news.
        if (setting == SETTING_NO_RECORD || setting == SETTING_STATUS)
            return POWER_REFRESH;
        return setting == SETTING_DISPLAY && value == DISPLAY_ON ? POWER_REFRESH : POWER_NOTHING;
    }
    return POWER_NOTHING;
}
