#include "history/history.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"
#include "app/text.h"
#include "platform/files.h"
#include "platform/numbers.h"

HistoryBuffer historyBuffer;

void ClearHistory(HistoryBuffer *history)
{
    memset(history->slots, HISTORY_EMPTY, sizeof history->slots);
}

bool ParseHistoryBytes(HistoryBuffer *history, const uint8_t *data, size_t length)
{
    if (length < HISTORY_SLOTS) {
        ClearHistory(history);
        return false;
    }
    for (size_t i = 0; i < HISTORY_SLOTS; ++i) {
        if (data[i] > HISTORY_MAX_PERCENT && data[i] != HISTORY_EMPTY) {
            ClearHistory(history);
            return false;
        }
    }
    memcpy(history->slots, data, HISTORY_SLOTS);
    return true;
}

bool LoadHistory(const char *path)
{
    uint8_t raw[HISTORY_SLOTS];
    size_t got = 0;
    FILE *f = path ? fopen(path, "rb") : nullptr;
    if (f) {
        got = fread(raw, 1, sizeof raw, f);
        fclose(f);
    }
    return ParseHistoryBytes(&historyBuffer, raw, got);
}

void RecordSample(uint8_t percent)
{
    memmove(historyBuffer.slots + 1, historyBuffer.slots, HISTORY_SLOTS - 1);
    historyBuffer.slots[0] = percent;
}

// Beside the history file, so the final step is a rename within one folder.
bool HistoryTempPath(const char *path, char *out, size_t capacity)
{
    static const char suffix[] = ".tmp";
    static const char shortName[] = "~hist.tmp";
    size_t length = strlen(path);
    const uint32_t characters = WideLength(path, static_cast<uint32_t>(length));
    if (characters + sizeof suffix - 1 <= PATH_CHARACTERS && length + sizeof suffix <= capacity) {
        snprintf(out, capacity, "%s%s", path, suffix);
        return true;
    }
    size_t folder = length;
    while (folder > 0 && path[folder - 1] != '\\' && path[folder - 1] != '/' &&
           path[folder - 1] != ':')
        --folder;
    if (WideLength(path, static_cast<uint32_t>(folder)) + sizeof shortName - 1 > PATH_CHARACTERS ||
        folder + sizeof shortName > capacity)
        return false;
    memcpy(out, path, folder);
    memcpy(out + folder, shortName, sizeof shortName);
    // A history file that happens to carry the short name must not be its own temporary.
    return strcmp(out, path) != 0;
}

// Writes the slots to an open file, cuts what followed them and closes it;
// true when all reached the disk.
static bool WriteSlots(FILE *f)
{
    bool ok = fwrite(historyBuffer.slots, 1, HISTORY_SLOTS, f) == HISTORY_SLOTS;
    ok = fflush(f) == 0 && ok;
    ok = ok && CutFile(f, HISTORY_SLOTS) && FlushToDisk(f);
    return fclose(f) == 0 && ok;
}

bool SaveHistory(const char *path)
{
    if (!path)
        return false;
    // A read-only history file is the user's way of freezing it; a directory
    // cannot be replaced. Both fail before anything is written.
    if (Unwritable(path))
        return false;
    // A folder or a read-only file in the temporary's place is nothing a save
    // left behind: it stays as it is. A writable one is a save's leftover.
    char temp[PATH_CAPACITY];
    FILE *f = nullptr;
    if (HistoryTempPath(path, temp, sizeof temp) && !Unwritable(temp))
        f = OpenForWriting(temp);
    if (f) {
        bool written = WriteSlots(f);
        if (written && MoveFileOver(temp, path))
            return true;
        remove(temp);
        if (!written)
            return false;  // a disk that took no temporary takes no history either
    }
    // Where no temporary can be made or moved over (a folder that takes no
    // new file, a name taken), the plain write of old is still better than
    // none: over the file as it is, which keeps a hidden or system file that
    // Windows would not create anew; only a missing one is created.
    f = FileExists(path) ? fopen(path, "r+b") : OpenForWriting(path);
    return f && WriteSlots(f);
}

bool IntervalChangeNeedsQuestion(const HistoryBuffer *history)
{
    // Any recorded sample counts, gaps or not: a reading lost right after a
    // resume must not let the change wipe the hours before it unasked.
    for (uint32_t i = 1; i < HISTORY_SLOTS; ++i)
        if (history->slots[i] != HISTORY_EMPTY)
            return true;
    return false;
}

void ResetHistoryForInterval(const char *path)
{
    uint8_t newest = historyBuffer.slots[0];
    ClearHistory(&historyBuffer);
    historyBuffer.slots[0] = newest;
    if (FileExists(path))
        SaveHistory(path);
}
