// The settings controls of the main window: the poll interval's trackbar,
// the alert threshold's box with its arrows, Apply, and the digits' colour.
#include "ui/settings_controls_win32.h"

#include <commctrl.h>
#include <windowsx.h>
#include <string.h>

#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/text.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "platform/dynamic_calls.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/refresh_win32.h"
#include "ui/tray_icon_win32.h"

// Offered afresh each time the chooser opens.
static const COLORREF kCustomColors[] = {
    0x000000, 0x000080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
};

// Apply is enabled while the interval or the threshold has a change pending.
void EnableApply(HWND window)
{
    EnableWindow(GetDlgItem(window, IDC_APPLY), TRUE);
}

static void DisableApply(HWND window)
{
    HWND apply = GetDlgItem(window, IDC_APPLY);
    // A disabled button cannot keep the keyboard focus: it goes on to OK.
    if (GetFocus() == apply)
        PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDOK)), TRUE);
    EnableWindow(apply, FALSE);
}

// The stored alert threshold into its box; an empty box is what keeps the
// alert off.
static void ShowThreshold(HWND window)
{
    const bool off = thresholds.alertThreshold == THRESHOLD_OFF;
    // The up-down control may rewrite its buddy box when its position is set,
    // so the text goes in afterwards.
    SendNumber(GetDlgItem(window, IDC_THRESHOLD_SPIN), UDM_SETPOS, off ? 0 : thresholds.alertThreshold);
    char text[NUMBER_CAPACITY] = "";
    if (!off)
        FormatUnsigned(text, sizeof text, thresholds.alertThreshold);
    SetDlgItemTextA(window, IDC_THRESHOLD, text);
}

// The threshold the box asks for: empty is "off"; text that is no number (a
// paste gets anything in) keeps the stored threshold, shown again with a beep:
// false then, and the window stays so the user sees it.
static bool ApplyThreshold(HWND window)
{
    BOOL number = FALSE;
    const UINT typed = GetDlgItemInt(window, IDC_THRESHOLD, &number, FALSE);
    uint8_t threshold = THRESHOLD_OFF;
    if (number) {
        threshold = static_cast<uint8_t>(typed & 0xFFu);
    } else if (GetWindowTextLengthA(GetDlgItem(window, IDC_THRESHOLD)) > 0) {
        ShowThreshold(window);
        // Showing it again counted as an edit; nothing is pending.
        DisableApply(window);
        MessageBeep(MB_ICONEXCLAMATION);
        return false;
    }
    if (threshold != thresholds.alertThreshold) {
        thresholds.alertThreshold = threshold;
        RearmAlert();
        WriteSettingUnsigned("AlertThreshold", threshold);
    }
    return true;
}

// Every interval. A poll may come up to a second late per minute of interval
// (1 to 6 s, under 2 % of the step between two samples), so Windows may wake
// the processor for it together with others.
void StartPollTimer(HWND window)
{
    SetTolerantTimer(window, POLL_TIMER_ID, appGlobals.interval * 1000u, appGlobals.interval * 1000u / 60u);
}

// The old samples were taken at the old pace: a change that would drop them
// is asked first. The polls that run inside the question still record.
static bool RescaleAccepted(HWND window)
{
    if (!IntervalChangeNeedsQuestion(&historyBuffer))
        return true;
    char text[TEXT_CAPACITY];
    LoadText(IDS_HISTORY_RESCALE, text, sizeof text);
    return MessageBoxA(window, text, MAIN_CAPTION, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

// False when the window is gone.
static bool ApplyInterval(HWND window)
{
    HWND trackbar = GetDlgItem(window, IDC_INTERVAL);
    LRESULT position = SendNumber(trackbar, TBM_GETPOS);
    if (!IntervalChangeRequested(static_cast<int64_t>(position), appGlobals.interval))
        return true;
    const bool accepted = RescaleAccepted(window);
    // The question runs its own message loop, in which the window may have
    // been closed: its history is saved already and must not be reset, and
    // nothing more is done or written.
    if (!IsWindow(window))
        return false;
    if (!accepted) {
        SendMessageA(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(appGlobals.interval));
        return true;
    }
    ResetHistoryForInterval(pathSet.history);
    const uint32_t interval = static_cast<uint32_t>(position);
    appGlobals.interval = interval;
    StartPollTimer(window);
    RedrawGraph(window);
    WriteSettingUnsigned("Interval", interval);
    return true;
}

// OK and Apply: take over the interval and the threshold of the controls.
// False when the threshold was refused or the window went meanwhile.
bool ApplySettings(HWND window)
{
    DisableApply(window);
    return ApplyInterval(window) && ApplyThreshold(window);
}

void SetUpSettingsControls(HWND window)
{
    HWND trackbar = GetDlgItem(window, IDC_INTERVAL);
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(INTERVAL_MIN, INTERVAL_MAX));
    SendMessageA(trackbar, TBM_SETTICFREQ, 60, 0);
    SendNumber(trackbar, TBM_SETLINESIZE, 30);
    SendNumber(trackbar, TBM_SETPAGESIZE, 60);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(appGlobals.interval));
    SendNumber(GetDlgItem(window, IDC_THRESHOLD_SPIN), UDM_SETRANGE, MAKELPARAM(99, 0));
    ShowThreshold(window);
    Edit_LimitText(GetDlgItem(window, IDC_THRESHOLD), 2);
    // Filling the edit box above reported a change; the dialog opens unchanged.
    DisableApply(window);
}

void ChooseIconColor(HWND window)
{
    COLORREF custom[ARRAYSIZE(kCustomColors)];
    memcpy(custom, kCustomColors, sizeof custom);
    CHOOSECOLORA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = window;
    chooser.rgbResult = iconSettings.iconColor;
    chooser.lpCustColors = custom;
    chooser.Flags = CC_RGBINIT | CC_ANYCOLOR;
    BOOL chosen = FALSE;
    if (!CallChooseColor(&chooser, &chosen) || !chosen || !IsWindow(window))
        return;
    iconSettings.iconColor = chooser.rgbResult & 0x00FFFFFFu;
    iconSettings.iconColorStored = true;
    RedrawTrayIcon(window);
    WriteSettingUnsigned("IconColor", iconSettings.iconColor);
}

