#include <windows.h>

#include "app/settings.h"
#include "app/text.h"
#include "app/text_win32.h"
#include "ui/tray_tip.h"

void LoadText(int n, char *out, uint32_t capacity)
{
    // A capacity of 0 would ask LoadStringA for the resource itself.
    if (!capacity)
        return;
    out[0] = '\0';
    LoadStringA(GetModuleHandleA(nullptr),
                static_cast<UINT>(LocalisedStringId(n, appGlobals.languageIsGerman)), out,
                static_cast<int>(capacity));
}

void FormatStatusTip(char *out, uint32_t capacity, const PowerSample *shown)
{
    const TipPlan plan = PlanTrayTip(shown->batteryLifePercent, shown->batteryLifeTime);
    char format[TEXT_CAPACITY];
    LoadText(plan.textId, format, sizeof format);
    FormatCounts(out, capacity, format, plan.args, plan.argCount);
}
