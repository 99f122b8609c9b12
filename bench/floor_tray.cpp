// The design's floor: the meter's own dialog template with its controls, its
// manifest and a tray icon, and no logic of its own. The benchmark measures
// the meter next to it: what the meter costs beyond this is its own. When the
// icon is in place it prints the time (Unix milliseconds); with an argument
// it removes its icon and ends after that many milliseconds.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#include "tray_time.h"

#include "res/resource.h"

static INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    const unsigned long lifetime = strtoul(lpCmdLine, nullptr, 10);
    InitCommonControls();
    HWND window = CreateDialogA(hInstance, MAKEINTRESOURCEA(IDD_MAIN_EN), nullptr, FloorProc);
    if (!window)
        return 1;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = TRAY_ICON_ID;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_TRAYNOTIFY;
    icon.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_MAIN));
    lstrcpynA(icon.szTip, MAIN_CAPTION, sizeof icon.szTip);
    const BOOL added = Shell_NotifyIconA(NIM_ADD, &icon);
    PrintTrayTime(added);
    if (lifetime)
        SetTimer(window, 1, static_cast<UINT>(lifetime), nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
