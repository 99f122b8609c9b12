// The main dialog: initialisation, message routing and the commands.
#include <windows.h>
#include <commctrl.h>

#include "app/settings.h"
#include "app/text.h"
#include "platform/platform.h"
#include "power/status.h"
#include "res/resource.h"
#include "ui/main_dialog.h"
#include "ui/tray_icon.h"

const char kMainCaption[] = "Battery Meter";

bool hiddenToTray = false;
bool detailsVisible = false;

static void EnableApply(HWND window)
{
    HWND apply = GetDlgItem(window, IDC_APPLY);
    if (apply && !IsWindowEnabled(apply))
        EnableWindow(apply, TRUE);
}

static void InitMainDialog(HWND window)
{
    HINSTANCE instance = static_cast<HINSTANCE>(appGlobals.instance);
    if (appGlobals.runHidden)
        hiddenToTray = true;
    displayColorDepth = ReadDisplayColorDepth();
    detailsVisible = appGlobals.storedShowDetails;
    SetWindowTextA(window, kMainCaption);

    HWND trackbar = GetDlgItem(window, IDC_INTERVAL);
    if (trackbar) {
        SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(INTERVAL_MIN, INTERVAL_MAX));
        SendMessageA(trackbar, TBM_SETTICFREQ, 60, 0);
        SendMessageA(trackbar, TBM_SETLINESIZE, 0, 30);
        SendMessageA(trackbar, TBM_SETPAGESIZE, 0, 60);
        SendMessageA(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(appGlobals.interval));
    }
    HWND spin = GetDlgItem(window, IDC_THRESHOLD_SPIN);
    if (spin) {
        SendMessageA(spin, UDM_SETBASE, 10, 0);
        SendMessageA(spin, UDM_SETRANGE, 0, MAKELPARAM(99, 0));
    }
    if (thresholds.alertThreshold == THRESHOLD_OFF) {
        SetDlgItemTextA(window, IDC_THRESHOLD, "");
        SendMessageA(spin, UDM_SETPOS, 0, 0);
    } else {
        char text[8];
        FormatUnsigned(text, sizeof text, thresholds.alertThreshold);
        SetDlgItemTextA(window, IDC_THRESHOLD, text);
        SendMessageA(spin, UDM_SETPOS, 0, thresholds.alertThreshold);
    }
    SendDlgItemMessageA(window, IDC_THRESHOLD, EM_LIMITTEXT, 2, 0);
    // Filling the edit box above reported a change; the dialog opens unchanged.
    EnableWindow(GetDlgItem(window, IDC_APPLY), FALSE);

    // Posted, so they take effect once the message loop runs.
    if (appGlobals.smallIcon)
        PostMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appGlobals.smallIcon));
    PostMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN))));
    AddTrayIcon(window);

    SetTimer(window, POLL_TIMER_ID, appGlobals.interval * 1000u, nullptr);
    // The first cycle runs as soon as the loop starts, not one interval later.
    PostMessageA(window, WM_TIMER, POLL_TIMER_ID, 0);
}

// OK and Apply: take over the threshold typed into the dialog.
static void ApplySettings(HWND window, bool hide)
{
    HWND apply = GetDlgItem(window, IDC_APPLY);
    if (apply && IsWindowEnabled(apply)) {
        if (GetFocus() == apply)
            PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDOK)), 1);
        EnableWindow(apply, FALSE);
    }

    BOOL ok = FALSE;
    UINT typed = GetDlgItemInt(window, IDC_THRESHOLD, &ok, FALSE);
    uint8_t threshold = ok ? static_cast<uint8_t>(typed & 0xFFu) : uint8_t{THRESHOLD_OFF};
    if (threshold != thresholds.alertThreshold) {
        thresholds.alertThreshold = threshold;
        alertLatched = false;
        WriteSettingUnsigned("AlertThreshold", threshold);
    }

    if (hide) {
        ShowWindow(window, SW_HIDE);
        hiddenToTray = true;
    }
}

static void CloseMainWindow(HWND window)
{
    KillTimer(window, POLL_TIMER_ID);
    if (detailsVisible != appGlobals.storedShowDetails)
        WriteSetting("ShowDetails", detailsVisible ? "1" : "0");
    // The icon goes before the window, so no stale icon is left behind.
    RemoveTrayIcon(window);
    DestroyWindow(window);
}

static void EndSession()
{
    if (detailsVisible != appGlobals.storedShowDetails)
        WriteSetting("ShowDetails", detailsVisible ? "1" : "0");
}

static void OnCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        ApplySettings(window, true);
        break;
    case IDCANCEL:
        CloseMainWindow(window);
        break;
    case IDC_APPLY:
        ApplySettings(window, false);
        break;
    case IDC_THRESHOLD:
        if (HIWORD(wParam) == EN_CHANGE)
            EnableApply(window);
        break;
    case IDM_REFRESH:
        PostMessageA(window, WM_REFRESHNOW, 0, 0);
        break;
    }
}

static void OnTrayNotify(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam != TRAY_ICON_ID)
        return;
    switch (lParam) {
    case WM_MOUSEMOVE:
        HoverRefresh(window);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (hiddenToTray) {
            ShowWindow(window, SW_SHOW);
            hiddenToTray = false;
        }
        SetForegroundWindow(window);
        break;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitMainDialog(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    case WM_CLOSE:
        CloseMainWindow(window);
        return FALSE;
    case WM_SYSCOLORCHANGE:
        SendDlgItemMessageA(window, IDC_INTERVAL, message, wParam, lParam);
        SendDlgItemMessageA(window, IDC_THRESHOLD_SPIN, message, wParam, lParam);
        return FALSE;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return FALSE;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(window, wParam);
        return FALSE;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return FALSE;
    case WM_TIMER:
        RefreshCycle(window, true);
        return FALSE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window, IDC_INTERVAL))
            EnableApply(window);
        return FALSE;
    case WM_POWERBROADCAST:
        if (wParam == 6 || wParam == 7 || wParam == 9 || wParam == 10)
            RefreshCycle(window, false);
        return FALSE;
    case WM_TRAYNOTIFY:
        OnTrayNotify(window, wParam, lParam);
        return FALSE;
    case WM_REFRESHNOW:
        RefreshCycle(window, false);
        return FALSE;
    }
    return FALSE;
}
