// The capacity report box. The power management library is loaded for the
// moment of the query only.
#include <windows.h>

#include "app/text_win32.h"
#include "power/capacity.h"
#include "power/capacity_win32.h"
#include "power/health_win32.h"
#include "res/resource.h"

int ShowCapacityReport(HWND owner)
{
    SYSTEM_BATTERY_STATE state;
    if (!ReadBatteryState(&state))
        return 0;

    CapacityFigures figures = {state.MaxCapacity, state.RemainingCapacity, state.DefaultAlert1,
                               static_cast<int32_t>(state.Rate)};
    char caption[TEXT_CAPACITY], format[TEXT_CAPACITY], text[TEXT_CAPACITY];
    LoadText(IDS_CAPACITY_CAPTION, caption, sizeof caption);
    LoadText(IDS_CAPACITY_REPORT, format, sizeof format);
    AppendHealthReport(text, FillCapacityReport(format, &figures, text, sizeof text), sizeof text,
                       state.MaxCapacity);
    MessageBoxA(owner, text, caption, MB_OK);
    return 1;
}
