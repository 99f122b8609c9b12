#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include "history/history.h"
#include "platform/files.h"

namespace {

struct stat Stat(const std::string &path) { struct stat st = {}; stat(path.c_str(), &st); return st; }

// The temporary replaces the file, keeping its permissions; where none can be made, the file is written
// in place, and what stood in the temporary's place stays unless a save left it there.
TEST(HistorySave, InPlaceWhereNoTemporaryCanBeMadeLeavingWhatIsNotOurs) {
    enum { NOTHING, FOLDER, READ_ONLY, LEFTOVER, CLOSED_FOLDER };
    const struct { const char *name; int obstacle; bool inPlace, stays; } cases[] = {
        {"nothing in the way", NOTHING, false, false}, {"a folder as temporary", FOLDER, true, true},
        {"a read-only temporary", READ_ONLY, true, true}, {"a save's leftover", LEFTOVER, false, false},
        {"a folder that takes no new file", CLOSED_FOLDER, true, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        char folder[] = "save-XXXXXX";
        ASSERT_TRUE(mkdtemp(folder));
        const std::string file = std::string(folder) + "/h.dat", temp = file + ".tmp";
        ASSERT_TRUE(SaveHistory(file.c_str()));
        chmod(file.c_str(), 0604);
        if (c.obstacle == READ_ONLY || c.obstacle == LEFTOVER)
            fclose(fopen(temp.c_str(), "w"));
        chmod(temp.c_str(), c.obstacle == READ_ONLY ? 0444 : 0644);
        chmod(folder, c.obstacle == CLOSED_FOLDER ? 0555 : 0700);
        if (c.obstacle == FOLDER)
            mkdir(temp.c_str(), 0700);
        const ino_t before = Stat(file).st_ino;
        RecordSample(uint8_t(c.obstacle));
        EXPECT_TRUE(SaveHistory(file.c_str()));
        chmod(folder, 0700);
        EXPECT_EQ(Stat(file).st_ino == before, c.inPlace);
        EXPECT_EQ(Stat(file).st_mode & 07777, 0604u);
        EXPECT_EQ(Stat(temp).st_mode & 07777, c.obstacle == READ_ONLY ? 0444u : c.stays ? 0700u : 0u);
        EXPECT_EQ(FileExists(temp.c_str()), c.obstacle == READ_ONLY);  // a folder is no file
        RecordSample(HISTORY_EMPTY);
        EXPECT_TRUE(LoadHistory(file.c_str()));
        EXPECT_EQ(HistorySlot(0), c.obstacle);
        remove(temp.c_str());
        EXPECT_EQ(remove(file.c_str()) + rmdir(folder), 0);  // nothing else was left
    }
}

}  // namespace
