#include <gtest/gtest.h>
#include <stdint.h>
#include <string>

#include "power/capacity.h"

namespace {

std::string Milli(int64_t value)
{
    char out[32];
    FormatMilli(value, out, sizeof out);
    return out;
}

TEST(CapacityReport, FiguresRoundHalvesAwayFromZeroWithAPoint)
{
    EXPECT_EQ(Milli(48840), "48.84");
    EXPECT_EQ(Milli(0), "0.00");
    EXPECT_EQ(Milli(-15000), "-15.00");
    EXPECT_EQ(Milli(15000), "15.00");
    EXPECT_EQ(Milli(125), "0.13");
    EXPECT_EQ(Milli(-125), "-0.13");
    EXPECT_EQ(Milli(124), "0.12");
    EXPECT_EQ(Milli(-4), "0.00");
    EXPECT_EQ(Milli(995), "1.00");
    EXPECT_EQ(Milli(4294967294LL), "4294967.29");
    EXPECT_EQ(Milli(-2147483647LL), "-2147483.65");
    EXPECT_EQ(Milli(INT32_MIN), "-2147483.65");
    // Beyond 32 bits the whole part keeps every digit on every platform.
    EXPECT_EQ(Milli(123456789012345LL), "123456789012.35");
    EXPECT_EQ(Milli(INT64_MIN), "-9223372036854775.81");
    EXPECT_EQ(Milli(INT64_MAX), "9223372036854775.81");
}

TEST(CapacityReport, FormatTakesTheFourFiguresInOrderUnknownAsZero)
{
    const char format[] = "Maximum Capacity: %.2f Wh\r\nRemaining Capacity: %.2f Wh\r\n"
                          "Critical Capacity: %.2f Wh\r\nCharging Rate: %.2f W";
    CapacityFigures figures = {48840, 0, 125, -15000};
    char out[256];
    FillCapacityReport(format, &figures, out, sizeof out);
    EXPECT_STREQ(out, "Maximum Capacity: 48.84 Wh\r\nRemaining Capacity: 0.00 Wh\r\n"
                      "Critical Capacity: 0.13 Wh\r\nCharging Rate: -15.00 W");
    figures = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, INT32_MIN};
    FillCapacityReport("%.2f|%.2f|%.2f|%.2f|%.2f %% %d", &figures, out, sizeof out);
    EXPECT_STREQ(out, "0.00|0.00|0.00|0.00|0.00 % %d");
    // German texts keep the point.
    figures = {15000, 7500, 500, 15000};
    FillCapacityReport("Ladeleistung: %.2f W", &figures, out, sizeof out);
    EXPECT_STREQ(out, "Ladeleistung: 15.00 W");
    char small[8];
    EXPECT_EQ(FillCapacityReport("Max: %.2f Wh", &figures, small, sizeof small), 7u);
    EXPECT_STREQ(small, "Max: 15");
}

}  // namespace
