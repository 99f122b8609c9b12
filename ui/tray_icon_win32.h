// The notification-area icon: its picture, tooltip and life, and the window's
// way to and from the tray.
#ifndef AMPWATCH_TRAY_ICON_WIN32_H
#define AMPWATCH_TRAY_ICON_WIN32_H

#include <windows.h>

#include "power/status.h"

// The icon shows the status it was last given; it starts with an unknown one.
void AddTrayIcon(HWND window);
// A new status: a new picture and tooltip; the picture before is freed.
void ReplaceTrayIcon(HWND window, const PowerSample *shown);
// A new status of which only the remaining time changed: the tooltip alone.
void UpdateTrayTip(HWND window, const PowerSample *shown);
// A new picture of the same status (a new colour of the digits).
void RedrawTrayIcon(HWND window);
void RemoveTrayIcon(HWND window);
// A notification of the icon (a balloon; a toast on Windows 10 and 11) with
// the caption as its title; false when the icon is not there to carry it.
bool ShowTrayNotice(HWND window, const char *text);
// The shell's broadcast when the notification area (re)starts.
UINT TaskbarCreatedMessage();
// At that broadcast and at each TRAY_TIMER_ID: the icon again, with its
// current picture and tooltip; true when it is there. Refused, it is asked
// again every 2 s for a minute, then a hidden window is shown.
bool ReAddTrayIcon(HWND window);
// Hides the window to the tray, adding the icon again first when the
// notification area lacks it; the window stays when it cannot be added.
void HideToTray(HWND window);
// Brings a window hidden to the tray back, in front.
void ShowFromTray(HWND window);
// A change of the taskbar's theme: new digits unless a colour is stored.
void FollowTaskbarTheme(HWND window);
// The display's bits per pixel as WM_DISPLAYCHANGE tells them: true when
// the picture needs drawing anew for them (0 tells nothing).
bool NewDisplayDepth(int32_t depth);
// A new picture when the small-icon size changed (a new display scale).
void FollowTraySize(HWND window);

#endif
