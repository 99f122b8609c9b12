// The refresh cycle: every poll, refresh request and power event goes through it.
#ifndef AMPWATCH_REFRESH_WIN32_H
#define AMPWATCH_REFRESH_WIN32_H

#include <windows.h>

// Full cycle (poll, refresh request, power event) and the light one (tray hover).
void RefreshCycle(HWND window, bool recordSample);
void HoverRefresh(HWND window);

#endif
