#include "app/system_folder_win32.h"

#include "app/text.h"

bool SystemFilePath(const char *name, char *out, uint32_t capacity)
{
    // The folder's length, 0 on failure, or the size it would need.
    return JoinPath(out, capacity, GetSystemDirectoryA(out, capacity), name);
}
