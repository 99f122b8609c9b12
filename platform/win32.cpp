#include <windows.h>
#include <io.h>
#include <poclass.h>
#include <string.h>

// The battery driver header's names for the unknown figures; two of its other
// names mean other bits than the power status flags of the same spelling.
static constexpr DWORD kSdkUnknownCapacity = BATTERY_UNKNOWN_CAPACITY;
#undef BATTERY_CHARGING
#undef BATTERY_CRITICAL

#include "platform/dynamic_calls.h"
#include "platform/numbers.h"
#include "platform/platform.h"
#include "res/resource.h"

// The portable rules spell the platform's numbers themselves; here both are
// visible, so each is pinned to the SDK's value.
static_assert(BATTERY_HIGH == BATTERY_FLAG_HIGH && BATTERY_LOW == BATTERY_FLAG_LOW, "flags");
static_assert(BATTERY_CRITICAL == BATTERY_FLAG_CRITICAL, "flags");
static_assert(BATTERY_CHARGING == BATTERY_FLAG_CHARGING, "flags");
static_assert(BATTERY_NONE == BATTERY_FLAG_NO_BATTERY && FLAG_UNKNOWN == BATTERY_FLAG_UNKNOWN, "flags");
static_assert(MAINS_OFFLINE == AC_LINE_OFFLINE && MAINS_ONLINE == AC_LINE_ONLINE, "mains");
static_assert(MAINS_BACKUP == AC_LINE_BACKUP_POWER && AC_UNKNOWN == AC_LINE_UNKNOWN, "mains");
static_assert(PERCENT_UNKNOWN == BATTERY_PERCENTAGE_UNKNOWN, "percent");
static_assert(LIFETIME_UNKNOWN == BATTERY_LIFE_UNKNOWN, "remaining time");
static_assert(BROADCAST_QUERY_SUSPEND_FAILED == PBT_APMQUERYSUSPENDFAILED, "broadcast");
static_assert(BROADCAST_SUSPEND == PBT_APMSUSPEND, "broadcast");
static_assert(BROADCAST_RESUME_CRITICAL == PBT_APMRESUMECRITICAL, "broadcast");
static_assert(BROADCAST_RESUME_SUSPEND == PBT_APMRESUMESUSPEND, "broadcast");
static_assert(BROADCAST_BATTERY_LOW == PBT_APMBATTERYLOW, "broadcast");
static_assert(BROADCAST_STATUS_CHANGE == PBT_APMPOWERSTATUSCHANGE, "broadcast");
static_assert(BROADCAST_RESUME_AUTOMATIC == PBT_APMRESUMEAUTOMATIC, "broadcast");
static_assert(BROADCAST_SETTING_CHANGE == PBT_POWERSETTINGCHANGE, "broadcast");
static_assert(LANGUAGE_PRIMARY_MASK == PRIMARYLANGID(0xFFFF), "language");
static_assert(LANGUAGE_GERMAN == LANG_GERMAN, "language");
static_assert(WEIGHT_NORMAL == FW_NORMAL && WEIGHT_BOLD == FW_BOLD, "font weight");
static_assert(COLOR_QUERY_FAILED == CLR_INVALID, "colour query");
static_assert(FONT_NONANTIALIASED == NONANTIALIASED_QUALITY, "font quality");
static_assert(CAPACITY_UNKNOWN == kSdkUnknownCapacity, "capacity");
static_assert(BATTERY_CAPS_SYSTEM == BATTERY_SYSTEM_BATTERY, "battery capabilities");
static_assert(BATTERY_CAPS_RELATIVE == BATTERY_CAPACITY_RELATIVE, "battery capabilities");
static_assert(GRAPH_DT_BASE == (DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX), "text format");
static_assert(GRAPH_DT_CENTER == DT_CENTER && GRAPH_DT_RIGHT == DT_RIGHT, "text format");
static_assert(GRAPH_DT_VCENTER == DT_VCENTER && GRAPH_DT_BOTTOM == DT_BOTTOM, "text format");
// The program's messages are spelt as WM_USER + n in the resource header.
static_assert(WM_USER == 0x0400 && WM_REFITGRAPH < WM_APP, "messages");

uint32_t ReadModulePath(char *out, uint32_t capacity)
{
    // A cut path (the capacity, not terminated everywhere) names nothing: the
    // caller falls back, as when there is none.
    return GetModuleFileNameA(nullptr, out, capacity);
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

bool HighContrastOn()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// A value of the user's of one type (RRF_RT_*): its size in bytes, 0 where
// there is none or it does not fit.
static DWORD ReadUserValue(const char *key, const char *name, DWORD type, void *out, DWORD capacity)
{
    DWORD size = capacity;
    return dynamicCalls.regGetValue &&
                   dynamicCalls.regGetValue(HKEY_CURRENT_USER, key, name, type, nullptr, out, &size) == ERROR_SUCCESS
               ? size
               : 0;
}

int32_t ReadLightTheme()
{
    DWORD value = 1;  // what a taskbar that does not say counts as
    ReadUserValue("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", "SystemUsesLightTheme",
                  RRF_RT_REG_DWORD, &value, sizeof value);
    return value ? 1 : 0;
}

bool ReadUserString(const char *key, const char *name, char *out, uint32_t capacity)
{
    return ReadUserValue(key, name, RRF_RT_REG_SZ, out, capacity) != 0;
}

uint32_t ReadUserBinary(const char *key, const char *name, uint8_t *out, uint32_t capacity)
{
    return ReadUserValue(key, name, RRF_RT_REG_BINARY, out, capacity);
}

// A key of the user's opened for writing; null where it cannot be.
static HKEY OpenUserKey(const char *key, bool create)
{
    const DynamicCalls &d = dynamicCalls;
    HKEY opened = nullptr;
    if (!d.regCloseKey)
        return nullptr;
    LSTATUS status = ERROR_INVALID_FUNCTION;
    if (create && d.regCreateKeyEx)
        status = d.regCreateKeyEx(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    else if (!create && d.regOpenKeyEx)
        status = d.regOpenKeyEx(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &opened);
    return status == ERROR_SUCCESS ? opened : nullptr;
}

void WriteUserString(const char *key, const char *name, const char *data)
{
    HKEY opened = OpenUserKey(key, true);
    if (!opened)
        return;
    if (dynamicCalls.regSetValueEx)
        dynamicCalls.regSetValueEx(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(data),
                                   static_cast<DWORD>(strlen(data)) + 1);
    dynamicCalls.regCloseKey(opened);
}

void DeleteUserValue(const char *key, const char *name)
{
    HKEY opened = OpenUserKey(key, false);
    if (!opened)
        return;
    if (dynamicCalls.regDeleteValue)
        dynamicCalls.regDeleteValue(opened, name);
    dynamicCalls.regCloseKey(opened);
}

uint32_t WindowDpi(HWND window)
{
    if (window && dynamicCalls.getDpiForWindow)
        return dynamicCalls.getDpiForWindow(window);
    // The screen's DPI is the system's, also for a program aware of monitors.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);  // 0 without a screen
    ReleaseDC(nullptr, screen);
    return dpi ? static_cast<uint32_t>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

void SetTolerantTimer(HWND window, UINT_PTR id, UINT periodMs, ULONG toleranceMs)
{
    const auto tolerant = dynamicCalls.setCoalescableTimer;
    if (!tolerant || !tolerant(window, id, periodMs, nullptr, toleranceMs))
        SetTimer(window, id, periodMs, nullptr);
}

int MetricForDpi(int index, uint32_t dpi)
{
    const auto forDpi = dynamicCalls.getSystemMetricsForDpi;
    return forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

bool Unwritable(const char *path)
{
    const DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

bool FileExists(const char *path)
{
    DWORD a = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FILE *OpenForWriting(const char *path) { return fopen(path, "wb"); }

bool CutFile(FILE *file, long length) { return _chsize(_fileno(file), length) == 0; }

bool FlushToDisk(FILE *file) { return _commit(_fileno(file)) == 0; }

bool MoveFileOver(const char *from, const char *to)
{
    // A move gives the file the temporary's attributes: the old file's go onto
    // the temporary first, so a hidden or system history stays so. One path on
    // Windows and under Wine: replacing (ReplaceFileA) would keep the old
    // file's owner too, but Wine's takes the old file away before the new one
    // arrives and leaves a file of its own where the old one cannot be moved
    // aside. A read-only file never gets here.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD old = GetFileAttributesA(to);
    if (old != INVALID_FILE_ATTRIBUTES && (old & kept) &&
        !SetFileAttributesA(from, (old & kept) | FILE_ATTRIBUTE_ARCHIVE))
        return false;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
