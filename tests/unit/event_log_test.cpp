#include <gtest/gtest.h>
#include <string.h>
#include <string>

#include "log/event_log.h"

namespace {

std::string Flags(uint8_t flag)
{
    char out[LOG_FIELD_CAPACITY];
    FormatLogFlags(flag, out, sizeof out);
    return out;
}

std::string Status(const LogTime &t, uint8_t percent, uint8_t mains, uint8_t flag)
{
    char out[LOG_LINE_CAPACITY];
    size_t n = FormatStatusLine(out, sizeof out, &t, percent, mains, flag);
    EXPECT_EQ(n, strlen(out));
    return out;
}

TEST(EventLogLines, FieldsRenderAsTheLogPromises)
{
    EXPECT_EQ(Flags(0), "-");
    EXPECT_EQ(Flags(9), "HIGH|CHARGING");
    EXPECT_EQ(Flags(136), "CHARGING|NO_BATTERY");
    EXPECT_EQ(Flags(255), "UNKNOWN");
    EXPECT_EQ(Flags(16), "");
    EXPECT_EQ(Flags(16 | 32 | 64 | 2), "LOW");
    const std::string all = Flags(1 | 2 | 4 | 8 | 128);
    EXPECT_EQ(all, "HIGH|LOW|CRITICAL|CHARGING|NO_BATTERY");
    EXPECT_EQ(all.size(), 37u);

    const LogTime t = {2011, 3, 5, 14, 8, 9};
    EXPECT_EQ(Status(t, 85, 1, 9), "2011-03-05, 14:08:09, 85, ONLINE, HIGH|CHARGING\n");
    EXPECT_EQ(Status(t, 7, 0, 0), "2011-03-05, 14:08:09, 7, OFFLINE, -\n");
    EXPECT_EQ(Status(t, 255, 255, 255), "2011-03-05, 14:08:09, UNKNOWN, UNKNOWN, UNKNOWN\n");
    EXPECT_EQ(Status(t, 100, 2, 16), "2011-03-05, 14:08:09, 100, BACKUP, \n");
    EXPECT_EQ(Status(t, 0, 3, 4), "2011-03-05, 14:08:09, 0, 3, CRITICAL\n");
}

TEST(EventLogLines, TimesAreZeroPaddedAndYearsKeepEveryDigit)
{
    char out[LOG_LINE_CAPACITY];
    const LogTime early = {2026, 1, 2, 0, 0, 7};
    FormatEventLine(out, sizeof out, &early, "Ampwatch started");
    EXPECT_STREQ(out, "2026-01-02, 00:00:07, Ampwatch started\n");
    const LogTime odd = {9, 12, 31, 23, 59, 59};
    FormatEventLine(out, sizeof out, &odd, "x");
    EXPECT_STREQ(out, "09-12-31, 23:59:59, x\n");
    const LogTime far = {12345, 10, 10, 10, 10, 10};
    FormatEventLine(out, sizeof out, &far, "x");
    EXPECT_STREQ(out, "12345-10-10, 10:10:10, x\n");
    // A small buffer cuts the line but keeps it terminated.
    char tiny[12];
    EXPECT_EQ(FormatEventLine(tiny, sizeof tiny, &early, "Ampwatch started"), 11u);
    EXPECT_STREQ(tiny, "2026-01-02,");
}

TEST(EventLogLines, OnlyFiveBroadcastsHaveALine)
{
    EXPECT_STREQ(PowerEventText(2), "Suspension request denied");
    EXPECT_STREQ(PowerEventText(4), "System is suspending operation");
    EXPECT_STREQ(PowerEventText(6), "Operation resuming after critical suspension");
    EXPECT_STREQ(PowerEventText(7), "Operation resuming after suspension");
    EXPECT_STREQ(PowerEventText(18), "Operation resuming automatically after event");
    for (uint32_t code : {0u, 1u, 3u, 5u, 8u, 9u, 10u, 11u, 17u, 19u, 0x8013u, 0xFFFFFFFFu})
        EXPECT_EQ(PowerEventText(code), nullptr) << code;
}

}  // namespace
