// Language choice, localised resource ids and bounded number formatting.
#ifndef AMPWATCH_TEXT_H
#define AMPWATCH_TEXT_H

#include <stdint.h>

// German for every German variety (sub-language ignored), English otherwise.
bool IsGermanLanguage(uint16_t languageId);

// Resource id of string n (1..15) or of the main dialog in the chosen language.
int LocalisedStringId(int n, bool german);
int MainDialogId(bool german);

// The program's texts and paths are UTF-8. The length of text's first bytes
// bytes in UTF-16 units, which is what the platform's limits count.
uint32_t Utf16Length(const char *text, uint32_t bytes);
// The length of text's first length bytes without a character cut off at
// their end (by a byte limit).
uint32_t Utf8Complete(const char *text, uint32_t length);

// Room for any 32-bit number as decimal text.
enum { NUMBER_CAPACITY = 11 };

// Writes value as unsigned decimal text; answers the length, 0 if it did not fit.
uint32_t FormatUnsigned(char *out, uint32_t capacity, uint32_t value);

// Appends a backslash and name to the folder in the first length bytes of out;
// false, out's rest undefined, unless the folder (length 1..capacity - 1) and
// the whole with its terminator fit.
bool JoinPath(char *out, uint32_t capacity, uint32_t length, const char *name);

#endif
