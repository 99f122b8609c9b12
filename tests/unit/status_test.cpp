#include <gtest/gtest.h>

#include "power/status.h"

namespace {

PowerSample Sample(uint8_t ac, uint8_t flag, uint8_t percent, uint32_t life)
{
    PowerSample s = {ac, flag, percent, life};
    return s;
}

TEST(StatusChange, FirstRealSampleAlwaysCounts)
{
    PowerSample snap = UnknownSample();
    PowerSample s = Sample(0, 2, 9, 1620);
    StatusChange c = CompareWithSnapshot(&snap, &s);
    EXPECT_TRUE(c.picture);
    EXPECT_TRUE(c.lifetime);
}

TEST(StatusChange, RemainingTimeAloneTouchesOnlyTheTooltip)
{
    PowerSample snap = Sample(0, 1, 80, 7200);
    PowerSample s = Sample(0, 1, 80, 7140);
    StatusChange c = CompareWithSnapshot(&snap, &s);
    EXPECT_FALSE(c.picture);
    EXPECT_TRUE(c.lifetime);
    UpdateSnapshot(&snap, &s, c);
    EXPECT_EQ(snap.batteryLifeTime, 7140u);
    EXPECT_EQ(snap.batteryLifePercent, 80);
}

TEST(StatusChange, PercentFlagOrMainsEachChangeThePicture)
{
    const PowerSample snap = Sample(0, 1, 80, 7200);
    const PowerSample changed[] = {Sample(0, 1, 79, 7200), Sample(0, 9, 80, 7200),
                                   Sample(1, 1, 80, 7200)};
    for (const PowerSample &s : changed) {
        StatusChange c = CompareWithSnapshot(&snap, &s);
        EXPECT_TRUE(c.picture);
        EXPECT_FALSE(c.lifetime);
        PowerSample copy = snap;
        UpdateSnapshot(&copy, &s, c);
        EXPECT_EQ(copy.acLineStatus, s.acLineStatus);
        EXPECT_EQ(copy.batteryFlag, s.batteryFlag);
        EXPECT_EQ(copy.batteryLifePercent, s.batteryLifePercent);
    }
    PowerSample same = snap;
    StatusChange none = CompareWithSnapshot(&snap, &same);
    EXPECT_FALSE(none.picture);
    EXPECT_FALSE(none.lifetime);
}

TEST(StatusChange, UpdateTakesOnlyWhatChanged)
{
    PowerSample snap = Sample(0, 1, 80, 7200);
    PowerSample s = Sample(1, 8, 81, 100);
    StatusChange onlyPicture = {true, false};
    UpdateSnapshot(&snap, &s, onlyPicture);
    EXPECT_EQ(snap.batteryLifePercent, 81);
    EXPECT_EQ(snap.batteryLifeTime, 7200u);
}

// Feeds a run of levels through the latch and returns which of them alerted.
std::vector<int> Alerts(uint8_t threshold, std::initializer_list<int> levels, bool latched = false)
{
    std::vector<int> shown;
    for (int level : levels)
        if (StepAlert(&latched, static_cast<uint8_t>(level), threshold))
            shown.push_back(level);
    return shown;
}

TEST(AlertLatch, ThresholdNineShowsOnceAndRearmsAboveTwelve)
{
    EXPECT_EQ(Alerts(9, {11, 10}), std::vector<int>{});
    EXPECT_EQ(Alerts(9, {10, 9, 9, 8, 0}), std::vector<int>{9});
    // 12 is within the hysteresis: no re-arm.
    EXPECT_EQ(Alerts(9, {9, 12, 9, 10, 11, 12, 7}), std::vector<int>{9});
    EXPECT_EQ(Alerts(9, {9, 13, 10, 9}), (std::vector<int>{9, 9}));
    EXPECT_EQ(Alerts(9, {9, 100, 5}), (std::vector<int>{9, 5}));
}

TEST(AlertLatch, ThresholdZeroShowsOnlyAtZero)
{
    EXPECT_EQ(Alerts(0, {5, 3, 1, 0, 0, 2, 3}), std::vector<int>{0});
    EXPECT_EQ(Alerts(0, {0, 4, 0}), (std::vector<int>{0, 0}));
}

TEST(AlertLatch, UnknownLevelNeitherAlertsNorRearms)
{
    EXPECT_EQ(Alerts(9, {255, 255}), std::vector<int>{});
    EXPECT_EQ(Alerts(9, {9, 255, 9}), std::vector<int>{9});
    bool latched = true;
    EXPECT_FALSE(StepAlert(&latched, 255, 9));
    EXPECT_TRUE(latched);
}

TEST(AlertLatch, OffThresholdKeepsTheLatch)
{
    EXPECT_EQ(Alerts(255, {0, 5, 99}), std::vector<int>{});
    bool latched = true;
    StepAlert(&latched, 100, 255);
    EXPECT_TRUE(latched);
    latched = false;
    StepAlert(&latched, 0, 255);
    EXPECT_FALSE(latched);
}

TEST(AlertLatch, HighThresholdDoesNotOverflowTheRearmLimit)
{
    // 99 + 3 = 102 lies above any real level: once shown, no re-arm by level.
    EXPECT_EQ(Alerts(99, {99, 100, 99}), std::vector<int>{99});
}

}  // namespace
