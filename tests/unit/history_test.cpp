#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <string>
#include <vector>
#include "history/history.h"
#include "platform/files.h"
#include "platform/numbers.h"
namespace {
using Bytes = std::vector<uint8_t>;
Bytes Slots() { return Bytes(historyBuffer.slots, historyBuffer.slots + HISTORY_SLOTS); }
Bytes OnlySlot0(int v) { Bytes b(HISTORY_SLOTS, HISTORY_EMPTY); b[0] = uint8_t(v); return b; }
// The slots a load leaves, none when the file was not taken.
Bytes Loaded(const std::string &path) { return LoadHistory(path.c_str()) ? Slots() : Bytes(); }
// A file of length bytes, all 7 but value at one place.
Bytes File(size_t length, size_t at, uint8_t value) { Bytes b(length, 7); b.at(at) = value; return b; }
// A file is taken from its first 256 bytes when they are levels or gaps, else the history is empty.
TEST(History, FileTakenOnlyWholeAndInRange) {
    const auto parsed = [](const Bytes &file) {
        memset(historyBuffer.slots, 50, HISTORY_SLOTS);
        return ParseHistoryBytes(&historyBuffer, file.data(), file.size()) ? Slots() : Bytes();
    };
    for (const Bytes &file : {File(256, 0, 100), File(256, 0, HISTORY_EMPTY), File(257, 256, 200)})
        EXPECT_EQ(parsed(file), Bytes(file.begin(), file.begin() + HISTORY_SLOTS));
    for (const Bytes &file : {File(256, 0, 101), File(256, 255, 254), File(256, 128, 200), File(255, 0, 0), Bytes()}) {
        EXPECT_EQ(parsed(file), Bytes()) << file.size();
        EXPECT_EQ(Slots(), Bytes(HISTORY_SLOTS, HISTORY_EMPTY));  // emptied
    }
}
// Newest first, an unknown level kept as a gap, the oldest dropped after 256.
TEST(History, SamplesNewestFirstUnknownAsGap) {
    ClearHistory(&historyBuffer);
    for (uint8_t percent : {90, 255, 88}) RecordSample(percent);
    EXPECT_EQ(Bytes(historyBuffer.slots, historyBuffer.slots + 4), (Bytes{88, 255, 90, 255}));
    for (int i = 0; i < 253; ++i) RecordSample(uint8_t(i % 100));
    EXPECT_EQ((Bytes{historyBuffer.slots[0], historyBuffer.slots[255]}), (Bytes{52, 90}));
}
// Asked while a slot other than 0 holds a sample (a gap's neighbour, the oldest); the change keeps the newest.
TEST(History, IntervalChangeAsksWhileOlderSamplesExist) {
    for (int slot : {0, 1, 128, 255}) {
        ClearHistory(&historyBuffer);
        historyBuffer.slots[slot] = uint8_t(slot % 2 ? 0 : 100);
        historyBuffer.slots[0] = 80;
        EXPECT_EQ(IntervalChangeNeedsQuestion(&historyBuffer), slot > 0) << slot;
        ResetHistoryForInterval(nullptr);
        EXPECT_EQ(Slots(), OnlySlot0(80)) << slot;
    }
}
// A save replaces the file whole or leaves it as it was, and leaves no temporary behind.
TEST(History, SaveReplacesTheFileWholeOrNotAtAll) {
    char folder[] = "history-XXXXXX";  // in the test's working folder
    ASSERT_TRUE(mkdtemp(folder));
    const std::string file = std::string(folder) + "/h.dat", dir = std::string(folder) + "/dir";
    for (int i = 0; i < 40; ++i) RecordSample(uint8_t(i * 2));
    const Bytes saved = Slots();
    ASSERT_TRUE(SaveHistory(file.c_str()) && SaveHistory(file.c_str()));  // the second over the first
    ClearHistory(&historyBuffer);
    EXPECT_EQ(Loaded(file), saved);
    historyBuffer.slots[0] = 61;  // an accepted interval change rewrites the file
    ResetHistoryForInterval(file.c_str());
    rlimit full = {100, RLIM_INFINITY}, unlimited = {RLIM_INFINITY, RLIM_INFINITY};  // a disk that takes no more
    ASSERT_TRUE(signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &full) == 0);
    EXPECT_FALSE(SaveHistory(file.c_str()));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    EXPECT_EQ(Loaded(file), OnlySlot0(61));
    FILE *stale = fopen((file + ".tmp").c_str(), "w");  // a read-only file in the temporary's place stays
    ASSERT_TRUE(stale && fclose(stale) == 0 && chmod((file + ".tmp").c_str(), 0444) == 0);
    EXPECT_TRUE(SaveHistory(file.c_str()) && Unwritable((file + ".tmp").c_str()));
    chmod(file.c_str(), 0444);  // read-only: the user froze it
    RecordSample(9);
    EXPECT_FALSE(SaveHistory(file.c_str()));
    EXPECT_EQ(Loaded(file), OnlySlot0(61));
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const std::string nameTooLong = dir + "/" + std::string(256, 'n');  // the rename fails
    for (const std::string &bad : {dir, dir + "/none/h", "/" + std::string(260, 'd') + "/h.dat", nameTooLong})
        EXPECT_FALSE(SaveHistory(bad.c_str())) << bad.size() << " " << bad.substr(0, 30);
    EXPECT_FALSE(SaveHistory(nullptr));
    // Where no temporary can be used a hidden history (Wine's attribute; Windows does not create such a
    // file anew) is written over in place: still hidden, cut after its 256 bytes.
    ASSERT_TRUE(chmod(file.c_str(), 0644) == 0 && remove((file + ".tmp").c_str()) == 0 && mkdir((file + ".tmp").c_str(), 0700) == 0);
    ASSERT_TRUE(truncate(file.c_str(), 300) == 0 && setxattr(file.c_str(), "user.DOSATTRIB", "0x2", 3, 0) == 0);
    RecordSample(44);
    char hidden[8] = "";
    struct stat st;
    EXPECT_TRUE(SaveHistory(file.c_str()) && getxattr(file.c_str(), "user.DOSATTRIB", hidden, 7) == 3 && stat(file.c_str(), &st) == 0);
    EXPECT_EQ(std::string(hidden) + " " + std::to_string(st.st_size) + " " + std::to_string(Loaded(file).at(0)), "0x2 256 44");
    EXPECT_FALSE(FileExists((dir + "/~hist.tmp").c_str()));
    EXPECT_EQ(remove(file.c_str()) + rmdir((file + ".tmp").c_str()) + remove(dir.c_str()) + rmdir(folder), 0);
}
// The path plus ".tmp", else "~hist.tmp" in its folder, within 259 characters (0xFC: 2) and the buffer.
TEST(History, TemporaryBesideTheFile) {
    const std::string n255(255, 'n'), n256(256, 'n'), dir250 = "C:\\" + std::string(246, 'f') + "\\";
    const struct { std::string path; size_t capacity; std::string want; } temps[] = {
        {"C:\\T\\h.dat", 300, "C:\\T\\h.dat.tmp"}, {n255, 300, n255 + ".tmp"}, {n256, 300, "~hist.tmp"},
        {"C:" + n256, 300, "C:~hist.tmp"}, {"a/" + n256, 300, "a/~hist.tmp"}, {"x" + dir250 + n256, 300, ""},
        {dir250 + n256, 300, dir250 + "~hist.tmp"}, {dir250 + "~hist.tmp", 300, ""},  // not its own temporary
        {"a/b.dat", 12, "a/b.dat.tmp"}, {"a/b.dat", 11, ""}, {"a/bcdefgh.dat", 12, "a/~hist.tmp"},
        {"a/bcdefgh.dat", 11, ""}, {std::string(255, '\xFC'), 300, "~hist.tmp"}};
    char out[300];
    for (const auto &c : temps)
        EXPECT_EQ(HistoryTempPath(c.path.c_str(), out, c.capacity) ? out : "", c.want) << c.path.size();
}
}  // namespace
