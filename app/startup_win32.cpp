#include "app/startup_win32.h"

#include "app/settings.h"
#include "app/startup.h"
#include "platform/platform.h"

bool StartsWithWindows()
{
    char command[RUN_COMMAND_CAPACITY], stored[RUN_COMMAND_CAPACITY];
    return FormatRunCommand(command, sizeof command, pathSet.program) &&
           ReadUserString(RUN_KEY, RUN_VALUE, stored, sizeof stored) && RunCommandNamesProgram(stored, command);
}

void ToggleStartWithWindows()
{
    char command[RUN_COMMAND_CAPACITY];
    if (StartsWithWindows())
        DeleteUserValue(RUN_KEY, RUN_VALUE);
    else if (FormatRunCommand(command, sizeof command, pathSet.program))
        WriteUserString(RUN_KEY, RUN_VALUE, command);
}
