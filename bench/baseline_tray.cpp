// The smallest tray program: one hidden window, one tray icon, a message
// loop. The benchmark measures the meter next to it. When the icon is in
// place it prints the time (Unix milliseconds) to stdout. With an argument
// it removes its icon and ends after that many milliseconds.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#include "tray_time.h"

static const UINT kTrayMessage = WM_USER + 4224;

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE || message == WM_TIMER) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    const unsigned long lifetime = strtoul(lpCmdLine, nullptr, 10);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BaselineProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "AmpwatchBaselineTray";
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateWindowA(wc.lpszClassName, "Baseline Tray", WS_OVERLAPPEDWINDOW, 0, 0,
                                100, 100, nullptr, nullptr, hInstance, nullptr);
    if (!window)
        return 1;

    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(icon.szTip, "Baseline", sizeof icon.szTip);
    BOOL added = Shell_NotifyIconA(NIM_ADD, &icon);
    PrintTrayTime(added);
    if (lifetime)
        SetTimer(window, 1, static_cast<UINT>(lifetime), nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
