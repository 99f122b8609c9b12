#include <windows.h>

#include "app/text.h"
#include "platform/platform.h"

static const char kSection[] = "Settings";

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
    WritePrivateProfileStringA(kSection, key, text, pathSet.settings);
}

void WriteSettingUnsigned(const char *key, uint32_t value)
{
    char text[16];
    if (FormatUnsigned(text, sizeof text, value))
        WriteSetting(key, text);
}

uint32_t LoadText(int n, char *out, uint32_t capacity)
{
    if (capacity == 0)
        return 0;
    out[0] = '\0';
    int got = LoadStringA(static_cast<HINSTANCE>(appGlobals.instance),
                          static_cast<UINT>(LocalisedStringId(n, appGlobals.languageIsGerman)),
                          out, static_cast<int>(capacity));
    return got > 0 ? static_cast<uint32_t>(got) : 0;
}

uint32_t SystemButtonTextColor()
{
    return static_cast<uint32_t>(GetSysColor(COLOR_BTNTEXT));
}

uint16_t UserLanguage()
{
    return GetUserDefaultLangID();
}
