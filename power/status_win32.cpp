#include <windows.h>
#include <string.h>

#include "power/status_win32.h"

#include "platform/dynamic_calls.h"

// The settings Windows tells of: the battery's percent and the power source,
// then the display's state in its two forms (from Windows 8, and before).
static const struct {
    GUID id;
    PowerSetting kind;
} kPowerSettings[] = {
    {{0xa7ad8041, 0xb45a, 0x4cae, {0x87, 0xa3, 0xee, 0xcb, 0xb4, 0x68, 0xa9, 0xe1}}, SETTING_STATUS},
    {{0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}}, SETTING_STATUS},
    {{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, SETTING_DISPLAY},
    {{0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}, SETTING_DISPLAY},
};
enum { PERCENT, SOURCE, CONSOLE_DISPLAY, MONITOR_POWER };

// The registrations of the percent, the source and one form of the display's
// state; null where Windows (before Vista) has none.
static HPOWERNOTIFY powerSettingNotices[3];

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

void ListenForPowerSettings(HWND window)
{
    const auto listen = dynamicCalls.registerPowerSettingNotification;
    if (!listen)
        return;
    // SetCoalescableTimer came with Windows 8, as did the console display
    // state; before, the monitor's power tells the display turning on.
    const int settings[ARRAYSIZE(powerSettingNotices)] = {
        PERCENT, SOURCE, dynamicCalls.setCoalescableTimer ? CONSOLE_DISPLAY : MONITOR_POWER};
    for (size_t i = 0; i < ARRAYSIZE(powerSettingNotices); ++i)
        powerSettingNotices[i] = listen(window, &kPowerSettings[settings[i]].id, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StopListeningForPowerSettings()
{
    const auto stop = dynamicCalls.unregisterPowerSettingNotification;
    for (HPOWERNOTIFY &notice : powerSettingNotices) {
        if (notice && stop)
            stop(notice);
        notice = nullptr;
    }
}

PowerSetting ReadPowerSetting(LPARAM record, uint32_t *value)
{
    const auto *setting = reinterpret_cast<const POWERBROADCAST_SETTING *>(record);
    *value = 0;
    if (!setting)
        return SETTING_NO_RECORD;
    if (setting->DataLength >= sizeof *value)
        memcpy(value, setting->Data, sizeof *value);
    for (const auto &known : kPowerSettings)
        if (memcmp(&known.id, &setting->PowerSetting, sizeof known.id) == 0)
            return known.kind;
    return SETTING_OTHER;
}
