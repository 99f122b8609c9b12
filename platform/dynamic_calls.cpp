#include "platform/dynamic_calls.h"

#include <setupapi.h>

#include "platform/scoped_win32.h"

DynamicCalls dynamicCalls;

template <typename Function>
static void Find(Function *slot, HMODULE module, const char *name)
{
    *slot = module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                   : nullptr;
}

// kernel32 exports the registry functions from Windows 7 on; before, the
// advapi32 that user32 loads has them, and the program imports neither.
template <typename Function>
static void FindRegistry(Function *slot, const char *name)
{
    Find(slot, GetModuleHandleA("kernel32.dll"), name);
    if (!*slot)
        Find(slot, GetModuleHandleA("advapi32.dll"), name);
}

void LoadDynamicCalls()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    HMODULE user = GetModuleHandleA("user32.dll");
    DynamicCalls &d = dynamicCalls;
    Find(&d.setDefaultDllDirectories, kernel, "SetDefaultDllDirectories");  // 8; 7 with KB2533623
    FindRegistry(&d.regGetValue, "RegGetValueA");                             // Vista
    FindRegistry(&d.regCreateKeyEx, "RegCreateKeyExA");                       // 2000
    FindRegistry(&d.regOpenKeyEx, "RegOpenKeyExA");                           // 2000
    FindRegistry(&d.regSetValueEx, "RegSetValueExA");                         // 2000
    FindRegistry(&d.regDeleteValue, "RegDeleteValueA");                       // 2000
    FindRegistry(&d.regCloseKey, "RegCloseKey");                              // 2000
    Find(&d.registerPowerSettingNotification, user, "RegisterPowerSettingNotification");      // Vista
    Find(&d.unregisterPowerSettingNotification, user, "UnregisterPowerSettingNotification");  // Vista
    Find(&d.setCoalescableTimer, user, "SetCoalescableTimer");                // 8
    Find(&d.getDpiForWindow, user, "GetDpiForWindow");                        // 10 1607
    Find(&d.getSystemMetricsForDpi, user, "GetSystemMetricsForDpi");          // 10 1607
}

HMODULE LoadSystemLibrary(const char *name)
{
    // Never the program's own folder: a library dropped beside the meter
    // must not run.
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // Systems without the search flags: the full path instead.
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + static_cast<UINT>(lstrlenA(name)) >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    lstrcpyA(path + length + 1, name);
    return LoadLibraryA(path);
}

bool CallChooseColor(CHOOSECOLORA *chooser, BOOL *chosen)
{
    // comdlg32 (every Windows) only for the chooser: linked at start it would
    // cost every run of the meter its memory for nothing.
    ScopedLibrary library(LoadSystemLibrary("comdlg32.dll"));
    decltype(&ChooseColorA) choose;
    Find(&choose, library.module, "ChooseColorA");
    if (!choose)
        return false;
    *chosen = choose(chooser);
    return true;
}

bool CallNtPowerInformationOnce(POWER_INFORMATION_LEVEL level, void *out, ULONG size, LONG *status)
{
    // PowrProf (2000) for the moment of one query: no handle survives it.
    ScopedLibrary library(LoadSystemLibrary("PowrProf.dll"));
    decltype(&CallNtPowerInformation) query;
    Find(&query, library.module, "CallNtPowerInformation");
    if (!query)
        return false;
    *status = query(level, nullptr, 0, out, size);
    return true;
}

bool VisitDeviceInterfaces(const GUID *interfaceClass, bool (*visit)(const char *path, void *context),
                           void *context)
{
    // setupapi (2000 for all four) for the moment of one walk.
    static const char *const kNames[4] = {"SetupDiGetClassDevsA", "SetupDiEnumDeviceInterfaces",
                                          "SetupDiGetDeviceInterfaceDetailA", "SetupDiDestroyDeviceInfoList"};
    ScopedLibrary library(LoadSystemLibrary("setupapi.dll"));
    void (*found[4])();
    for (int i = 0; i < 4; ++i) {
        Find(&found[i], library.module, kNames[i]);
        if (!found[i])
            return false;
    }
    const auto next = reinterpret_cast<decltype(&SetupDiEnumDeviceInterfaces)>(found[1]);
    const auto detail = reinterpret_cast<decltype(&SetupDiGetDeviceInterfaceDetailA)>(found[2]);
    HDEVINFO list = reinterpret_cast<decltype(&SetupDiGetClassDevsA)>(found[0])(
        interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA entry;
    entry.cbSize = sizeof entry;
    union {
        SP_DEVICE_INTERFACE_DETAIL_DATA_A data;
        char room[1024];  // cppcheck-suppress unusedStructMember ; the path's room, a longer one passed over
    } path;
    for (DWORD i = 0; next(list, nullptr, interfaceClass, i, &entry); ++i) {
        path.data.cbSize = sizeof path.data;
        if (detail(list, &entry, &path.data, sizeof path, nullptr, nullptr) && !visit(path.data.DevicePath, context))
            break;
    }
    reinterpret_cast<decltype(&SetupDiDestroyDeviceInfoList)>(found[3])(list);
    return true;
}
