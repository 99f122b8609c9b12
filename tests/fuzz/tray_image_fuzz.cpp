// The tray picture's display list for any percent, battery flag, thresholds,
// colour, font, measured text and small-icon size.
#include "tests/fuzz/fuzz_check.h"
#include "ui/tray_image.h"

namespace {

enum { RASTER_LIMIT = 48 };  // larger icons are checked as a list only

struct Raster {
    int32_t w, h;
    uint8_t mask[RASTER_LIMIT * RASTER_LIMIT];
    uint32_t color[RASTER_LIMIT * RASTER_LIMIT];
};

void Plot(Raster *r, uint8_t surface, int32_t x, int32_t y, uint32_t c)
{
    if (x < 0 || y < 0 || x >= r->w || y >= r->h)
        return;
    size_t i = size_t(y) * size_t(r->w) + size_t(x);
    if (surface == TRAY_MASK)
        r->mask[i] = c ? 1 : 0;
    else
        r->color[i] = c;
}

// Lines stop before their end point; text covers its clipped rectangle.
void Execute(const TrayDisplayList *list, Raster *r)
{
    for (uint32_t i = 0; i < list->opCount; ++i) {
        const TrayOp &op = list->ops[i];
        if (op.kind == TRAY_OP_CLEAR) {
            for (int32_t y = 0; y < r->h; ++y)
                for (int32_t x = 0; x < r->w; ++x)
                    Plot(r, op.surface, x, y, op.color);
        } else if (op.kind == TRAY_OP_POLYLINE) {
            for (uint32_t k = 0; k + 1 < op.pointCount; ++k) {
                TrayPoint a = op.points[k], b = op.points[k + 1];
                int32_t dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
                for (; a.x != b.x || a.y != b.y; a.x += dx, a.y += dy)
                    Plot(r, op.surface, a.x, a.y, op.color);
            }
        } else {
            int32_t top = op.rect.top < 0 ? 0 : op.rect.top;
            int32_t left = op.rect.left < 0 ? 0 : op.rect.left;
            for (int32_t y = top; y < op.rect.bottom && y < r->h; ++y)
                for (int32_t x = left; x < op.rect.right && x < r->w; ++x)
                    Plot(r, op.surface, x, y, op.color);
        }
    }
}

bool SameShape(const TrayOp &a, const TrayOp &b)
{
    if (a.kind != b.kind || a.pointCount != b.pointCount)
        return false;
    if (memcmp(a.points, b.points, a.pointCount * sizeof a.points[0]) != 0)
        return false;
    if (a.kind != TRAY_OP_TEXT)
        return true;
    return memcmp(&a.rect, &b.rect, sizeof a.rect) == 0 && a.textFormat == b.textFormat &&
           strcmp(a.text, b.text) == 0;
}

void CheckList(const TrayImageInput &in, const TrayDisplayList &list)
{
    FUZZ_CHECK(list.width >= 0 && list.height >= 0);
    FUZZ_CHECK(list.font.quality == TRAY_FONT_NONANTIALIASED);
    FUZZ_CHECK(memchr(list.font.faceName, 0, sizeof list.font.faceName) != nullptr);
    // Every step is a mask and a colour operation; a full list would mean
    // steps were dropped.
    FUZZ_CHECK(list.opCount % 2 == 0 && list.opCount < TRAY_MAX_OPS);
    FUZZ_CHECK(list.ops[0].kind == TRAY_OP_CLEAR && list.ops[0].color == 0x00FFFFFFu);
    FUZZ_CHECK(list.ops[1].kind == TRAY_OP_CLEAR && list.ops[1].color == 0);

    const uint32_t ink = in.iconColor & 0x00FFFFFFu;
    for (uint32_t i = 2; i < list.opCount; i += 2) {
        const TrayOp &mask = list.ops[i], &color = list.ops[i + 1];
        FUZZ_CHECK(mask.surface == TRAY_MASK && color.surface == TRAY_COLOR);
        FUZZ_CHECK(mask.color == 0);
        FUZZ_CHECK(SameShape(mask, color));
        FUZZ_CHECK(mask.kind == TRAY_OP_POLYLINE || mask.kind == TRAY_OP_TEXT);
        if (mask.kind == TRAY_OP_TEXT)
            continue;
        FUZZ_CHECK(mask.pointCount >= 2 && mask.pointCount <= TRAY_MAX_POINTS);
        for (uint32_t k = 0; k + 1 < mask.pointCount; ++k)
            FUZZ_CHECK(mask.points[k].x == mask.points[k + 1].x ||
                       mask.points[k].y == mask.points[k + 1].y);
    }

    // Steps in order: clear, outline, fill, line-drawn glyphs, text.
    uint32_t at = 2;
    FUZZ_CHECK(list.ops[at].kind == TRAY_OP_POLYLINE && list.ops[at].pointCount == 9);
    FUZZ_CHECK(list.ops[at + 1].color == ink);
    at += 2;
    const TrayFill fill =
        TrayFillFor(in.percent, in.batteryFlag, in.lowThreshold, in.criticalThreshold);
    if (fill != TRAY_FILL_NONE) {
        // The whole interior, whatever the level.
        for (int line = 0; line < 3; ++line, at += 2) {
            FUZZ_CHECK(list.ops[at].kind == TRAY_OP_POLYLINE && list.ops[at].pointCount == 2);
            FUZZ_CHECK(list.ops[at + 1].color == TrayFillColor(fill, in.greyOnly));
        }
    }
    const bool hundred = in.percent == 100;
    const bool narrow = hundred || in.textWidth <= 10;
    const uint32_t glyphs = narrow ? (hundred ? 4u + 6u : 6u) : 0u;
    for (uint32_t g = 0; g < glyphs; ++g, at += 2) {
        FUZZ_CHECK(list.ops[at].kind == TRAY_OP_POLYLINE);
        FUZZ_CHECK(list.ops[at + 1].color == ink);
    }
    FUZZ_CHECK(list.opCount == at + (hundred ? 0u : 2u));

    char digits[TRAY_TEXT_CAPACITY];
    TrayImageText(in.percent, digits);
    FUZZ_CHECK(digits[0] != '\0' && strlen(digits) <= 3);
    // 100 is drawn from lines only: digits and percent sign.
    if (hundred)
        return;
    const TrayOp &text = list.ops[list.opCount - 1];
    FUZZ_CHECK(text.kind == TRAY_OP_TEXT && strcmp(text.text, digits) == 0);
    FUZZ_CHECK(list.ops[list.opCount - 2].kind == TRAY_OP_TEXT);
    FUZZ_CHECK(text.color == ink);
    const TrayPoint o = TrayWorkingOrigin(list.width, list.height);
    if (text.textFormat & TRAY_TEXT_CENTER) {
        FUZZ_CHECK(in.textWidth >= 11);
        FUZZ_CHECK(text.rect.left == o.x && text.rect.right == o.x + 16);
        FUZZ_CHECK(text.rect.top == o.y && text.rect.bottom == o.y + 11);
    } else {
        // Narrow text stays in the first 11 columns with its percent sign.
        FUZZ_CHECK(in.textWidth <= 10);
        FUZZ_CHECK(text.rect.left >= o.x && text.rect.right <= o.x + 11);
        FUZZ_CHECK(text.rect.top == o.y);
    }
}

void CheckPixels(const TrayDisplayList &list)
{
    static Raster r;
    r.w = list.width;
    r.h = list.height;
    memset(r.mask, 7, sizeof r.mask);
    memset(r.color, 0xEE, sizeof r.color);
    Execute(&list, &r);
    for (int32_t i = 0; i < r.w * r.h; ++i) {
        FUZZ_CHECK(r.mask[i] <= 1);
        // Transparent pixels are black in the colour raster.
        if (r.mask[i] == 1)
            FUZZ_CHECK(r.color[i] == 0);
        FUZZ_CHECK(r.color[i] <= 0x00FFFFFFu);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    TrayImageInput input;
    memset(&input, 0, sizeof input);
    uint8_t shape = TakeByte(&in);
    // Mostly realistic icon sizes, sometimes anything at all.
    if (shape & 1) {
        input.width = TakeI32(&in);
        input.height = TakeI32(&in);
    } else {
        input.width = TakeByte(&in) % RASTER_LIMIT;
        input.height = TakeByte(&in) % RASTER_LIMIT;
    }
    input.percent = TakeByte(&in);
    input.batteryFlag = TakeByte(&in);
    input.lowThreshold = TakeByte(&in);
    input.criticalThreshold = TakeByte(&in);
    input.iconColor = TakeU32(&in);
    input.greyOnly = (shape & 2) != 0;
    if (shape & 4) {
        input.textWidth = TakeI32(&in);
        input.lineHeight = TakeI32(&in);
    } else {
        input.textWidth = TakeByte(&in) % 20;
        input.lineHeight = TakeByte(&in) % 20;
    }
    // Every byte pattern is a valid font record: integers and characters only.
    uint8_t *font = reinterpret_cast<uint8_t *>(&input.font);
    for (size_t i = 0; i < sizeof input.font; ++i)
        font[i] = TakeByte(&in);

    static TrayDisplayList list;
    memset(&list, 0xCD, sizeof list);
    PlanTrayImage(&input, &list);
    CheckList(input, list);
    if (list.width <= RASTER_LIMIT && list.height <= RASTER_LIMIT)
        CheckPixels(list);

    // The same inputs give the same picture.
    static TrayDisplayList again;
    PlanTrayImage(&input, &again);
    // Both lists are cleared byte by byte before they are built, padding too.
    FUZZ_CHECK(memcmp(&list, &again, sizeof list) == 0);  // NOLINT(bugprone-suspicious-memory-comparison,cert-exp42-c,cert-flp37-c)
    return 0;
}
