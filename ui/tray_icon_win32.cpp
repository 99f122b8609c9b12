// The notification-area icon and its tooltip.
#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "platform/platform.h"
#include "power/status.h"
#include "ui/main_dialog.h"
#include "ui/tray_icon.h"
#include "ui/tray_image.h"
#include "ui/tray_tip.h"

HICON trayIconImage = nullptr;
int32_t displayColorDepth = 0;

int32_t ReadDisplayColorDepth()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 0;
    int32_t depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
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

static_assert(sizeof(TrayFont) == sizeof(IconFont), "both mirror LOGFONTA");

static HICON BuildCurrentPicture(uint8_t percent, uint8_t batteryFlag)
{
    TrayFont font;
    memcpy(&font, &iconSettings.font, sizeof font);
    return BuildTrayIconImage(percent, batteryFlag, thresholds.lowThreshold,
                              thresholds.criticalThreshold, &font, iconSettings.iconColor);
}

void AddTrayIcon(HWND window)
{
    trayIconImage = BuildCurrentPicture(PERCENT_UNKNOWN, FLAG_UNKNOWN);
    if (!UpdateTrayIcon(window, NIM_ADD, trayIconImage, PERCENT_UNKNOWN, LIFETIME_UNKNOWN) &&
        hiddenToTray) {
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

void ReAddTrayIcon(HWND window)
{
    // The restarted notification area knows nothing of us: add the icon again
    // with what it showed before.
    UpdateTrayIcon(window, NIM_ADD, trayIconImage, StatusSnapshot.batteryLifePercent,
                   StatusSnapshot.batteryLifeTime);
}
