// The localised string table.
#ifndef AMPWATCH_TEXT_WIN32_H
#define AMPWATCH_TEXT_WIN32_H

#include <stdint.h>

#include "power/status.h"

// Room for any string of the table (the capacity report, the longest, takes
// less than half) and for a report filled in from it.
enum { TEXT_CAPACITY = 512 };

// String n (IDS_*) of the chosen language, at most capacity - 1 bytes; empty
// when it cannot be loaded.
void LoadText(int n, char *out, uint32_t capacity);

// What the tray icon's tooltip and the graph's name tell of a status: the
// level and the remaining time, in the user's language.
void FormatStatusTip(char *out, uint32_t capacity, const PowerSample *shown);

#endif
