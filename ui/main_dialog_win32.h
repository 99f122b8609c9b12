// The main window: a modeless dialog that receives every message of the program.
#ifndef AMPWATCH_MAIN_DIALOG_WIN32_H
#define AMPWATCH_MAIN_DIALOG_WIN32_H

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
