// The graph control of the main dialog (Win32 shell).
#ifndef AMPWATCH_GRAPH_VIEW_WIN32_H
#define AMPWATCH_GRAPH_VIEW_WIN32_H

#include <windows.h>

// Gives the control a client area of 10k + 1 by 4m + 1 pixels, so the grid
// closes on all four sides.
void FitGraphControl(HWND control);
// WM_DRAWITEM of the graph, with or without its details overlay; FALSE for
// any other control.
BOOL DrawGraph(const DRAWITEMSTRUCT *item, bool details);
// Repaints the graph at once, without erasing first.
void RedrawGraph(HWND dialog);

#endif
