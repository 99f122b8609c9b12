#include "app/text.h"

#include <string.h>

#include "platform/numbers.h"
#include "res/resource.h"

static uint32_t programCodePage = CODE_PAGE_UTF8;

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

void SetProgramCodePage(uint32_t codePage)
{
    programCodePage = codePage;
}

uint32_t WideLength(const char *text, uint32_t bytes)
{
    if (programCodePage != CODE_PAGE_UTF8)
        return bytes;
    uint32_t units = 0;
    for (uint32_t i = 0; i < bytes; ++i) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        // A lead byte starts a character; four-byte ones need two units.
        if ((b & 0xC0u) != 0x80u)
            units += b >= 0xF0u ? 2u : 1u;
    }
    return units;
}

uint32_t WholeCharacterBytes(const char *text, uint32_t length)
{
    if (programCodePage != CODE_PAGE_UTF8)
        return length;
    uint32_t lead = length;
    while (lead > 0 && length - lead < 4 && (static_cast<uint8_t>(text[lead - 1]) & 0xC0u) == 0x80u)
        --lead;
    if (lead == 0)
        return length;
    const uint8_t b = static_cast<uint8_t>(text[lead - 1]);
    const uint32_t needed = b >= 0xF0u ? 4u : b >= 0xE0u ? 3u : b >= 0xC0u ? 2u : 1u;
    return length - (lead - 1) >= needed ? length : lead - 1;
}

const char *NoBreakSpace()
{
    return programCodePage == CODE_PAGE_UTF8 ? "\xC2\xA0" : "\xA0";
}

uint32_t FormatUnsigned(char *out, uint32_t capacity, uint64_t value, uint32_t minDigits)
{
    if (capacity == 0)
        return 0;
    char reversed[20];  // any 64-bit number, its last digit first
    uint32_t digits = 0;
    do {
        // The digit from the quotient's low bits: a 64-bit remainder would
        // link a second division routine into the program.
        const uint64_t rest = value / 10u;
        const uint32_t digit = static_cast<uint32_t>(value) - static_cast<uint32_t>(rest) * 10u;
        reversed[digits++] = static_cast<char>('0' + digit);
        value = rest;
    } while (value != 0);
    const uint32_t zeros = minDigits > digits ? minDigits - digits : 0;
    if (digits >= capacity || zeros >= capacity - digits) {
        out[0] = '\0';
        return 0;
    }
    uint32_t length = 0;
    while (length < zeros)
        out[length++] = '0';
    while (digits > 0)
        out[length++] = reversed[--digits];
    out[length] = '\0';
    return length;
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
