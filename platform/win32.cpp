#include <windows.h>
#include <io.h>
#include <string.h>

#include "platform/platform.h"

PowerSample ReadPowerStatus()
{
    SYSTEM_POWER_STATUS status;
    if (!GetSystemPowerStatus(&status))
        return UnknownSample();
    PowerSample s;
    s.acLineStatus = status.ACLineStatus;
    s.batteryFlag = status.BatteryFlag;
    s.batteryLifePercent = status.BatteryLifePercent;
    s.batteryLifeTime = static_cast<uint32_t>(status.BatteryLifeTime);
    return s;
}

uint32_t ReadModulePath(char *out, uint32_t capacity)
{
    DWORD n = GetModuleFileNameA(nullptr, out, capacity);
    if (n == 0 || n >= capacity) {
        // Cut paths name nothing; the caller falls back.
        if (capacity > 0)
            out[0] = '\0';
        return n == 0 ? 0 : capacity;
    }
    return n;
}

void WriteProfileKey(const char *path, const char *section, const char *key, const char *text)
{
    WritePrivateProfileStringA(section, key, text, path);
}

uint32_t SystemButtonTextColor()
{
    return static_cast<uint32_t>(GetSysColor(COLOR_BTNTEXT));
}

uint16_t UserLanguage()
{
    return GetUserDefaultLangID();
}

int32_t ReadLightTheme()
{
    // kernel32 carries the registry reader since Windows 7; looked up there,
    // the program imports no further library. Older systems do not say.
    typedef LONG(WINAPI * RegGetValueFn)(HKEY, const char *, const char *, DWORD, DWORD *,
                                         void *, DWORD *);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    RegGetValueFn read = kernel ? reinterpret_cast<RegGetValueFn>(reinterpret_cast<void (*)()>(
                                      GetProcAddress(kernel, "RegGetValueA")))
                                : nullptr;
    DWORD value = 0, size = sizeof value;
    if (!read || read(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                      "SystemUsesLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size) != 0)
        return -1;
    return value ? 1 : 0;
}

bool SystemFilePath(const char *name, char *out, uint32_t capacity)
{
    UINT n = GetSystemDirectoryA(out, capacity);
    size_t length = strlen(name);
    if (n == 0 || n + 1 + length >= capacity)
        return false;
    out[n] = '\\';
    memcpy(out + n + 1, name, length + 1);
    return true;
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
    return SystemFilePath(name, path, sizeof path) ? LoadLibraryA(path) : nullptr;
}

bool FileAttributes(const char *path, bool *directory, bool *readOnly)
{
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    *directory = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    *readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    return true;
}

bool FlushToDisk(FILE *file) { return _commit(_fileno(file)) == 0; }

bool MoveFileOver(const char *from, const char *to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
