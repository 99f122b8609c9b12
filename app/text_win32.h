// The localised string table.
#ifndef AMPWATCH_TEXT_WIN32_H
#define AMPWATCH_TEXT_WIN32_H

#include <stdint.h>

// String n (IDS_*) of the chosen language, at most capacity - 1 characters.
uint32_t LoadText(int n, char *out, uint32_t capacity);

#endif
