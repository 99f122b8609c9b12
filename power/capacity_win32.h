// The capacity report box (Win32 shell).
#ifndef AMPWATCH_CAPACITY_WIN32_H
#define AMPWATCH_CAPACITY_WIN32_H

#include <windows.h>

// 1 after the report was shown and closed, 0 when the figures are unavailable.
int ShowCapacityReport(HWND owner);

#endif
