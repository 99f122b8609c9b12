// The native build's file operations, for the core's tests.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

bool FileAttributes(const char *path, bool *directory, bool *readOnly)
{
    struct stat st;
    if (stat(path, &st) != 0)
        return false;
    *directory = S_ISDIR(st.st_mode);
    // The mode bits, not access(): a read-only file stays read-only for root.
    *readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return true;
}

bool FlushToDisk(FILE *file) { return fsync(fileno(file)) == 0; }

bool MoveFileOver(const char *from, const char *to) { return rename(from, to) == 0; }
