// Every function the program looks up at run time, in one table: the
// functions of newer Windows versions (null where the system lacks them) and
// the libraries that are loaded only for the moment they are needed.
#ifndef AMPWATCH_DYNAMIC_CALLS_H
#define AMPWATCH_DYNAMIC_CALLS_H

#include <windows.h>
#include <commdlg.h>
#include <powrprof.h>

// Looked up once, by LoadDynamicCalls, in libraries every run has loaded.
struct DynamicCalls {
    decltype(&SetDefaultDllDirectories) setDefaultDllDirectories;
    decltype(&RegGetValueA) regGetValue;
    decltype(&RegCreateKeyExA) regCreateKeyEx;
    decltype(&RegOpenKeyExA) regOpenKeyEx;
    decltype(&RegSetValueExA) regSetValueEx;
    decltype(&RegDeleteValueA) regDeleteValue;
    decltype(&RegCloseKey) regCloseKey;
    decltype(&RegisterPowerSettingNotification) registerPowerSettingNotification;
    decltype(&UnregisterPowerSettingNotification) unregisterPowerSettingNotification;
    decltype(&SetCoalescableTimer) setCoalescableTimer;
    decltype(&GetDpiForWindow) getDpiForWindow;
    decltype(&GetSystemMetricsForDpi) getSystemMetricsForDpi;
};
extern DynamicCalls dynamicCalls;

// First thing at start: fills the table.
void LoadDynamicCalls();

// A library of the system folder, never of the program's own folder.
HMODULE LoadSystemLibrary(const char *name);

// Calls into libraries loaded for one call and released after it; false
// where the library or its function is missing.
bool CallChooseColor(CHOOSECOLORA *chooser, BOOL *chosen);
bool CallNtPowerInformationOnce(POWER_INFORMATION_LEVEL level, void *out, ULONG size, LONG *status);
// One walk over the present device interfaces of a class: visit gets each
// one's path in turn, until it answers false.
bool VisitDeviceInterfaces(const GUID *interfaceClass, bool (*visit)(const char *path, void *context),
                           void *context);

#endif
