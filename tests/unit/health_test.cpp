#include <gtest/gtest.h>
#include <stdlib.h>
#include <fstream>
#include <sstream>
#include <string>
#include "power/health.h"
namespace {
const HealthDate kToday = {2026, 3, 5};
const int32_t kDay = 20517;  // kToday's number
std::string Folder() { static char f[] = "health-XXXXXX"; static const bool made = mkdtemp(f); return made ? f : ""; }
std::string Put(const std::string &name, const std::string &bytes) {
    std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}
std::string Read(const std::string &path) { std::stringstream s; s << std::ifstream(path, std::ios::binary).rdbuf(); return s.str(); }
// What a scan tells: the last line's age, then the trend's date and capacity.
std::string Scanned(const std::string &bytes) {
    HealthScan s;
    ScanHealthRecord(Put("scan.csv", bytes).c_str(), kDay, &s);
    char date[16];
    snprintf(date, sizeof date, "%04u-%02u-%02u", s.trendDate.year, s.trendDate.month, s.trendDate.day);
    return (s.lastDay == HEALTH_NO_DAY ? "none" : std::to_string(kDay - s.lastDay)) + " " +
           (s.trendCapacity ? date + std::string(" ") + std::to_string(s.trendCapacity) : "-") +
           (s.blank ? " blank" : "") + (s.openLine ? " open" : "");
}
// Calendar days, leap years by the Gregorian rule; no day that does not exist, none missing.
TEST(Health, DaysOfTheCalendar) {
    const HealthDate days[] = {{1970, 1, 1}, {1, 1, 1}, {9999, 12, 31}, {2000, 2, 29}, {2100, 3, 1}, {1900, 3, 1},
                               {1900, 2, 29}, {0, 1, 1}};
    const int32_t numbers[] = {0, -719162, 2932896, 11016, 47541, -25508, HEALTH_NO_DAY, HEALTH_NO_DAY};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(DayNumber(&days[i]), numbers[i]) << i;
    int32_t next = 19723;  // 2024-01-01
    for (uint16_t m = 0; m <= 13; ++m)
        for (uint16_t d = 0; d <= 32; ++d) {
            const HealthDate date = {2024, m, d};
            if (DayNumber(&date) != HEALTH_NO_DAY) EXPECT_EQ(DayNumber(&date), next++) << m << "-" << d;
        }
    EXPECT_EQ(next, 19723 + 366);
}
// The trend: the oldest line 7 to 365 days old with a capacity; the last dated line, damaged ones passed over.
TEST(Health, RecordLinesTakenOrPassedOver) {
    const std::string header = "Date, FullChargeCapacity, DesignCapacity, CycleCount\r\n";
    EXPECT_EQ(Scanned(header + "2025-03-04, 1, 0, 0\r\n2025-08-17, 3, 0, 0\r\n2025-03-05, 2, 5, 6, x\r\n"
                      "2025-03-05, 5, 0, 0\r\n2026-02-27, 4, 0, 0\r\n"), "6 2025-03-05 2");  // of one day the first
    EXPECT_EQ(Scanned("2025-05-09,4294967295,50000,7\n2026-02-26 , 9 ,0,0\r\n2026-03-06, 1, 0, 0\n2025-01-01, 8, 0, 0"),
              "428 2025-05-09 4294967295 open");  // the last line without its end counts
    EXPECT_EQ(Scanned("2025-02-30, 1, 0, 0\n2025-05-09 1, 0, 0\n2025-05-09, 1, 0\n2025-05-09, 1, 0, 0" +
                      std::string(120, ' ') + "\n2025-05-09, 0, 1, 1\n" + std::string("2025-05-10, 1\0, 0, 0\n", 21) +
                      header), "300 -");
    EXPECT_EQ(Scanned("2026-02-26, 9, 0, 0\n2026-02-27, 8, 0, 0\n"), "6 2026-02-26 9");  // a week old at least
    EXPECT_EQ(Scanned(""), "none - blank");
    EXPECT_EQ(Scanned("2025-05-09, 1, 0, 0\n" + std::string(HEALTH_TAIL_BYTES, '#') + "\n2025-08-17, 2, 0, 0\n"),
              "200 2025-08-17 2");  // the start of a long record is not read
}
// The battery as the shell asks it: its figures, or not yet known; each question counted.
HealthFigures battery;
int asked = 0;
bool Known(HealthFigures *figures) { ++asked; *figures = battery; return true; }
bool NotYet(HealthFigures *) { ++asked; return false; }
// One line a day, the header into a new record; the battery asked only while the day's line is due.
TEST(Health, OneLineADay) {
    const std::string path = Put("step.csv", ""), line = "2026-03-05, 43200, 50000, 12\r\n";
    remove(path.c_str());
    int32_t day = HEALTH_NO_DAY, restarted = HEALTH_NO_DAY, relative = HEALTH_NO_DAY;
    StepHealthRecord(path.c_str(), &kToday, &day, NotYet);
    battery = {0, 50000, 12};
    StepHealthRecord(path.c_str(), &kToday, &relative, Known);
    battery = {43200, 50000, 12};
    StepHealthRecord(path.c_str(), &kToday, &day, Known);
    StepHealthRecord(path.c_str(), &kToday, &day, Known);
    StepHealthRecord(path.c_str(), &kToday, &restarted, Known);
    EXPECT_EQ(Read(path), "Date, FullChargeCapacity, DesignCapacity, CycleCount\r\n" + line);
    EXPECT_EQ(std::to_string(asked) + std::to_string(restarted - kDay) + std::to_string(relative - kDay), "300");
    Put("step.csv", "foreign");
    day = kDay - 1;
    StepHealthRecord(path.c_str(), &kToday, &day, Known);
    EXPECT_EQ(Read(path), "foreign\r\n" + line);
}
// Whole percents and tenths, halves away from zero; each report line only when known.
TEST(Health, ReportLinesWhenKnown) {
    EXPECT_EQ(std::to_string(HealthPercent(43200, 50000)) + " " + std::to_string(HealthPercent(1, 200)) + " " +
              std::to_string(HealthPercent(1, 201)) + " " + std::to_string(ChangeTenths(46100, 43200)) + " " +
              std::to_string(ChangeTenths(2000, 2001)) + " " + std::to_string(ChangeTenths(2000, 1999)) + " " +
              std::to_string(ChangeTenths(2001, 2001)), "86 1 0 -63 1 -1 0");
    const char *const format = "D %s Wh\nH %s %%\nC %s\nT %s: %s Wh (%s %%) %s\nnot a fifth";
    HealthScan record = {kDay, {2025, 5, 9}, 46100, false, false};
    const auto report = [&](HealthFigures now, size_t capacity = 128) {
        char out[128] = "R";
        return std::to_string(AppendHealthLines(out, 1, capacity, format, &now, &record)) + ":" + out;
    };
    EXPECT_EQ(report({43200, 50000, 7}), "60:R\r\nD 50.00 Wh\r\nH 86 %\r\nC 7\r\nT 2025-05-09: 46.10 Wh (-6.3 %) ");
    EXPECT_EQ(report({0, 0, 0}), "1:R");
    EXPECT_EQ(report({46105, 0, 0}, 20), "19:R\r\nT 2025-05-09: 46");
    record.trendCapacity = 46000;
    EXPECT_EQ(report({46023, 0, 0}), "35:R\r\nT 2025-05-09: 46.00 Wh (+0.1 %) ");
    EXPECT_EQ(report({46022, 0, 0}), "34:R\r\nT 2025-05-09: 46.00 Wh (0.0 %) ");  // no sign for no change
    EXPECT_EQ(report({55320, 0, 0}), "36:R\r\nT 2025-05-09: 46.00 Wh (+20.3 %) ");
}
// The figures of the system's batteries summed; relative capacities and a missing figure are unknown.
TEST(Health, BatteriesSummed) {
    const auto figures = [](uint32_t max, std::initializer_list<BatteryInformationRecord> batteries) {
        const HealthFigures f = CombineBatteries(max, batteries.begin(), uint32_t(batteries.size()));
        return std::to_string(f.fullCharge) + " " + std::to_string(f.design) + " " + std::to_string(f.cycles);
    };
    BatteryInformationRecord a = {}, b = {}, ups = {}, relative = {};
    a.capabilities = b.capabilities = BATTERY_CAPS_SYSTEM;
    a.designedCapacity = 50000; a.cycleCount = 12; b.designedCapacity = 20000; b.cycleCount = 3;
    ups = a; ups.capabilities = 0; relative = a; relative.capabilities |= BATTERY_CAPS_RELATIVE;
    EXPECT_EQ(figures(60000, {a, b, ups}), "60000 70000 15");
    EXPECT_EQ(figures(CAPACITY_UNKNOWN, {}), "0 0 0");
    EXPECT_EQ(figures(60000, {a, relative}), "0 0 24");
    b.designedCapacity = 0; b.cycleCount = 0;
    EXPECT_EQ(figures(60000, {a, b}), "60000 0 0");
}
}  // namespace
