// Line formats of the event log.
#include "log/event_log.h"

#include <stdio.h>
#include <string.h>

#include "platform/numbers.h"

const char kLogHeader[] = "Date, Time, BatteryLifePercent, ACLineStatus, BatteryFlag\n";

const char *PowerEventText(uint32_t code)
{
    switch (code) {
    case BROADCAST_QUERY_SUSPEND_FAILED: return "Suspension request denied";
    case BROADCAST_SUSPEND: return "System is suspending operation";
    case BROADCAST_RESUME_CRITICAL: return "Operation resuming after critical suspension";
    case BROADCAST_RESUME_SUSPEND: return "Operation resuming after suspension";
    case BROADCAST_RESUME_AUTOMATIC: return "Operation resuming automatically after event";
    }
    return nullptr;
}

static void CopyText(char *out, size_t capacity, const char *text)
{
    if (!capacity)
        return;
    size_t n = strlen(text);
    if (n >= capacity)
        n = capacity - 1;
    memcpy(out, text, n);
    out[n] = 0;
}

static void FormatLogPercent(uint8_t percent, char *out, size_t capacity)
{
    if (percent == PERCENT_UNKNOWN)
        CopyText(out, capacity, "UNKNOWN");
    else
        snprintf(out, capacity, "%u", static_cast<unsigned>(percent));
}

void FormatLogMains(uint8_t acLineStatus, char *out, size_t capacity)
{
    switch (acLineStatus) {
    case MAINS_OFFLINE: CopyText(out, capacity, "OFFLINE"); break;
    case MAINS_ONLINE: CopyText(out, capacity, "ONLINE"); break;
    case MAINS_BACKUP: CopyText(out, capacity, "BACKUP"); break;
    case AC_UNKNOWN: CopyText(out, capacity, "UNKNOWN"); break;
    default: snprintf(out, capacity, "%u", static_cast<unsigned>(acLineStatus)); break;
    }
}

void FormatLogFlags(uint8_t batteryFlag, char *out, size_t capacity)
{
    if (batteryFlag == FLAG_UNKNOWN) {
        CopyText(out, capacity, "UNKNOWN");
        return;
    }
    if (batteryFlag == 0) {
        CopyText(out, capacity, "-");
        return;
    }
    static const struct {
        uint8_t bit;
        const char *name;
    } kNames[] = {{BATTERY_HIGH, "HIGH"},
                    {BATTERY_LOW, "LOW"},
                    {BATTERY_CRITICAL, "CRITICAL"},
                    {BATTERY_CHARGING, "CHARGING"},
                    {BATTERY_NONE, "NO_BATTERY"}};
    char text[LOG_FIELD_CAPACITY] = "";
    size_t used = 0;
    for (const auto &entry : kNames) {
        if (!(batteryFlag & entry.bit))
            continue;
        int n = snprintf(text + used, sizeof text - used, "%s%s", used ? "|" : "", entry.name);
        if (n > 0)
            used += static_cast<size_t>(n);
    }
    CopyText(out, capacity, text);
}

// The length snprintf left in a buffer of capacity bytes, given its answer n
// (the length it wanted, negative on failure).
static size_t WrittenLength(int n, size_t capacity)
{
    if (n < 0 || !capacity)
        return 0;
    size_t written = static_cast<size_t>(n);
    return written < capacity ? written : capacity - 1;
}

// Date and time in both lines: "%02u" pads to two digits but never cuts, so
// a year keeps all its digits.
size_t FormatEventLine(char *out, size_t capacity, const LogTime *t, const char *text)
{
    int n = snprintf(out, capacity, "%02u-%02u-%02u, %02u:%02u:%02u, %s\n", unsigned{t->year},
                     unsigned{t->month}, unsigned{t->day}, unsigned{t->hour}, unsigned{t->minute},
                     unsigned{t->second}, text);
    return WrittenLength(n, capacity);
}

size_t FormatStatusLine(char *out, size_t capacity, const LogTime *t, uint8_t percent,
                        uint8_t acLineStatus, uint8_t batteryFlag)
{
    char level[LOG_FIELD_CAPACITY], mains[LOG_FIELD_CAPACITY], flags[LOG_FIELD_CAPACITY];
    FormatLogPercent(percent, level, sizeof level);
    FormatLogMains(acLineStatus, mains, sizeof mains);
    FormatLogFlags(batteryFlag, flags, sizeof flags);
    int n = snprintf(out, capacity, "%02u-%02u-%02u, %02u:%02u:%02u, %s, %s, %s\n", unsigned{t->year},
                     unsigned{t->month}, unsigned{t->day}, unsigned{t->hour}, unsigned{t->minute},
                     unsigned{t->second}, level, mains, flags);
    return WrittenLength(n, capacity);
}
