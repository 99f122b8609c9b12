#include "ui/tray_image.h"

#include <string.h>

namespace {

enum {
    SQUARE = 16,
    MAX_SQUARE = 64,
    BATTERY_ROWS = 5,
    NARROW_COLUMNS = 11,
    HUNDRED_WIDTH = 10,
};

// Keeps every coordinate sum defined whatever the platform measured.
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
void Ring(TrayDisplayList *list, uint32_t color, const TrayRect &r, int32_t rings)
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
TrayRect Cells(const Glyph &g, int32_t c0, int32_t r0, int32_t c1, int32_t r1)
{
    TrayRect r;
    r.left = g.x + Scaled(g.n, c0);
    r.right = Max(g.x + Scaled(g.n, c1), r.left + g.thickness);
    r.bottom = g.y - Scaled(g.n, -r1);
    r.top = Min(g.y - Scaled(g.n, -r0), r.bottom - g.thickness);
    return r;
}

// A stroke down column c over rows [r0, r1), drawn from the top.
void Down(TrayDisplayList *list, const Glyph &g, int32_t c, int32_t r0, int32_t r1)
{
    const TrayRect r = Cells(g, c, r0, c + 1, r1);
    for (int32_t x = r.left; x < r.right; ++x)
        Line(list, g.color, x, r.top, x, r.bottom);
}

// The same stroke drawn from the bottom.
void Up(TrayDisplayList *list, const Glyph &g, int32_t c, int32_t r0, int32_t r1)
{
    const TrayRect r = Cells(g, c, r0, c + 1, r1);
    for (int32_t x = r.left; x < r.right; ++x)
        Line(list, g.color, x, r.bottom - 1, x, r.top - 1);
}

// The digit 0 of 100: an outline of three columns. Where lines as thick as
// the scale would close it (24 pixels), it keeps thinner ones.
void Zero(TrayDisplayList *list, const Glyph &g, int32_t c)
{
    const TrayRect r = Cells(g, c, -9, c + 3, -2);
    Ring(list, g.color, r, Clamp(g.thickness, 1, (r.right - r.left - 1) / 2));
}

void Hundred(TrayDisplayList *list, const Glyph &g)
{
    const TrayRect flag = Cells(g, 0, -8, 1, -7);
    for (int32_t y = flag.top; y < flag.bottom; ++y)
        Line(list, g.color, flag.left, y, flag.right, y);
    Down(list, g, 1, -9, -2);
    Zero(list, g, 3);
    Zero(list, g, 7);
}

void PercentSign(TrayDisplayList *list, const Glyph &g)
{
    Down(list, g, 1, -8, -6);
    Up(list, g, 4, -4, -2);
    Up(list, g, 1, -3, -2);
    Up(list, g, 2, -5, -3);
    Down(list, g, 4, -8, -7);
    Down(list, g, 3, -7, -5);
}

}  // namespace

void TrayImageText(uint8_t percent, char out[TRAY_TEXT_CAPACITY])
{
    if (percent == PERCENT_UNKNOWN) {
        out[0] = '?';
        out[1] = '\0';
        return;
    }
    char digits[TRAY_TEXT_CAPACITY];
    uint32_t n = 0;
    uint32_t v = percent;
    do {
        digits[n++] = static_cast<char>('0' + v % 10u);
        v /= 10u;
    } while (v != 0);
    for (uint32_t i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    out[n] = '\0';
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

    const int32_t n = TrayWorkingSize(list->width, list->height);
    const TrayPoint origin = TrayWorkingOrigin(list->width, list->height);
    const int32_t L = origin.x, T = origin.y, R = L + n, B = T + n;
    const int32_t thickness = Scaled(n, 1);
    const uint32_t ink = input->iconColor & 0x00FFFFFFu;

    Clear(list);

    // Battery with its terminal on the left, in the bottom rows: outline
    // columns xt (terminal), xb (body) and xr, rows yt, ya and yc (terminal),
    // yb. Each line is `thickness` nested outlines; the terminal's opening is
    // left to the fill.
    const int32_t xt = L + thickness, xb = xt + thickness, xr = R - 1 - 2 * thickness;
    const int32_t yt = B - Scaled(n, BATTERY_ROWS), yb = B - 1;
    const int32_t ya = yt + thickness, yc = yb - thickness;
    for (int32_t k = 0; k < thickness; ++k) {
        const TrayPoint outline[9] = {{xr - k, yb - k}, {xb + k, yb - k}, {xb + k, yc - k},
                                      {xt + k, yc - k}, {xt + k, ya + k}, {xb + k, ya + k},
                                      {xb + k, yt + k}, {xr - k, yt + k}, {xr - k, yb - k}};
        AppendBoth(list, Polyline(outline, 9), ink);
    }

    // The fill tells the level, not the amount: it always fills the interior,
    // one row at a time from the bottom.
    const TrayFill fill = TrayFillFor(input->percent, input->batteryFlag, input->lowThreshold,
                                      input->criticalThreshold);
    if (fill != TRAY_FILL_NONE) {
        const uint32_t color = TrayFillColor(fill, input->greyOnly);
        for (int32_t y = yb - thickness; y >= yt + thickness; --y) {
            const bool opening = y >= ya + thickness && y <= yc - thickness;
            Line(list, color, xr - thickness, y, (opening ? xt : xb) + thickness - 1, y);
        }
    }

    TrayOp text;
    memset(&text, 0, sizeof text);
    text.kind = TRAY_OP_TEXT;
    TrayImageText(input->percent, text.text);

    // The narrow rule on the scaled measures: a text narrower than the first
    // 11 design columns leaves room for the percent sign.
    const int32_t narrow = Scaled(n, NARROW_COLUMNS);
    const bool hundred = input->percent == 100;
    const int32_t w = hundred ? Scaled(n, HUNDRED_WIDTH) : Clamp(input->textWidth, 0, 4096);
    const int32_t h = Clamp(input->lineHeight, -4096, 4096);
    if (w >= narrow) {
        // Too wide for a percent sign: centred over the square, cut above the battery.
        text.rect = TrayTextArea(list->width, list->height);
        text.textFormat = TRAY_TEXT_CENTER;
    } else {
        const int32_t l = (narrow - w) / 2;
        text.rect = TrayRect{L + l, T, L + l + w, T + h};
        // The line-drawn glyphs hang from the measured bottom, so they follow
        // the font's line height. A gap of one scaled column keeps the sign
        // off the digits.
        Glyph g = {text.rect.left, text.rect.bottom, n, thickness, ink};
        if (hundred)
            Hundred(list, g);
        g.x = text.rect.right;
        PercentSign(list, g);
    }
    if (!hundred)
        AppendBoth(list, text, ink);
}
