// The refresh cycle: every poll, refresh request and power event goes through it.
#ifndef AMPWATCH_REFRESH_WIN32_H
#define AMPWATCH_REFRESH_WIN32_H

#include <windows.h>

#include "power/status.h"

// The full cycle: read the status, show what changed, redraw the shown
// graph, alert once. A poll also records a history sample; a refresh request
// or a power event does not.
void PollCycle(HWND window);
void RefreshCycle(HWND window);
// The light cycle of the mouse over the tray icon: what changed, no sample,
// no alert.
void HoverRefresh(HWND window);
// A new alert threshold: the alert may come again.
void RearmAlert();
// The status the user was last shown; unknown before the first cycle.
const PowerSample *ShownStatus();

#endif
