#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "history/history.h"

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
const char kSep[] = "\\";
bool MakeDir(const std::string &p) { return _mkdir(p.c_str()) == 0; }
void RemoveDir(const std::string &p) { _rmdir(p.c_str()); }
void MakeReadOnly(const std::string &p, bool on) { _chmod(p.c_str(), on ? _S_IREAD : _S_IREAD | _S_IWRITE); }
#else
const char kSep[] = "/";
bool MakeDir(const std::string &p) { return mkdir(p.c_str(), 0700) == 0; }
void RemoveDir(const std::string &p) { rmdir(p.c_str()); }
void MakeReadOnly(const std::string &p, bool on) { chmod(p.c_str(), on ? 0444 : 0644); }
#endif

// A fresh folder per test; everything a test may have made is removed after it.
std::string MakeTempFolder()
{
#ifdef _WIN32
    static int counter = 0;
    char cwd[200];
    if (!_getcwd(cwd, sizeof cwd))
        return std::string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[260];
        snprintf(name, sizeof name, "%s\\hist-%d-%d", cwd, _getpid(), ++counter);
        if (MakeDir(name))
            return name;
    }
    return std::string();
#else
    char name[] = "/tmp/ampwatch-hist-XXXXXX";
    return mkdtemp(name) ? std::string(name) : std::string();
#endif
}

std::vector<uint8_t> ReadAll(const std::string &path)
{
    std::vector<uint8_t> data;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return data;
    uint8_t block[512];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        data.insert(data.end(), block, block + n);
    fclose(f);
    return data;
}

bool Exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void WriteAll(const std::string &path, const std::vector<uint8_t> &data)
{
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!data.empty()) {
        EXPECT_EQ(fwrite(data.data(), 1, data.size(), f), data.size());
    }
    EXPECT_EQ(fclose(f), 0);
}

// A plausible file: a falling charge with a gap, valid throughout.
std::vector<uint8_t> ValidBytes(size_t length)
{
    std::vector<uint8_t> data(length);
    for (size_t i = 0; i < length; ++i)
        data[i] = i % 17 == 16 ? 255 : uint8_t(i % 101);
    return data;
}

void FillHistory(uint8_t value) { memset(historyBuffer.slots, value, HISTORY_SLOTS); }

bool AllEmpty()
{
    for (uint32_t i = 0; i < HISTORY_SLOTS; ++i)
        if (historyBuffer.slots[i] != HISTORY_EMPTY)
            return false;
    return true;
}

class HistoryFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeTempFolder();
        ASSERT_FALSE(folder.empty());
        file = Track(folder + kSep + "Ampwatch.dat");
        Track(file + ".tmp");
        FillHistory(HISTORY_EMPTY);
    }
    void TearDown() override
    {
        for (size_t i = made.size(); i-- > 0;) {
            MakeReadOnly(made[i], false);
            if (remove(made[i].c_str()) != 0)
                RemoveDir(made[i]);
        }
        RemoveDir(folder);
    }
    std::string Track(const std::string &path)
    {
        made.push_back(path);
        return path;
    }
    std::string folder, file;
    std::vector<std::string> made;
};

// Loading -------------------------------------------------------------------

TEST_F(HistoryFiles, LoadTakesExactlyTheFirst256BytesOfLongEnoughFiles)
{
    const size_t sizes[] = {256, 257, 300};
    for (size_t size : sizes) {
        std::vector<uint8_t> data = ValidBytes(size);
        data[size - 1] = 7;  // beyond slot 255 for the longer files
        WriteAll(file, data);
        FillHistory(HISTORY_EMPTY);
        EXPECT_TRUE(LoadHistory(file.c_str())) << size;
        EXPECT_EQ(memcmp(historyBuffer.slots, data.data(), HISTORY_SLOTS), 0) << size;
        EXPECT_EQ(ReadAll(file), data) << "load changed the file";
    }
}

TEST_F(HistoryFiles, ShortMissingOrUnreadableFilesLoadEmpty)
{
    const size_t sizes[] = {0, 1, 255};
    for (size_t size : sizes) {
        WriteAll(file, ValidBytes(size));
        FillHistory(50);
        EXPECT_FALSE(LoadHistory(file.c_str())) << size;
        EXPECT_TRUE(AllEmpty()) << size;
    }
    FillHistory(50);
    EXPECT_FALSE(LoadHistory((folder + kSep + "missing.dat").c_str()));
    EXPECT_TRUE(AllEmpty());
    FillHistory(50);
    EXPECT_FALSE(LoadHistory(folder.c_str()));  // a directory
    EXPECT_TRUE(AllEmpty());
}

TEST_F(HistoryFiles, OneOutOfRangeByteAnywhereEmptiesTheHistory)
{
    const size_t positions[] = {0, 128, 255};
    const uint8_t bad[] = {101, 200, 254};
    for (size_t at : positions) {
        for (uint8_t value : bad) {
            std::vector<uint8_t> data = ValidBytes(256);
            data[at] = value;
            WriteAll(file, data);
            FillHistory(50);
            EXPECT_FALSE(LoadHistory(file.c_str())) << at << " " << int(value);
            EXPECT_TRUE(AllEmpty()) << at << " " << int(value);
            EXPECT_EQ(ReadAll(file), data) << "a rejected file must stay as it is";
        }
    }
    // Past slot 255 nothing is checked.
    std::vector<uint8_t> data = ValidBytes(300);
    data[256] = 101;
    WriteAll(file, data);
    EXPECT_TRUE(LoadHistory(file.c_str()));
}

// Recording -----------------------------------------------------------------

TEST(HistoryRecord, NewestFirstWithGapsAndA256PollLifetime)
{
    FillHistory(HISTORY_EMPTY);
    RecordSample(90);
    RecordSample(255);  // unknown level: a gap
    RecordSample(88);
    EXPECT_EQ(HistorySlot(0), 88);
    EXPECT_EQ(HistorySlot(1), 255);
    EXPECT_EQ(HistorySlot(2), 90);
    EXPECT_EQ(HistorySlot(3), 255);
    EXPECT_EQ(RecordedRun(&historyBuffer), 1u);

    FillHistory(HISTORY_EMPTY);
    RecordSample(42);
    for (int i = 0; i < 255; ++i)
        RecordSample(uint8_t(i % 100));
    EXPECT_EQ(HistorySlot(255), 42) << "after 255 more polls the sample is the oldest";
    EXPECT_EQ(HistorySlot(0), 54);
    EXPECT_EQ(HistorySlot(254), 0);
    RecordSample(7);
    EXPECT_EQ(HistorySlot(255), 0) << "the 256th poll drops it";
    EXPECT_EQ(RecordedRun(&historyBuffer), 256u);
    EXPECT_EQ(HistorySlot(256), 255);
}

TEST(HistoryRecord, RecordedRunStopsAtTheFirstGap)
{
    FillHistory(60);
    EXPECT_EQ(RecordedRun(&historyBuffer), 256u);
    historyBuffer.slots[0] = 255;
    EXPECT_EQ(RecordedRun(&historyBuffer), 0u);
    historyBuffer.slots[0] = 50;
    historyBuffer.slots[1] = 255;
    EXPECT_EQ(RecordedRun(&historyBuffer), 1u);
    historyBuffer.slots[1] = 49;
    historyBuffer.slots[255] = 255;
    EXPECT_EQ(RecordedRun(&historyBuffer), 255u);
}

// Saving --------------------------------------------------------------------

TEST_F(HistoryFiles, SaveWritesExactly256BytesThatLoadBack)
{
    for (int i = 0; i < 40; ++i)
        RecordSample(i == 5 ? uint8_t(255) : uint8_t(100 - i));
    HistoryBuffer saved = historyBuffer;
    ASSERT_TRUE(SaveHistory(file.c_str()));
    std::vector<uint8_t> data = ReadAll(file);
    ASSERT_EQ(data.size(), 256u);
    EXPECT_EQ(memcmp(data.data(), saved.slots, 256), 0);
    EXPECT_FALSE(Exists(file + ".tmp"));

    // A second save replaces the first file completely.
    RecordSample(3);
    saved = historyBuffer;
    ASSERT_TRUE(SaveHistory(file.c_str()));
    FillHistory(HISTORY_EMPTY);
    ASSERT_TRUE(LoadHistory(file.c_str()));
    EXPECT_EQ(memcmp(historyBuffer.slots, saved.slots, 256), 0);
}

TEST_F(HistoryFiles, FailedSavesKeepTheOldFileAndLeaveNoTemporary)
{
    std::vector<uint8_t> old = ValidBytes(256);
    FillHistory(33);

    std::string missing = folder + kSep + "nowhere" + kSep + "Ampwatch.dat";
    EXPECT_FALSE(SaveHistory(missing.c_str()));
    EXPECT_FALSE(Exists(missing));
    EXPECT_FALSE(Exists(missing + ".tmp"));

    std::string dir = Track(folder + kSep + "dir.dat");
    ASSERT_TRUE(MakeDir(dir));
    EXPECT_FALSE(SaveHistory(dir.c_str()));
    EXPECT_FALSE(Exists(dir + ".tmp"));

    WriteAll(file, old);
    MakeReadOnly(file, true);
    EXPECT_FALSE(SaveHistory(file.c_str()));
    MakeReadOnly(file, false);
    EXPECT_EQ(ReadAll(file), old);
    EXPECT_FALSE(Exists(file + ".tmp"));
}

TEST_F(HistoryFiles, LeftoverTemporaryFromAnEarlierSaveDoesNotStopIt)
{
    WriteAll(file + ".tmp", std::vector<uint8_t>(1000, 9));
    FillHistory(12);
    ASSERT_TRUE(SaveHistory(file.c_str()));
    EXPECT_EQ(ReadAll(file), std::vector<uint8_t>(256, 12));
    EXPECT_FALSE(Exists(file + ".tmp"));
}

TEST_F(HistoryFiles, PathsNearTheLimitUseAShortTemporaryName)
{
    // Folder plus separator of 246 characters and an 11-character name: the
    // path fits 259 characters, the path plus ".tmp" does not.
    std::string sub = folder + kSep;
    if (sub.size() + 2 > 246)
        GTEST_SKIP() << "temporary folder too deep";
    sub.append(246 - 1 - sub.size(), 'd');
    ASSERT_TRUE(MakeDir(Track(sub)));
    std::string longFile = Track(sub + kSep + "history.dat");
    Track(sub + kSep + "~hist.tmp");
    ASSERT_EQ(longFile.size(), 257u);

    WriteAll(longFile, ValidBytes(256));
    FillHistory(77);
    ASSERT_TRUE(SaveHistory(longFile.c_str()));
    EXPECT_EQ(ReadAll(longFile), std::vector<uint8_t>(256, 77));
    EXPECT_FALSE(Exists(sub + kSep + "~hist.tmp"));
}

TEST(HistoryTempName, StaysBesideTheFileAndWithin259Characters)
{
    char out[260];
    ASSERT_TRUE(HistoryTempPath("C:\\Tools\\Ampwatch.dat", out, sizeof out));
    EXPECT_STREQ(out, "C:\\Tools\\Ampwatch.dat.tmp");

    std::string folder = "C:\\" + std::string(240, 'f') + "\\";  // 244 characters
    std::string path = folder + std::string(13, 'n');      // 257: ".tmp" would make 261
    ASSERT_TRUE(HistoryTempPath(path.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out), folder + "~hist.tmp");

    std::string fits = folder + "12345";  // 249 + ".tmp" = 253
    ASSERT_TRUE(HistoryTempPath(fits.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out), fits + ".tmp");

    std::string deep = "/" + std::string(252, 'f') + "/a.dat";  // 259, folder too long
    EXPECT_FALSE(HistoryTempPath(deep.c_str(), out, sizeof out));

    std::string self = folder + std::string(4, 'x') + "/~hist.tmp";
    ASSERT_EQ(self.size(), 258u);
    EXPECT_FALSE(HistoryTempPath(self.c_str(), out, sizeof out)) << "must not be its own temporary";
}

#ifndef _WIN32
// A disk that fills up mid-save, imitated with a file size limit.
TEST_F(HistoryFiles, WriteThatRunsOutOfSpaceKeepsTheOldFile)
{
    std::vector<uint8_t> old = ValidBytes(256);
    WriteAll(file, old);
    FillHistory(44);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = SaveHistory(file.c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadAll(file), old);
    EXPECT_FALSE(Exists(file + ".tmp"));
}
#endif

// Interval rule -------------------------------------------------------------

TEST(HistoryInterval, OnlyAnInRangeDifferentPositionIsAChange)
{
    EXPECT_TRUE(IntervalChangeRequested(60, 120));
    EXPECT_TRUE(IntervalChangeRequested(360, 120));
    EXPECT_FALSE(IntervalChangeRequested(120, 120));
    EXPECT_FALSE(IntervalChangeRequested(59, 120));
    EXPECT_FALSE(IntervalChangeRequested(361, 120));
    EXPECT_FALSE(IntervalChangeRequested(-60, 120));
    EXPECT_FALSE(IntervalChangeRequested(int64_t(120) + 0x100000000LL, 120));
}

struct Asked {
    int calls;
    int answer;
    int recordDuringQuestion;  // -1: none
};

int Ask(void *context)
{
    Asked *a = static_cast<Asked *>(context);
    ++a->calls;
    if (a->recordDuringQuestion >= 0)
        RecordSample(uint8_t(a->recordDuringQuestion));
    return a->answer;
}

void ExpectOnlySlot0(uint8_t value)
{
    EXPECT_EQ(HistorySlot(0), value);
    for (uint32_t i = 1; i < HISTORY_SLOTS; ++i)
        ASSERT_EQ(HistorySlot(i), 255) << i;
}

TEST(HistoryInterval, NoQuestionWithAtMostOneRecordedSample)
{
    const char *noFile = "no-such-folder-for-history/none.dat";
    Asked a = {0, HISTORY_ANSWER_OK, -1};

    FillHistory(70);  // slot 0 empty, older samples behind it: run 0
    historyBuffer.slots[0] = 255;
    EXPECT_TRUE(ConfirmIntervalChange(noFile, Ask, &a));
    ExpectOnlySlot0(255);

    FillHistory(70);  // 50, gap, more: run 1
    historyBuffer.slots[0] = 50;
    historyBuffer.slots[1] = 255;
    EXPECT_TRUE(ConfirmIntervalChange(noFile, Ask, &a));
    ExpectOnlySlot0(50);

    FillHistory(255);
    EXPECT_TRUE(ConfirmIntervalChange(noFile, nullptr, nullptr));
    ExpectOnlySlot0(255);
    EXPECT_EQ(a.calls, 0);
}

TEST(HistoryInterval, TwoOrMoreSamplesAskAndOnlyOkResets)
{
    const char *noFile = "no-such-folder-for-history/none.dat";
    HistoryBuffer before;
    const int refusals[] = {2 /* Cancel */, 0 /* box failed */, 7};
    for (int answer : refusals) {
        FillHistory(255);
        RecordSample(80);
        RecordSample(79);
        before = historyBuffer;
        Asked a = {0, answer, -1};
        EXPECT_FALSE(ConfirmIntervalChange(noFile, Ask, &a)) << answer;
        EXPECT_EQ(a.calls, 1);
        EXPECT_EQ(memcmp(&before, &historyBuffer, sizeof before), 0) << answer;
    }
    EXPECT_FALSE(ConfirmIntervalChange(noFile, nullptr, nullptr));
    EXPECT_EQ(memcmp(&before, &historyBuffer, sizeof before), 0);

    Asked ok = {0, HISTORY_ANSWER_OK, -1};
    EXPECT_TRUE(ConfirmIntervalChange(noFile, Ask, &ok));
    EXPECT_EQ(ok.calls, 1);
    ExpectOnlySlot0(79);

    // A poll that lands while the question is open is the sample kept.
    FillHistory(60);
    Asked late = {0, HISTORY_ANSWER_OK, 33};
    EXPECT_TRUE(ConfirmIntervalChange(noFile, Ask, &late));
    ExpectOnlySlot0(33);
}

TEST_F(HistoryFiles, AcceptedChangeSavesOnlyOverAnExistingFile)
{
    FillHistory(60);
    Asked a = {0, HISTORY_ANSWER_OK, -1};
    EXPECT_TRUE(ConfirmIntervalChange(file.c_str(), Ask, &a));
    EXPECT_FALSE(Exists(file)) << "no file may be created by an interval change";

    WriteAll(file, ValidBytes(256));
    FillHistory(60);
    historyBuffer.slots[0] = 61;
    EXPECT_TRUE(ConfirmIntervalChange(file.c_str(), Ask, &a));
    std::vector<uint8_t> expected(256, 255);
    expected[0] = 61;
    EXPECT_EQ(ReadAll(file), expected);

    // Refused: the file is not touched either.
    WriteAll(file, ValidBytes(256));
    FillHistory(60);
    Asked cancel = {0, 2, -1};
    EXPECT_FALSE(ConfirmIntervalChange(file.c_str(), Ask, &cancel));
    EXPECT_EQ(ReadAll(file), ValidBytes(256));
}

}  // namespace
