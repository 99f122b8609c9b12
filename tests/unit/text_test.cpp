#include <gtest/gtest.h>

#include <string.h>

#include "app/text.h"

namespace {

TEST(Language, EveryGermanVarietyAndNothingElse)
{
    const uint16_t german[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, 0x0007, 0xFC07};
    for (uint16_t id : german)
        EXPECT_TRUE(IsGermanLanguage(id)) << std::hex << id;
    const uint16_t other[] = {0x0409, 0x040C, 0x0809, 0x0413, 0x0000, 0x0406, 0x0408, 0x0417};
    for (uint16_t id : other)
        EXPECT_FALSE(IsGermanLanguage(id)) << std::hex << id;
}

TEST(Language, ResourceNumbering)
{
    EXPECT_EQ(LocalisedStringId(1, true), 401);
    EXPECT_EQ(LocalisedStringId(15, true), 415);
    EXPECT_EQ(LocalisedStringId(1, false), 801);
    EXPECT_EQ(LocalisedStringId(15, false), 815);
    EXPECT_EQ(MainDialogId(true), 400);
    EXPECT_EQ(MainDialogId(false), 800);
}

TEST(FormatUnsigned, WritesDecimalWithinItsBuffer)
{
    char buf[11];
    EXPECT_EQ(FormatUnsigned(buf, sizeof buf, 4294967295u), 10u);
    EXPECT_STREQ(buf, "4294967295");
    EXPECT_EQ(FormatUnsigned(buf, sizeof buf, 0), 1u);
    EXPECT_STREQ(buf, "0");

    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(FormatUnsigned(buf, 4, 12345), 0u);  // does not fit: empty, not cut
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(buf[4], 'x');
    EXPECT_EQ(FormatUnsigned(buf, 0, 1), 0u);
}

}  // namespace
