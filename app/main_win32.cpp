// Entry: one copy per session, language, settings, the main window, the loop.
#include <windows.h>
#include <commctrl.h>

#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/text.h"
#include "log/event_log.h"
#include "platform/dynamic_calls.h"
#include "platform/platform.h"
#include "platform/scoped_win32.h"
#include "res/resource.h"
#include "ui/main_dialog_win32.h"

static const char kClassName[] = "QNAmpwatchDlgClass";
static const char kDialogClass[] = "#32770";
static const DWORD kWindowWaitMs = 5000;

// Shows the running copy's window; answers whether one was found.
static bool WakeRunningCopy()
{
    HWND other = FindWindowA(kDialogClass, MAIN_CAPTION);
    if (!other)
        other = FindWindowA(kClassName, MAIN_CAPTION);
    if (!other)
        return false;
    if (!IsWindowVisible(other))
        ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    return true;
}

// The same, trying for up to ms milliseconds.
static bool WakeRunningCopyWithin(DWORD ms)
{
    for (const DWORD start = GetTickCount(); !WakeRunningCopy(); Sleep(100))
        if (GetTickCount() - start >= ms)
            return false;
    return true;
}

// The system's dialog class under the program's own name and icon; a dialog's
// own defaults where the system does not tell its class.
static bool RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, kDialogClass, &wc)) {
        wc = WNDCLASSA{};
        wc.cbWndExtra = DLGWINDOWEXTRA;
    }
    wc.lpfnWndProc = DefDlgProcA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
}

static void LoadStartSettings()
{
    // The texts' rules follow the code page Windows really gave the program:
    // older Windows ignore the manifest's UTF-8.
    SetProgramCodePage(GetACP());
    char module[PATH_CAPACITY];
    uint32_t length = ReadModulePath(module, sizeof module);
    DerivePaths(&pathSet, length ? module : nullptr, length);
    ProfileReader reader = SettingsFileReader(pathSet.settings);
    LoadSettings(&reader, CurrentTaskbarDigitColor());
}

// The only loop; the keys of the accelerator table and of the dialog go to the
// main window while it exists.
static int RunMessageLoop(HWND window, HACCEL accelerators)
{
    // The loop ends at the quit message, or at an error (-1) with nothing to say.
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsWindow(window)) {
            if (accelerators && TranslateAcceleratorA(window, accelerators, &msg))
                continue;
            if (IsDialogMessageA(window, &msg))
                continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : EXIT_FAILURE;
}

// Named as the platform declares it.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd)
{
    // Libraries that Windows loads for the meter later (the shell's, the
    // colour dialog's) come from the system folder only, never from a file
    // planted beside a downloaded program; where that cannot be said, at
    // least never from the current folder.
    LoadDynamicCalls();
    if (!dynamicCalls.setDefaultDllDirectories ||
        !dynamicCalls.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryA("");
    ScopedHandle mutex(CreateMutexA(nullptr, FALSE, MUTEX_NAME));
    // A copy that holds the mutex may still be on its way to its window
    // (copies started together): it gets a few seconds before a second meter
    // starts. Without a mutex there is nobody to wait for.
    if ((!mutex.handle || GetLastError() == ERROR_ALREADY_EXISTS) &&
        WakeRunningCopyWithin(mutex.handle ? kWindowWaitMs : 0))
        return EXIT_SUCCESS;

    appGlobals.languageIsGerman = IsGermanLanguage(UserLanguage());
    InitCommonControls();
    if (!RegisterMainClass(hInstance))
        return EXIT_FAILURE;

    LoadStartSettings();
    LogEvent("Ampwatch started");

    HWND window = CreateDialogA(hInstance, MAKEINTRESOURCEA(MainDialogId(appGlobals.languageIsGerman)), nullptr,
                                MainDialogProc);
    if (!window) {
        MessageBoxA(nullptr, "Cannot create main window.", MAIN_CAPTION, MB_ICONERROR);
        return EXIT_FAILURE;
    }

    if (!appGlobals.runHidden) {
        ShowWindow(window, nShowCmd);
        UpdateWindow(window);
        WriteSetting("RunHidden", "1");
    }

    return RunMessageLoop(window, LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDA_MAIN)));
}
