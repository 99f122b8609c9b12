// Power samples, their comparison with the last shown status and the
// low-battery alert latch.
#ifndef AMPWATCH_STATUS_H
#define AMPWATCH_STATUS_H

#include <stdint.h>

#include "platform/numbers.h"

// The four fields of the platform's power status that the meter uses.
struct PowerSample {
    uint8_t acLineStatus;        // MAINS_*, or AC_UNKNOWN
    uint8_t batteryFlag;         // BATTERY_* bits, or FLAG_UNKNOWN
    uint8_t batteryLifePercent;  // 0..100, 255 unknown
    uint32_t batteryLifeTime;    // seconds, 0xFFFFFFFF unknown
};

PowerSample UnknownSample();

struct StatusChange {
    bool picture;   // percent, battery flag or mains state differ: new icon and log line
    bool lifetime;  // remaining time differs: tooltip only
};

StatusChange CompareWithSnapshot(const PowerSample *snapshot, const PowerSample *sample);
// Takes over the values that the change says differed.
void UpdateSnapshot(PowerSample *snapshot, const PowerSample *sample, StatusChange change);

// One step of the alert latch for a new sample; answers true when the alert
// box must be shown now (the latch is then already set).
bool StepAlert(bool *latched, uint8_t percent, uint8_t threshold);

// What a power notification asks of the meter: a fresh status, or the
// history saved before the notebook sleeps.
enum PowerAction : uint8_t { POWER_NOTHING, POWER_REFRESH, POWER_SAVE };
// The setting a setting change names; none when it carries no record.
enum PowerSetting : uint8_t { SETTING_NO_RECORD, SETTING_STATUS, SETTING_DISPLAY, SETTING_OTHER };
// The broadcast code, and for a setting change its setting and first value.
PowerAction ActionForPowerEvent(uint32_t code, PowerSetting setting, uint32_t value);

#endif
