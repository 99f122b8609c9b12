#include <windows.h>

#include "app/settings_win32.h"
#include "app/text.h"
#include "platform/platform.h"

static const char kSection[] = "Settings";

static uint32_t ProfileInt(const void *context, const char *key, uint32_t fallback)
{
    return GetPrivateProfileIntA(kSection, key, static_cast<INT>(fallback),
                                 static_cast<const char *>(context));
}

static void ProfileString(const void *context, const char *key, const char *fallback,
                          char *out, uint32_t capacity)
{
    GetPrivateProfileStringA(kSection, key, fallback, out, capacity,
                             static_cast<const char *>(context));
}

ProfileReader SettingsFileReader(const char *path)
{
    ProfileReader r = {path, ProfileInt, ProfileString};
    return r;
}

void WriteSetting(const char *key, const char *text)
{
    WriteProfileKey(pathSet.settings, kSection, key, text);
}

void WriteSettingUnsigned(const char *key, uint32_t value)
{
    char text[NUMBER_CAPACITY];
    if (FormatUnsigned(text, sizeof text, value))
        WriteSetting(key, text);
}

uint32_t CurrentTaskbarDigitColor()
{
    return TaskbarDigitColor(HighContrastOn(), GetSysColor(COLOR_WINDOWTEXT), ReadLightTheme(),
                             SystemButtonTextColor());
}
