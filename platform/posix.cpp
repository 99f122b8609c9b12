// The native build's file operations, for the core's tests. They judge by
// the mode bits, not by access(): the tests run as root, whom no permission
// stops, while Windows refuses a read-only file to everyone.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/files.h"

static bool Writable(const struct stat &st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

bool Unwritable(const char *path)
{
    struct stat st;
    return stat(path, &st) == 0 && (S_ISDIR(st.st_mode) || !Writable(st));
}

bool FileExists(const char *path)
{
    struct stat st;
    return path && stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

// Hidden (2) or system (4) where Wine keeps a file's attributes.
static bool HiddenOrSystem(const char *path)
{
    char value[16] = "";
    return getxattr(path, "user.DOSATTRIB", value, sizeof value - 1) > 0 && (strtoul(value, nullptr, 16) & 6u) != 0;
}

FILE *OpenForWriting(const char *path)
{
    // A folder without write bits stands for one whose rights allow no new
    // files, while its files stay writable. Windows refuses to create a
    // hidden or system file anew (CREATE_ALWAYS).
    struct stat st;
    if (stat(path, &st) == 0) {
        if (HiddenOrSystem(path))
            return nullptr;
    } else {
        char folder[4096];
        if (snprintf(folder, sizeof folder, "%s", path) >= int(sizeof folder))
            return nullptr;
        char *slash = strrchr(folder, '/');
        if (!slash)
            snprintf(folder, sizeof folder, ".");
        else
            slash[slash == folder ? 1 : 0] = '\0';  // "/name" lies in "/"
        if (stat(folder, &st) == 0 && !Writable(st))
            return nullptr;
    }
    return fopen(path, "wb");
}

bool CutFile(FILE *file, long length) { return ftruncate(fileno(file), length) == 0; }

bool FlushToDisk(FILE *file) { return fsync(fileno(file)) == 0; }

bool MoveFileOver(const char *from, const char *to)
{
    // As replacing on Windows: the replaced file's permissions stay.
    struct stat st;
    if (stat(to, &st) == 0 && chmod(from, st.st_mode & 07777) != 0)
        return false;
    return rename(from, to) == 0;
}
