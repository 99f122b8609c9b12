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
#include "ui/tray_retry.h"

// Changed only here: at add, replace and removal of the icon, and at a change
// of the display. The icon keeps the status it shows, so it can draw it anew
// for a new scale, theme, colour or notification area by itself.
static struct {
    PowerSample shown;          // the status the picture and tooltip show
    HICON trayIconImage;        // the picture last given to the icon; at most one exists
    SIZE pictureSize;           // its size: the small-icon size when it was made
    int32_t displayColorDepth;  // bits per pixel times planes, as last seen
    bool there;                 // the notification area took the icon at the last try
    bool retrying;              // TRAY_TIMER_ID asks it again
    DWORD retrySince;           // the tick count of the first refusal
} trayIcon;

// Asked again on a timer from now on, unless that runs already.
static void StartTrayRetry(HWND window)
{
    if (trayIcon.retrying)
        return;
    trayIcon.retrying = true;
    trayIcon.retrySince = GetTickCount();
    SetTimer(window, TRAY_TIMER_ID, TRAY_RETRY_MS, nullptr);
}

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
    const BOOL done = Shell_NotifyIconA(request, &data);
    // An icon that a change finds gone (a notification area restarted without
    // TaskbarCreated) is added again as at logon.
    if (!done && request == NIM_MODIFY && trayIcon.there) {
        trayIcon.there = false;
        StartTrayRetry(window);
    }
    return done;
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
    // A notification area not ready yet (a slow logon) is asked again; a
    // hidden window stays hidden meanwhile.
    trayIcon.there = NotifyTray(window, NIM_ADD, trayIcon.trayIconImage) != FALSE;
    if (!trayIcon.there)
        StartTrayRetry(window);
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

// One try, with what the icon showed before, drawn for today's scale. An add
// that was refused may have landed after all: a change finds it. Otherwise
// the area knows nothing of us and takes it anew.
static bool TryTrayIcon(HWND window)
{
    trayIcon.there = false;
    FollowTraySize(window);
    trayIcon.there = NotifyTray(window, NIM_MODIFY, trayIcon.trayIconImage) ||
                     NotifyTray(window, NIM_ADD, trayIcon.trayIconImage);
    return trayIcon.there;
}

bool ReAddTrayIcon(HWND window)
{
    const bool there = TryTrayIcon(window);
    if (!there)
        StartTrayRetry(window);
    const TrayRetry next = NextTrayRetry(there, trayIcon.retrySince, GetTickCount());
    if (next == TRAY_RETRY_AGAIN)
        return false;
    KillTimer(window, TRAY_TIMER_ID);
    trayIcon.retrying = false;
    // Without a tray icon a hidden meter could never be reached.
    if (next == TRAY_RETRY_GIVE_UP && !IsWindowVisible(window))
        ShowFromTray(window);
    return there;
}

void HideToTray(HWND window)
{
    // A hidden window leaves only the tray icon to reach the meter. The icon
    // may have gone without a word to us: asked now, not remembered.
    if (ReAddTrayIcon(window))
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
