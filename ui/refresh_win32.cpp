// The refresh cycle: sample the power status, update what shows it, alert once.
#include "ui/refresh_win32.h"

#include "app/settings.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/tray_icon_win32.h"

RefreshState refreshState = {{AC_UNKNOWN, FLAG_UNKNOWN, PERCENT_UNKNOWN, LIFETIME_UNKNOWN}, false};

static void ShowAlert(HWND window)
{
    ShowFromTray(window);
    char text[TEXT_CAPACITY];
    LoadText(IDS_ALERT, text, sizeof text);
    MessageBoxA(window, text, MAIN_CAPTION, MB_ICONERROR | MB_SETFOREGROUND);
}

// Updates what shows the status; false when nothing changed.
static bool ShowStatusChange(HWND window, const PowerSample *sample)
{
    const StatusChange change = CompareWithSnapshot(&refreshState.statusSnapshot, sample);
    UpdateSnapshot(&refreshState.statusSnapshot, sample, change);
    if (change.picture) {
        ReplaceTrayIcon(window);
        LogStatus(sample->batteryLifePercent, sample->acLineStatus, sample->batteryFlag);
    } else if (change.lifetime) {
        UpdateTrayTip(window);
    }
    return change.picture || change.lifetime;
}

void RefreshCycle(HWND window, bool recordSample)
{
    PowerSample sample = ReadPowerStatus();
    if (recordSample)
        RecordSample(sample.batteryLifePercent);
    ShowStatusChange(window, &sample);
    if (IsWindowVisible(window))
        RedrawGraph(window);
    // The latch is set before the box opens, so the cycles that keep running
    // inside its message loop cannot stack a second box.
    if (StepAlert(&refreshState.alertLatched, sample.batteryLifePercent, thresholds.alertThreshold))
        ShowAlert(window);
}

void HoverRefresh(HWND window)
{
    PowerSample sample = ReadPowerStatus();
    if (ShowStatusChange(window, &sample) && IsWindowVisible(window))
        RedrawGraph(window);
}

void RearmAlert()
{
    refreshState.alertLatched = false;
}
