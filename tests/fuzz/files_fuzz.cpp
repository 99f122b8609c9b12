// Any bytes as the executable's path and the history path in either code page,
// and as a history file followed by polls and interval answers.
#include "app/settings.h"
#include "app/text.h"
#include "history/history.h"
#include "platform/numbers.h"
#include "tests/fuzz/fuzz_check.h"
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Each file keeps the executable's stem and gets its own suffix.
    SetProgramCodePage(size % 2 ? 1252u : CODE_PAGE_UTF8);
    char path[600], temp[PATH_CAPACITY];
    snprintf(path, sizeof path, "%.*s", int(size < 599 ? size : 599), reinterpret_cast<const char *>(data));
    DerivePaths(&pathSet, path, static_cast<uint32_t>(strlen(path)));
    FUZZ_CHECK(!pathSet.program[0] || !strcmp(pathSet.program, path));  // whole or not known
    const size_t stem = strnlen(pathSet.settings, PATH_CAPACITY) - 4;
    FUZZ_CHECK(stem < PATH_CAPACITY - 4 && !strcmp(pathSet.settings + stem, ".ini") &&
               !strcmp(pathSet.history + stem, ".dat") && !strcmp(pathSet.eventLog + stem, ".txt"));
    FUZZ_CHECK(!memcmp(pathSet.settings, pathSet.history, stem) && !memcmp(pathSet.history, pathSet.eventLog, stem));
    if (HistoryTempPath(path, temp, sizeof temp)) {
        const size_t n = strlen(temp), folder = n - 9;  // when it is the short name
        FUZZ_CHECK(strcmp(temp, path) != 0);
        FUZZ_CHECK((n == strlen(path) + 4 && !strncmp(temp, path, n - 4) && !strcmp(temp + n - 4, ".tmp")) ||
                   (n >= 9 && !strcmp(temp + folder, "~hist.tmp") && !strncmp(temp, path, folder) &&
                    strcspn(path + folder, "\\/:") == strlen(path + folder)));
    }
    if (ParseHistoryBytes(&historyBuffer, data, size))
        FUZZ_CHECK(!memcmp(historyBuffer.slots, data, HISTORY_SLOTS));
    for (size_t i = size < HISTORY_SLOTS ? 0 : HISTORY_SLOTS; i < size; ++i) {
        const HistoryBuffer before = historyBuffer;
        uint8_t byte = data[i];
        if (byte & 1)  // a poll: a percent or an unknown level
            RecordSample(byte >= 203 ? uint8_t{255} : uint8_t(byte / 2));
        else if (byte & 2) {  // an accepted interval change
            ResetHistoryForInterval(nullptr);
            FUZZ_CHECK(historyBuffer.slots[0] == before.slots[0] && !IntervalChangeNeedsQuestion(&historyBuffer));
        }
    }
    HistoryBuffer saved;  // what a save writes reads back
    FUZZ_CHECK(ParseHistoryBytes(&saved, historyBuffer.slots, HISTORY_SLOTS));
    return 0;
}
