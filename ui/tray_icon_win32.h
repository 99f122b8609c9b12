// The notification-area icon: its picture, tooltip and life.
#ifndef AMPWATCH_TRAY_ICON_WIN32_H
#define AMPWATCH_TRAY_ICON_WIN32_H

#include <windows.h>
#include <shellapi.h>
#include <stdint.h>

// The picture last given to the tray icon; at most one exists at a time.
extern HICON trayIconImage;
// Screen colour depth (bits per pixel times planes) as last seen.
extern int32_t displayColorDepth;

int32_t ReadDisplayColorDepth();
BOOL UpdateTrayIcon(HWND window, DWORD request, HICON picture, uint8_t percent, uint32_t seconds);
void AddTrayIcon(HWND window);
void ReplaceTrayIcon(HWND window, uint8_t percent, uint8_t batteryFlag, uint32_t seconds);
void RemoveTrayIcon(HWND window);
// The shell's broadcast when the notification area (re)starts, and the
// answer to it: the icon again, with its current picture and tooltip.
UINT TaskbarCreatedMessage();
bool ReAddTrayIcon(HWND window);
// Hides the window to the tray, adding the icon again first when the
// notification area lacks it; false (window kept) when it cannot be added.
bool HideToTray(HWND window);
// A change of the taskbar's theme: new digits unless a colour is stored.
void FollowTaskbarTheme(HWND window);
// WM_DISPLAYCHANGE with the new bits per pixel.
void OnDisplayChange(HWND window, WPARAM bitsPerPixel);

#endif
