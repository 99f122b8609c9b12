// Capacity report figures for any milli-unit value and any report format.
//
// Input: 8 bytes of a value, the four figures (16 bytes), a capacity byte,
// a mode byte, then the format: raw (odd mode) or built from tokens.
#include <stdio.h>

#include "power/capacity.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// "-"? digits "." two digits, and within half a hundredth of the value.
void CheckMilli(int64_t milli)
{
    char text[40];
    FormatMilli(milli, text, sizeof text);
    const char *p = text;
    if (*p == '-')
        ++p;
    const char *digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    FUZZ_CHECK(p > digits && *p == '.');
    FUZZ_CHECK(p[1] >= '0' && p[1] <= '9' && p[2] >= '0' && p[2] <= '9' && p[3] == '\0');
    if (milli < -(int64_t{1} << 40) || milli > (int64_t{1} << 40))
        return;  // beyond what the platform reports; the form is enough
    long long whole = strtoll(text, nullptr, 10);
    long long hundredths = (p[1] - '0') * 10 + (p[2] - '0');
    long long shown = (whole < 0 || text[0] == '-' ? -1 : 1) * (llabs(whole) * 100 + hundredths);
    // shown is in hundredths; milli in thousandths.
    long long diff = shown * 10 - milli;
    FUZZ_CHECK(diff >= -5 && diff <= 5);
    // Halves go away from zero.
    if (llabs(diff) == 5)
        FUZZ_CHECK((diff > 0) == (milli > 0));
    // No "-0.00".
    FUZZ_CHECK(!(text[0] == '-' && shown == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    uint64_t raw = uint64_t{TakeU32(&in)} | uint64_t{TakeU32(&in)} << 32;
    int64_t value;
    memcpy(&value, &raw, sizeof value);
    CheckMilli(value);
    CheckMilli(int64_t{int32_t(raw)});
    CheckMilli(int64_t{uint32_t(raw)});

    CapacityFigures figures;
    figures.maxCapacity = TakeU32(&in);
    figures.remainingCapacity = TakeU32(&in);
    figures.defaultAlert1 = TakeU32(&in);
    figures.rate = TakeI32(&in);
    size_t capacity = TakeByte(&in);
    bool rawFormat = TakeByte(&in) & 1;

    char format[400];
    char want[2048];
    size_t wantLength = 0;
    const int64_t values[4] = {
        figures.maxCapacity == 0xFFFFFFFFu ? 0 : int64_t{figures.maxCapacity},
        figures.remainingCapacity == 0xFFFFFFFFu ? 0 : int64_t{figures.remainingCapacity},
        figures.defaultAlert1 == 0xFFFFFFFFu ? 0 : int64_t{figures.defaultAlert1},
        figures.rate == INT32_MIN ? 0 : int64_t{figures.rate}};
    if (rawFormat) {
        PeekRest(&in, format, sizeof format);
    } else {
        // Text, "%.2f" and "%%" only: the expected report is known.
        size_t n = 0;
        int next = 0;
        while (in.at < in.size && n + 5 < sizeof format) {
            uint8_t b = TakeByte(&in);
            if (b < 8) {
                memcpy(format + n, "%.2f", 4);
                n += 4;
                char number[40] = "0.00";
                if (next < 4)
                    FormatMilli(values[next], number, sizeof number);
                ++next;
                size_t k = strlen(number);
                memcpy(want + wantLength, number, k);
                wantLength += k;
            } else if (b < 12) {
                format[n++] = '%';
                format[n++] = '%';
                want[wantLength++] = '%';
            } else if (b != '%') {
                format[n++] = char(b);
                want[wantLength++] = char(b);
            }
        }
        format[n] = '\0';
        want[wantLength] = '\0';
    }

    FUZZ_CHECK(FillCapacityReport(format, &figures, nullptr, 0) == 0);
    char *out = static_cast<char *>(malloc(capacity ? capacity : 1));
    size_t length = FillCapacityReport(format, &figures, out, capacity);
    if (capacity > 0) {
        FUZZ_CHECK(length < capacity && strlen(out) == length);
        if (!rawFormat) {
            size_t expected = wantLength < capacity - 1 ? wantLength : capacity - 1;
            FUZZ_CHECK(length == expected && memcmp(out, want, length) == 0);
        }
    }
    free(out);
    return 0;
}
