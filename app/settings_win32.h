// The settings file through the platform's INI functions.
#ifndef AMPWATCH_SETTINGS_WIN32_H
#define AMPWATCH_SETTINGS_WIN32_H

#include <stdint.h>

#include "app/settings.h"

// Reader over section [Settings] of the INI file at path (kept, not copied).
ProfileReader SettingsFileReader(const char *path);

// Writes one key of section [Settings] of the settings file; not checked.
void WriteSetting(const char *key, const char *text);
void WriteSettingUnsigned(const char *key, uint32_t value);

// The digits' colour the taskbar asks for now (no stored IconColor).
uint32_t CurrentTaskbarDigitColor();

#endif
