// Language choice, localised resource ids, the rules of the program's code
// page and bounded number formatting.
#ifndef AMPWATCH_TEXT_H
#define AMPWATCH_TEXT_H

#include <stdint.h>

// German for every German variety (sub-language ignored), English otherwise.
bool IsGermanLanguage(uint16_t languageId);

// Resource id of string n (an IDS_ number of res/resource.h) or of the main
// dialog in the chosen language.
int LocalisedStringId(int n, bool german);
int MainDialogId(bool german);

// The program's texts and paths are in the code page it runs with: UTF-8
// (CODE_PAGE_UTF8) where Windows honours the manifest's choice, else the
// system's single-byte one. UTF-8 until the shell tells it at start.
void SetProgramCodePage(uint32_t codePage);

// The length of text's first bytes bytes in UTF-16 units, which is what the
// platform's limits count: one per character, two for a four-byte UTF-8 one.
uint32_t WideLength(const char *text, uint32_t bytes);
// How many of text's first length bytes hold whole characters: a byte limit
// may have cut a UTF-8 character at their end. In a single-byte code page,
// all of them.
uint32_t WholeCharacterBytes(const char *text, uint32_t length);
// The no-break space in the program's code page.
const char *NoBreakSpace();

// Room for any 32-bit number as decimal text.
enum { NUMBER_CAPACITY = 11 };

// Writes value as unsigned decimal text, with leading zeros up to minDigits
// digits; answers the length, 0 with out empty (when capacity allows) if it
// did not fit.
uint32_t FormatUnsigned(char *out, uint32_t capacity, uint64_t value, uint32_t minDigits = 1);

// Appends a backslash and name to the folder in the first length bytes of out;
// false, out's rest undefined, unless the folder (length 1..capacity - 1) and
// the whole with its terminator fit.
bool JoinPath(char *out, uint32_t capacity, uint32_t length, const char *name);

#endif
