#include <gtest/gtest.h>

#include <map>
#include <string.h>
#include <string>

#include "app/settings.h"

namespace {

// Values as the platform's profile reader would deliver them: the raw 32-bit
// number for integers, the text for strings.
struct FakeProfile {
    std::map<std::string, uint32_t> ints;
    std::map<std::string, std::string> strings;
};

uint32_t FakeInt(const void *context, const char *key, uint32_t fallback)
{
    const FakeProfile *p = static_cast<const FakeProfile *>(context);
    auto it = p->ints.find(key);
    return it == p->ints.end() ? fallback : it->second;
}

void FakeString(const void *context, const char *key, const char *fallback, char *out,
                uint32_t capacity)
{
    const FakeProfile *p = static_cast<const FakeProfile *>(context);
    auto it = p->strings.find(key);
    std::string value = it == p->strings.end() ? fallback : it->second;
    size_t n = value.size() < capacity - 1 ? value.size() : capacity - 1;
    memcpy(out, value.data(), n);
    out[n] = '\0';
}

void Load(const FakeProfile &profile, uint32_t buttonText = 0x123456)
{
    ProfileReader reader = {&profile, FakeInt, FakeString};
    LoadSettings(&reader, buttonText);
}

TEST(LoadSettings, EmptyFileGivesDefaults)
{
    memset(&iconSettings, 0xAB, sizeof iconSettings);
    Load(FakeProfile{}, 0x00224466);
    EXPECT_FALSE(appGlobals.runHidden);
    EXPECT_FALSE(appGlobals.storedShowDetails);
    EXPECT_FALSE(appGlobals.logfile);
    EXPECT_EQ(appGlobals.interval, 60u);
    EXPECT_EQ(thresholds.alertThreshold, 9);
    EXPECT_EQ(thresholds.lowThreshold, 32);
    EXPECT_EQ(thresholds.criticalThreshold, 9);
    const IconFont &f = iconSettings.font;
    EXPECT_EQ(f.height, -9);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.italic, 0);
    EXPECT_EQ(f.pitchAndFamily, 34);
    EXPECT_STREQ(f.faceName, "Tahoma");
    // Everything not read is cleared, quality is non-antialiased.
    EXPECT_EQ(f.width, 0);
    EXPECT_EQ(f.escapement, 0);
    EXPECT_EQ(f.orientation, 0);
    EXPECT_EQ(f.underline, 0);
    EXPECT_EQ(f.strikeOut, 0);
    EXPECT_EQ(f.charSet, 0);
    EXPECT_EQ(f.outPrecision, 0);
    EXPECT_EQ(f.clipPrecision, 0);
    EXPECT_EQ(f.quality, 3);
    EXPECT_EQ(iconSettings.iconColor, 0x00224466u);
}

TEST(LoadSettings, FlagsAreAnyNonZero)
{
    FakeProfile p;
    p.ints = {{"RunHidden", 2}, {"ShowDetails", 0xFFFFFFFFu}, {"Logfile", 1}};
    Load(p);
    EXPECT_TRUE(appGlobals.runHidden);
    EXPECT_TRUE(appGlobals.storedShowDetails);
    EXPECT_TRUE(appGlobals.logfile);
}

TEST(LoadSettings, IntervalOutsideRangeFallsBack)
{
    const struct { uint32_t stored, expected; } cases[] = {
        {59, 60}, {60, 60}, {61, 61}, {360, 360}, {361, 60}, {0, 60},
        {static_cast<uint32_t>(-5), 60},  // negative text reads as a huge unsigned number
        {0x80000000u, 60}, {65536 + 120, 60},
    };
    for (const auto &c : cases) {
        FakeProfile p;
        p.ints["Interval"] = c.stored;
        Load(p);
        EXPECT_EQ(appGlobals.interval, c.expected) << "stored " << c.stored;
    }
}

TEST(LoadSettings, ThresholdsAreTruncatedToAByteBeforeTheRangeTest)
{
    const struct { uint32_t stored; uint8_t alert, low, critical; } cases[] = {
        {0, 0, 0, 0},
        {99, 99, 99, 99},
        {100, 9, 100, 100},
        {101, 9, 32, 9},
        {254, 9, 32, 9},
        {255, 255, 32, 9},  // 255 switches the alert off
        {300, 44, 44, 44},
        {355, 99, 99, 99},
        {356, 9, 100, 100},
        {511, 255, 32, 9},
        {static_cast<uint32_t>(-1), 255, 32, 9},
        {static_cast<uint32_t>(-156), 9, 100, 100},  // low byte 100
    };
    for (const auto &c : cases) {
        FakeProfile p;
        p.ints = {{"AlertThreshold", c.stored}, {"LowThreshold", c.stored},
                  {"CriticalThreshold", c.stored}};
        Load(p);
        EXPECT_EQ(thresholds.alertThreshold, c.alert) << "stored " << c.stored;
        EXPECT_EQ(thresholds.lowThreshold, c.low) << "stored " << c.stored;
        EXPECT_EQ(thresholds.criticalThreshold, c.critical) << "stored " << c.stored;
    }
}

TEST(LoadSettings, FontKeysAndColour)
{
    FakeProfile p;
    p.ints = {{"Height", static_cast<uint32_t>(-13)}, {"Weight", 700}, {"Italic", 0x101},
              {"PitchAndFamily", 0x1FF}, {"IconColor", 0xFF0000FFu}};
    p.strings["FaceName"] = "Liberation Sans";
    Load(p);
    EXPECT_EQ(iconSettings.font.height, -13);
    EXPECT_EQ(iconSettings.font.weight, 700);
    EXPECT_EQ(iconSettings.font.italic, 1);
    EXPECT_EQ(iconSettings.font.pitchAndFamily, 0xFF);
    EXPECT_STREQ(iconSettings.font.faceName, "Liberation Sans");
    // Bits above the 24 colour bits are cleared.
    EXPECT_EQ(iconSettings.iconColor, 0x000000FFu);
}

TEST(LoadSettings, FaceNameIsCutAtThirtyCharacters)
{
    FakeProfile p;
    p.strings["FaceName"] = std::string(40, 'x');
    Load(p);
    EXPECT_EQ(strlen(iconSettings.font.faceName), 30u);

    p.strings["FaceName"] = std::string(30, 'y');
    Load(p);
    EXPECT_EQ(std::string(iconSettings.font.faceName), std::string(30, 'y'));
}

std::string Str(const char *s) { return s; }

PathSet Derive(const std::string &module)
{
    PathSet paths;
    memset(&paths, 'Z', sizeof paths);
    DerivePaths(&paths, module.c_str(), static_cast<uint32_t>(module.size()));
    return paths;
}

TEST(DerivePaths, ReplacesTheExtensionBesideTheExecutable)
{
    PathSet p = Derive("C:\\Tools\\Ampwatch.exe");
    EXPECT_EQ(Str(p.settings), "C:\\Tools\\Ampwatch.ini");
    EXPECT_EQ(Str(p.history), "C:\\Tools\\Ampwatch.dat");
    EXPECT_EQ(Str(p.eventLog), "C:\\Tools\\Ampwatch.txt");

    // Only the last dot of the file name goes.
    p = Derive("C:\\Tools\\amp.watch.exe");
    EXPECT_EQ(Str(p.settings), "C:\\Tools\\amp.watch.ini");
}

TEST(DerivePaths, DotsInFolderNamesStay)
{
    PathSet p = Derive("C:\\Program Files\\v1.9\\Ampwatch");
    EXPECT_EQ(Str(p.settings), "C:\\Program Files\\v1.9\\Ampwatch.ini");
    EXPECT_EQ(Str(p.history), "C:\\Program Files\\v1.9\\Ampwatch.dat");
    EXPECT_EQ(Str(p.eventLog), "C:\\Program Files\\v1.9\\Ampwatch.txt");

    p = Derive("Z:/home/user/.wine/Ampwatch");
    EXPECT_EQ(Str(p.settings), "Z:/home/user/.wine/Ampwatch.ini");
}

TEST(DerivePaths, UnavailableOrCutPathsFallBack)
{
    PathSet p;
    DerivePaths(&p, nullptr, 0);
    EXPECT_EQ(Str(p.settings), ".\\Ampwatch.ini");
    EXPECT_EQ(Str(p.history), ".\\Ampwatch.dat");
    EXPECT_EQ(Str(p.eventLog), ".\\Ampwatch.txt");

    std::string cut = "C:\\" + std::string(257, 'a');
    p = Derive(cut);  // 260 characters: the platform had to cut it
    EXPECT_EQ(Str(p.settings), ".\\Ampwatch.ini");
}

TEST(DerivePaths, LongPathsStayWithinTheLimitAndApart)
{
    // 259 characters ending in ".exe": the suffix replaces it exactly.
    std::string exact = "C:\\" + std::string(252, 'd') + ".exe";
    ASSERT_EQ(exact.size(), 259u);
    PathSet p = Derive(exact);
    EXPECT_EQ(strlen(p.settings), 259u);
    EXPECT_EQ(Str(p.settings), exact.substr(0, 255) + ".ini");

    // Without an extension a full suffix does not fit; the files must neither
    // share one name nor overwrite the executable.
    std::string bare = "C:\\" + std::string(256, 'e');
    ASSERT_EQ(bare.size(), 259u);
    p = Derive(bare);
    EXPECT_LE(strlen(p.settings), 259u);
    EXPECT_NE(Str(p.settings), bare);
    EXPECT_NE(Str(p.settings), Str(p.history));
    EXPECT_NE(Str(p.history), Str(p.eventLog));

    std::string fits = "C:\\" + std::string(252, 'f');  // 255 + ".ini" = 259
    p = Derive(fits);
    EXPECT_EQ(Str(p.eventLog), fits + ".txt");
}

}  // namespace
