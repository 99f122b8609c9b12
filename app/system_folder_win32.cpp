#include "app/system_folder_win32.h"

#include "app/text.h"

bool SystemFilePath(const char *name, char *out, uint32_t capacity)
{
    // The folder's length, 0 on failure, or the size it would need.
    return JoinPath(out, capacity, GetSystemDirectoryA(out, capacity), name);
}

HMODULE LoadSystemLibrary(const char *name)
{
    // Never the program's own folder: a library dropped beside the meter
    // must not run.
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // Systems without the search flags: the full path instead.
    char path[MAX_PATH];
    return SystemFilePath(name, path, sizeof path) ? LoadLibraryA(path) : nullptr;
}
