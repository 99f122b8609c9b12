// Formatting of the capacity report. The figures are formatted from their
// integer milli-units: the C runtime's "%.2f" neither promises the rounding
// nor the point.
#include "power/capacity.h"

#include <stdio.h>
#include <string.h>

#include "app/text.h"
#include "platform/numbers.h"

void FormatMilli(int64_t milli, char *out, size_t capacity)
{
    const bool negative = milli < 0;
    const uint64_t magnitude = negative ? static_cast<uint64_t>(-(milli + 1)) + 1u
                                        : static_cast<uint64_t>(milli);
    const uint64_t hundredths = (magnitude + 5u) / 10u;  // at most 2^63 + 5: no overflow
    // The whole part may need 64 bits, which the platform's C runtime has no
    // "%llu" for. Divisions only: a 64-bit remainder would link a second
    // division routine.
    const uint64_t units = hundredths / 100u;
    char whole[24], cents[3];
    FormatUnsigned(whole, sizeof whole, units);
    const uint32_t cent = static_cast<uint32_t>(hundredths) - static_cast<uint32_t>(units) * 100u;
    FormatUnsigned(cents, sizeof cents, cent, 2);
    const bool showSign = negative && hundredths != 0;
    snprintf(out, capacity, "%s%s.%s", showSign ? "-" : "", whole, cents);
}

static int64_t Known(uint32_t value)
{
    return value == CAPACITY_UNKNOWN ? 0 : static_cast<int64_t>(value);
}

size_t FillCapacityReport(const char *format, const CapacityFigures *figures, char *out,
                          size_t capacity)
{
    if (!capacity)
        return 0;
    const int64_t values[4] = {
        Known(figures->maxCapacity), Known(figures->remainingCapacity),
        Known(figures->defaultAlert1),
        figures->rate == INT32_MIN ? 0 : static_cast<int64_t>(figures->rate),
    };
    size_t used = 0, next = 0;
    for (const char *p = format; *p && used + 1 < capacity; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            out[used++] = '%';
            ++p;
            continue;
        }
        if (strncmp(p, "%.2f", 4) == 0) {
            char number[32];
            FormatMilli(next < 4 ? values[next] : 0, number, sizeof number);
            ++next;
            for (const char *q = number; *q && used + 1 < capacity; ++q)
                out[used++] = *q;
            p += 3;
            continue;
        }
        out[used++] = *p;
    }
    out[used] = 0;
    return used;
}
