// Event log lines for any time, status values, event text and buffer size:
// a full line reads back as what was logged, a short buffer holds its start.
#include <stdio.h>

#include "log/event_log.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// "YYYY-MM-DD, hh:mm:ss, " with every number zero-padded to two digits.
const char *CheckTime(const char *line, const LogTime &t)
{
    char want[80];
    int n = snprintf(want, sizeof want, "%02u-%02u-%02u, %02u:%02u:%02u, ", unsigned{t.year},
                     unsigned{t.month}, unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute},
                     unsigned{t.second});
    FUZZ_CHECK(n > 0 && strncmp(line, want, size_t(n)) == 0);
    return line + n;
}

uint8_t FlagsFromNames(const char *text, size_t length)
{
    static const char *const names[] = {"HIGH", "LOW", "CRITICAL", "CHARGING", "NO_BATTERY"};
    static const uint8_t bits[] = {1, 2, 4, 8, 128};
    uint8_t flags = 0;
    int last = -1;
    size_t at = 0;
    while (at < length) {
        const char *bar = static_cast<const char *>(memchr(text + at, '|', length - at));
        size_t end = bar ? size_t(bar - text) : length;
        int found = -1;
        for (int k = 0; k < 5; ++k)
            if (strlen(names[k]) == end - at && strncmp(text + at, names[k], end - at) == 0)
                found = k;
        FUZZ_CHECK(found > last);  // known names, in bit order, no repeats
        last = found;
        flags = uint8_t(flags | bits[found]);
        at = end + 1;
        FUZZ_CHECK(!bar || at < length);  // no trailing "|"
    }
    return flags;
}

void CheckStatus(const char *fields, uint8_t percent, uint8_t mains, uint8_t flags)
{
    // "percent, mains, flags\n"
    const char *a = strstr(fields, ", ");
    FUZZ_CHECK(a);
    const char *b = strstr(a + 2, ", ");
    FUZZ_CHECK(b);
    size_t length = strlen(fields);
    FUZZ_CHECK(length > 0 && fields[length - 1] == '\n');
    const char *flagText = b + 2;
    size_t flagLength = size_t(fields + length - 1 - flagText);

    char want[40];
    if (percent == 255)
        snprintf(want, sizeof want, "UNKNOWN");
    else
        snprintf(want, sizeof want, "%u", unsigned{percent});
    FUZZ_CHECK(size_t(a - fields) == strlen(want) && strncmp(fields, want, strlen(want)) == 0);

    static const char *const mainsNames[] = {"OFFLINE", "ONLINE", "BACKUP"};
    if (mains == 255)
        snprintf(want, sizeof want, "UNKNOWN");
    else if (mains < 3)
        snprintf(want, sizeof want, "%s", mainsNames[mains]);
    else
        snprintf(want, sizeof want, "%u", unsigned{mains});
    FUZZ_CHECK(size_t(b - (a + 2)) == strlen(want) && strncmp(a + 2, want, strlen(want)) == 0);

    if (flags == 255)
        FUZZ_CHECK(flagLength == 7 && strncmp(flagText, "UNKNOWN", 7) == 0);
    else if (flags == 0)
        FUZZ_CHECK(flagLength == 1 && flagText[0] == '-');
    else
        FUZZ_CHECK(FlagsFromNames(flagText, flagLength) == (flags & 0x8F));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    LogTime t;
    t.year = uint16_t(TakeByte(&in) | TakeByte(&in) << 8);
    t.month = TakeByte(&in);
    t.day = TakeByte(&in);
    t.hour = TakeByte(&in);
    t.minute = TakeByte(&in);
    t.second = TakeByte(&in);
    uint8_t percent = TakeByte(&in), mains = TakeByte(&in), flags = TakeByte(&in);
    uint32_t code = TakeU32(&in);
    size_t capacity = TakeByte(&in);

    const char *eventText = PowerEventText(code);
    if (code != 2 && code != 4 && code != 6 && code != 7 && code != 18)
        FUZZ_CHECK(eventText == nullptr);
    else
        FUZZ_CHECK(eventText && strlen(eventText) > 0);

    char text[200];
    PeekRest(&in, text, sizeof text);

    char full[LOG_LINE_CAPACITY + 256];
    size_t statusLength = FormatStatusLine(full, LOG_LINE_CAPACITY, &t, percent, mains, flags);
    FUZZ_CHECK(statusLength == strlen(full) && statusLength < LOG_LINE_CAPACITY);
    CheckStatus(CheckTime(full, t), percent, mains, flags);

    // Exactly capacity bytes, so ASan sees a write past them.
    char *out = static_cast<char *>(malloc(capacity ? capacity : 1));
    if (capacity > 0) {
        size_t m = FormatStatusLine(out, capacity, &t, percent, mains, flags);
        FUZZ_CHECK(m < capacity && strlen(out) == m && strncmp(out, full, m) == 0);
        FUZZ_CHECK(m == (statusLength < capacity ? statusLength : capacity - 1));
    }

    const char *event = eventText ? eventText : text;
    size_t eventLength = FormatEventLine(full, sizeof full, &t, event);
    FUZZ_CHECK(eventLength == strlen(full));
    const char *rest = CheckTime(full, t);
    FUZZ_CHECK(strncmp(rest, event, strlen(event)) == 0 && strcmp(rest + strlen(event), "\n") == 0);
    if (capacity > 0) {
        size_t m = FormatEventLine(out, capacity, &t, event);
        FUZZ_CHECK(m < capacity && strlen(out) == m && strncmp(out, full, m) == 0);
    }
    free(out);
    return 0;
}
