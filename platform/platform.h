// The thin layer through which the program reaches Windows.
#ifndef AMPWATCH_PLATFORM_H
#define AMPWATCH_PLATFORM_H

#include <windows.h>
#include <stdint.h>

#include "platform/files.h"

// The executable's full path; answers its length: 0 when unavailable, the
// capacity when cut.
uint32_t ReadModulePath(char *out, uint32_t capacity);

// One key of a section of an INI file; not checked.
void WriteProfileKey(const char *path, const char *section, const char *key, const char *text);

uint32_t SystemButtonTextColor();
uint16_t UserLanguage();

// The taskbar's theme: SystemUsesLightTheme of the user's personalisation
// settings, 1 (light) when the system does not say.
int32_t ReadLightTheme();

// Windows runs a high-contrast theme.
bool HighContrastOn();

// String values of a key under HKEY_CURRENT_USER, through the registry
// functions of kernel32 (Windows 7 and later) or of an advapi32 the process
// has loaded, so the program imports no further library; false where there
// are none. A value that does not fit into capacity is not read. Writes are
// not checked: the next read tells.
bool ReadUserString(const char *key, const char *name, char *out, uint32_t capacity);
// A binary value's size in bytes; 0 for none.
uint32_t ReadUserBinary(const char *key, const char *name, uint8_t *out, uint32_t capacity);
void WriteUserString(const char *key, const char *name, const char *data);
void DeleteUserValue(const char *key, const char *name);

// The DPI the window is drawn at: its monitor's for this per-monitor aware
// program; the system's for no window, or where the system cannot say.
uint32_t WindowDpi(HWND window);
// A system metric (SM_*) at a DPI; the unscaled one where the system has no
// metrics per DPI.
int MetricForDpi(int index, uint32_t dpi);

// A periodic timer whose expirations may come up to toleranceMs late, so the
// system can bundle wake-ups; a plain one where the system has no such timers
// (before Windows 8). Replaces a timer of the same id.
void SetTolerantTimer(HWND window, UINT_PTR id, UINT periodMs, ULONG toleranceMs);

// Messages that take one number or none; the parameters they ignore stay 0.
inline LRESULT SendNumber(HWND window, UINT message, LPARAM number = 0)
{
    return SendMessageA(window, message, 0, number);
}
inline void PostBare(HWND window, UINT message) { PostMessageA(window, message, 0, 0); }

#endif
