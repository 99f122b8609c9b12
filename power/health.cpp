// The health record and its report lines. The record is only ever read from
// its end and added to by whole lines: whatever else stands in it stays.
#include "power/health.h"

#include <stdio.h>
#include <string.h>

#include "app/text.h"
#include "platform/files.h"
#include "power/capacity.h"

static const char kHeader[] = "Date, FullChargeCapacity, DesignCapacity, CycleCount\r\n";
// Far more than any line the meter writes; a longer line is damage.
enum { LINE_CAPACITY = 128, DATE_CAPACITY = 20 };

HealthFigures CombineBatteries(uint32_t maxCapacity, const BatteryInformationRecord *batteries,
                               uint32_t count)
{
    uint64_t design = 0, cycles = 0;
    bool designKnown = true, cyclesKnown = true, relative = false;
    for (uint32_t i = 0; i < count; ++i) {
        const BatteryInformationRecord &b = batteries[i];
        if (!(b.capabilities & BATTERY_CAPS_SYSTEM))
            continue;  // a UPS is no part of the notebook's battery
        relative = relative || (b.capabilities & BATTERY_CAPS_RELATIVE);
        designKnown = designKnown && b.designedCapacity;
        cyclesKnown = cyclesKnown && b.cycleCount;
        design += b.designedCapacity;
        cycles += b.cycleCount;
    }
    HealthFigures f;
    f.fullCharge = relative || maxCapacity == CAPACITY_UNKNOWN ? 0 : maxCapacity;
    f.design = designKnown && !relative && design <= UINT32_MAX ? uint32_t(design) : 0;
    f.cycles = cyclesKnown && cycles <= UINT32_MAX ? uint32_t(cycles) : 0;
    return f;
}

int32_t DayNumber(const HealthDate *d)
{
    static const uint8_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int32_t y = d->year, m = d->month;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d->day < 1 ||
        d->day > kDays[m - 1] + (m == 2 && leap))
        return HEALTH_NO_DAY;
    // Years counted from March, so that the leap day ends one.
    const int32_t shifted = y - (m <= 2), era = shifted / 400, yearOfEra = shifted - era * 400;
    const int32_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d->day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

static void FormatDate(const HealthDate *d, char *out)
{
    snprintf(out, DATE_CAPACITY, "%04u-%02u-%02u", unsigned{d->year}, unsigned{d->month},
             unsigned{d->day});
}

static bool Blank(char c) { return c == ' ' || c == '\t'; }

// A decimal number within 32 bits: exactly digits digits, or with digits 0
// any count after blanks. Null when there is none.
static const char *ReadNumber(const char *p, uint32_t digits, uint32_t *value)
{
    while (!digits && Blank(*p))
        ++p;
    uint64_t v = 0;
    uint32_t n = 0;
    for (; *p >= '0' && *p <= '9' && n <= 10; ++p, ++n)
        v = v * 10u + uint32_t(*p - '0');
    if (n == 0 || (digits && n != digits) || v > UINT32_MAX)
        return nullptr;
    *value = uint32_t(v);
    return p;
}

// "YYYY-MM-DD, full, design, cycles", maybe followed by more fields; false
// for anything else, a date that does not exist among it.
static bool ParseLine(const char *p, HealthDate *date, int32_t *day, uint32_t *full)
{
    static const char kSeparators[] = "--,,,";
    static const uint8_t kDigits[6] = {4, 2, 2, 0, 0, 0};
    uint32_t field[6];
    for (int i = 0; i < 6; ++i) {
        while (i > 2 && Blank(*p))
            ++p;
        if ((i > 0 && *p++ != kSeparators[i - 1]) || !(p = ReadNumber(p, kDigits[i], &field[i])))
            return false;
    }
    while (Blank(*p) || *p == '\r')
        ++p;
    date->year = uint16_t(field[0]);
    date->month = uint16_t(field[1]);
    date->day = uint16_t(field[2]);
    *day = DayNumber(date);
    *full = field[3];
    return (*p == '\0' || *p == ',') && *day != HEALTH_NO_DAY;
}

// One line of length bytes, its end cut off; a line too long or with a NUL
// in it is damage.
static void TakeLine(HealthScan *scan, char *text, size_t length, int64_t today)
{
    HealthDate date;
    int32_t day;
    uint32_t full;
    if (length >= LINE_CAPACITY)
        return;
    text[length] = '\0';
    if (strlen(text) != length || !ParseLine(text, &date, &day, &full))
        return;
    scan->lastDay = day;
    const int64_t age = today - day;
    if (age >= 7 && age <= 365 && full &&
        (!scan->trendCapacity || day < DayNumber(&scan->trendDate))) {
        scan->trendDate = date;
        scan->trendCapacity = full;
    }
}

void ScanHealthRecord(const char *path, int32_t today, HealthScan *scan)
{
    *scan = HealthScan{HEALTH_NO_DAY, {0, 0, 0}, 0, true, false};
    FILE *f = fopen(path, "rb");
    if (!f)
        return;
    // A longer record is read from the first line that starts within its
    // last bytes; a size past 2 GiB cannot be told, but sought from the end.
    const long size = fseek(f, 0, SEEK_END) == 0 ? ftell(f) : 0;
    bool passOver = (size < 0 || size > HEALTH_TAIL_BYTES) && fseek(f, -HEALTH_TAIL_BYTES, SEEK_END) == 0;
    if (!passOver)
        rewind(f);
    char line[LINE_CAPACITY], block[512];
    size_t length = 0, got;
    while ((got = fread(block, 1, sizeof block, f)) > 0) {
        scan->blank = false;
        for (size_t i = 0; i < got; ++i) {
            if (block[i] != '\n') {
                if (length < LINE_CAPACITY)
                    line[length] = block[i];
                length += length < LINE_CAPACITY;
                continue;
            }
            if (!passOver)
                TakeLine(scan, line, length, today);
            passOver = false;
            length = 0;
        }
    }
    fclose(f);
    scan->openLine = length > 0;
    if (length > 0 && !passOver)
        TakeLine(scan, line, length, today);
}

void StepHealthRecord(const char *path, const HealthDate *today, const HealthFigures *figures,
                      int32_t *recordedDay)
{
    const int32_t day = DayNumber(today);
    if (day == HEALTH_NO_DAY || day == *recordedDay || !figures->fullCharge)
        return;
    *recordedDay = day;
    HealthScan scan;
    ScanHealthRecord(path, day, &scan);
    // A read-only record or a folder in its place takes nothing; Windows
    // refuses them, the native build's tests run where nothing would.
    if (scan.lastDay == day || Unwritable(path))
        return;
    char date[DATE_CAPACITY], text[sizeof kHeader + 2 + LINE_CAPACITY];
    FormatDate(today, date);
    const int n = snprintf(text, sizeof text, "%s%s%s, %u, %u, %u\r\n", scan.blank ? kHeader : "",
                           scan.openLine ? "\r\n" : "", date, unsigned{figures->fullCharge},
                           unsigned{figures->design}, unsigned{figures->cycles});
    // One write of whole lines, at the end whatever the file holds.
    FILE *f = fopen(path, "ab");
    if (!f)
        return;
    fwrite(text, 1, size_t(n), f);
    fclose(f);
}

uint32_t HealthPercent(uint32_t full, uint32_t design)
{
    return uint32_t((uint64_t{full} * 200u + design) / (uint64_t{design} * 2u));
}

int64_t ChangeTenths(uint32_t then, uint32_t now)
{
    const bool fell = now < then;
    const uint64_t difference = fell ? then - now : now - then;
    const int64_t tenths = int64_t((difference * 2000u + then) / (uint64_t{then} * 2u));
    return fell ? -tenths : tenths;
}

// A line break and format, each "%s" taken from the next of count texts.
static size_t AppendLine(char *out, size_t length, size_t capacity, const char *format,
                         const char *const *texts, size_t count)
{
    size_t next = 0;
    auto put = [&](const char *text, size_t n) {
        for (; n-- && *text && length + 1 < capacity; ++text)
            out[length++] = *text;
    };
    put("\r\n", 2);
    for (const char *p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && next < count) {
            put(texts[next++], SIZE_MAX);
            ++p;
            continue;
        }
        put(p, 1);
        p += p[0] == '%' && p[1] == '%';
    }
    out[length] = '\0';
    return length;
}

size_t AppendHealthLines(char *out, size_t length, size_t capacity,
                         const char *const formats[HEALTH_LINES], const HealthFigures *now,
                         const HealthScan *record)
{
    if (length >= capacity)
        return length;
    char number[32], date[DATE_CAPACITY], change[32];
    const char *const texts[1] = {number};
    if (now->design) {
        FormatMilli(now->design, number, sizeof number);
        length = AppendLine(out, length, capacity, formats[0], texts, 1);
    }
    if (now->design && now->fullCharge) {
        FormatUnsigned(number, sizeof number, HealthPercent(now->fullCharge, now->design));
        length = AppendLine(out, length, capacity, formats[1], texts, 1);
    }
    if (now->cycles) {
        FormatUnsigned(number, sizeof number, now->cycles);
        length = AppendLine(out, length, capacity, formats[2], texts, 1);
    }
    if (now->fullCharge && record->trendCapacity) {
        const int64_t tenths = ChangeTenths(record->trendCapacity, now->fullCharge);
        const uint64_t magnitude = uint64_t(tenths < 0 ? -tenths : tenths);
        snprintf(change, sizeof change, "%s%u.%u", tenths < 0 ? "-" : tenths ? "+" : "",
                 unsigned(magnitude / 10u), unsigned(magnitude % 10u));
        FormatDate(&record->trendDate, date);
        FormatMilli(record->trendCapacity, number, sizeof number);
        const char *const trend[3] = {date, number, change};
        length = AppendLine(out, length, capacity, formats[3], trend, 3);
    }
    return length;
}
