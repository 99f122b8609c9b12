// The program's own items at the end of the window menu: start with Windows
// and the unplug reminder.
#include "ui/window_menu_win32.h"

#include "app/settings.h"
#include "app/settings_win32.h"
#include "app/startup_win32.h"
#include "app/text.h"
#include "app/text_win32.h"
#include "power/unplug.h"
#include "res/resource.h"
#include "ui/tray_tip.h"

// The two choices at the end of the window menu, checked as they are now (a
// path too long for the Run key greys the first); the reminder's item names
// the level it switches on.
void ShowWindowMenuChoices(HMENU menu)
{
    CheckMenuItem(menu, IDM_STARTUP, MF_BYCOMMAND | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, IDM_STARTUP, MF_BYCOMMAND | (CanStartWithWindows() ? MF_ENABLED : MF_GRAYED));
    char format[TEXT_CAPACITY], text[TEXT_CAPACITY];
    LoadText(IDS_MENU_UNPLUG, format, sizeof format);
    const uint32_t level = UnplugMenuLevel(thresholds.unplugThreshold);
    FormatCounts(text, sizeof text, format, &level, 1);
    const UINT checked = UnplugReminderOn(thresholds.unplugThreshold) ? MF_CHECKED : MF_UNCHECKED;
    ModifyMenuA(menu, IDM_UNPLUG_REMINDER, MF_BYCOMMAND | MF_STRING | checked, IDM_UNPLUG_REMINDER, text);
}

void AddWindowMenuChoices(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    char text[TEXT_CAPACITY];
    LoadText(IDS_MENU_STARTUP, text, sizeof text);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_STARTUP, text);
    AppendMenuA(menu, MF_STRING, IDM_UNPLUG_REMINDER, "");
    ShowWindowMenuChoices(menu);
}

// Switched on at the level the menu names, off as the settings store it.
static void ToggleUnplugReminder()
{
    thresholds.unplugThreshold =
        UnplugReminderOn(thresholds.unplugThreshold) ? uint8_t{THRESHOLD_OFF} : uint8_t{UNPLUG_DEFAULT};
    WriteSettingUnsigned("UnplugThreshold", thresholds.unplugThreshold);
}

bool RunWindowMenuChoice(UINT_PTR command)
{
    switch (command & 0xFFF0) {
    case IDM_STARTUP: ToggleStartWithWindows(); return true;
    case IDM_UNPLUG_REMINDER: ToggleUnplugReminder(); return true;
    }
    return false;
}
