#include "app/startup_win32.h"

#include "app/settings.h"
#include "app/startup.h"
#include "platform/platform.h"

bool CanStartWithWindows()
{
    char command[RUN_COMMAND_CAPACITY];
    return FormatRunCommand(command, sizeof command, pathSet.program);
}

bool StartsWithWindows()
{
    char command[RUN_COMMAND_CAPACITY], stored[RUN_COMMAND_CAPACITY];
    uint8_t mark[64];  // Task Manager writes 12 bytes
    return FormatRunCommand(command, sizeof command, pathSet.program) &&
           ReadUserString(RUN_KEY, RUN_VALUE, stored, sizeof stored) && RunCommandNamesProgram(stored, command) &&
           !SwitchedOffByTaskManager(mark, ReadUserBinary(APPROVED_KEY, RUN_VALUE, mark, sizeof mark));
}

void ToggleStartWithWindows()
{
    char command[RUN_COMMAND_CAPACITY];
    const bool on = StartsWithWindows();
    if (!FormatRunCommand(command, sizeof command, pathSet.program))
        return;  // too long for the Run key: the item is greyed
    // Without a mark Task Manager counts the entry as on; deleted rather than
    // written as on, it leaves nothing behind once the entry is gone.
    DeleteUserValue(APPROVED_KEY, RUN_VALUE);
    if (on)
        DeleteUserValue(RUN_KEY, RUN_VALUE);
    else
        WriteUserString(RUN_KEY, RUN_VALUE, command);
}
