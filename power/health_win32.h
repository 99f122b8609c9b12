// The battery's health under the capacity report: its own information, the
// daily record and the report's lines of both (Win32 shell).
#ifndef AMPWATCH_HEALTH_WIN32_H
#define AMPWATCH_HEALTH_WIN32_H

#include <windows.h>
#include "platform/dynamic_calls.h"  // SYSTEM_BATTERY_STATE: powrprof.h takes one inclusion only
#include <stddef.h>

#include "power/status.h"

// The power management library's battery state; false when there is none.
bool ReadBatteryState(SYSTEM_BATTERY_STATE *state);

// The daily step of a poll: today's line, once a local day, while the record
// is on and a battery gives its full charge.
void RecordHealthDay(const PowerSample *sample);

// Appends the health lines of what is known to the report in text.
size_t AppendHealthReport(char *text, size_t length, size_t capacity, uint32_t maxCapacity);

#endif
