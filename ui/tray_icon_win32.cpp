// The notification-area icon and its tooltip.
#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/text_win32.h"
#include "platform/scoped_win32.h"
#include "power/status.h"
#include "res/resource.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_image_win32.h"

// Changed only here: at add, replace and removal of the icon, and at a change
// of the display. The icon keeps the status it shows, so it can draw it anew
// for a new scale, theme, colour or notification area by itself.
static struct {
    PowerSample shown;          // the status the picture and tooltip show
    HICON trayIconImage;        // the picture last given to the icon; at most one exists
    SIZE pictureSize;           // its size: the small-icon size when it was made
    int32_t displayColorDepth;  // bits per pixel times planes, as last seen
} trayIcon;

static int32_t ReadDisplayColorDepth()
{
    ScopedWindowDc screen(nullptr);  // without one, 0: no depth known
    return GetDeviceCaps(screen.dc, BITSPIXEL) * GetDeviceCaps(screen.dc, PLANES);
}

// One request to the notification area with the shown status's tooltip, and
// the picture when one is given.
static BOOL NotifyTray(HWND window, DWORD request, HICON picture)
{
    // The first, 88-byte form of the record: understood by every shell.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_TIP | (picture ? NIF_ICON : 0u);
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = picture;
    FormatStatusTip(data.szTip, sizeof data.szTip, &trayIcon.shown);
    return Shell_NotifyIconA(request, &data);
}

static HICON BuildCurrentPicture()
{
    const PowerSample &shown = trayIcon.shown;
    trayIcon.pictureSize = TrayIconSize();
    return BuildTrayIconImage(trayIcon.pictureSize, shown.batteryLifePercent, shown.batteryFlag,
                              thresholds.lowThreshold, thresholds.criticalThreshold,
                              &iconSettings.font, iconSettings.iconColor);
}

void AddTrayIcon(HWND window)
{
    trayIcon.shown = UnknownSample();
    trayIcon.displayColorDepth = ReadDisplayColorDepth();
    trayIcon.trayIconImage = BuildCurrentPicture();
    // Without a tray icon a meter started hidden could never be reached.
    if (!NotifyTray(window, NIM_ADD, trayIcon.trayIconImage) && appGlobals.runHidden)
        ShowFromTray(window);
}

void RedrawTrayIcon(HWND window)
{
    if (trayIcon.trayIconImage)
        DestroyIcon(trayIcon.trayIconImage);
    trayIcon.trayIconImage = BuildCurrentPicture();
    NotifyTray(window, NIM_MODIFY, trayIcon.trayIconImage);
}

void ReplaceTrayIcon(HWND window, const PowerSample *shown)
{
    trayIcon.shown = *shown;
    RedrawTrayIcon(window);
}

void UpdateTrayTip(HWND window, const PowerSample *shown)
{
    trayIcon.shown = *shown;
    NotifyTray(window, NIM_MODIFY, nullptr);
}

bool ShowTrayNotice(HWND window, const char *text)
{
    // The second form of the record, the first with room for a notification;
    // the icon keeps its picture and tooltip.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_INFO;
    lstrcpynA(data.szInfo, text, sizeof data.szInfo);
    lstrcpynA(data.szInfoTitle, MAIN_CAPTION, sizeof data.szInfoTitle);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = 30000;  // the longest a shell that still reads it allows; later ones follow the user
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void RemoveTrayIcon(HWND window)
{
    NotifyTray(window, NIM_DELETE, nullptr);
    if (trayIcon.trayIconImage) {
        DestroyIcon(trayIcon.trayIconImage);
        trayIcon.trayIconImage = nullptr;
    }
}

bool NewDisplayDepth(int32_t depth)
{
    if (depth == 0 || depth == trayIcon.displayColorDepth)
        return false;
    trayIcon.displayColorDepth = depth;
    return true;
}

void FollowTraySize(HWND window)
{
    const SIZE size = TrayIconSize();
    if (size.cx != trayIcon.pictureSize.cx || size.cy != trayIcon.pictureSize.cy)
        RedrawTrayIcon(window);
}

UINT TaskbarCreatedMessage()
{
    // Registered once; no guarded static, which would pull in the C++ runtime.
    static UINT message;
    if (!message)
        message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool ReAddTrayIcon(HWND window)
{
    // The restarted notification area knows nothing of us: add the icon again
    // with what it showed before, drawn for today's scale.
    FollowTraySize(window);
    return NotifyTray(window, NIM_ADD, trayIcon.trayIconImage) != FALSE;
}

void HideToTray(HWND window)
{
    // A hidden window leaves only the tray icon to reach the meter. The icon
    // may have gone without a word to us (or come back with a refused add):
    // asked now, not remembered; only a present icon can be changed.
    if (NotifyTray(window, NIM_MODIFY, trayIcon.trayIconImage) || ReAddTrayIcon(window))
        ShowWindow(window, SW_HIDE);
}

void ShowFromTray(HWND window)
{
    if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

void FollowTaskbarTheme(HWND window)
{
    if (iconSettings.iconColorStored)
        return;
    const uint32_t color = CurrentTaskbarDigitColor();
    if (color == iconSettings.iconColor)
        return;
    iconSettings.iconColor = color;
    RedrawTrayIcon(window);
}
