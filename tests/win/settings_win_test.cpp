// The settings as the real profile functions read and write them.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdio.h>
#include <string>

#include "app/settings.h"
#include "platform/platform.h"

namespace {

struct IniFile {
    char path[MAX_PATH];
};

IniFile WriteIni(const char *name, const char *body)
{
    IniFile f;
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    snprintf(f.path, sizeof f.path, "%sampwatch-%lu-%s.ini", dir, GetCurrentProcessId(), name);
    FILE *out = fopen(f.path, "wb");
    if (out) {
        fputs(body, out);
        fclose(out);
    }
    return f;
}

void LoadFrom(const IniFile &f)
{
    ProfileReader reader = SettingsFileReader(f.path);
    LoadSettings(&reader, 0x00ABCDEF);
}

TEST(SettingsFile, HostileValuesAreValidated)
{
    IniFile f = WriteIni("hostile",
                         "[Settings]\r\n"
                         "RunHidden=yes\r\n"
                         "Logfile=7\r\n"
                         "Interval=-5\r\n"
                         "AlertThreshold=300\r\n"
                         "LowThreshold=101\r\n"
                         "CriticalThreshold=100\r\n"
                         "Height=-12abc\r\n"
                         "FaceName=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD\r\n"
                         "IconColor=4278190335\r\n"
                         "[Other]\r\nInterval=120\r\n");
    LoadFrom(f);
    EXPECT_FALSE(appGlobals.runHidden);  // not a number: 0
    EXPECT_TRUE(appGlobals.logfile);
    EXPECT_EQ(appGlobals.interval, 60u);
    EXPECT_EQ(thresholds.alertThreshold, 44);
    EXPECT_EQ(thresholds.lowThreshold, 32);
    EXPECT_EQ(thresholds.criticalThreshold, 100);
    EXPECT_EQ(iconSettings.font.height, -12);
    EXPECT_EQ(std::string(iconSettings.font.faceName), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    EXPECT_EQ(iconSettings.iconColor, 0x000000FFu);
    DeleteFileA(f.path);
}

TEST(SettingsFile, MissingFileAndOtherSectionsGiveDefaults)
{
    IniFile f = WriteIni("other", "[Other]\r\nInterval=120\r\nAlertThreshold=20\r\n");
    LoadFrom(f);
    EXPECT_EQ(appGlobals.interval, 60u);
    EXPECT_EQ(thresholds.alertThreshold, 9);
    EXPECT_EQ(iconSettings.iconColor, 0x00ABCDEFu);
    DeleteFileA(f.path);

    IniFile none = WriteIni("gone", "");
    DeleteFileA(none.path);
    LoadFrom(none);
    EXPECT_EQ(appGlobals.interval, 60u);
    EXPECT_STREQ(iconSettings.font.faceName, "Tahoma");
}

TEST(SettingsFile, WrittenKeysReadBack)
{
    IniFile f = WriteIni("roundtrip", "[Settings]\r\nFaceName=Arial\r\n");
    snprintf(pathSet.settings, sizeof pathSet.settings, "%s", f.path);
    WriteSettingUnsigned("Interval", 240);
    WriteSettingUnsigned("AlertThreshold", 255);
    WriteSettingUnsigned("IconColor", 0x00FFFFFFu);
    WriteSetting("RunHidden", "1");
    LoadFrom(f);
    EXPECT_EQ(appGlobals.interval, 240u);
    EXPECT_EQ(thresholds.alertThreshold, 255);
    EXPECT_EQ(iconSettings.iconColor, 0x00FFFFFFu);
    EXPECT_TRUE(appGlobals.runHidden);
    EXPECT_STREQ(iconSettings.font.faceName, "Arial");

    char text[32];
    GetPrivateProfileStringA("Settings", "IconColor", "", text, sizeof text, f.path);
    EXPECT_STREQ(text, "16777215");  // unsigned decimal text
    DeleteFileA(f.path);
}

TEST(PowerStatus, ReadsTheFourFields)
{
    SYSTEM_POWER_STATUS expected;
    ASSERT_TRUE(GetSystemPowerStatus(&expected));
    PowerSample s = ReadPowerStatus();
    EXPECT_EQ(s.acLineStatus, expected.ACLineStatus);
    EXPECT_EQ(s.batteryFlag, expected.BatteryFlag);
    EXPECT_EQ(s.batteryLifePercent, expected.BatteryLifePercent);
}

}  // namespace
