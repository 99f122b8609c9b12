// The refresh cycle: sample the power status, update what shows it, alert once.
#include "ui/refresh_win32.h"

#include "app/settings.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "power/status_win32.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/tray_icon_win32.h"

// Changed only by the cycles, and the latch also by a new alert threshold.
static struct {
    PowerSample statusSnapshot;  // what the user was last shown
    bool alertLatched;           // the alert was shown and is not re-armed yet
} refreshState = {{AC_UNKNOWN, FLAG_UNKNOWN, PERCENT_UNKNOWN, LIFETIME_UNKNOWN}, false};

static void ShowAlert(HWND window)
{
    ShowFromTray(window);
    char text[TEXT_CAPACITY];
    LoadText(IDS_ALERT, text, sizeof text);
    MessageBoxA(window, text, MAIN_CAPTION, MB_ICONERROR | MB_SETFOREGROUND);
}

// Updates what shows the status, then remembers it; false when nothing
// changed. A new picture carries its tooltip in the same request, so the
// tray gets one request where the level and the remaining time change
// together.
static bool ShowStatusChange(HWND window, const PowerSample *sample)
{
    const StatusChange change = CompareWithSnapshot(&refreshState.statusSnapshot, sample);
    if (change.picture) {
        ReplaceTrayIcon(window, sample);
        LogStatus(sample->batteryLifePercent, sample->acLineStatus, sample->batteryFlag);
    } else if (change.lifetime) {
        UpdateTrayTip(window, sample);
    }
    UpdateSnapshot(&refreshState.statusSnapshot, sample, change);
    return change.picture || change.lifetime;
}

static void FullCycle(HWND window, const PowerSample *sample)
{
    ShowStatusChange(window, sample);
    if (IsWindowVisible(window))
        RedrawGraph(window);
    // The latch is set before the box opens, so the cycles that keep running
    // inside its message loop cannot stack a second box.
    if (StepAlert(&refreshState.alertLatched, sample->batteryLifePercent, thresholds.alertThreshold))
        ShowAlert(window);
}

void PollCycle(HWND window)
{
    const PowerSample sample = ReadPowerStatus();
    RecordSample(sample.batteryLifePercent);
    FullCycle(window, &sample);
}

void RefreshCycle(HWND window)
{
    const PowerSample sample = ReadPowerStatus();
    FullCycle(window, &sample);
}

void HoverRefresh(HWND window)
{
    const PowerSample sample = ReadPowerStatus();
    if (ShowStatusChange(window, &sample) && IsWindowVisible(window))
        RedrawGraph(window);
}

void RearmAlert()
{
    refreshState.alertLatched = false;
}

const PowerSample *ShownStatus()
{
    return &refreshState.statusSnapshot;
}
