// The power status as the system reports it.
#ifndef AMPWATCH_STATUS_WIN32_H
#define AMPWATCH_STATUS_WIN32_H

#include "power/status.h"

#include <windows.h>

// The power status now; all four values unknown when it cannot be read.
PowerSample ReadPowerStatus();

// Asks Windows to tell the window each new battery percent and power source
// at once (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE), where it can; the
// status-change broadcast alone comes only at 3-percent steps. Stopped at
// close.
void ListenForPowerSettings(HWND window);
void StopListeningForPowerSettings();

#endif
