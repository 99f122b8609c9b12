// Starting with Windows, as the window menu switches it.
#ifndef AMPWATCH_STARTUP_WIN32_H
#define AMPWATCH_STARTUP_WIN32_H

// The Run key can take the command that starts this program.
bool CanStartWithWindows();
// The user's Run value names this program, where it is now, and Task Manager
// has not switched it off.
bool StartsWithWindows();
// Removes a Run value that starts this program; otherwise writes it anew
// (also over one that names a copy elsewhere or is switched off). Task
// Manager's mark goes either way.
void ToggleStartWithWindows();

#endif
