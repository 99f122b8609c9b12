// The battery capacity report: four figures the ordinary power status lacks.
#ifndef AMPWATCH_CAPACITY_H
#define AMPWATCH_CAPACITY_H

#include <stddef.h>
#include <stdint.h>

// The four figures in milli-units (mWh, mW), unknown markers already read.
struct CapacityFigures {
    uint32_t maxCapacity;        // 0xFFFFFFFF unknown
    uint32_t remainingCapacity;  // 0xFFFFFFFF unknown
    uint32_t defaultAlert1;      // 0xFFFFFFFF unknown
    int32_t rate;                // negative while discharging; INT32_MIN unknown
};

// A milli-unit value with two decimals, halves rounded away from zero and
// always with a point: 48840 -> "48.84", 125 -> "0.13", -15000 -> "-15.00".
void FormatMilli(int64_t milli, char *out, size_t capacity);

// Fills the localised report format: each "%.2f" takes the next figure
// (maximum, remaining, critical capacity, rate), unknown ones as 0.00;
// "%%" gives "%". Answers the length; out is always terminated.
size_t FillCapacityReport(const char *format, const CapacityFigures *figures, char *out,
                          size_t capacity);

#endif
