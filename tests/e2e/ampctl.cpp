// Remote control of the running meter for the end-to-end tests: posts it what a user or the
// system would cause, prints what a user would see; the exit code tells whether it did its part.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "res/resource.h"
static const DWORD kWaitMs = 10000;
static const char kUsage[] = "no such item, or usage: ampctl wait-meter MS|sync|poll [TICKS]|state|text ITEM|name ITEM|settext ITEM TEXT|rect ITEM"
    "|box CAPTION [MS [ID]]|balloon MS|send-power N|strings FILE FIRST LAST|mutex MS|standin MS [late]"
    "|post close|display BPP|power N|tray N|command ITEM|endsession N|refresh|taskbarcreated|untray|setting TEXT";
static int ItemId(const char *name)
{
    static const struct { const char *name; int id; } items[] = {{"ok", IDOK}, {"graph", IDC_GRAPH},
        {"interval", IDC_INTERVAL}, {"apply", IDC_APPLY}, {"icon", IDC_ICONCOLOR}, {"threshold", IDC_THRESHOLD}, {"save", IDM_SAVE}};
    for (const auto &item : items)
        if (strcmp(item.name, name) == 0)
            return item.id;
    return int(strtol(name, nullptr, 0));
}
static bool Say(const char *what) { return fprintf(stderr, "ampctl: %s (error %lu)\n", what, GetLastError()) < 0; }
static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR got = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &got) ? LRESULT(got) : -1;
}
// WM_GETTEXT reaches the control itself: an edit box keeps its own text.
static bool PrintText(HWND window)
{
    char text[4096] = "";
    return window && Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)) >= 0
               ? puts(text) >= 0 : Say("no text");
}
// Dialogs of that caption (the window manager's copy: a busy meter cannot stall the search) and root owner,
// waiting up to waitMs (text, may be null) for one.
static HWND Find(const char *caption, HWND owner, const char *waitMs, int *count)
{
    const DWORD start = GetTickCount(), ms = waitMs ? strtoul(waitMs, nullptr, 0) : 0;
    HWND first = nullptr;
    for (int n = 0;; Sleep(50)) {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr;)
            if ((owner ? w != owner && GetAncestor(w, GA_ROOTOWNER) == owner : !GetWindow(w, GW_OWNER)) && n++ == 0)
                first = w;
        if (count)
            *count = n;
        if (first || GetTickCount() - start >= ms)
            return first;
    }
}
// Until every message posted to the meter is handled: a marker posted behind them to the trackbar (same queue; a sent
// one is handled even inside a poll), twice, for what they posted in turn (a power broadcast its refresh).
static bool Sync(HWND meter)
{
    HWND bar = GetDlgItem(meter, IDC_INTERVAL);
    for (int round = 0; round < 2; ++round) {
        const LRESULT page = Send(bar, TBM_GETPAGESIZE, 0, 0);
        if (page < 0 || !PostMessageA(bar, TBM_SETPAGESIZE, 0, page + 1000))
            return Say("sync: the meter does not answer");
        for (DWORD start = GetTickCount(); Send(bar, TBM_GETPAGESIZE, 0, 0) != page + 1000; Sleep(10))
            if (GetTickCount() - start >= kWaitMs)
                return Say("sync: the meter handles no posted message");
        if (Send(bar, TBM_SETPAGESIZE, 0, page) < 0)
            return Say("sync: the page size stays");
    }
    return true;
}
// A power broadcast sent as Windows sends it: the sender waits for the answer (at most kWaitMs).
static bool SendPower(HWND meter, const char *code)
{
    DWORD_PTR got = 0;
    const DWORD start = GetTickCount();
    if (!SendMessageTimeoutA(meter, WM_POWERBROADCAST, strtoul(code, nullptr, 0), 0, SMTO_NORMAL, kWaitMs, &got))
        return Say("send-power: no answer");
    return printf("answered in %lu ms\n", GetTickCount() - start) > 0 && Sync(meter);
}
// The tray's balloon (a tooltip of another program; a new one for each notification), waiting up to waitMs for
// it: its window and place, once painted.
static bool PrintBalloon(HWND meter, const char *waitMs)
{
    DWORD meterProcess = 0, process = 0;
    GetWindowThreadProcessId(meter, &meterProcess);
    RECT r;
    for (DWORD start = GetTickCount();; Sleep(50)) {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr)) != nullptr;)
            if (GetWindowThreadProcessId(w, &process) && process != meterProcess && IsWindowVisible(w) &&
                (GetWindowLongA(w, GWL_STYLE) & TTS_BALLOON) && GetWindowRect(w, &r) && UpdateWindow(w))
                return printf("%lu %ld %ld %ld %ld\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(w)),
                              r.left, r.top, r.right - r.left, r.bottom - r.top) > 0;
        if (GetTickCount() - start >= strtoul(waitMs, nullptr, 0))
            return Say("no balloon");
    }
}
static bool Post(HWND meter, const char *what, const char *arg)
{
    const unsigned long n = arg ? strtoul(arg, nullptr, 0) : 0;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = meter;
    icon.uID = TRAY_ICON_ID;
    BOOL ok = FALSE;
    if (strcmp(what, "close") == 0)
        return PostMessageA(meter, WM_CLOSE, 0, 0) || Say("cannot post");
    if (strcmp(what, "setting") == 0 && arg)  // sent, as the system does: so the text travels along
        return Send(meter, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(arg)) >= 0 || Say("no answer");
    if (strcmp(what, "untray") == 0)  // what a restarted notification area amounts to
        return Shell_NotifyIconA(NIM_DELETE, &icon) || Say("the icon was not there");
    if (strcmp(what, "display") == 0)  // a new colour depth
        ok = PostMessageA(meter, WM_DISPLAYCHANGE, n, MAKELPARAM(1024, 768));
    else if (strcmp(what, "power") == 0 || strcmp(what, "endsession") == 0)
        ok = PostMessageA(meter, what[0] == 'p' ? WM_POWERBROADCAST : WM_ENDSESSION, n, 0);
    else if (strcmp(what, "refresh") == 0)
        ok = PostMessageA(meter, WM_REFRESHNOW, 0, 0);
    else if (strcmp(what, "taskbarcreated") == 0)
        ok = PostMessageA(meter, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    else if (strcmp(what, "tray") == 0)
        ok = PostMessageA(meter, WM_TRAYNOTIFY, TRAY_ICON_ID, LPARAM(n));
    else if (strcmp(what, "command") == 0 && arg)
        ok = PostMessageA(meter, WM_COMMAND, WPARAM(ItemId(arg)), 0);
    return (ok || Say("cannot post")) && Sync(meter);
}
// String table entries first..last of a program file, one line each.
static bool PrintStrings(const char *file, const char *first, const char *last)
{
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return Say("cannot read the program's strings");
    for (UINT id = UINT(strtoul(first, nullptr, 0)); id <= UINT(strtoul(last, nullptr, 0)); ++id) {
        char text[512];
        puts(LoadStringA(module, id, text, sizeof text) > 0 ? text : "");
    }
    FreeLibrary(module);
    return true;
}
// The name a screen reader gives an item, from its accessible object (oleacc).
static bool PrintAccessibleName(HWND item)
{
    // Spelt out: mingw's import of IID_IAccessible is a thunk, not the GUID.
    static const GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible *object = nullptr;
    if (!item || FAILED(CoInitialize(nullptr)) ||
        FAILED(AccessibleObjectFromWindow(item, DWORD(OBJID_CLIENT), kIAccessible, reinterpret_cast<void **>(&object))))
        return Say("no accessible object");
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT got = object->get_accName(self, &name);
    object->Release();
    char text[512] = "";
    if (FAILED(got) || !name || !WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr))
        return Say("no accessible name");
    SysFreeString(name);
    return puts(text) >= 0;
}
// A tray not ready: a topmost window of its class (Wine asks the first) answering FALSE until ms after the first
// request; "late": each passed on to the real tray, an add answered FALSE all the same. Prints each request.
static struct { DWORD first; bool late; } standIn;
static LRESULT CALLBACK StandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return DefWindowProcA(window, message, wParam, lParam);
    const auto *request = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    printf("%lu\n", static_cast<unsigned long>(request->dwData)), fflush(stdout);
    standIn.first = standIn.first ? standIn.first : GetTickCount();
    HWND tray = standIn.late ? FindWindowExA(nullptr, window, "Shell_TrayWnd", nullptr) : nullptr;
    const LRESULT answer = tray ? SendMessageA(tray, WM_COPYDATA, wParam, lParam) : FALSE;
    return request->dwData == NIM_ADD ? FALSE : answer;
}
static bool RunStandIn(DWORD ms, bool late)
{
    WNDCLASSA type = {0, StandIn, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "Shell_TrayWnd"};
    HWND window = RegisterClassA(&type) ? CreateWindowExA(WS_EX_TOPMOST, type.lpszClassName, nullptr, WS_POPUP,
                                                          0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr) : nullptr;
    if (!window || FindWindowExA(nullptr, nullptr, type.lpszClassName, nullptr) != window || puts("ready") < 0)
        return Say("the stand-in is not the first tray");
    standIn.late = late;
    for (const DWORD start = GetTickCount(); standIn.first ? GetTickCount() - standIn.first < ms : GetTickCount() - start < 20000;) {
        MSG message;
        fflush(stdout), MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return DestroyWindow(window) || Say("the stand-in stays");
}
static bool Run(int argc, char **argv)
{
    if (strcmp(argv[1], "mutex") == 0 && argc == 3) {  // a copy hung in its start: the name, no window
        HANDLE mutex = CreateMutexA(nullptr, FALSE, MUTEX_NAME);
        if (!mutex || puts("held") < 0 || fflush(stdout) != 0)
            return Say("cannot hold the name");
        Sleep(strtoul(argv[2], nullptr, 0));
        return CloseHandle(mutex) || Say("cannot let the name go");
    }
    if (strcmp(argv[1], "standin") == 0 && argc >= 3)  // a tray that refuses requests for MS [late]
        return RunStandIn(strtoul(argv[2], nullptr, 0), argc > 3 && strcmp(argv[3], "late") == 0);
    if (strcmp(argv[1], "strings") == 0)
        return argc == 5 ? PrintStrings(argv[2], argv[3], argv[4]) : Say("usage: strings FILE FIRST LAST");
    const char *command = argv[1], *arg = argc > 2 ? argv[2] : nullptr, *arg2 = argc > 3 ? argv[3] : nullptr;
    HWND meter = Find(MAIN_CAPTION, nullptr, strcmp(command, "wait-meter") == 0 ? arg : nullptr, nullptr);
    HWND item = meter && arg ? GetDlgItem(meter, ItemId(arg)) : nullptr, box = nullptr;
    GUITHREADINFO info = {sizeof info, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    RECT r = {};
    int count = 0;
    if (!meter)
        return Say("the meter has no window");
    if (strcmp(command, "wait-meter") == 0 || strcmp(command, "sync") == 0)
        return Sync(meter);
    for (unsigned long i = arg ? strtoul(arg, nullptr, 0) : 1; strcmp(command, "poll") == 0; --i)  // each handled
        if (i == 0 || !PostMessageA(meter, WM_TIMER, POLL_TIMER_ID, 0) || !Sync(meter))
            return i == 0 || Say("poll");
    if (strcmp(command, "post") == 0 && arg)
        return Post(meter, arg, arg2);
    if (strcmp(command, "send-power") == 0 && arg)
        return SendPower(meter, arg);
    if (strcmp(command, "balloon") == 0 && arg)
        return PrintBalloon(meter, arg);
    if (strcmp(command, "name") == 0 && arg)
        return PrintAccessibleName(item);
    if (strcmp(command, "text") == 0 && arg)
        return PrintText(item);
    if (strcmp(command, "settext") == 0 && arg2)  // what a paste can put into a box
        return (Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg2)) > 0 || Say("no text set")) && Sync(meter);
    if (strcmp(command, "state") == 0 && GetGUIThreadInfo(GetWindowThreadProcessId(meter, nullptr), &info))
        return printf("visible=%d enabled=%d foreground=%d okfocus=%d apply=%d tick=%ld interval=%ld\n", IsWindowVisible(meter) ? 1 : 0,
                      IsWindowEnabled(meter) ? 1 : 0, GetForegroundWindow() == meter ? 1 : 0, info.hwndFocus == GetDlgItem(meter, IDOK) ? 1 : 0,
                      IsWindowEnabled(GetDlgItem(meter, IDC_APPLY)) ? 1 : 0, long(Send(GetDlgItem(meter, IDC_INTERVAL), TBM_GETTIC, 0, 0)),
                      long(Send(GetDlgItem(meter, IDC_INTERVAL), TBM_GETPOS, 0, 0))) > 0;
    if (strcmp(command, "rect") == 0 && arg && GetWindowRect(item, &r))
        return printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top) > 0;
    if (strcmp(command, "box") == 0 && arg) {  // how many boxes of that caption, the first one's text
        box = Find(arg, meter, arg2, &count);
        printf("%d\n", count);
        if ((GetDlgItem(box, 0xFFFF) && !PrintText(GetDlgItem(box, 0xFFFF))) || argc < 5)
            return argc < 5;
        if (!box || !PostMessageA(box, WM_COMMAND, MAKEWPARAM(int(strtol(argv[4], nullptr, 0)), BN_CLICKED), 0))
            return Say("no box to answer");
        for (DWORD start = GetTickCount(); IsWindow(box); Sleep(20))  // then its button ID pressed
            if (GetTickCount() - start >= kWaitMs)
                return Say("the box stays");
        return Sync(meter);
    }
    return Say(kUsage);
}
int main(int argc, char **argv)
{
    const bool ok = argc > 1 ? Run(argc, argv) : Say(kUsage);  // every failure says what it saw
    return ((fflush(stdout) == 0 && !ferror(stdout)) || Say("cannot write the answer")) && ok ? 0 : 1;
}
