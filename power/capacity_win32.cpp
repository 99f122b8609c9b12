// The capacity report box. The power management library is loaded for the
// moment of the query only.
#include <windows.h>

#include "app/text_win32.h"
#include "platform/platform.h"
#include "platform/scoped_win32.h"
#include "power/capacity.h"
#include "power/capacity_win32.h"
#include "res/resource.h"

// The platform's SYSTEM_BATTERY_STATE, 32 bytes.
struct BatteryState {
    BYTE acOnLine, batteryPresent, charging, discharging;
    BYTE spare1[4];
    DWORD maxCapacity;
    DWORD remainingCapacity;
    LONG rate;
    DWORD estimatedTime;
    DWORD defaultAlert1;
    DWORD defaultAlert2;
};
static_assert(sizeof(BatteryState) == 32, "SYSTEM_BATTERY_STATE is 32 bytes");

typedef LONG(WINAPI *PowerInformationFn)(int level, void *input, ULONG inputLength, void *output,
                                          ULONG outputLength);
enum { SYSTEM_BATTERY_STATE_LEVEL = 5 };

int ShowCapacityReport(HWND owner)
{
    BatteryState state;
    ZeroMemory(&state, sizeof state);
    {
        ScopedLibrary library(LoadSystemLibrary("PowrProf.dll"));
        if (!library.module)
            return 0;
        PowerInformationFn query = reinterpret_cast<PowerInformationFn>(reinterpret_cast<void (*)()>(
            GetProcAddress(library.module, "CallNtPowerInformation")));
        if (!query || query(SYSTEM_BATTERY_STATE_LEVEL, nullptr, 0, &state, sizeof state) != 0)
            return 0;
    }

    CapacityFigures figures = {state.maxCapacity, state.remainingCapacity, state.defaultAlert1,
                               static_cast<int32_t>(state.rate)};
    char caption[128], format[256], text[512];
    LoadText(IDS_CAPACITY_CAPTION, caption, sizeof caption);
    LoadText(IDS_CAPACITY_REPORT, format, sizeof format);
    FillCapacityReport(format, &figures, text, sizeof text);
    MessageBoxA(owner, text, caption, MB_OK);
    return 1;
}
