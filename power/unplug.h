// The unplug reminder: a battery kept full wears faster, so a charging
// battery at or above the user's threshold asks once for the charger to go.
#ifndef AMPWATCH_UNPLUG_H
#define AMPWATCH_UNPLUG_H

#include <stdint.h>

#include "power/status.h"

// One step of the reminder for a new sample; true when the reminder must be
// shown now (the latch is then set): charging at or above the threshold.
// Once shown it stays quiet until a sample shows the charger unplugged: a
// firmware that stops and resumes charging at its limit hears it once per
// plug-in. A threshold outside 1..100 is off; an unknown level decides
// nothing.
bool StepUnplugReminder(bool *latched, const PowerSample *sample, uint8_t threshold);

// The level the window menu offers: the stored threshold while the reminder
// is on, else 80 %.
enum { UNPLUG_DEFAULT = 80 };
uint8_t UnplugMenuLevel(uint8_t threshold);
bool UnplugReminderOn(uint8_t threshold);

#endif
