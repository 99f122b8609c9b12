#include "app/text.h"

#include <stdio.h>
#include <string.h>

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

uint32_t Utf16Length(const char *text, uint32_t bytes)
{
    uint32_t units = 0;
    for (uint32_t i = 0; i < bytes; ++i) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        // A lead byte starts a character; four-byte ones need two units.
        if ((b & 0xC0u) != 0x80u)
            units += b >= 0xF0u ? 2u : 1u;
    }
    return units;
}

uint32_t Utf8Complete(const char *text, uint32_t length)
{
    uint32_t lead = length;
    while (lead > 0 && length - lead < 4 && (static_cast<uint8_t>(text[lead - 1]) & 0xC0u) == 0x80u)
        --lead;
    if (lead == 0)
        return length;
    const uint8_t b = static_cast<uint8_t>(text[lead - 1]);
    const uint32_t needed = b >= 0xF0u ? 4u : b >= 0xE0u ? 3u : b >= 0xC0u ? 2u : 1u;
    return length - (lead - 1) >= needed ? length : lead - 1;
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

bool JoinPath(char *out, uint32_t capacity, uint32_t length, const char *name)
{
    const size_t size = strlen(name) + 1;
    if (length == 0 || length >= capacity || size > capacity - length - 1)
        return false;
    out[length] = '\\';
    memcpy(out + length + 1, name, size);
    return true;
}
