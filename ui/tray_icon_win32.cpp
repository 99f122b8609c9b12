// The notification-area icon and its tooltip.
#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/text_win32.h"
#include "platform/scoped_win32.h"
#include "power/status.h"
#include "ui/main_dialog_win32.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_image_win32.h"
#include "ui/tray_tip.h"

// Changed only here: at add, replace, re-add and removal of the icon, and at
// a change of the display.
HICON trayIconImage = nullptr;
int32_t displayColorDepth = 0;

int32_t ReadDisplayColorDepth()
{
    ScopedWindowDc screen(nullptr);
    if (!screen.dc)
        return 0;
    return GetDeviceCaps(screen.dc, BITSPIXEL) * GetDeviceCaps(screen.dc, PLANES);
}

static void FormatTrayTip(char *tip, uint8_t percent, uint32_t seconds)
{
    TipPlan plan = PlanTrayTip(percent, seconds);
    if (plan.textId == 0) {
        FormatCounts(tip, TIP_CAPACITY, kMainCaption, nullptr, 0);
        return;
    }
    char format[256];
    LoadText(plan.textId, format, sizeof format);
    FormatCounts(tip, TIP_CAPACITY, format, plan.args, plan.argCount);
}

BOOL UpdateTrayIcon(HWND window, DWORD request, HICON picture, uint8_t percent, uint32_t seconds)
{
    // The first, 88-byte form of the record: understood by every shell.
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_TIP | (picture ? NIF_ICON : 0u);
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = picture;
    FormatTrayTip(data.szTip, percent, seconds);
    return Shell_NotifyIconA(request, &data);
}

// Whether the notification area has our icon: only a present icon can be changed.
static bool TrayIconPresent(HWND window)
{
    return UpdateTrayIcon(window, NIM_MODIFY, trayIconImage, StatusSnapshot.batteryLifePercent,
                          StatusSnapshot.batteryLifeTime) != FALSE;
}

static HICON BuildCurrentPicture(uint8_t percent, uint8_t batteryFlag)
{
    return BuildTrayIconImage(percent, batteryFlag, thresholds.lowThreshold,
                              thresholds.criticalThreshold, &iconSettings.font,
                              iconSettings.iconColor);
}

void AddTrayIcon(HWND window)
{
    trayIconImage = BuildCurrentPicture(PERCENT_UNKNOWN, FLAG_UNKNOWN);
    const BOOL shown = UpdateTrayIcon(window, NIM_ADD, trayIconImage, PERCENT_UNKNOWN,
                                      LIFETIME_UNKNOWN);
    if (!shown && hiddenToTray) {
        // Without a tray icon a hidden meter could never be reached again.
        ShowWindow(window, SW_SHOWNORMAL);
        hiddenToTray = false;
    }
}

void ReplaceTrayIcon(HWND window, uint8_t percent, uint8_t batteryFlag, uint32_t seconds)
{
    if (trayIconImage)
        DestroyIcon(trayIconImage);
    trayIconImage = BuildCurrentPicture(percent, batteryFlag);
    UpdateTrayIcon(window, NIM_MODIFY, trayIconImage, percent, seconds);
}

void RemoveTrayIcon(HWND window)
{
    UpdateTrayIcon(window, NIM_DELETE, trayIconImage, StatusSnapshot.batteryLifePercent,
                   StatusSnapshot.batteryLifeTime);
    if (trayIconImage) {
        DestroyIcon(trayIconImage);
        trayIconImage = nullptr;
    }
}

void OnDisplayChange(HWND window, WPARAM bitsPerPixel)
{
    int32_t depth = static_cast<int32_t>(bitsPerPixel);
    if (depth == 0 || depth == displayColorDepth)
        return;
    displayColorDepth = depth;
    ReplaceTrayIcon(window, StatusSnapshot.batteryLifePercent, StatusSnapshot.batteryFlag,
                    StatusSnapshot.batteryLifeTime);
}

UINT TaskbarCreatedMessage()
{
    static UINT message = 0;
    if (!message)
        message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool ReAddTrayIcon(HWND window)
{
    // The restarted notification area knows nothing of us: add the icon again
    // with what it showed before.
    return UpdateTrayIcon(window, NIM_ADD, trayIconImage, StatusSnapshot.batteryLifePercent,
                          StatusSnapshot.batteryLifeTime) != FALSE;
}

static bool ReAddForHiding(void *window)
{
    return ReAddTrayIcon(static_cast<HWND>(window));
}

bool HideToTray(HWND window)
{
    // The icon may have gone without a word to us (or come back with a refused
    // add): asked now, not remembered.
    if (!MayHideToTray(TrayIconPresent(window), ReAddForHiding, window))
        return false;
    ShowWindow(window, SW_HIDE);
    hiddenToTray = true;
    return true;
}

void FollowTaskbarTheme(HWND window)
{
    if (iconSettings.iconColorStored)
        return;
    const uint32_t color = CurrentTaskbarDigitColor();
    if (color == iconSettings.iconColor)
        return;
    iconSettings.iconColor = color;
    ReplaceTrayIcon(window, StatusSnapshot.batteryLifePercent, StatusSnapshot.batteryFlag,
                    StatusSnapshot.batteryLifeTime);
}
