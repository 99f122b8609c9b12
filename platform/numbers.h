// The platform's numbers, each named once. Plain integers and no Windows
// header, so the portable rules use them and the shell passes them straight
// on. The names differ from the platform's own macros on purpose: both meet
// in the shell's files.
#ifndef AMPWATCH_NUMBERS_H
#define AMPWATCH_NUMBERS_H

#include <stdint.h>

// SYSTEM_POWER_STATUS: battery flag bits, mains states, "not known".
enum : uint8_t {
    BATTERY_HIGH = 0x01,
    BATTERY_LOW = 0x02,
    BATTERY_CRITICAL = 0x04,
    BATTERY_CHARGING = 0x08,
    BATTERY_NONE = 0x80,
};
enum : uint8_t { MAINS_OFFLINE = 0, MAINS_ONLINE = 1, MAINS_BACKUP = 2 };
enum : uint8_t { PERCENT_UNKNOWN = 255, FLAG_UNKNOWN = 255, AC_UNKNOWN = 255 };
enum : uint32_t { LIFETIME_UNKNOWN = 0xFFFFFFFFu };

// WM_POWERBROADCAST codes the meter acts on.
enum : uint32_t {
    BROADCAST_QUERY_SUSPEND_FAILED = 2,
    BROADCAST_SUSPEND = 4,
    BROADCAST_RESUME_CRITICAL = 6,
    BROADCAST_RESUME_SUSPEND = 7,
    BROADCAST_BATTERY_LOW = 9,
    BROADCAST_STATUS_CHANGE = 10,
    BROADCAST_RESUME_AUTOMATIC = 18,
    BROADCAST_SETTING_CHANGE = 0x8013,  // a power setting asked for, such as the percent
};
// The display's state as a power setting tells it (console display, monitor power).
enum : uint32_t { DISPLAY_OFF = 0, DISPLAY_ON = 1, DISPLAY_DIMMED = 2 };

// Language ids: the primary language is the low ten bits.
enum : uint16_t { LANGUAGE_PRIMARY_MASK = 0x3FF, LANGUAGE_GERMAN = 0x07 };

// A capacity figure of the battery state that the battery does not give.
enum : uint32_t { CAPACITY_UNKNOWN = 0xFFFFFFFFu };

// BATTERY_INFORMATION's capabilities: a battery of the system (not a UPS),
// capacities relative instead of in mWh.
enum : uint32_t { BATTERY_CAPS_SYSTEM = 0x80000000u, BATTERY_CAPS_RELATIVE = 0x40000000u };

// The code page of UTF-8 (CP_UTF8).
enum : uint32_t { CODE_PAGE_UTF8 = 65001 };

// Font weights.
enum : int32_t { WEIGHT_NORMAL = 400, WEIGHT_BOLD = 700 };

// A colour query that failed (CLR_INVALID) answers this instead of a colour.
enum : uint32_t { COLOR_QUERY_FAILED = 0xFFFFFFFFu };

// LOGFONT quality without smoothing: the tray digits need hard edges.
enum : uint8_t { FONT_NONANTIALIASED = 3 };

// DrawText formats of the graph's texts.
enum : uint32_t {
    GRAPH_DT_BASE = 0x920,  // single line, no clipping, no prefix
    GRAPH_DT_CENTER = 0x1,
    GRAPH_DT_RIGHT = 0x2,
    GRAPH_DT_VCENTER = 0x4,
    GRAPH_DT_BOTTOM = 0x8,
};

#endif
