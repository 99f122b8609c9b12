// Files of the system folder.
#ifndef AMPWATCH_SYSTEM_FOLDER_WIN32_H
#define AMPWATCH_SYSTEM_FOLDER_WIN32_H

#include <windows.h>
#include <stdint.h>

// Full path of a file in the system folder; false when it does not fit.
bool SystemFilePath(const char *name, char *out, uint32_t capacity);

#endif
