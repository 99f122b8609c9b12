// Resource and command identifiers shared by the resource script and the code.
#ifndef AMPWATCH_RESOURCE_H
#define AMPWATCH_RESOURCE_H

// The main window's caption, also the caption of the meter's message boxes;
// the running copy and the tests find the window by it.
#define MAIN_CAPTION "Battery Meter"
// The name one copy a session holds.
#define MUTEX_NAME "QuentaAmpwatch"

#define IDI_MAIN 101
#define IDA_MAIN 102

#define IDD_MAIN_DE 400
#define IDD_MAIN_EN 800

// String n is IDD_MAIN_DE + n in German and IDD_MAIN_EN + n in English.
#define IDS_ALERT 1
#define IDS_HISTORY_RESCALE 2
#define IDS_CAPACITY_CAPTION 3
#define IDS_CAPACITY_REPORT 4
#define IDS_TIP_PERCENT 5
#define IDS_TIP_HOURS 6
#define IDS_TIP_MINUTES 7
#define IDS_AC_OFFLINE 8
#define IDS_AC_ONLINE 9
#define IDS_AC_BACKUP 10
#define IDS_BATTERY_HIGH 11
#define IDS_BATTERY_LOW 12
#define IDS_BATTERY_CRITICAL 13
#define IDS_BATTERY_CHARGING 14
#define IDS_NO_BATTERY 15
#define IDS_TIP_UNKNOWN 16
#define IDS_UNPLUG 17
#define IDS_MENU_STARTUP 18
#define IDS_MENU_UNPLUG 19
// The capacity report's health lines: design capacity, health, cycles, trend.
#define IDS_HEALTH_REPORT 24

#define IDC_GRAPH 1001
#define IDC_INTERVAL 1002
#define IDC_APPLY 1003
#define IDC_ICONCOLOR 1004
#define IDC_THRESHOLD 1005
#define IDC_THRESHOLD_SPIN 1007

#define IDM_REFRESH 40001
#define IDM_SAVE 40002
#define IDM_POWEROPTIONS 40003
#define IDM_CAPACITY 40004
#define IDM_OPENLOG 40005
// Items of the window menu: WM_SYSCOMMAND keeps the low four bits for itself.
#define IDM_STARTUP 0x0110
#define IDM_UNPLUG_REMINDER 0x0120

// Messages, timer and tray icon of the main window (WM_USER is 0x0400).
#define WM_TRAYNOTIFY (0x0400 + 4224)
#define WM_REFRESHNOW (0x0400 + 4242)
#define WM_REFITGRAPH (0x0400 + 4243)  // after the dialog took a new DPI
#define POLL_TIMER_ID 100
#define TRAY_TIMER_ID 101  // asks a notification area that refused or lost the icon again
#define TRAY_ICON_ID 4224

#endif
