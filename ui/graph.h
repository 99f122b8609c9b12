// The history graph as a list of drawing operations, so the picture can be
// checked without a window and drawn by any raster back end.
#ifndef AMPWATCH_GRAPH_H
#define AMPWATCH_GRAPH_H

#include <stddef.h>
#include <stdint.h>

#include "platform/numbers.h"

enum : uint32_t {
    GRAPH_BLACK = 0x000000,
    GRAPH_GRID = 0x008000,
    GRAPH_LINE = 0x00FF00,
    GRAPH_TEXT = 0x00FFFF,
    GRAPH_GRID_GREY = 0x808080,
    GRAPH_LINE_GREY = 0xC0C0C0,
    GRAPH_TEXT_GREY = 0xFFFFFF,
};

// The colours of one paint.
struct GraphPalette {
    uint32_t background, grid, line, text;
};

// The system colours of a high-contrast theme, 0x00BBGGRR.
struct ThemeColors {
    uint32_t window, windowText, highlight, grayText;
};

// Green and yellow on black; greys on a grey-only screen; in a high-contrast
// theme (theme not null) the colours the user chose: the grid in grey text,
// the history in the highlight, the texts in window text on the window.
GraphPalette GraphColors(bool greyOnly, const ThemeColors *theme);

enum GraphOpKind : uint8_t {
    GRAPH_OP_FILL,      // colour over the whole area
    GRAPH_OP_TEXTCOLOR, // colour
    GRAPH_OP_PEN,       // select a solid 1-pixel pen of colour, until END_PEN
    GRAPH_OP_MOVE,      // current position to (x, y)
    GRAPH_OP_LINETO,    // line from the current position up to, not including, (x, y)
    GRAPH_OP_FONT,      // select "Arial" of height and weight
    GRAPH_OP_TEXT,      // text (or string n when stringId) with flags against the area
    GRAPH_OP_END_FONT,  // back to the target's font
    GRAPH_OP_END_PEN,   // back to the target's pen
};

enum { GRAPH_TEXT_CAPACITY = 128, GRAPH_MAX_OPS = 400 };

struct GraphOp {
    GraphOpKind kind;
    int32_t x, y;        // MOVE, LINETO
    uint32_t colour;     // FILL, TEXTCOLOR, PEN
    int32_t height;      // FONT
    int32_t weight;      // FONT
    uint32_t flags;      // TEXT
    int stringId;        // TEXT: string table entry (an IDS_ number), 0 for the literal text
    char text[GRAPH_TEXT_CAPACITY];
};

struct GraphList {
    GraphOp ops[GRAPH_MAX_OPS];
    size_t count;
};

struct GraphInput {
    int32_t left, top, right, bottom;  // right and bottom exclusive
    int32_t dpiY;                      // the target's; font heights follow it
    GraphPalette colors;   // GraphColors for the target
    const uint8_t *history;  // 256 samples, newest first, 255 = gap
    uint8_t percent, batteryFlag, acLineStatus;
    uint32_t lifetime;     // seconds, 0xFFFFFFFF unknown
    uint32_t interval;     // seconds per sample
    bool details;          // overlay on: details flag set or the control pressed
};

// The string table entry (an IDS_ number) of the battery state text, 0 for none, -1
// for an empty text (no named bit set).
int GraphStateString(uint8_t batteryFlag);
// The string table entry of the power source text, 0 for none, -1 for an
// empty text.
int GraphSourceString(uint8_t acLineStatus);

// format holds one "%s", replaced by the duration: a number, a no-break space
// (NoBreakSpace) and "s", "min" or "h". False, writing nothing, for a null
// buffer or format.
bool FormatDuration(char *out, size_t capacity, const char *format, uint32_t seconds);

// Position and outer size that give the control a client area of 10k + 1 by
// 4m + 1 pixels, centred to within a pixel. x0..y1 are its window corners in
// the parent's client coordinates, w and h its client size.
struct GraphFit {
    int32_t x, y, width, height;
};
GraphFit FitGraphArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t w, int32_t h);

// The whole paint. Never more than GRAPH_MAX_OPS operations, for any area.
void BuildGraph(const GraphInput *input, GraphList *list);

#endif
