#include "ui/tray_image.h"

#include <string.h>

#include "app/text.h"

namespace {

// The 16-pixel design: the battery's outer columns 1 to 13 (its right edge
// before column 14) in the bottom five rows; the label's measures.
enum {
    SQUARE = 16,
    MAX_SQUARE = 64,
    BATTERY_LEFT = 1,
    BATTERY_RIGHT_EDGE = 14,
    BATTERY_ROWS = 5,
    NARROW_COLUMNS = 11,
    HUNDRED_WIDTH = 10,
};

// Keeps a value within a range: every coordinate sum stays defined whatever
// the platform measured.
int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// A design length of the 16-pixel picture in a working square of side n,
// rounded half up. Lengths are never negative.
int32_t Scaled(int32_t n, int32_t length)
{
    return (length * n + SQUARE / 2) / SQUARE;
}

int32_t Max(int32_t a, int32_t b)
{
    return a > b ? a : b;
}

int32_t Min(int32_t a, int32_t b)
{
    return a < b ? a : b;
}

// Where the picture's parts lie, in device pixels; every column and row is
// inclusive.
struct TrayGeometry {
    TrayPoint origin;  // the working square's top left
    int32_t side;      // of the working square
    int32_t line;      // thickness of every line
    // The battery: a body with a terminal on its left, in the bottom rows.
    int32_t terminalLeft;    // the terminal's outer column, the battery's first
    int32_t bodyLeft;        // the body's outer left column, right of the terminal
    int32_t right;           // the body's outer right column, the battery's last
    int32_t top, bottom;     // the body's outer rows
    int32_t terminalTop, terminalBottom;  // the terminal's outer rows
    // Its top and bottom lines: as thick as the others unless that would close
    // its opening (as at 24 pixels).
    int32_t terminalLine;
};

TrayGeometry GeometryOf(int32_t width, int32_t height)
{
    TrayGeometry g;
    g.side = TrayWorkingSize(width, height);
    g.origin = TrayWorkingOrigin(width, height);
    g.line = Scaled(g.side, 1);
    // The battery's edges are scaled, not counted in lines, so at 150 % the
    // walls rounded up to two pixels do not push it off the slot's width.
    g.terminalLeft = g.origin.x + Scaled(g.side, BATTERY_LEFT);
    g.bodyLeft = g.terminalLeft + g.line;
    g.right = g.origin.x + Scaled(g.side, BATTERY_RIGHT_EDGE) - 1;
    g.bottom = g.origin.y + g.side - 1;
    g.top = g.origin.y + g.side - Scaled(g.side, BATTERY_ROWS);
    g.terminalTop = g.top + g.line;
    g.terminalBottom = g.bottom - g.line;
    g.terminalLine = Clamp(g.line, 1, (g.terminalBottom - g.terminalTop) / 2);
    return g;
}

void Append(TrayDisplayList *list, const TrayOp &op)
{
    if (list->opCount < TRAY_MAX_OPS)
        list->ops[list->opCount++] = op;
}

// Every step writes the mask first (opaque), then the colour raster.
void AppendBoth(TrayDisplayList *list, TrayOp op, uint32_t color)
{
    op.surface = TRAY_MASK;
    op.color = 0;
    Append(list, op);
    op.surface = TRAY_COLOR;
    op.color = color;
    Append(list, op);
}

TrayOp Polyline(const TrayPoint *points, uint32_t count)
{
    TrayOp op;
    memset(&op, 0, sizeof op);
    op.kind = TRAY_OP_POLYLINE;
    op.pointCount = count;
    memcpy(op.points, points, count * sizeof points[0]);
    return op;
}

void Line(TrayDisplayList *list, uint32_t color, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const TrayPoint points[2] = {{x0, y0}, {x1, y1}};
    AppendBoth(list, Polyline(points, 2), color);
}

// `rings` nested closed outlines of the rectangle, from its edge inwards.
void NestedOutlines(TrayDisplayList *list, uint32_t color, const TrayRect &r, int32_t rings)
{
    for (int32_t k = 0; k < rings; ++k) {
        const int32_t l = r.left + k, t = r.top + k, rt = r.right - 1 - k, b = r.bottom - 1 - k;
        const TrayPoint points[5] = {{l, t}, {l, b}, {rt, b}, {rt, t}, {l, t}};
        AppendBoth(list, Polyline(points, 5), color);
    }
}

void Clear(TrayDisplayList *list)
{
    TrayOp op;
    memset(&op, 0, sizeof op);
    op.kind = TRAY_OP_CLEAR;
    op.rect = {0, 0, list->width, list->height};
    op.surface = TRAY_MASK;
    op.color = 0x00FFFFFFu;
    Append(list, op);
    op.surface = TRAY_COLOR;
    op.color = 0;
    Append(list, op);
}

// The outline as `line` nested rings, each running round body and terminal
// one pixel further in; the terminal's top and bottom stop at their own
// thickness. The body's wall behind the terminal is left open to the fill.
void PlanBatteryOutline(TrayDisplayList *list, const TrayGeometry &g, uint32_t ink)
{
    for (int32_t k = 0; k < g.line; ++k) {
        const int32_t terminalLeft = g.terminalLeft + k, bodyLeft = g.bodyLeft + k, right = g.right - k;
        const int32_t top = g.top + k, bottom = g.bottom - k, inset = Min(k, g.terminalLine - 1);
        const int32_t terminalTop = g.terminalTop + inset, terminalBottom = g.terminalBottom - inset;
        const TrayPoint ring[9] = {{right, bottom},          {bodyLeft, bottom},
                                   {bodyLeft, terminalBottom}, {terminalLeft, terminalBottom},
                                   {terminalLeft, terminalTop}, {bodyLeft, terminalTop},
                                   {bodyLeft, top},          {right, top},
                                   {right, bottom}};
        AppendBoth(list, Polyline(ring, 9), ink);
    }
}

// The fill tells the level, not the amount: it always fills the interior,
// one row at a time from the bottom, and the opening behind the terminal.
void PlanBatteryFill(TrayDisplayList *list, const TrayGeometry &g, uint32_t color)
{
    const int32_t last = g.right - g.line;
    for (int32_t y = g.bottom - g.line; y >= g.top + g.line; --y) {
        const bool opening =
            y >= g.terminalTop + g.terminalLine && y <= g.terminalBottom - g.terminalLine;
        const int32_t first = opening ? g.bodyLeft : g.bodyLeft + g.line;
        Line(list, color, last, y, first - 1, y);  // the line stops before its end point
    }
}

// The line-drawn glyphs in design cells: column c from the glyph's left x,
// row r counted from its bottom line y (negative upwards).
struct Glyph {
    int32_t x, y;
    int32_t n;          // side of the working square
    int32_t thickness;  // of every line
    uint32_t color;
};

// The pixels of cells [c0, c1) x [r0, r1): they cover their scaled cells and
// are never thinner than a line, so a diagonal of cells stays joined. A
// stroke grows rightwards and upwards, so the glyphs keep their bottom line.
TrayRect GlyphCells(const Glyph &g, int32_t c0, int32_t r0, int32_t c1, int32_t r1)
{
    TrayRect r;
    r.left = g.x + Scaled(g.n, c0);
    r.right = Max(g.x + Scaled(g.n, c1), r.left + g.thickness);
    r.bottom = g.y - Scaled(g.n, -r1);
    r.top = Min(g.y - Scaled(g.n, -r0), r.bottom - g.thickness);
    return r;
}

// A vertical stroke down column c over rows [r0, r1).
void Stroke(TrayDisplayList *list, const Glyph &g, int32_t c, int32_t r0, int32_t r1)
{
    const TrayRect r = GlyphCells(g, c, r0, c + 1, r1);
    for (int32_t x = r.left; x < r.right; ++x)
        Line(list, g.color, x, r.top, x, r.bottom);
}

// A 0 of 100: an outline of three columns. Where lines as thick as the
// scale would close it (24 pixels), it keeps thinner ones.
void ZeroDigit(TrayDisplayList *list, const Glyph &g, int32_t c)
{
    const TrayRect r = GlyphCells(g, c, -9, c + 3, -2);
    NestedOutlines(list, g.color, r, Clamp(g.thickness, 1, (r.right - r.left - 1) / 2));
}

void Hundred(TrayDisplayList *list, const Glyph &g)
{
    const TrayRect flag = GlyphCells(g, 0, -8, 1, -7);
    for (int32_t y = flag.top; y < flag.bottom; ++y)
        Line(list, g.color, flag.left, y, flag.right, y);
    Stroke(list, g, 1, -9, -2);
    ZeroDigit(list, g, 3);
    ZeroDigit(list, g, 7);
}

void PercentSign(TrayDisplayList *list, const Glyph &g)
{
    Stroke(list, g, 1, -8, -6);
    Stroke(list, g, 4, -4, -2);
    Stroke(list, g, 1, -3, -2);
    Stroke(list, g, 2, -5, -3);
    Stroke(list, g, 4, -8, -7);
    Stroke(list, g, 3, -7, -5);
}

// The digits above the battery: with a line-drawn percent sign when they
// leave room for one, "100" always drawn in lines; else the text alone,
// centred over the square.
void PlanLabel(TrayDisplayList *list, const TrayGeometry &g, const TrayImageInput *input,
               uint32_t ink)
{
    TrayOp text;
    memset(&text, 0, sizeof text);
    text.kind = TRAY_OP_TEXT;
    TrayImageText(input->percent, text.text);

    // The narrow rule on the scaled measures: a text narrower than the first
    // 11 design columns leaves room for the percent sign.
    const int32_t narrow = Scaled(g.side, NARROW_COLUMNS);
    const bool hundred = input->percent == 100;
    const int32_t width = hundred ? Scaled(g.side, HUNDRED_WIDTH) : Clamp(input->textWidth, 0, 4096);
    const int32_t height = Clamp(input->lineHeight, -4096, 4096);
    if (width >= narrow) {
        // Cut above the battery.
        text.rect = TrayTextArea(list->width, list->height);
        text.textFormat = TRAY_TEXT_CENTER;
    } else {
        const int32_t left = g.origin.x + (narrow - width) / 2;
        text.rect = TrayRect{left, g.origin.y, left + width, g.origin.y + height};
        // The line-drawn glyphs hang from the measured bottom, so they follow
        // the font's line height. A gap of one scaled column keeps the sign
        // off the digits.
        Glyph glyph = {text.rect.left, text.rect.bottom, g.side, g.line, ink};
        if (hundred)
            Hundred(list, glyph);
        glyph.x = text.rect.right;
        PercentSign(list, glyph);
    }
    if (!hundred)
        AppendBoth(list, text, ink);
}

}  // namespace

void TrayImageText(uint8_t percent, char out[TRAY_TEXT_CAPACITY])
{
    if (percent == PERCENT_UNKNOWN) {
        out[0] = '?';
        out[1] = '\0';
        return;
    }
    FormatUnsigned(out, TRAY_TEXT_CAPACITY, percent);
}

TrayFill TrayFillFor(uint8_t percent, uint8_t batteryFlag, uint8_t lowThreshold,
                     uint8_t criticalThreshold)
{
    // 255 is "not known": then no bit of it means anything.
    const uint8_t flag = batteryFlag == FLAG_UNKNOWN ? 0 : batteryFlag;
    TrayFill fill = TRAY_FILL_NONE;
    // Critical before low, so a critical limit above the low one still wins.
    if (percent <= criticalThreshold || (flag & BATTERY_CRITICAL))
        fill = TRAY_FILL_CRITICAL;
    else if (percent <= lowThreshold || (flag & BATTERY_LOW))
        fill = TRAY_FILL_LOW;
    else if (percent <= 100 || (flag & BATTERY_HIGH))
        fill = TRAY_FILL_NORMAL;
    if (fill != TRAY_FILL_NONE && (flag & BATTERY_CHARGING))
        fill = TRAY_FILL_CHARGING;
    if (flag & BATTERY_NONE)
        fill = TRAY_FILL_NONE;
    return fill;
}

uint32_t TrayFillColor(TrayFill fill, bool greyOnly)
{
    switch (fill) {
    case TRAY_FILL_CRITICAL:
        return greyOnly ? 0x00FFFFFFu : 0x000000FFu;
    case TRAY_FILL_LOW:
        return greyOnly ? 0x00C0C0C0u : 0x0000FFFFu;
    case TRAY_FILL_NORMAL:
        return greyOnly ? 0x00808080u : 0x0000FF00u;
    case TRAY_FILL_CHARGING:
        return greyOnly ? 0x00000000u : 0x00FF0000u;
    case TRAY_FILL_NONE:
        break;
    }
    return 0;
}

int32_t TrayWorkingSize(int32_t width, int32_t height)
{
    // Small-icon slots are square at every display scale; an odd one keeps
    // the design of the standard size.
    if (width != height)
        return SQUARE;
    return Clamp(width, SQUARE, MAX_SQUARE);
}

TrayPoint TrayWorkingOrigin(int32_t width, int32_t height)
{
    // Truncating division: a 14-pixel icon starts the square at -1.
    const int32_t n = TrayWorkingSize(width, height);
    TrayPoint p = {(Clamp(width, 0, 4096) - n) / 2, (Clamp(height, 0, 4096) - n) / 2};
    return p;
}

TrayRect TrayTextArea(int32_t width, int32_t height)
{
    const int32_t n = TrayWorkingSize(width, height);
    const TrayPoint o = TrayWorkingOrigin(width, height);
    TrayRect r = {o.x, o.y, o.x + n, o.y + n - Scaled(n, BATTERY_ROWS)};
    return r;
}

IconFont TrayImageFont(const IconFont *font, int32_t width, int32_t height)
{
    IconFont f = *font;
    f.faceName[sizeof f.faceName - 1] = '\0';
    // Half away from zero: a height of -9 gives -14 at 24 pixels.
    const int64_t n = TrayWorkingSize(width, height);
    const int64_t half = f.height < 0 ? -SQUARE / 2 : SQUARE / 2;
    const int64_t scaled = (int64_t{f.height} * n + half) / SQUARE;
    f.height = static_cast<int32_t>(scaled < INT32_MIN   ? INT32_MIN
                                    : scaled > INT32_MAX ? INT32_MAX
                                                         : scaled);
    // Antialiased text would give the mask and the colour different pixels.
    f.quality = FONT_NONANTIALIASED;
    return f;
}

void PlanTrayImage(const TrayImageInput *input, TrayDisplayList *list)
{
    memset(list, 0, sizeof *list);
    list->width = Clamp(input->width, 0, 4096);
    list->height = Clamp(input->height, 0, 4096);
    list->font = TrayImageFont(&input->font, list->width, list->height);
    const TrayGeometry geometry = GeometryOf(list->width, list->height);
    const uint32_t ink = input->iconColor & 0x00FFFFFFu;

    Clear(list);
    PlanBatteryOutline(list, geometry, ink);
    const TrayFill fill = TrayFillFor(input->percent, input->batteryFlag, input->lowThreshold,
                                      input->criticalThreshold);
    if (fill != TRAY_FILL_NONE)
        PlanBatteryFill(list, geometry, TrayFillColor(fill, input->greyOnly));
    PlanLabel(list, geometry, input, ink);
}
