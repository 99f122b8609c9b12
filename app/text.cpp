#include "app/text.h"

#include <stdio.h>

#include "platform/numbers.h"
#include "res/resource.h"

bool IsGermanLanguage(uint16_t languageId)
{
    return (languageId & LANGUAGE_PRIMARY_MASK) == LANGUAGE_GERMAN;
}

int LocalisedStringId(int n, bool german)
{
    return (german ? IDD_MAIN_DE : IDD_MAIN_EN) + n;
}

int MainDialogId(bool german)
{
    return german ? IDD_MAIN_DE : IDD_MAIN_EN;
}

uint32_t FormatUnsigned(char *out, uint32_t capacity, uint32_t value)
{
    if (capacity == 0)
        return 0;
    int n = snprintf(out, capacity, "%u", static_cast<unsigned>(value));
    if (n < 0 || static_cast<uint32_t>(n) >= capacity) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<uint32_t>(n);
}
