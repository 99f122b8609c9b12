#include "ui/tray_image.h"

#include <string.h>

namespace {

enum { SQUARE = 16, TEXT_ROWS = 11, NARROW_COLUMNS = 11, HUNDRED_WIDTH = 10 };

// Keeps every coordinate sum defined whatever the platform measured.
int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
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

void Clear(TrayDisplayList *list)
{
    TrayOp op;
    memset(&op, 0, sizeof op);
    op.kind = TRAY_OP_CLEAR;
    op.surface = TRAY_MASK;
    op.color = 0x00FFFFFFu;
    Append(list, op);
    op.surface = TRAY_COLOR;
    op.color = 0;
    Append(list, op);
}

// A closed rectangle outline of two glyph columns, as the digit 0 of 100.
void Zero(TrayDisplayList *list, uint32_t color, int32_t left, int32_t y1)
{
    const TrayPoint points[5] = {
        {left, y1 - 9}, {left, y1 - 3}, {left + 2, y1 - 3}, {left + 2, y1 - 9}, {left, y1 - 9}};
    AppendBoth(list, Polyline(points, 5), color);
}

void Hundred(TrayDisplayList *list, uint32_t color, int32_t x0, int32_t y1)
{
    Line(list, color, x0, y1 - 8, x0 + 1, y1 - 8);
    Line(list, color, x0 + 1, y1 - 9, x0 + 1, y1 - 2);
    Zero(list, color, x0 + 3, y1);
    Zero(list, color, x0 + 7, y1);
}

void PercentSign(TrayDisplayList *list, uint32_t color, int32_t x1, int32_t y1)
{
    Line(list, color, x1 + 1, y1 - 8, x1 + 1, y1 - 6);
    Line(list, color, x1 + 4, y1 - 3, x1 + 4, y1 - 5);
    Line(list, color, x1 + 1, y1 - 3, x1 + 1, y1 - 4);
    Line(list, color, x1 + 2, y1 - 4, x1 + 2, y1 - 6);
    Line(list, color, x1 + 4, y1 - 8, x1 + 4, y1 - 7);
    Line(list, color, x1 + 3, y1 - 7, x1 + 3, y1 - 5);
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

TrayPoint TrayWorkingOrigin(int32_t width, int32_t height)
{
    // Truncating division: a 14-pixel icon starts the square at -1.
    TrayPoint p = {(width - SQUARE) / 2, (height - SQUARE) / 2};
    return p;
}

void PlanTrayImage(const TrayImageInput *input, TrayDisplayList *list)
{
    memset(list, 0, sizeof *list);
    list->width = Clamp(input->width, 0, 4096);
    list->height = Clamp(input->height, 0, 4096);
    list->font = input->font;
    list->font.faceName[sizeof list->font.faceName - 1] = '\0';
    // Antialiased text would give the mask and the colour different pixels.
    list->font.quality = FONT_NONANTIALIASED;

    const TrayPoint origin = TrayWorkingOrigin(list->width, list->height);
    const int32_t L = origin.x, T = origin.y, R = L + SQUARE, B = T + SQUARE;
    const uint32_t ink = input->iconColor & 0x00FFFFFFu;

    Clear(list);

    // Battery with its terminal on the left; (L+2, B-3) is left to the fill.
    const TrayPoint outline[9] = {{R - 3, B - 1}, {L + 2, B - 1}, {L + 2, B - 2},
                                  {L + 1, B - 2}, {L + 1, B - 4}, {L + 2, B - 4},
                                  {L + 2, B - 5}, {R - 3, B - 5}, {R - 3, B - 1}};
    AppendBoth(list, Polyline(outline, 9), ink);

    // The fill tells the level, not the amount: it always fills the interior.
    const TrayFill fill = TrayFillFor(input->percent, input->batteryFlag, input->lowThreshold,
                                      input->criticalThreshold);
    if (fill != TRAY_FILL_NONE) {
        const uint32_t color = TrayFillColor(fill, input->greyOnly);
        Line(list, color, R - 4, B - 2, L + 2, B - 2);
        Line(list, color, R - 4, B - 3, L + 1, B - 3);
        Line(list, color, R - 4, B - 4, L + 2, B - 4);
    }

    TrayOp text;
    memset(&text, 0, sizeof text);
    text.kind = TRAY_OP_TEXT;
    TrayImageText(input->percent, text.text);

    const bool hundred = input->percent == 100;
    const int32_t w = hundred ? HUNDRED_WIDTH : Clamp(input->textWidth, 0, 4096);
    const int32_t h = Clamp(input->lineHeight, -4096, 4096);
    if (w > NARROW_COLUMNS - 1) {
        // Too wide for a percent sign: centred over the square, cut at row 10.
        text.rect = TrayRect{L, T, R, T + TEXT_ROWS};
        text.textFormat = TRAY_TEXT_CENTER;
    } else {
        const int32_t l = (NARROW_COLUMNS - w) / 2;
        text.rect = TrayRect{L + l, T, L + l + w, T + h};
        // The line-drawn glyphs hang from the measured bottom, so they follow
        // the font's line height.
        const int32_t x1 = text.rect.right, y1 = text.rect.bottom;
        if (hundred)
            Hundred(list, ink, text.rect.left, y1);
        PercentSign(list, ink, x1, y1);
    }
    if (!hundred)
        AppendBoth(list, text, ink);
}
