// The battery's health and its trend: the daily record beside the meter's
// other files, the battery's own information and the report's lines of both.
#ifndef AMPWATCH_HEALTH_H
#define AMPWATCH_HEALTH_H

#include <stddef.h>
#include <stdint.h>

#include "platform/numbers.h"

// A local calendar day.
struct HealthDate {
    uint16_t year, month, day;
};

// One battery's information record (BATTERY_INFORMATION, same layout).
struct BatteryInformationRecord {
    uint32_t capabilities;  // BATTERY_CAPS_* bits
    uint8_t technology, reserved[3], chemistry[4];
    uint32_t designedCapacity;  // mWh, 0 unknown; relative units with BATTERY_CAPS_RELATIVE
    uint32_t fullChargedCapacity, defaultAlert1, defaultAlert2, criticalBias;
    uint32_t cycleCount;  // 0 when the battery counts none
};

// What the record and the report tell beyond the power state; 0 unknown.
struct HealthFigures {
    uint32_t fullCharge;  // mWh, the capacity report's maximum capacity
    uint32_t design;      // mWh
    uint32_t cycles;
};

// The figures of a maximum capacity (CAPACITY_UNKNOWN allowed) and the
// batteries' records: only system batteries count, summed; a figure is known
// only when every one of them gives it. Relative capacities make every
// capacity unknown, the maximum capacity too, which is then relative as well.
HealthFigures CombineBatteries(uint32_t maxCapacity, const BatteryInformationRecord *batteries,
                               uint32_t count);

enum : int32_t { HEALTH_NO_DAY = INT32_MIN };
// At most this much of the record's end is read.
enum : long { HEALTH_TAIL_BYTES = 65536 };

// Days since 1970-01-01; HEALTH_NO_DAY for no valid date of years 1..9999.
int32_t DayNumber(const HealthDate *date);

// What the record tells on a day.
struct HealthScan {
    int32_t lastDay;          // the last dated line's day; HEALTH_NO_DAY without one
    HealthDate trendDate;     // the oldest line 7..365 days old with a capacity
    uint32_t trendCapacity;   // its full-charge capacity; 0 without such a line
    bool blank;               // no file or an empty one: a new record takes the header
    bool openLine;            // the last line lacks its line end
};

// Reads the last HEALTH_TAIL_BYTES of the record at path for today's day
// number. Lines that are no "YYYY-MM-DD, full, design, cycles" are passed over.
void ScanHealthRecord(const char *path, int32_t today, HealthScan *scan);

// The daily step at a poll: unless *recordedDay or the record's last line is
// today, asks readFigures and appends today's line (after the header into a
// new record, after a line break where the last line lacks one). When
// readFigures answers false the day stays open for the next poll; else
// *recordedDay takes today, a line written or not: without a full charge
// there is none that day, a line that cannot be written is dropped, and
// later polls of the day read nothing.
void StepHealthRecord(const char *path, const HealthDate *today, int32_t *recordedDay,
                      bool (*readFigures)(HealthFigures *figures));

// full ÷ design in whole percent, halves away from zero; design not 0.
uint32_t HealthPercent(uint32_t full, uint32_t design);
// The change from then to now in tenths of a percent, halves away from zero;
// then not 0.
int64_t ChangeTenths(uint32_t then, uint32_t now);

enum { HEALTH_LINES = 4 };

// Appends to the report of length bytes in out, each after a line break and
// only when known, the HEALTH_LINES lines of format (separated by "\n"): the
// design capacity, the health, the cycle count (each "%s" for its figure) and
// the trend ("%s" for the line's date, its capacity and the change). "%%"
// gives "%". Cut at the buffer; answers the new length.
size_t AppendHealthLines(char *out, size_t length, size_t capacity, const char *format,
                         const HealthFigures *now, const HealthScan *record);

#endif
