// The localised string table.
#ifndef AMPWATCH_TEXT_WIN32_H
#define AMPWATCH_TEXT_WIN32_H

#include <stdint.h>

// Room for any string of the table (the capacity report, the longest, takes
// less than half) and for a report filled in from it.
enum { TEXT_CAPACITY = 512 };

// String n (IDS_*) of the chosen language, at most capacity - 1 bytes; empty
// when it cannot be loaded.
void LoadText(int n, char *out, uint32_t capacity);

#endif
