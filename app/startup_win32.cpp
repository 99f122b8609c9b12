#include "app/startup_win32.h"

#include "app/settings.h"
#include "app/startup.h"
#include "platform/platform.h"

// The command that starts this program; false when its path is not known whole.
static bool ProgramCommand(char *out, uint32_t capacity)
{
    char module[PATH_CAPACITY];
    const uint32_t length = ReadModulePath(module, sizeof module);
    return length > 0 && length < sizeof module && FormatRunCommand(out, capacity, module);
}

bool StartsWithWindows()
{
    char command[PATH_CAPACITY + 2], stored[PATH_CAPACITY + 2];
    return ProgramCommand(command, sizeof command) && ReadUserString(RUN_KEY, RUN_VALUE, stored, sizeof stored) &&
           RunCommandNamesProgram(stored, command);
}

void ToggleStartWithWindows()
{
    char command[PATH_CAPACITY + 2];
    if (StartsWithWindows())
        DeleteUserValue(RUN_KEY, RUN_VALUE);
    else if (ProgramCommand(command, sizeof command))
        WriteUserString(RUN_KEY, RUN_VALUE, command);
}
