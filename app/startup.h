// Starting with Windows: the value under the user's Run key that names the
// program.
#ifndef AMPWATCH_STARTUP_H
#define AMPWATCH_STARTUP_H

#include <stdint.h>

#include "app/settings.h"

// Where Windows keeps what starts with the user's session, and the value's name.
#define RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define RUN_VALUE "Ampwatch"

// Room for a program's path in quotes.
enum { RUN_COMMAND_CAPACITY = PATH_CAPACITY + 2 };

// The command that starts the program: its full path in quotes, as a path
// with spaces needs. False, out empty, for an unknown (empty) path or when it
// does not fit.
bool FormatRunCommand(char *out, uint32_t capacity, const char *modulePath);

// The stored command starts this program: the same quoted path, letters of
// either case (a copy moved elsewhere is another program).
bool RunCommandNamesProgram(const char *stored, const char *command);

#endif
