// Fuzzes the history file parser, the recording/interval sequence and the
// temporary name. With libFuzzer: clang++ -fsanitize=fuzzer,address,undefined.
// Without it, build with -DHISTORY_FUZZ_STANDALONE and pass input files.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "history/history.h"

static void Check(bool condition, const char *what)
{
    if (!condition) {
        fprintf(stderr, "history fuzz: %s\n", what);
        abort();
    }
}

static void CheckValid(const HistoryBuffer *h)
{
    for (int i = 0; i < HISTORY_SLOTS; ++i)
        Check(h->slots[i] <= HISTORY_MAX_PERCENT || h->slots[i] == HISTORY_EMPTY, "slot out of range");
}

static int answer;
static int AskFuzz(void *) { return answer; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    bool taken = ParseHistoryBytes(&historyBuffer, data, size);
    CheckValid(&historyBuffer);
    if (taken)
        Check(memcmp(historyBuffer.slots, data, HISTORY_SLOTS) == 0, "accepted file not copied");
    else
        Check(RecordedRun(&historyBuffer) == 0, "rejected file left samples");

    // The rest drives polls and interval changes: even bytes record, odd ones
    // answer the interval question.
    size_t start = size < HISTORY_SLOTS ? 0 : HISTORY_SLOTS;
    for (size_t i = start; i < size; ++i) {
        uint8_t b = data[i];
        if (b % 2 == 0) {
            HistoryBuffer before = historyBuffer;
            RecordSample(uint8_t(b / 2 > 100 ? 255 : b / 2));
            Check(memcmp(historyBuffer.slots + 1, before.slots, HISTORY_SLOTS - 1) == 0, "shift");
        } else {
            answer = b % 4 == 1 ? HISTORY_ANSWER_OK : 2;
            HistoryBuffer before = historyBuffer;
            bool asks = IntervalChangeNeedsQuestion(&historyBuffer);
            bool accepted = ConfirmIntervalChange(nullptr, AskFuzz, nullptr);
            Check(accepted == (!asks || answer == HISTORY_ANSWER_OK), "decision");
            if (accepted) {
                Check(historyBuffer.slots[0] == before.slots[0], "slot 0 not kept");
                Check(RecordedRun(&historyBuffer) <= 1, "older samples kept");
            } else {
                Check(memcmp(&before, &historyBuffer, sizeof before) == 0, "refusal changed history");
            }
        }
        CheckValid(&historyBuffer);
    }

    // Any text as a path: the temporary name fits and stays in the same folder.
    char path[400];
    size_t n = size < sizeof path - 1 ? size : sizeof path - 1;
    memcpy(path, data, n);
    path[n] = '\0';
    char temp[260];
    if (HistoryTempPath(path, temp, sizeof temp)) {
        size_t length = strlen(temp);
        Check(length <= 259, "temporary name too long");
        Check(strcmp(temp, path) != 0, "temporary is the file itself");
        size_t folder = strlen(path);
        while (folder > 0 && !strchr("\\/:", path[folder - 1]))
            --folder;
        Check(strncmp(temp, path, folder) == 0, "temporary in another folder");
    }
    return 0;
}

#ifdef HISTORY_FUZZ_STANDALONE
int main(int argc, char **argv)
{
    static uint8_t buffer[1 << 16];
    for (int i = 1; i < argc; ++i) {
        FILE *f = fopen(argv[i], "rb");
        if (!f) {
            fprintf(stderr, "cannot open %s\n", argv[i]);
            return 1;
        }
        size_t size = fread(buffer, 1, sizeof buffer, f);
        fclose(f);
        LLVMFuzzerTestOneInput(buffer, size);
    }
    return 0;
}
#endif
