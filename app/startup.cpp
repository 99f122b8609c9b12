#include "app/startup.h"

#include <stdio.h>
#include <string.h>

#include "app/text.h"

bool FormatRunCommand(char *out, uint32_t capacity, const char *modulePath)
{
    if (!capacity)
        return false;
    out[0] = '\0';
    if (!modulePath[0])
        return false;
    const int n = snprintf(out, capacity, "\"%s\"", modulePath);
    if (n < 0 || static_cast<uint32_t>(n) >= capacity ||
        WideLength(out, static_cast<uint32_t>(n)) > RUN_COMMAND_CHARACTERS) {
        out[0] = '\0';
        return false;
    }
    return true;
}

static char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool RunCommandNamesProgram(const char *stored, const char *command)
{
    // Windows compares file names without regard to case; other letters than
    // ASCII's are compared as they are.
    for (; *stored && *command; ++stored, ++command)
        if (Lower(*stored) != Lower(*command))
            return false;
    return *stored == *command;
}

bool SwitchedOffByTaskManager(const uint8_t *mark, uint32_t size)
{
    return size > 0 && (mark[0] & 1u) != 0;
}
