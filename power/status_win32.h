// The power status as the system reports it.
#ifndef AMPWATCH_STATUS_WIN32_H
#define AMPWATCH_STATUS_WIN32_H

#include "power/status.h"

#include <windows.h>

// The power status now; all four values unknown when it cannot be read.
PowerSample ReadPowerStatus();

// Asks Windows to tell the window each new battery percent and power source
// at once (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE), where it can; the
// status-change broadcast alone comes only at 3-percent steps. Also the
// display turning on, the one sign of some wakes. Stopped at close.
void ListenForPowerSettings(HWND window);
void StopListeningForPowerSettings();
// The setting a PBT_POWERSETTINGCHANGE record names and its first value (0
// without one); no record, none.
PowerSetting ReadPowerSetting(LPARAM record, uint32_t *value);

#endif
