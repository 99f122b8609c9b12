#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "ui/tray_tip.h"

namespace {

const char *const kEnglish[] = {"", "", "", "", "", "Battery power remaining: %u%%",
                                "%u:%02u h (%u%%) remaining", "%u min (%u%%) remaining"};
const char *const kGerman[] = {"", "", "", "", "", "Batteriestand: %u%%",
                               "%u:%02u Std. (%u%%) verbleibend", "%u Min. (%u%%) verbleibend"};

std::string Tip(uint8_t percent, uint32_t seconds, const char *const *texts = kEnglish)
{
    TipPlan plan = PlanTrayTip(percent, seconds);
    if (plan.textId == 0)
        return "Battery Meter";
    char out[TIP_CAPACITY];
    FormatCounts(out, sizeof out, texts[plan.textId], plan.args, plan.argCount);
    return out;
}

TEST(TrayTip, ChoosesTheFormByTheRemainingTime)
{
    EXPECT_EQ(Tip(57, 7500), "2:05 h (57%) remaining");
    EXPECT_EQ(Tip(57, 7500, kGerman), "2:05 Std. (57%) verbleibend");
    EXPECT_EQ(Tip(57, 3600), "1:00 h (57%) remaining");
    EXPECT_EQ(Tip(57, 3599), "59 min (57%) remaining");
    EXPECT_EQ(Tip(57, 59), "0 min (57%) remaining");
    EXPECT_EQ(Tip(57, 0), "0 min (57%) remaining");
    EXPECT_EQ(Tip(80, 0xFFFFFFFFu), "Battery power remaining: 80%");
    EXPECT_EQ(Tip(80, 0xFFFFFFFFu, kGerman), "Batteriestand: 80%");
    EXPECT_EQ(Tip(255, 7500), "Battery Meter");
    EXPECT_EQ(Tip(255, 0xFFFFFFFFu), "Battery Meter");
}

TEST(TrayTip, LongestTextsFitWhole)
{
    // 0xFFFFFFFE seconds: 1193046 hours; the longest German form.
    std::string t = Tip(100, 0xFFFFFFFEu, kGerman);
    EXPECT_EQ(t, "1193046:28 Std. (100%) verbleibend");
    EXPECT_LT(t.size(), static_cast<size_t>(TIP_CAPACITY));
}

TEST(FormatCounts, StaysInsideItsBufferAndTerminates)
{
    const uint32_t args[3] = {4294967295u, 7, 100};
    char out[8];
    memset(out, 'x', sizeof out);
    uint32_t n = FormatCounts(out, 5, "%u:%02u", args, 3);
    EXPECT_EQ(n, 4u);
    EXPECT_STREQ(out, "4294");
    EXPECT_EQ(out[5], 'x');
    EXPECT_EQ(FormatCounts(out, 0, "%u", args, 3), 0u);
    EXPECT_EQ(out[0], '4');  // untouched
}

TEST(FormatCounts, UnknownOrUnfedFormsAreShownLiterally)
{
    const uint32_t args[1] = {5};
    char out[64];
    FormatCounts(out, sizeof out, "%s %d %u %u 100%", args, 1);
    EXPECT_STREQ(out, "%s %d 5 %u 100%");
    FormatCounts(out, sizeof out, "%03u|%%", args, 1);
    EXPECT_STREQ(out, "005|%");
}

}  // namespace
