// The graph control of the main dialog (Win32 shell).
#ifndef AMPWATCH_GRAPH_VIEW_WIN32_H
#define AMPWATCH_GRAPH_VIEW_WIN32_H

#include <windows.h>

#include "power/status.h"

// Gives the control a client area of 10k + 1 by 4m + 1 pixels, so the grid
// closes on all four sides.
void FitGraphControl(HWND control);
// WM_DRAWITEM of the graph: the history and the shown status, with or without
// the details overlay; FALSE, drawing nothing, for any other control or
// without the request's record.
BOOL DrawGraph(const DRAWITEMSTRUCT *item, bool details, const PowerSample *shown);
// The brush behind the graph, the colour of its field, so a repaint does not
// flash.
HBRUSH GraphBackground();
// Repaints the graph at once, without erasing first.
void RedrawGraph(HWND dialog);
// The graph's text, which screen readers give as its name, tells what the
// tray icon's tooltip tells; nothing of it is drawn.
void NameGraph(HWND dialog, const PowerSample *shown);

#endif
