// The refresh cycle: every poll, refresh request and power event goes through it.
#ifndef AMPWATCH_REFRESH_WIN32_H
#define AMPWATCH_REFRESH_WIN32_H

#include <windows.h>

#include "power/status.h"

// What the refresh cycle remembers between polls; changed only by it, and the
// latch also by a new alert threshold.
struct RefreshState {
    PowerSample statusSnapshot;  // what the user was last shown; starts unknown
    bool alertLatched;           // the alert was shown and is not re-armed yet
};
extern RefreshState refreshState;

// Full cycle (poll, refresh request, power event) and the light one (tray hover).
void RefreshCycle(HWND window, bool recordSample);
void HoverRefresh(HWND window);
// A new alert threshold: the alert may come again.
void RearmAlert();

#endif
