// Tooltip choice and formatting for any percent and remaining time, and the
// counting formatter for any format text, arguments and buffer size.
//
// Input: percent, 4 bytes of remaining seconds, a capacity byte, three
// arguments, then a format: as built from tokens (first byte even) or as raw
// text (odd).
#include <stdio.h>

#include "tests/fuzz/fuzz_check.h"
#include "ui/tray_tip.h"

namespace {

const char *const kForms[2][3] = {
    {"Battery power remaining: %u%%", "%u:%02u h (%u%%) remaining", "%u min (%u%%) remaining"},
    {"Batteriestand: %u%%", "%u:%02u Std. (%u%%) verbleibend", "%u Min. (%u%%) verbleibend"},
};

// printf takes these forms alike, so it is the reference. Only the argument
// count matters; unused arguments are ignored by both.
int Reference(char *out, size_t capacity, const char *format, const uint32_t *a)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return snprintf(out, capacity, format, a[0], a[1], a[2]);
#pragma GCC diagnostic pop
}

void CheckPlan(uint8_t percent, uint32_t seconds)
{
    TipPlan plan = PlanTrayTip(percent, seconds);
    if (percent == 255) {
        FUZZ_CHECK(plan.textId == 0 && plan.argCount == 0);
        return;
    }
    if (seconds == 0xFFFFFFFFu) {
        FUZZ_CHECK(plan.textId == 5 && plan.argCount == 1 && plan.args[0] == percent);
    } else if (plan.textId == 6) {
        FUZZ_CHECK(plan.argCount == 3 && plan.args[2] == percent);
        uint64_t shown = uint64_t{plan.args[0]} * 3600u + uint64_t{plan.args[1]} * 60u;
        FUZZ_CHECK(plan.args[0] > 0 && plan.args[1] < 60);
        // Leftover seconds are dropped, never rounded.
        FUZZ_CHECK(shown <= seconds && seconds - shown < 60);
    } else {
        FUZZ_CHECK(plan.textId == 7 && plan.argCount == 2 && plan.args[1] == percent);
        FUZZ_CHECK(seconds < 3600 && plan.args[0] == seconds / 60);
    }
    for (int german = 0; german < 2; ++german) {
        const char *form = kForms[german][plan.textId - 5];
        char tip[TIP_CAPACITY];
        uint32_t n = FormatCounts(tip, sizeof tip, form, plan.args, plan.argCount);
        char want[128];
        int wantLength = Reference(want, sizeof want, form, plan.args);
        // Every tip fits its 63 characters whole.
        FUZZ_CHECK(wantLength >= 0 && wantLength <= 34);
        FUZZ_CHECK(n == uint32_t(wantLength) && strcmp(tip, want) == 0);
    }
}

// A format made of the forms this program uses, so printf must agree.
size_t BuildFormat(FuzzBytes *in, char *format, size_t capacity, uint32_t *used)
{
    size_t n = 0;
    *used = 0;
    while (in->at < in->size && n + 5 < capacity) {
        uint8_t b = TakeByte(in);
        if (b < 16 && *used < 3) {
            format[n++] = '%';
            if (b >= 6) {
                format[n++] = '0';
                format[n++] = char('1' + b % 9);
            }
            format[n++] = 'u';
            ++*used;
        } else if (b < 24) {
            format[n++] = '%';
            format[n++] = '%';
        } else if (b != '%') {
            format[n++] = char(b);
        }
    }
    format[n] = '\0';
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    uint8_t percent = TakeByte(&in);
    uint32_t seconds = TakeU32(&in);
    CheckPlan(percent, seconds);

    uint32_t capacity = TakeByte(&in);
    uint32_t args[3] = {TakeU32(&in), TakeU32(&in), TakeU32(&in)};
    bool raw = TakeByte(&in) & 1;

    char format[512];
    uint32_t argCount = 0;
    if (raw) {
        PeekRest(&in, format, sizeof format);
        argCount = TakeByte(&in) % 4;
    } else {
        BuildFormat(&in, format, sizeof format, &argCount);
    }

    // The output lives in a buffer of exactly capacity bytes, so ASan sees
    // any write past it.
    char *out = capacity ? static_cast<char *>(malloc(capacity)) : nullptr;
    uint32_t n = FormatCounts(out, capacity, format, args, argCount);
    if (capacity == 0) {
        FUZZ_CHECK(n == 0);
        return 0;
    }
    FUZZ_CHECK(n < capacity && strlen(out) == n);
    if (!raw) {
        char want[2048];
        int wantLength = Reference(want, sizeof want, format, args);
        FUZZ_CHECK(wantLength >= 0 && size_t(wantLength) < sizeof want);
        // Cut to the buffer, never past it.
        size_t expected = size_t(wantLength) < capacity - 1 ? size_t(wantLength) : capacity - 1;
        FUZZ_CHECK(n == expected && memcmp(out, want, n) == 0);
    }
    free(out);
    return 0;
}
