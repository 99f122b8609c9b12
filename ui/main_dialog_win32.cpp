// The main dialog: initialisation, message routing and the commands.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>
#include <string.h>

#include "ampwatch_version.h"
#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/startup_win32.h"
#include "app/system_folder_win32.h"
#include "app/text.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/scoped_win32.h"
#include "power/capacity_win32.h"
#include "power/status_win32.h"
#include "power/unplug.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/main_dialog_win32.h"
#include "ui/refresh_win32.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_tip.h"

static const char kAboutText[] =
    "Quenta Battery Meter " AMPWATCH_VERSION_TEXT "\r\n"
    "(C) Quenta\r\n"
    "All rights reserved.\r\n"
    "www.quenta.example/ampwatch";

// Offered afresh each time the chooser opens.
static const COLORREF kCustomColors[] = {
    0x000000, 0x000080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF,
};

// The dialog's own state; whether the window is hidden to the tray is asked
// of the window itself.
static struct {
    bool detailsVisible;  // the graph's overlay: F4 and clicks on the graph
    bool helpOpen;        // a box opened by a help request is still open
} mainDialog;

// Apply is enabled while the interval or the threshold has a change pending.
static void EnableApply(HWND window)
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

// The details state goes to the settings only at a save point, and only when
// it differs from what is stored there.
// Every save point (F2, close, end of the session, suspend) keeps the same
// two things; true when the history was written.
static bool SavePoint()
{
    if (mainDialog.detailsVisible != appGlobals.storedShowDetails) {
        WriteSetting("ShowDetails", mainDialog.detailsVisible ? "1" : "0");
        appGlobals.storedShowDetails = mainDialog.detailsVisible;
    }
    return SaveHistory(pathSet.history);
}

// One of the window's icons (ICON_SMALL, ICON_BIG) replaced, by none at the
// end; the one it replaces is freed.
static void PutWindowIcon(HWND window, WPARAM which, HANDLE icon)
{
    LRESULT old = SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (old)
        DestroyIcon(reinterpret_cast<HICON>(old));
}

// The program's icon at the size of a metric (SM_CXSMICON, SM_CXICON) at a DPI.
static HANDLE WindowIcon(int metric, uint32_t dpi)
{
    const int pixels = MetricForDpi(metric, dpi);
    return LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, pixels, pixels,
                      LR_DEFAULTCOLOR);
}

// The window's icons at the sizes its DPI asks for.
static void SetWindowIcons(HWND window)
{
    const uint32_t dpi = WindowDpi(window);
    PutWindowIcon(window, ICON_SMALL, WindowIcon(SM_CXSMICON, dpi));
    PutWindowIcon(window, ICON_BIG, WindowIcon(SM_CXICON, dpi));
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
static void StartPollTimer(HWND window)
{
    SetTolerantTimer(window, POLL_TIMER_ID, appGlobals.interval * 1000u, appGlobals.interval * 1000u / 60u);
}

// The two choices at the end of the window menu, checked as they are now; the
// reminder's item names the level it switches on.
static void ShowWindowMenuChoices(HMENU menu)
{
    CheckMenuItem(menu, IDM_STARTUP, MF_BYCOMMAND | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
    char format[TEXT_CAPACITY], text[TEXT_CAPACITY];
    LoadText(IDS_MENU_UNPLUG, format, sizeof format);
    const uint32_t level = UnplugMenuLevel(thresholds.unplugThreshold);
    FormatCounts(text, sizeof text, format, &level, 1);
    const UINT checked = UnplugReminderOn(thresholds.unplugThreshold) ? MF_CHECKED : MF_UNCHECKED;
    ModifyMenuA(menu, IDM_UNPLUG_REMINDER, MF_BYCOMMAND | MF_STRING | checked, IDM_UNPLUG_REMINDER, text);
}

static void AddWindowMenuChoices(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    char text[TEXT_CAPACITY];
    LoadText(IDS_MENU_STARTUP, text, sizeof text);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_STARTUP, text);
    AppendMenuA(menu, MF_STRING, IDM_UNPLUG_REMINDER, "");
    ShowWindowMenuChoices(menu);
}

// Switched on at the level the menu names, off as the settings store it.
static void ToggleUnplugReminder()
{
    thresholds.unplugThreshold =
        UnplugReminderOn(thresholds.unplugThreshold) ? uint8_t{THRESHOLD_OFF} : uint8_t{UNPLUG_DEFAULT};
    WriteSettingUnsigned("UnplugThreshold", thresholds.unplugThreshold);
}

static BOOL OnInitDialog(HWND window)
{
    LoadHistory(pathSet.history);
    mainDialog.detailsVisible = appGlobals.storedShowDetails;
    SetWindowTextA(window, MAIN_CAPTION);
    FitGraphControl(GetDlgItem(window, IDC_GRAPH));

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

    SetWindowIcons(window);
    AddWindowMenuChoices(window);
    NameGraph(window, ShownStatus());
    AddTrayIcon(window);
    ListenForPowerSettings(window);

    StartPollTimer(window);
    // The first cycle runs as soon as the loop starts, not one interval later.
    PostMessageA(window, WM_TIMER, POLL_TIMER_ID, 0);
    return TRUE;
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
static bool ApplySettings(HWND window)
{
    DisableApply(window);
    return ApplyInterval(window) && ApplyThreshold(window);
}

static void OnOk(HWND window)
{
    if (ApplySettings(window))
        HideToTray(window);
}

static void CloseMainWindow(HWND window)
{
    KillTimer(window, POLL_TIMER_ID);
    StopListeningForPowerSettings();
    SavePoint();
    LogEvent("Ampwatch closed");
    // The icon goes before the window, so no stale icon is left behind.
    RemoveTrayIcon(window);
    DestroyWindow(window);
}


static void ChooseIconColor(HWND window)
{
    COLORREF custom[ARRAYSIZE(kCustomColors)];
    memcpy(custom, kCustomColors, sizeof custom);
    CHOOSECOLORA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = window;
    chooser.rgbResult = iconSettings.iconColor;
    chooser.lpCustColors = custom;
    chooser.Flags = CC_RGBINIT | CC_ANYCOLOR;
    // The common dialogs library is loaded for the chooser only: linked at
    // start it would cost every run of the meter its memory for nothing.
    BOOL chosen = FALSE;
    {
        ScopedLibrary dialogs(LoadSystemLibrary("comdlg32.dll"));
        auto choose = LoadedFunction<decltype(&ChooseColorA)>(dialogs.module, "ChooseColorA");
        chosen = choose && choose(&chooser);
    }
    if (!chosen || !IsWindow(window))
        return;
    iconSettings.iconColor = chooser.rgbResult & 0x00FFFFFFu;
    iconSettings.iconColorStored = true;
    RedrawTrayIcon(window);
    WriteSettingUnsigned("IconColor", iconSettings.iconColor);
}

// Opens a file with its default handler; the window hides only on success.
static void OpenAndHide(HWND window, const char *file)
{
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = window;
    open.lpFile = file;
    open.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&open) && IsWindow(window))
        HideToTray(window);
}

// By its full path: an applet of that name beside the meter must not open.
static void OpenPowerOptions(HWND window)
{
    char applet[MAX_PATH];
    if (SystemFilePath("PowerCfg.cpl", applet, sizeof applet))
        OpenAndHide(window, applet);
}

static void OpenEventLog(HWND window)
{
    if (!FileExists(pathSet.eventLog))
        return;
    OpenAndHide(window, pathSet.eventLog);
}

static void ShowAbout(HWND window)
{
    MessageBoxA(window, kAboutText, MAIN_CAPTION, MB_OK | MB_ICONINFORMATION);
}

static void OnHelp(HWND window, const HELPINFO *help)
{
    if (mainDialog.helpOpen)
        return;
    mainDialog.helpOpen = true;
    bool shown = false;
    if (help && help->iCtrlId == IDC_GRAPH)
        shown = ShowCapacityReport(window) != 0;
    if (!shown && IsWindow(window))
        ShowAbout(window);
    mainDialog.helpOpen = false;
}

// A right click on the graph (or the menu key on it): the capacity report.
static BOOL OnContextMenu(HWND window, HWND target)
{
    return target == GetDlgItem(window, IDC_GRAPH) && ShowCapacityReport(window);
}

static void ToggleDetails(HWND window)
{
    mainDialog.detailsVisible = !mainDialog.detailsVisible;
    RedrawGraph(window);
}

// F2 and Ctrl+S: a beep says the history was written.
static void SaveNow()
{
    if (SavePoint())
        MessageBeep(MB_ICONASTERISK);
}

static void OnCommand(HWND window, int id, int code)
{
    switch (id) {
    case IDOK: OnOk(window); break;
    case IDCANCEL: CloseMainWindow(window); break;
    case IDC_APPLY: ApplySettings(window); break;
    case IDC_GRAPH: ToggleDetails(window); break;
    case IDC_ICONCOLOR: ChooseIconColor(window); break;
    case IDC_THRESHOLD: if (code == EN_CHANGE) EnableApply(window); break;
    case IDM_REFRESH: PostBare(window, WM_REFRESHNOW); break;
    case IDM_SAVE: SaveNow(); break;
    case IDM_POWEROPTIONS: OpenPowerOptions(window); break;
    case IDM_CAPACITY: ShowCapacityReport(window); break;
    case IDM_OPENLOG: OpenEventLog(window); break;
    }
}

static void OnTimer(HWND window, UINT_PTR id)
{
    if (id == POLL_TIMER_ID)
        PollCycle(window);
}

static void OnPowerBroadcast(HWND window, uint32_t code)
{
    LogPowerEvent(code);
    switch (code) {
    case BROADCAST_SUSPEND:
        // The notebook may never wake up again (flat battery, switched off
        // asleep): the samples so far go to the file now.
        SavePoint();
        break;
    case BROADCAST_RESUME_CRITICAL:
    case BROADCAST_RESUME_SUSPEND:
    case BROADCAST_BATTERY_LOW:
    case BROADCAST_STATUS_CHANGE:
    case BROADCAST_SETTING_CHANGE:  // its record is not read: the status is
        RefreshCycle(window);
        break;
    }
}

static void OnTrayNotify(HWND window, WPARAM id, LPARAM event)
{
    if (id != TRAY_ICON_ID)
        return;
    switch (event) {
    case WM_MOUSEMOVE:
        HoverRefresh(window);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ShowFromTray(window);
        break;
    }
}

// The end of the Windows session saves and logs, but tears nothing down.
static void OnEndSession(bool ending)
{
    if (!ending)
        return;
    SavePoint();
    LogEvent("Windows session is ending");
}

static void OnDestroy(HWND window)
{
    PutWindowIcon(window, ICON_SMALL, nullptr);
    PutWindowIcon(window, ICON_BIG, nullptr);
    PostQuitMessage(0);
}

static INT_PTR OnCtlColorButton(HWND window, HWND button)
{
    if (button != GetDlgItem(window, IDC_GRAPH))
        return FALSE;
    return reinterpret_cast<INT_PTR>(GraphBackground());
}

static void OnHScroll(HWND window, HWND bar)
{
    if (bar == GetDlgItem(window, IDC_INTERVAL))
        EnableApply(window);
}

// The window moved to a monitor of another scale: it takes the place the
// system suggests; the dialog manager then scales the controls, and the graph
// is fitted to its grid again once that is done.
static void OnDpiChanged(HWND window, const RECT *suggested)
{
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowIcons(window);
    FollowTraySize(window);
    PostBare(window, WM_REFITGRAPH);
}

static void OnRefitGraph(HWND window)
{
    FitGraphControl(GetDlgItem(window, IDC_GRAPH));
    RedrawGraph(window);
}

// New colours of the system or a high-contrast theme switched: the digits
// and the graph follow.
static void FollowColors(HWND window)
{
    FollowTaskbarTheme(window);
    RedrawGraph(window);
}

// A new taskbar theme or high contrast changes the colours; a new scale the
// icon's size.
static void OnSettingChange(HWND window, UINT setting, const char *area)
{
    if (setting == SPI_SETHIGHCONTRAST || (area && lstrcmpA(area, "ImmersiveColorSet") == 0))
        FollowColors(window);
    FollowTraySize(window);
}

// The common controls draw with the system colours they were told of.
static void OnSysColorChange(HWND window, WPARAM wParam, LPARAM lParam)
{
    SendDlgItemMessageA(window, IDC_INTERVAL, WM_SYSCOLORCHANGE, wParam, lParam);
    SendDlgItemMessageA(window, IDC_THRESHOLD_SPIN, WM_SYSCOLORCHANGE, wParam, lParam);
    FollowColors(window);
}

static void OnInitMenuPopup(HMENU menu, bool windowMenu)
{
    if (windowMenu)
        ShowWindowMenuChoices(menu);
}

// The program's own items of the window menu; the system's go on to Windows.
static BOOL OnSysCommand(UINT_PTR command)
{
    switch (command & 0xFFF0) {
    case IDM_STARTUP: ToggleStartWithWindows(); return TRUE;
    case IDM_UNPLUG_REMINDER: ToggleUnplugReminder(); return TRUE;
    }
    return FALSE;
}

// A restarted notification area broadcasts a message registered by name.
static void OnRegisteredMessage(HWND window, UINT message)
{
    if (message != WM_NULL && message == TaskbarCreatedMessage())
        ReAddTrayIcon(window);
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_CLOSE: CloseMainWindow(window); return FALSE;
    case WM_DESTROY: OnDestroy(window); return FALSE;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return FALSE;
    case WM_TIMER: OnTimer(window, wParam); return FALSE;
    case WM_REFRESHNOW: RefreshCycle(window); return FALSE;
    case WM_POWERBROADCAST: OnPowerBroadcast(window, static_cast<uint32_t>(wParam)); return FALSE;
    case WM_TRAYNOTIFY: OnTrayNotify(window, wParam, lParam); return FALSE;
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return FALSE;
    case WM_HELP: OnHelp(window, reinterpret_cast<const HELPINFO *>(lParam)); return TRUE;
    case WM_CONTEXTMENU: return OnContextMenu(window, reinterpret_cast<HWND>(wParam));
    case WM_DRAWITEM:
        return DrawGraph(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam), mainDialog.detailsVisible, ShownStatus());
    case WM_CTLCOLORBTN: return OnCtlColorButton(window, reinterpret_cast<HWND>(lParam));
    case WM_HSCROLL: OnHScroll(window, reinterpret_cast<HWND>(lParam)); return FALSE;
    case WM_DPICHANGED: OnDpiChanged(window, reinterpret_cast<const RECT *>(lParam)); return FALSE;
    case WM_REFITGRAPH: OnRefitGraph(window); return FALSE;
    case WM_DISPLAYCHANGE: OnDisplayChange(window, wParam); return FALSE;
    case WM_SETTINGCHANGE:
        OnSettingChange(window, static_cast<UINT>(wParam), reinterpret_cast<const char *>(lParam));
        return FALSE;
    case WM_SYSCOLORCHANGE: OnSysColorChange(window, wParam, lParam); return FALSE;
    case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0); return FALSE;
    case WM_SYSCOMMAND: return OnSysCommand(wParam);
    default: OnRegisteredMessage(window, message); return FALSE;
    }
}
