// The graph's duration texts for any number of seconds, format and buffer.
//
// Input: 4 bytes of seconds, a capacity byte, then the format text.
#include "tests/fuzz/fuzz_check.h"
#include "ui/graph.h"

namespace {

// The number and unit must say the duration: exact below 10 minutes and on
// whole hours below 10 hours, else to the nearest minute (below 10 hours) or
// hour, halves up.
void CheckDuration(uint32_t s, const char *text)
{
    char *end = nullptr;
    unsigned long n = strtoul(text, &end, 10);
    FUZZ_CHECK(end != text && static_cast<unsigned char>(*end) == 0xA0);
    const char *unit = end + 1;
    uint64_t v = n;
    if (strncmp(unit, "min", 3) == 0) {
        if (s < 600) {
            FUZZ_CHECK(s % 60 == 0 && v * 60 == s);
        } else {
            FUZZ_CHECK(s < 36000 && s % 3600 != 0);
            FUZZ_CHECK(v * 60 <= uint64_t{s} + 30 && uint64_t{s} < v * 60 + 30);
        }
    } else if (strncmp(unit, "h", 1) == 0) {
        FUZZ_CHECK(s >= 600);
        if (s < 36000)
            FUZZ_CHECK(s % 3600 == 0 && v * 3600 == s);
        else
            FUZZ_CHECK(v * 3600 <= uint64_t{s} + 1800 && uint64_t{s} < v * 3600 + 1800);
    } else {
        FUZZ_CHECK(unit[0] == 's' && s < 600 && s % 60 != 0 && v == s);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    uint32_t seconds = TakeU32(&in);
    size_t capacity = TakeByte(&in);
    char format[300];
    PeekRest(&in, format, sizeof format);

    char dummy[4];
    FUZZ_CHECK(!FormatDuration(nullptr, sizeof dummy, format, seconds));
    FUZZ_CHECK(!FormatDuration(dummy, sizeof dummy, nullptr, seconds));

    // Exactly capacity bytes, so ASan sees a write past them.
    char *out = static_cast<char *>(malloc(capacity ? capacity : 1));
    bool done = FormatDuration(out, capacity, format, seconds);
    if (capacity > 0) {
        FUZZ_CHECK(done);
        FUZZ_CHECK(memchr(out, 0, capacity) != nullptr);
    }

    char full[512];
    FUZZ_CHECK(FormatDuration(full, sizeof full, format, seconds));
    const char *mark = strstr(format, "%s");
    if (!mark) {
        FUZZ_CHECK(strcmp(full, format) == 0);
    } else {
        size_t head = size_t(mark - format);
        FUZZ_CHECK(strncmp(full, format, head) == 0);
        CheckDuration(seconds, full + head);
        const char *tail = mark + 2;
        size_t length = strlen(full), tailLength = strlen(tail);
        FUZZ_CHECK(length >= tailLength && strcmp(full + length - tailLength, tail) == 0);
    }
    // A short buffer holds the start of the whole text.
    if (capacity > 0) {
        size_t shown = strlen(out);
        FUZZ_CHECK(shown < capacity && strncmp(out, full, shown) == 0);
        FUZZ_CHECK(shown == (strlen(full) < capacity ? strlen(full) : capacity - 1));
    }
    free(out);
    return 0;
}
