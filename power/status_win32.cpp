#include <windows.h>

#include "power/status_win32.h"

#include "platform/dynamic_calls.h"

// The settings Windows tells of: the battery's percent and the power source.
static const GUID kPowerSettings[] = {
    {0xa7ad8041, 0xb45a, 0x4cae, {0x87, 0xa3, 0xee, 0xcb, 0xb4, 0x68, 0xa9, 0xe1}},
    {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}},
};

// The registrations, null where Windows (before Vista) has none.
static HPOWERNOTIFY powerSettingNotices[ARRAYSIZE(kPowerSettings)];

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
    for (size_t i = 0; i < ARRAYSIZE(kPowerSettings); ++i)
        powerSettingNotices[i] = listen(window, &kPowerSettings[i], DEVICE_NOTIFY_WINDOW_HANDLE);
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
