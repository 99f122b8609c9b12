// The main dialog: its start, every message routed to one handler, the
// commands of its keys and buttons, and its end.
#include "ui/main_dialog_win32.h"

#include <shellapi.h>

#include "ampwatch_version.h"
#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/system_folder_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "power/capacity_win32.h"
#include "power/status_win32.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/refresh_win32.h"
#include "ui/settings_controls_win32.h"
#include "ui/tray_icon_win32.h"
#include "ui/window_menu_win32.h"

static const char kAboutText[] =
    "Quenta Battery Meter " AMPWATCH_VERSION_TEXT "\r\n"
    "(C) Quenta\r\n"
    "All rights reserved.\r\n"
    "www.quenta.example/ampwatch";

// The dialog's own state; whether the window is hidden to the tray is asked
// of the window itself.
static struct {
    bool detailsVisible;  // the graph's overlay: F4 and clicks on the graph
    bool helpOpen;        // a box opened by a help request is still open
} mainDialog;

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

static BOOL OnInitDialog(HWND window)
{
    LoadHistory(pathSet.history);
    mainDialog.detailsVisible = appGlobals.storedShowDetails;
    SetWindowTextA(window, MAIN_CAPTION);
    FitGraphControl(GetDlgItem(window, IDC_GRAPH));

    SetUpSettingsControls(window);
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
    else if (id == TRAY_TIMER_ID)
        ReAddTrayIcon(window);
}

// Answered at once: the refresh, which may open the alert box, is posted, so
// no box opens inside the system's send. Saving before sleep opens none.
static void OnPowerBroadcast(HWND window, uint32_t code, LPARAM record)
{
    LogPowerEvent(code);
    uint32_t value = 0;
    PowerSetting setting = SETTING_NO_RECORD;
    if (code == BROADCAST_SETTING_CHANGE)  // only its parameter is a record
        setting = ReadPowerSetting(record, &value);
    switch (ActionForPowerEvent(code, setting, value)) {
    case POWER_SAVE:
        // The notebook may never wake up again (flat battery, switched off
        // asleep): the samples so far go to the file now.
        SavePoint();
        break;
    case POWER_REFRESH: PostBare(window, WM_REFRESHNOW); break;
    case POWER_NOTHING: break;
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

// A new colour depth gives the tray a new picture; a new resolution may
// bring a new small-icon size.
static void OnDisplayChange(HWND window, WPARAM bitsPerPixel)
{
    if (NewDisplayDepth(static_cast<int32_t>(bitsPerPixel)))
        RedrawTrayIcon(window);
    else
        FollowTraySize(window);
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
    return RunWindowMenuChoice(command);
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
    case WM_POWERBROADCAST: OnPowerBroadcast(window, static_cast<uint32_t>(wParam), lParam); return FALSE;
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
