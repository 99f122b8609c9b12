// The refresh cycle: sample the power status, update what shows it, alert once.
#include "power/refresh_win32.h"

#include "app/settings.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "power/status.h"
#include "res/resource.h"
#include "ui/graph_view_win32.h"
#include "ui/main_dialog_win32.h"
#include "ui/tray_icon_win32.h"

static void ShowAlert(HWND window)
{
    if (hiddenToTray) {
        ShowWindow(window, SW_SHOW);
        hiddenToTray = false;
    }
    SetForegroundWindow(window);
    char text[256];
    LoadText(IDS_ALERT, text, sizeof text);
    MessageBoxA(window, text, kMainCaption, MB_ICONERROR | MB_SETFOREGROUND);
}

static void ShowStatusChange(HWND window, const PowerSample *sample)
{
    StatusChange change = CompareWithSnapshot(&StatusSnapshot, sample);
    if (change.picture) {
        ReplaceTrayIcon(window, sample->batteryLifePercent, sample->batteryFlag,
                        sample->batteryLifeTime);
        LogStatus(sample->batteryLifePercent, sample->acLineStatus, sample->batteryFlag);
        StatusChange picture = {true, false};
        UpdateSnapshot(&StatusSnapshot, sample, picture);
    }
    if (change.lifetime) {
        UpdateTrayIcon(window, NIM_MODIFY, nullptr, sample->batteryLifePercent,
                       sample->batteryLifeTime);
        StatusChange lifetime = {false, true};
        UpdateSnapshot(&StatusSnapshot, sample, lifetime);
    }
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
    if (StepAlert(&alertLatched, sample.batteryLifePercent, thresholds.alertThreshold))
        ShowAlert(window);
}

void HoverRefresh(HWND window)
{
    PowerSample sample = ReadPowerStatus();
    StatusChange change = CompareWithSnapshot(&StatusSnapshot, &sample);
    if (!change.picture && !change.lifetime)
        return;
    ShowStatusChange(window, &sample);
    if (IsWindowVisible(window))
        RedrawGraph(window);
}
