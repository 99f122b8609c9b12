// Remote control for the end-to-end tests: finds the running meter's main
// window, posts it the messages a user or the system would cause, and reads
// back what the user would see. Results go to stdout, success to the exit code.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kMainCaption[] = "Battery Meter";
static const char kDialogClass[] = "#32770";
static const UINT kTrayNotify = WM_USER + 4224;
static const UINT kRefreshNow = WM_USER + 4242;
static const WPARAM kPollTimerId = 100;
static const WPARAM kTrayIconId = 4224;
static const int kMessageBoxTextId = 0xFFFF;
static const int kTrackbarId = 1002;
static const DWORD kDefaultWaitMs = 10000;

// Window texts leave as CP1252 bytes whatever code page this process has.
// WM_GETTEXT reaches the control itself (an edit box keeps its own text).
// Captions come from the window manager's copy, so a busy meter cannot stall a search.
static void WindowText(HWND window, char* out, int size, bool askControl = true)
{
    wchar_t wide[1024];
    DWORD_PTR copied = 0;
    int length = 0;
    if (askControl && SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                            kDefaultWaitMs, &copied))
        length = static_cast<int>(copied);
    else
        length = GetWindowTextW(window, wide, 1024);
    out[0] = '\0';
    if (length > 0) {
        int bytes = WideCharToMultiByte(1252, 0, wide, length, out, size - 1, nullptr, nullptr);
        out[bytes > 0 ? bytes : 0] = '\0';
    }
}

static bool ClassIs(HWND window, const char* name)
{
    char cls[64];
    return GetClassNameA(window, cls, sizeof cls) > 0 && strcmp(cls, name) == 0;
}

static bool CaptionIs(HWND window, const char* caption)
{
    char text[512];
    WindowText(window, text, sizeof text, false);
    return strcmp(text, caption) == 0;
}

struct WindowSearch {
    const char* caption;
    HWND owner;  // null: the window must have no owner
    HWND found[32];
    int count;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    if (ClassIs(window, kDialogClass) && CaptionIs(window, search->caption)
        && GetWindow(window, GW_OWNER) == search->owner && search->count < 32)
        search->found[search->count++] = window;
    return TRUE;
}

static int FindWindows(WindowSearch* search, const char* caption, HWND owner)
{
    search->caption = caption;
    search->owner = owner;
    search->count = 0;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(search));
    return search->count;
}

static HWND FindMain()
{
    WindowSearch search;
    return FindWindows(&search, kMainCaption, nullptr) > 0 ? search.found[0] : nullptr;
}

static HWND FindBox(HWND main, const char* caption)
{
    WindowSearch search;
    return FindWindows(&search, caption, main) > 0 ? search.found[0] : nullptr;
}

static HWND WaitMain(DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindMain();
        if (found || GetTickCount() - start >= ms)
            return found;
        Sleep(50);
    }
}

static HWND RequireMain()
{
    HWND found = FindMain();
    if (!found)
        fputs("ampctl: no main window\n", stderr);
    return found;
}

static unsigned long Number(const char* text)
{
    return strtoul(text, nullptr, 0);
}

static void PrintText(const char* text)
{
    fputs(text, stdout);
    fputc('\n', stdout);
}

// Waits until every message posted to the meter before this call is handled:
// a marker posted behind them to the trackbar (same thread, same queue) shows
// up only once the meter is back in a message loop (its own or a modal box's).
// A sent message would not do: it is handled first, and also while the meter
// waits in a SendMessage of its own, in the middle of a poll.
// Says which step of a sync failed, so a failed test shows why.
static bool SyncFailed(const char* step)
{
    fprintf(stderr, "ampctl: sync failed at %s (error %lu)\n", step, GetLastError());
    return false;
}

static bool Sync(HWND main)
{
    DWORD_PTR original = 0;
    HWND bar = GetDlgItem(main, kTrackbarId);
    if (!SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kDefaultWaitMs, &original))
        return SyncFailed("WM_NULL");
    if (!bar)
        return true;
    if (!SendMessageTimeoutA(bar, TBM_GETPAGESIZE, 0, 0, SMTO_NORMAL, kDefaultWaitMs, &original))
        return SyncFailed("reading the marker");
    LPARAM marker = static_cast<LPARAM>(original + 1000 + (GetTickCount() % 1000));
    if (!PostMessageA(bar, TBM_SETPAGESIZE, 0, marker))
        return SyncFailed("posting the marker");
    DWORD start = GetTickCount();
    for (;;) {
        DWORD_PTR now = 0;
        if (!SendMessageTimeoutA(bar, TBM_GETPAGESIZE, 0, 0, SMTO_NORMAL, kDefaultWaitMs, &now))
            return SyncFailed("waiting for the marker");
        if (static_cast<LPARAM>(now) == marker)
            break;
        if (GetTickCount() - start >= kDefaultWaitMs)
            return SyncFailed("the marker's turn");
        Sleep(10);
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(bar, TBM_SETPAGESIZE, 0, static_cast<LPARAM>(original), SMTO_NORMAL,
                        kDefaultWaitMs, &ignored);
    return true;
}

static int Post(HWND main, int argc, char** argv)
{
    if (argc < 1)
        return 2;
    const char* what = argv[0];
    const char* arg = argc > 1 ? argv[1] : nullptr;
    BOOL ok = FALSE;
    if (strcmp(what, "timer") == 0)
        ok = PostMessageA(main, WM_TIMER, kPollTimerId, 0);
    else if (strcmp(what, "refresh") == 0)
        ok = PostMessageA(main, kRefreshNow, 0, 0);
    else if (strcmp(what, "power") == 0 && arg)
        ok = PostMessageA(main, WM_POWERBROADCAST, Number(arg), 0);
    else if (strcmp(what, "tray") == 0 && arg)
        ok = PostMessageA(main, kTrayNotify, kTrayIconId, static_cast<LPARAM>(Number(arg)));
    else if (strcmp(what, "command") == 0 && arg)
        ok = PostMessageA(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Number(arg)), 0), 0);
    else if (strcmp(what, "endsession") == 0)
        ok = PostMessageA(main, WM_ENDSESSION, arg ? Number(arg) : TRUE, 0);
    else if (strcmp(what, "untray") == 0) {
        // What a restarted notification area amounts to: the icon is gone.
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = main;
        data.uID = static_cast<UINT>(kTrayIconId);
        ok = Shell_NotifyIconA(NIM_DELETE, &data);
    } else if (strcmp(what, "taskbarcreated") == 0)
        ok = PostMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    else if (strcmp(what, "close") == 0)
        ok = PostMessageA(main, WM_CLOSE, 0, 0);
    else
        return 2;
    return ok ? 0 : 1;
}

static int ListBoxes(HWND main, const char* caption)
{
    WindowSearch search;
    int count = FindWindows(&search, caption, main);
    printf("count=%d\n", count);
    for (int i = 0; i < count; ++i) {
        char text[1024];
        WindowText(GetDlgItem(search.found[i], kMessageBoxTextId), text, sizeof text);
        PrintText(text);
    }
    return 0;
}

static int WaitBox(HWND main, const char* caption, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindBox(main, caption);
        if (box) {
            char text[1024];
            WindowText(GetDlgItem(box, kMessageBoxTextId), text, sizeof text);
            PrintText(text);
            return 0;
        }
        if (GetTickCount() - start >= ms) {
            fprintf(stderr, "ampctl: no box \"%s\" after %lu ms\n", caption,
                    static_cast<unsigned long>(ms));
            return 1;
        }
        Sleep(50);
    }
}

// Opens path with no sharing at all and keeps it open for ms milliseconds,
// as another program that locks the file would.
static int Hold(const char* path, DWORD ms)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    printf("held\n");
    fflush(stdout);
    Sleep(ms);
    CloseHandle(file);
    return 0;
}

static void WriteText(const char* path, const char* text)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

// ticks poll ticks, each one handled before the next; every fifth tick the
// simulated battery (the files under battery, a folder of BAT0-style files)
// moves to the next state of a cycle through levels, charging and mains.
// Prints the last level set.
static int Soak(HWND main, unsigned long ticks, const char* battery, const char* mains)
{
    unsigned long level = 0;
    for (unsigned long i = 0; i < ticks; ++i) {
        if (i % 5 == 0) {
            const unsigned long group = i / 5;
            level = (group * 37 + 11) % 101;
            char path[MAX_PATH], text[32];
            _snprintf(path, sizeof path - 1, "%s\\charge_now", battery);
            path[sizeof path - 1] = 0;
            _snprintf(text, sizeof text - 1, "%lu\n", level * 50000);
            text[sizeof text - 1] = 0;
            WriteText(path, text);
            _snprintf(path, sizeof path - 1, "%s\\status", battery);
            WriteText(path, group % 3 == 0 ? "Charging\n" : "Discharging\n");
            _snprintf(path, sizeof path - 1, "%s\\online", mains);
            WriteText(path, group % 4 == 0 ? "1\n" : "0\n");
        }
        if (!PostMessageA(main, WM_TIMER, kPollTimerId, 0) || !Sync(main))
            return 1;
    }
    printf("%lu\n", level);
    return 0;
}

// Presses a button of the box and waits until the box is gone.
static int Answer(HWND main, const char* caption, int id)
{
    HWND box = FindBox(main, caption);
    if (!box) {
        fprintf(stderr, "ampctl: no box \"%s\"\n", caption);
        return 1;
    }
    HWND button = GetDlgItem(box, id);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (GetTickCount() - start >= kDefaultWaitMs) {
            fputs("ampctl: the box stayed open\n", stderr);
            return 1;
        }
        Sleep(20);
    }
    return 0;
}

static int CountProcesses(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        const char* base = strrchr(entry.szExeFile, '\\');
        base = base ? base + 1 : entry.szExeFile;
        if (lstrcmpiA(base, name) == 0)
            ++count;
    }
    CloseHandle(snapshot);
    return count;
}

static void Usage()
{
    fputs("usage: ampctl wait-main [ms] | wait-gone [ms] | post timer|refresh|endsession|close\n"
          "       | post power N | post tray MSG | post command ID | sync | poll | state\n"
          "       | text ID | caption | boxes CAPTION | wait-box CAPTION [ms]\n"
          "       | answer CAPTION ID | procs NAME | enabled ID | trackpos | focus | rect ID\n"
          "       | post taskbarcreated | post untray | hold PATH MS | soak TICKS BATTERYDIR MAINSDIR | gui | post endsession N\n",
          stderr);
}

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        Usage();
        return 2;
    }
    const char* command = argv[1];
    int rest = argc - 2;
    char** args = argv + 2;
    DWORD waitMs = rest > 0 ? static_cast<DWORD>(Number(args[0])) : kDefaultWaitMs;

    if (strcmp(command, "procs") == 0 && rest == 1) {
        int count = CountProcesses(args[0]);
        printf("%d\n", count);
        return count < 0 ? 1 : 0;
    }
    if (strcmp(command, "wait-main") == 0)
        return WaitMain(waitMs) ? 0 : 1;
    if (strcmp(command, "wait-gone") == 0) {
        DWORD start = GetTickCount();
        while (FindMain()) {
            if (GetTickCount() - start >= waitMs)
                return 1;
            Sleep(50);
        }
        return 0;
    }

    if (strcmp(command, "hold") == 0 && rest == 2)
        return Hold(args[0], static_cast<DWORD>(Number(args[1])));

    HWND main = RequireMain();
    if (!main)
        return 1;
    int rc = 2;
    if (strcmp(command, "post") == 0)
        rc = Post(main, rest, args);
    else if (strcmp(command, "sync") == 0)
        rc = Sync(main) ? 0 : 1;
    else if (strcmp(command, "poll") == 0) {
        rc = 1;
        if (!PostMessageA(main, WM_TIMER, kPollTimerId, 0))
            fprintf(stderr, "ampctl: cannot post the tick (error %lu)\n", GetLastError());
        else if (Sync(main))
            rc = 0;
    } else if (strcmp(command, "state") == 0) {
        printf("visible=%d foreground=%d iconic=%d\n", IsWindowVisible(main) ? 1 : 0,
               GetForegroundWindow() == main ? 1 : 0, IsIconic(main) ? 1 : 0);
        rc = 0;
    } else if (strcmp(command, "text") == 0 && rest == 1) {
        HWND item = GetDlgItem(main, static_cast<int>(Number(args[0])));
        if (item) {
            char text[1024];
            WindowText(item, text, sizeof text);
            PrintText(text);
            rc = 0;
        } else {
            fprintf(stderr, "ampctl: no dialog item %s\n", args[0]);
            rc = 1;
        }
    } else if (strcmp(command, "caption") == 0) {
        char text[512];
        WindowText(main, text, sizeof text);
        PrintText(text);
        rc = 0;
    } else if (strcmp(command, "boxes") == 0 && rest == 1)
        rc = ListBoxes(main, args[0]);
    else if (strcmp(command, "wait-box") == 0 && rest >= 1)
        rc = WaitBox(main, args[0], rest > 1 ? static_cast<DWORD>(Number(args[1])) : kDefaultWaitMs);
    else if (strcmp(command, "enabled") == 0 && rest == 1) {
        HWND item = GetDlgItem(main, static_cast<int>(Number(args[0])));
        printf("%d\n", item && IsWindowEnabled(item) ? 1 : 0);
        rc = item ? 0 : 1;
    } else if (strcmp(command, "trackpos") == 0) {
        DWORD_PTR position = 0;
        HWND bar = GetDlgItem(main, kTrackbarId);
        rc = bar && SendMessageTimeoutA(bar, TBM_GETPOS, 0, 0, SMTO_NORMAL, kDefaultWaitMs, &position)
                 ? 0 : 1;
        printf("%lu\n", static_cast<unsigned long>(position));
    } else if (strcmp(command, "focus") == 0) {
        // The dialog item id of the control with the keyboard focus, 0 for none.
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(main, nullptr);
        int id = 0;
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus && GetParent(info.hwndFocus) == main)
            id = GetDlgCtrlID(info.hwndFocus);
        printf("%d\n", id);
        rc = 0;
    } else if (strcmp(command, "rect") == 0 && rest == 1) {
        // Screen rectangle of a dialog item (0: the main window) as X Y WIDTH HEIGHT.
        int id = static_cast<int>(Number(args[0]));
        HWND item = id ? GetDlgItem(main, id) : main;
        RECT r = {};
        rc = item && GetWindowRect(item, &r) ? 0 : 1;
        printf("%ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
               static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    } else if (strcmp(command, "soak") == 0 && rest == 3)
        rc = Soak(main, Number(args[0]), args[1], args[2]);
    else if (strcmp(command, "gui") == 0) {
        // GDI and USER objects of the meter's process.
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
        printf("gdi=%lu user=%lu\n",
               static_cast<unsigned long>(process ? GetGuiResources(process, GR_GDIOBJECTS) : 0),
               static_cast<unsigned long>(process ? GetGuiResources(process, GR_USEROBJECTS) : 0));
        if (process)
            CloseHandle(process);
        rc = 0;
    } else if (strcmp(command, "answer") == 0 && rest == 2)
        rc = Answer(main, args[0], static_cast<int>(Number(args[1])));
    if (rc == 2)
        Usage();
    fflush(stdout);
    return rc;
}
