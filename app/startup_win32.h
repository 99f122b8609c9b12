// Starting with Windows, as the window menu switches it.
#ifndef AMPWATCH_STARTUP_WIN32_H
#define AMPWATCH_STARTUP_WIN32_H

// The user's Run value names this program, where it is now.
bool StartsWithWindows();
// Removes a Run value that names this program; otherwise writes it anew
// (also over one that names a copy elsewhere).
void ToggleStartWithWindows();

#endif
