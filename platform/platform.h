// The thin layer through which the program reaches Windows.
#ifndef AMPWATCH_PLATFORM_H
#define AMPWATCH_PLATFORM_H

#include <stdint.h>

#include "app/settings.h"
#include "power/status.h"

// The power status now; all four values unknown when it cannot be read.
PowerSample ReadPowerStatus();

// The executable's full path; answers its length, or 0 when unavailable.
uint32_t ReadModulePath(char *out, uint32_t capacity);

// Reader over section [Settings] of the INI file at path (kept, not copied).
ProfileReader SettingsFileReader(const char *path);

// Writes one key of section [Settings] of the settings file; not checked.
void WriteSetting(const char *key, const char *text);
void WriteSettingUnsigned(const char *key, uint32_t value);

// String n (1..15) of the chosen language, at most capacity - 1 characters.
uint32_t LoadText(int n, char *out, uint32_t capacity);

uint32_t SystemButtonTextColor();
uint16_t UserLanguage();

#endif
