// The file operations that differ between Windows and the native build of
// the core (platform/win32.cpp and platform/posix.cpp).
#ifndef AMPWATCH_FILES_H
#define AMPWATCH_FILES_H

#include <stdio.h>

// Something exists at path; says whether it is a folder or read-only.
bool FileAttributes(const char *path, bool *directory, bool *readOnly);
// The file's written data is on the disk.
bool FlushToDisk(FILE *file);
// from takes to's place in one step, replacing it.
bool MoveFileOver(const char *from, const char *to);

#endif
