#include <windows.h>

#include "power/status_win32.h"

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
