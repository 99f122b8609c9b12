// The unplug reminder: a battery kept full wears faster, so a charging
// battery at or above the user's threshold asks once for the charger to go.
#ifndef AMPWATCH_UNPLUG_H
#define AMPWATCH_UNPLUG_H

#include <stdint.h>

// One step of the reminder for a new sample; true when the reminder must be
// shown now (the latch is then set). Once shown it stays quiet until a
// sample shows the battery not charging: a firmware that stops charging at
// the threshold never hears it twice. A threshold outside 1..100 is off; an
// unknown level or battery flag decides nothing.
bool StepUnplugReminder(bool *latched, uint8_t percent, uint8_t batteryFlag, uint8_t threshold);

// The level the window menu offers: the stored threshold while the reminder
// is on, else 80 %.
enum { UNPLUG_DEFAULT = 80 };
uint8_t UnplugMenuLevel(uint8_t threshold);
bool UnplugReminderOn(uint8_t threshold);

#endif
