// The file operations that differ between Windows and the native build of
// the core (platform/win32.cpp and platform/posix.cpp).
#ifndef AMPWATCH_FILES_H
#define AMPWATCH_FILES_H

#include <stdio.h>

// A folder or a read-only file is at path: nothing a save may replace.
bool Unwritable(const char *path);
// A file, not a folder, is at path.
bool FileExists(const char *path);
// Creates or truncates path for binary writing; nothing when that is refused,
// as for a new file in a folder whose rights allow no new files, or for a
// hidden or system file, which Windows does not create anew.
FILE *OpenForWriting(const char *path);
// Cuts an open file after length bytes, its written data flushed before.
bool CutFile(FILE *file, long length);
// The file's written data is on the disk.
bool FlushToDisk(FILE *file);
// from takes to's place in one step; a replaced file keeps its attributes
// and permissions where the file system allows.
bool MoveFileOver(const char *from, const char *to);

#endif
