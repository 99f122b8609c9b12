// The notification-area icon: its picture, tooltip and life, and the window's
// way to and from the tray.
#ifndef AMPWATCH_TRAY_ICON_WIN32_H
#define AMPWATCH_TRAY_ICON_WIN32_H

#include <windows.h>

// Every call shows what the refresh cycle's status snapshot holds.
void AddTrayIcon(HWND window);
// A new picture and tooltip; the picture before is freed.
void ReplaceTrayIcon(HWND window);
// The tooltip alone (only the remaining time changed).
void UpdateTrayTip(HWND window);
void RemoveTrayIcon(HWND window);
// The shell's broadcast when the notification area (re)starts, and the
// answer to it: the icon again, with its current picture and tooltip.
UINT TaskbarCreatedMessage();
bool ReAddTrayIcon(HWND window);
// Hides the window to the tray, adding the icon again first when the
// notification area lacks it; the window stays when it cannot be added.
void HideToTray(HWND window);
// Brings a window hidden to the tray back, in front.
void ShowFromTray(HWND window);
// A change of the taskbar's theme: new digits unless a colour is stored.
void FollowTaskbarTheme(HWND window);
// WM_DISPLAYCHANGE with the new bits per pixel: a new picture for a new
// depth or a new small-icon size.
void OnDisplayChange(HWND window, WPARAM bitsPerPixel);
// A new picture when the small-icon size changed (a new display scale).
void FollowTraySize(HWND window);

#endif
