// The refresh cycle: sample the power status, update what shows it, alert once.
#include "ui/refresh_win32.h"

#include "app/settings.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "power/health_win32.h"
#include "power/status_win32.h"
#include "power/unplug.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_tip.h"

// Changed only by the cycles, and the alert latch also by a new threshold.
static struct {
    PowerSample statusSnapshot;  // what the user was last shown
    bool alertLatched;           // the alert was shown and is not re-armed yet
    bool unplugLatched;          // the unplug reminder was shown since the charger went in
} refreshState = {{AC_UNKNOWN, FLAG_UNKNOWN, PERCENT_UNKNOWN, LIFETIME_UNKNOWN}, false, false};

// Also while another box of the meter is open (About, capacity report,
// interval question), owned by that box: the window and the box then stay
// disabled until the alert is answered. Topmost, as Windows keeps a program
// that was not used last from taking the foreground.
static void ShowAlert(HWND window)
{
    char text[TEXT_CAPACITY];
    LoadText(IDS_ALERT, text, sizeof text);
    HWND owner = GetLastActivePopup(window);  // asked before the window comes forward and is the last
    ShowFromTray(window);
    MessageBoxA(owner, text, MAIN_CAPTION, MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

// A notification of the tray icon: it takes no focus and blocks nothing.
// Without an icon to carry it, it is tried again at the next cycle.
static void ShowUnplugReminder(HWND window, uint8_t percent)
{
    char format[TEXT_CAPACITY], text[TEXT_CAPACITY];
    LoadText(IDS_UNPLUG, format, sizeof format);
    const uint32_t level = percent;
    FormatCounts(text, sizeof text, format, &level, 1);
    if (!ShowTrayNotice(window, text))
        refreshState.unplugLatched = false;
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
    if (change.picture || change.lifetime)
        NameGraph(window, sample);
    UpdateSnapshot(&refreshState.statusSnapshot, sample, change);
    return change.picture || change.lifetime;
}

static void FullCycle(HWND window, const PowerSample *sample)
{
    ShowStatusChange(window, sample);
    if (IsWindowVisible(window))
        RedrawGraph(window);
    // The cycles keep running inside any box's message loop, the alert's
    // too: its latch is set before its box opens, so alerts never stack.
    if (StepUnplugReminder(&refreshState.unplugLatched, sample, thresholds.unplugThreshold))
        ShowUnplugReminder(window, sample->batteryLifePercent);
    if (StepAlert(&refreshState.alertLatched, sample->batteryLifePercent, thresholds.alertThreshold))
        ShowAlert(window);
}

void PollCycle(HWND window)
{
    const PowerSample sample = ReadPowerStatus();
    RecordSample(sample.batteryLifePercent);
    FullCycle(window, &sample);
    RecordHealthDay(&sample);
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
