// The charge history: the last 256 samples, newest first, and its file.
#ifndef AMPWATCH_HISTORY_H
#define AMPWATCH_HISTORY_H

#include <stddef.h>
#include <stdint.h>

enum { HISTORY_SLOTS = 256, HISTORY_EMPTY = 255, HISTORY_MAX_PERCENT = 100 };

// Slot 0 is the newest sample, slot i was taken i polls earlier. Each slot
// holds a percent 0..100 or 255 for no sample.
struct HistoryBuffer {
    uint8_t slots[HISTORY_SLOTS];
};

extern HistoryBuffer historyBuffer;

// Fills every slot with 255.
void ClearHistory(HistoryBuffer *history);

// Takes over the content of a history file of length bytes: its first 256
// bytes when there are at least that many and none of them is in 101..254,
// else an empty history. Answers whether the content was taken.
bool ParseHistoryBytes(HistoryBuffer *history, const uint8_t *data, size_t length);

// Reads the history file at path into historyBuffer; an unreadable, short or
// damaged file leaves an empty history. The file is never changed. Answers
// whether the file's samples were taken.
bool LoadHistory(const char *path);

// Shifts every slot one place older, dropping slot 255, and stores percent
// unchanged in slot 0 (255, an unknown level, becomes a gap).
void RecordSample(uint8_t percent);

// Writes the 256 slots to path through a temporary file beside it that then
// replaces the old file in one step, keeping its attributes. Where no
// temporary can be made or moved over, writes the file in place instead.
// Answers true only when all 256 bytes are in the file; a failed temporary
// does not stay, one not made by a save (a folder, a read-only file) is left
// alone. A read-only history file or a directory at path fails untouched; a
// missing folder is not created.
bool SaveHistory(const char *path);

// The temporary file a save writes first, in the history file's folder: the
// path plus ".tmp", or "~hist.tmp" in the same folder when that would pass 259
// characters. False when neither fits (or capacity is too small), and for a
// history file that is itself named "~hist.tmp".
bool HistoryTempPath(const char *path, char *out, size_t capacity);

// Changing the interval would delete a recorded sample: one other than slot 0.
bool IntervalChangeNeedsQuestion(const HistoryBuffer *history);

// An accepted interval change: keeps only slot 0 (even when it is 255) and
// saves to path, but only when a file already exists there; no file is
// created here. Samples recorded while the question was open count: the slot
// 0 kept is the newest one.
void ResetHistoryForInterval(const char *path);

#endif
