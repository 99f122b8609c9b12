// The main window: a modeless dialog that receives every message of the program.
#ifndef AMPWATCH_MAIN_DIALOG_WIN32_H
#define AMPWATCH_MAIN_DIALOG_WIN32_H

#include <windows.h>

#include "res/resource.h"

extern const char kMainCaption[];

// The window is hidden and only the tray icon shows.
extern bool hiddenToTray;
// The graph shows its details overlay.
extern bool detailsVisible;

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
