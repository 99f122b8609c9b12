// Starting with Windows: the value under the user's Run key that names the
// program.
#ifndef AMPWATCH_STARTUP_H
#define AMPWATCH_STARTUP_H

#include <stdint.h>

#include "app/settings.h"

// Where Windows keeps what starts with the user's session, and the value's name.
#define RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define RUN_VALUE "Ampwatch"

// Task Manager's Startup tab switches an entry off beside it, in a binary
// value of the same name.
#define APPROVED_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"

// Room for a program's path in quotes; the Run key takes commands of up to
// 260 characters.
enum { RUN_COMMAND_CAPACITY = PATH_CAPACITY + 2, RUN_COMMAND_CHARACTERS = 260 };

// The command that starts the program: its full path in quotes, as a path
// with spaces needs. False, out empty, for an unknown (empty) path, when it
// does not fit or is longer than the Run key takes.
bool FormatRunCommand(char *out, uint32_t capacity, const char *modulePath);

// Task Manager's mark of size bytes switches the entry off: its first byte is
// odd. No mark (size 0) counts as on.
bool SwitchedOffByTaskManager(const uint8_t *mark, uint32_t size);

// The stored command starts this program: the same quoted path, letters of
// either case (a copy moved elsewhere is another program).
bool RunCommandNamesProgram(const char *stored, const char *command);

#endif
