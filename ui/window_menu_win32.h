// The program's own items of the window menu.
#ifndef AMPWATCH_WINDOW_MENU_WIN32_H
#define AMPWATCH_WINDOW_MENU_WIN32_H

#include <windows.h>

// Appended once, at the end of the window's system menu.
void AddWindowMenuChoices(HWND window);
// Checked as they are now, when the menu opens.
void ShowWindowMenuChoices(HMENU menu);
// A command of the window menu: true when it was one of the program's.
bool RunWindowMenuChoice(UINT_PTR command);

#endif
