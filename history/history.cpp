#include "history/history.h"

#include <stdio.h>
#include <string.h>

#include "app/settings.h"

// Replacing a file in one step, forcing data to disk and looking at a path
// are the only things that differ between Windows and elsewhere.
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <io.h>

static bool PathAttributes(const char *path, bool *directory, bool *readOnly)
{
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    *directory = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    *readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    return true;
}

static bool SyncFile(FILE *f) { return _commit(_fileno(f)) == 0; }

static bool ReplaceWith(const char *from, const char *to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
#include <sys/stat.h>
#include <unistd.h>

static bool PathAttributes(const char *path, bool *directory, bool *readOnly)
{
    struct stat st;
    if (stat(path, &st) != 0)
        return false;
    *directory = S_ISDIR(st.st_mode);
    // The mode bits, not access(): a read-only file stays read-only for root.
    *readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return true;
}

static bool SyncFile(FILE *f) { return fsync(fileno(f)) == 0; }

static bool ReplaceWith(const char *from, const char *to) { return rename(from, to) == 0; }
#endif

HistoryBuffer historyBuffer;

enum { PATH_LIMIT = PATH_CAPACITY - 1 };

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

uint32_t RecordedRun(const HistoryBuffer *history)
{
    uint32_t n = 0;
    while (n < HISTORY_SLOTS && history->slots[n] != HISTORY_EMPTY)
        ++n;
    return n;
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

uint8_t HistorySlot(uint32_t index)
{
    return index < HISTORY_SLOTS ? historyBuffer.slots[index] : uint8_t(HISTORY_EMPTY);
}

bool HistoryFileExists(const char *path)
{
    bool directory = false, readOnly = false;
    return path && PathAttributes(path, &directory, &readOnly);
}

// Beside the history file, so the final step is a rename within one folder.
bool HistoryTempPath(const char *path, char *out, size_t capacity)
{
    static const char suffix[] = ".tmp";
    static const char shortName[] = "~hist.tmp";
    size_t length = strlen(path);
    if (length + sizeof suffix - 1 <= PATH_LIMIT && length + sizeof suffix <= capacity) {
        snprintf(out, capacity, "%s%s", path, suffix);
        return true;
    }
    size_t folder = length;
    while (folder > 0 && path[folder - 1] != '\\' && path[folder - 1] != '/' &&
           path[folder - 1] != ':')
        --folder;
    if (folder + sizeof shortName - 1 > PATH_LIMIT || folder + sizeof shortName > capacity)
        return false;
    memcpy(out, path, folder);
    memcpy(out + folder, shortName, sizeof shortName);
    // A history file that happens to carry the short name must not be its own temporary.
    return strcmp(out, path) != 0;
}

bool SaveHistory(const char *path)
{
    if (!path)
        return false;
    // A read-only history file is the user's way of freezing it; a directory
    // cannot be replaced. Both fail before anything is written.
    bool directory = false, readOnly = false;
    if (PathAttributes(path, &directory, &readOnly) && (directory || readOnly))
        return false;
    char temp[PATH_CAPACITY];
    if (!HistoryTempPath(path, temp, sizeof temp))
        return false;
    FILE *f = fopen(temp, "wb");
    if (!f)
        return false;
    bool ok = fwrite(historyBuffer.slots, 1, HISTORY_SLOTS, f) == HISTORY_SLOTS;
    ok = fflush(f) == 0 && ok;
    ok = ok && SyncFile(f);
    ok = fclose(f) == 0 && ok;
    ok = ok && ReplaceWith(temp, path);
    if (!ok)
        remove(temp);
    return ok;
}

bool IntervalChangeRequested(int64_t position, uint32_t currentInterval)
{
    return position >= INTERVAL_MIN && position <= INTERVAL_MAX &&
           position != int64_t(currentInterval);
}

bool IntervalChangeNeedsQuestion(const HistoryBuffer *history)
{
    return RecordedRun(history) >= 2;
}

void ResetHistoryForInterval(const char *path)
{
    uint8_t newest = historyBuffer.slots[0];
    ClearHistory(&historyBuffer);
    historyBuffer.slots[0] = newest;
    if (HistoryFileExists(path))
        SaveHistory(path);
}

bool ConfirmIntervalChange(const char *path, int (*ask)(void *context), void *context)
{
    // Counted before the question opens; the polls that run inside it may
    // still add samples, and the newest of them is the one kept.
    if (IntervalChangeNeedsQuestion(&historyBuffer) &&
        (!ask || ask(context) != HISTORY_ANSWER_OK))
        return false;
    ResetHistoryForInterval(path);
    return true;
}
