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

// "YYYY-MM-DD, full, design, cycles", maybe with more after; false for
// anything else and for a date that does not exist.
static bool ParseLine(const char *text, HealthDate *date, int32_t *day, uint32_t *full)
{
    unsigned year, month, dayOfMonth, design, cycles;
    // A number past 32 bits reads as another one: the record is only read,
    // such damage can cost at most a wrong trend.
    if (sscanf(text, "%4u-%2u-%2u ,%u ,%u ,%u", &year, &month, &dayOfMonth, full, &design,  // NOLINT(cert-err34-c)
               &cycles) != 6)
        return false;
    *date = HealthDate{uint16_t(year), uint16_t(month), uint16_t(dayOfMonth)};
    *day = DayNumber(date);
    return *day != HEALTH_NO_DAY;
}

// One line of length bytes, its end cut off; a line too long (length is
// LINE_CAPACITY) is damage.
static void TakeLine(HealthScan *scan, char *text, size_t length, int64_t today)
{
    HealthDate date;
    int32_t day;
    uint32_t full;
    if (length >= LINE_CAPACITY)
        return;
    text[length] = '\0';
    if (!ParseLine(text, &date, &day, &full))
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
    // last bytes; a shorter one, where that seek fails, whole.
    bool passOver = fseek(f, -HEALTH_TAIL_BYTES, SEEK_END) == 0;
    if (!passOver)
        fseek(f, 0, SEEK_SET);
    char line[LINE_CAPACITY];
    size_t length = 0;
    for (int c; (c = fgetc(f)) != EOF;) {
        scan->blank = false;
        if (c != '\n') {
            if (length < LINE_CAPACITY)
                line[length++] = char(c);
            continue;
        }
        if (!passOver)
            TakeLine(scan, line, length, today);
        passOver = false;
        length = 0;
    }
    fclose(f);
    scan->openLine = length > 0;
    if (length > 0 && !passOver)
        TakeLine(scan, line, length, today);
}

void StepHealthRecord(const char *path, const HealthDate *today, int32_t *recordedDay,
                      bool (*readFigures)(HealthFigures *figures))
{
    const int32_t day = DayNumber(today);
    if (day == HEALTH_NO_DAY || day == *recordedDay)
        return;
    HealthScan scan;
    HealthFigures figures;
    ScanHealthRecord(path, day, &scan);
    if (scan.lastDay != day) {
        if (!readFigures(&figures))
            return;  // the next poll asks again
        // A read-only record or a folder in its place takes nothing; Windows
        // refuses them, the native build's tests run where nothing would.
        // Without a full charge (relative capacities) there is no line today.
        FILE *f = figures.fullCharge && !Unwritable(path) ? fopen(path, "ab") : nullptr;
        if (f) {
            // One write of whole lines, at the end whatever the file holds.
            fprintf(f, "%s%s%04u-%02u-%02u, %u, %u, %u\r\n", scan.blank ? kHeader : "",
                    scan.openLine ? "\r\n" : "", unsigned{today->year}, unsigned{today->month},
                    unsigned{today->day}, unsigned{figures.fullCharge}, unsigned{figures.design},
                    unsigned{figures.cycles});
            fclose(f);
        }
    }
    *recordedDay = day;
}

uint32_t HealthPercent(uint32_t full, uint32_t design)
{
    return uint32_t((uint64_t{full} * 200u + design) / (uint64_t{design} * 2u));
}

int64_t ChangeTenths(uint32_t then, uint32_t now)
{
    const uint64_t difference = now < then ? then - now : now - then;
    const int64_t tenths = int64_t((difference * 2000u + then) / (uint64_t{then} * 2u));
    return now < then ? -tenths : tenths;
}

// Tenths of a percent with one decimal and a sign: as hundredths ("-6.30")
// with the last digit dropped, a growth with a "+" in front.
static void FormatChange(int64_t tenths, char *out, size_t capacity)
{
    out[0] = '+';
    FormatMilli(tenths * 100, out + (tenths > 0), capacity - 1);
    out[strlen(out) - 1] = '\0';
}

size_t AppendHealthLines(char *out, size_t length, size_t capacity, const char *format,
                         const HealthFigures *now, const HealthScan *record)
{
    const uint32_t full = now->fullCharge, design = now->design, then = record->trendCapacity;
    char texts[6][24];  // in the order of the format's "%s" fields
    FormatMilli(design, texts[0], sizeof texts[0]);
    FormatUnsigned(texts[1], sizeof texts[1], design ? HealthPercent(full, design) : 0);
    FormatUnsigned(texts[2], sizeof texts[2], now->cycles);
    FormatDate(&record->trendDate, texts[3]);
    FormatMilli(then, texts[4], sizeof texts[4]);
    FormatChange(then ? ChangeTenths(then, full) : 0, texts[5], sizeof texts[5]);
    const bool known[HEALTH_LINES] = {design != 0, design && full, now->cycles != 0, full && then};
    size_t line = 0, next = 0;
    bool fresh = true;  // nothing of this line written yet
    auto put = [&](const char *text, size_t n) {
        for (; n-- && *text && length + 1 < capacity; ++text)
            out[length++] = *text;
    };
    for (const char *p = format; *p && line < HEALTH_LINES && length < capacity; ++p) {
        const char *text = p;
        size_t n = 1;
        if (*p == '\n') {
            ++line;
            fresh = true;
            continue;
        }
        if (p[0] == '%' && p[1] == 's') {
            text = next < 6 ? texts[next++] : "";
            n = SIZE_MAX;
        }
        p += p[0] == '%' && (p[1] == 's' || p[1] == '%');
        if (!known[line])
            continue;
        if (fresh)
            put("\r\n", 2);
        fresh = false;
        put(text, n);
    }
    if (length < capacity)
        out[length] = '\0';
    return length;
}
