#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

#include "ui/tray_image.h"

namespace {

const uint32_t kInk = 0x00123456u;
const uint32_t kRed = 0x000000FFu, kYellow = 0x0000FFFFu, kGreen = 0x0000FF00u,
               kBlue = 0x00FF0000u;

// Software raster following the GDI rules the icon relies on: lines stop
// before their end point, everything outside the raster is clipped. Text is
// modelled as ink over its whole (clipped) rectangle.
struct Picture {
    TrayDisplayList list;
    int32_t w, h;
    std::vector<uint8_t> mask;  // 1 transparent
    std::vector<uint32_t> color;
};

void Plot(Picture *p, uint8_t surface, int32_t x, int32_t y, uint32_t c)
{
    if (x < 0 || y < 0 || x >= p->w || y >= p->h)
        return;
    size_t i = static_cast<size_t>(y) * static_cast<size_t>(p->w) + static_cast<size_t>(x);
    if (surface == TRAY_MASK)
        p->mask[i] = c ? 1 : 0;
    else
        p->color[i] = c;
}

void Execute(Picture *p)
{
    for (uint32_t i = 0; i < p->list.opCount; ++i) {
        const TrayOp &op = p->list.ops[i];
        if (op.kind == TRAY_OP_CLEAR) {
            for (int32_t y = 0; y < p->h; ++y)
                for (int32_t x = 0; x < p->w; ++x)
                    Plot(p, op.surface, x, y, op.color);
        } else if (op.kind == TRAY_OP_POLYLINE) {
            for (uint32_t k = 0; k + 1 < op.pointCount; ++k) {
                TrayPoint a = op.points[k], b = op.points[k + 1];
                ASSERT_TRUE(a.x == b.x || a.y == b.y) << "op " << i;
                int32_t dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
                for (; a.x != b.x || a.y != b.y; a.x += dx, a.y += dy)
                    Plot(p, op.surface, a.x, a.y, op.color);
            }
        } else {
            for (int32_t y = op.rect.top; y < op.rect.bottom; ++y)
                for (int32_t x = op.rect.left; x < op.rect.right; ++x)
                    Plot(p, op.surface, x, y, op.color);
        }
    }
}

TrayImageInput Input(uint8_t percent, uint8_t flag, int32_t textWidth = 10, int32_t lineHeight = 11)
{
    TrayImageInput in;
    memset(&in, 0, sizeof in);
    in.width = in.height = 16;
    in.percent = percent;
    in.batteryFlag = flag;
    in.lowThreshold = 32;
    in.criticalThreshold = 9;
    in.iconColor = kInk;
    in.font.height = -11;
    strcpy(in.font.faceName, "Small Fonts");
    in.textWidth = textWidth;
    in.lineHeight = lineHeight;
    return in;
}

Picture Render(const TrayImageInput &in)
{
    Picture p;
    PlanTrayImage(&in, &p.list);
    p.w = p.list.width;
    p.h = p.list.height;
    p.mask.assign(static_cast<size_t>(p.w) * static_cast<size_t>(p.h), 7);
    p.color.assign(static_cast<size_t>(p.w) * static_cast<size_t>(p.h), 0xDEADBEEFu);
    Execute(&p);
    return p;
}

// '.' transparent, 'd' ink, 'g' green; origin is the art's top-left in the icon.
void ExpectArt(const Picture &p, const char *const *art, int32_t origin)
{
    for (int32_t y = 0; y < p.h; ++y) {
        std::string row;
        for (int32_t x = 0; x < p.w; ++x) {
            size_t i = static_cast<size_t>(y) * static_cast<size_t>(p.w) + static_cast<size_t>(x);
            char c = '?';
            if (p.mask[i] == 1 && p.color[i] == 0)
                c = '.';
            else if (p.mask[i] == 0 && p.color[i] == kInk)
                c = 'd';
            else if (p.mask[i] == 0 && p.color[i] == kGreen)
                c = 'g';
            row += c;
        }
        std::string want;
        for (int32_t x = 0; x < p.w; ++x) {
            int32_t ax = x - origin, ay = y - origin;
            bool inside = ax >= 0 && ay >= 0 && ax < 16 && ay < 16;
            want += inside ? art[ay][ax] : '.';
        }
        EXPECT_EQ(row, want) << "row " << y << " of a " << p.w << "-pixel icon";
    }
}

const char *const kHundred[16] = {
    "................", "................", ".d.ddd.ddd......", "dd.d.d.d.d.d..d.",
    ".d.d.d.d.d.d.d..", ".d.d.d.d.d...d..", ".d.d.d.d.d..d...", ".d.d.d.d.d..d.d.",
    ".d.ddd.ddd.d..d.", "................", "................", "..dddddddddddd..",
    ".ddggggggggggd..", ".dgggggggggggd..", ".ddggggggggggd..", "..dddddddddddd..",
};

TEST(TrayImage, HundredIsDrawnFromLinesWhateverTheFont)
{
    ExpectArt(Render(Input(100, 0x01, 10, 11)), kHundred, 0);
    // The measured width of "100" does not matter, and no text is drawn.
    Picture p = Render(Input(100, 0x01, 23, 11));
    ExpectArt(p, kHundred, 0);
    for (uint32_t i = 0; i < p.list.opCount; ++i)
        EXPECT_NE(p.list.ops[i].kind, TRAY_OP_TEXT);

    // The line height moves the glyphs: two rows up for h = 9.
    Picture low = Render(Input(100, 0x01, 10, 9));
    const char *shifted[16];
    for (int y = 0; y < 16; ++y)
        shifted[y] = y < 9 ? kHundred[y + 2] : (y < 11 ? kHundred[0] : kHundred[y]);
    ExpectArt(low, shifted, 0);
}

TEST(TrayImage, WorkingSquareIsCentredInAnyIconSize)
{
    ExpectArt(Render([] { TrayImageInput in = Input(100, 1); in.width = in.height = 20; return in; }()),
              kHundred, 2);
    ExpectArt(Render([] { TrayImageInput in = Input(100, 1); in.width = in.height = 24; return in; }()),
              kHundred, 4);
    ExpectArt(Render([] { TrayImageInput in = Input(100, 1); in.width = in.height = 15; return in; }()),
              kHundred, 0);
    ExpectArt(Render([] { TrayImageInput in = Input(100, 1); in.width = in.height = 14; return in; }()),
              kHundred, -1);
    EXPECT_EQ(TrayWorkingOrigin(14, 20).x, -1);
    EXPECT_EQ(TrayWorkingOrigin(14, 20).y, 2);
}

// The fill-only pixel (2, 13): its colour, or transparent for no fill.
uint32_t FillAt(const TrayImageInput &in, bool *opaque)
{
    Picture p = Render(in);
    size_t i = 13 * 16 + 2;
    *opaque = p.mask[i] == 0;
    int filled = 0;
    for (size_t k = 0; k < p.color.size(); ++k)
        filled += p.mask[k] == 0 && p.color[k] == p.color[i];
    EXPECT_EQ(filled, *opaque ? 31 : 0) << "percent " << int(in.percent);
    return p.color[i];
}

TEST(TrayImage, FillColourFollowsLevelThenFlags)
{
    struct Case {
        uint8_t percent, flag, low, critical;
        uint32_t color;  // 1 = no fill
    };
    const Case cases[] = {
        {9, 0, 32, 9, kRed},         {10, 0, 32, 9, kYellow},   {32, 0, 32, 9, kYellow},
        {33, 0, 32, 9, kGreen},      {100, 0, 32, 9, kGreen},   {0, 0, 32, 9, kRed},
        {50, 0x04, 32, 9, kRed},     {50, 0x02, 32, 9, kYellow}, {50, 0x08, 32, 9, kBlue},
        {50, 0x09, 32, 9, kBlue},    {5, 0x08, 32, 9, kBlue},   {50, 0x80, 32, 9, 1},
        {50, 0x88, 32, 9, 1},        {50, 255, 32, 9, kGreen},  {5, 255, 32, 9, kRed},
        {120, 0, 32, 9, 1},          {120, 0x01, 32, 9, kGreen}, {120, 0x08, 32, 9, 1},
        {255, 255, 32, 9, 1},        {255, 0x0C, 32, 9, kBlue}, {15, 0, 20, 40, kRed},
        {40, 0, 20, 40, kRed},       {41, 0, 20, 40, kGreen},
    };
    for (const Case &c : cases) {
        TrayImageInput in = Input(c.percent, c.flag, 16);
        in.lowThreshold = c.low;
        in.criticalThreshold = c.critical;
        bool opaque = false;
        uint32_t got = FillAt(in, &opaque);
        if (c.color == 1)
            EXPECT_FALSE(opaque) << int(c.percent) << "/" << int(c.flag);
        else
            EXPECT_TRUE(opaque && got == c.color) << int(c.percent) << "/" << int(c.flag);
    }
}

TEST(TrayImage, GreyOnlyScreenUsesGreys)
{
    const struct {
        uint8_t percent, flag;
        uint32_t grey;
    } cases[] = {{5, 0, 0xFFFFFF}, {20, 0, 0xC0C0C0}, {80, 0, 0x808080}, {80, 0x08, 0x000000}};
    for (const auto &c : cases) {
        TrayImageInput in = Input(c.percent, c.flag, 16);
        in.greyOnly = true;
        bool opaque = false;
        EXPECT_EQ(FillAt(in, &opaque), c.grey);
        EXPECT_TRUE(opaque);
    }
    EXPECT_FALSE(TrayScreenIsGreyOnly(0x0000FF));
    EXPECT_FALSE(TrayScreenIsGreyOnly(0x0101FE));
    EXPECT_TRUE(TrayScreenIsGreyOnly(0x808080));
    EXPECT_TRUE(TrayScreenIsGreyOnly(0x000000));
    EXPECT_FALSE(TrayScreenIsGreyOnly(0xFFFFFFFFu));  // query failed
}

const TrayOp *TextOp(const Picture &p)
{
    const TrayOp *found = nullptr;
    for (uint32_t i = 0; i < p.list.opCount; ++i)
        if (p.list.ops[i].kind == TRAY_OP_TEXT && p.list.ops[i].surface == TRAY_COLOR)
            found = &p.list.ops[i];
    return found;
}

// Columns set in the text rows outside the text's own rectangle.
std::string SignColumns(const Picture &p, const TrayRect &text)
{
    std::string cols(16, '.');
    for (int32_t y = 0; y < 11; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            bool inText = x >= text.left && x < text.right && y >= text.top && y < text.bottom;
            if (!inText && p.mask[static_cast<size_t>(y) * 16 + static_cast<size_t>(x)] == 0)
                cols[static_cast<size_t>(x)] = '#';
        }
    return cols;
}

TEST(TrayImage, NarrowTextGetsAPercentSignWideTextIsCentred)
{
    Picture five = Render(Input(7, 0, 5, 11));
    const TrayOp *t = TextOp(five);
    ASSERT_TRUE(t);
    EXPECT_STREQ(t->text, "7");
    EXPECT_EQ(t->textFormat, 0u);
    EXPECT_EQ(t->rect.left, 3);
    EXPECT_EQ(t->rect.right, 8);
    EXPECT_EQ(t->rect.bottom, 11);
    EXPECT_EQ(SignColumns(five, t->rect), ".........####...");

    Picture ten = Render(Input(42, 0, 10, 13));
    t = TextOp(ten);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rect.left, 0);
    EXPECT_EQ(t->rect.bottom, 13);
    EXPECT_EQ(SignColumns(ten, t->rect), "...........####.");

    Picture wide = Render(Input(42, 0, 11, 13));
    t = TextOp(wide);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->textFormat, TRAY_TEXT_CENTER);
    EXPECT_TRUE(t->rect.left == 0 && t->rect.top == 0 && t->rect.right == 16 && t->rect.bottom == 11);
    EXPECT_EQ(SignColumns(wide, t->rect), "................");

    // Start-up picture: "?", its percent sign, an empty battery.
    Picture start = Render(Input(255, 255, 4, 11));
    t = TextOp(start);
    ASSERT_TRUE(t);
    EXPECT_STREQ(t->text, "?");
    EXPECT_EQ(SignColumns(start, t->rect), "........####....");
    EXPECT_EQ(start.mask[13 * 16 + 2], 1);
}

TEST(TrayImage, TextIsThePercentWithoutLeadingZeros)
{
    const struct {
        uint8_t percent;
        const char *text;
    } cases[] = {{0, "0"}, {7, "7"}, {42, "42"}, {101, "101"}, {254, "254"}, {255, "?"}};
    for (const auto &c : cases) {
        char out[TRAY_TEXT_CAPACITY];
        TrayImageText(c.percent, out);
        EXPECT_STREQ(out, c.text);
    }
}

bool SameShape(const TrayOp &a, const TrayOp &b)
{
    return a.kind == b.kind && a.pointCount == b.pointCount &&
           memcmp(a.points, b.points, sizeof a.points) == 0 &&
           memcmp(&a.rect, &b.rect, sizeof a.rect) == 0 && a.textFormat == b.textFormat &&
           strcmp(a.text, b.text) == 0;
}

TEST(TrayImage, EveryStepWritesTheMaskFirstAndBothAlike)
{
    const uint8_t flags[] = {0, 0x01, 0x02, 0x04, 0x08, 0x80, 0x89, 255};
    const int32_t sizes[] = {14, 16, 20};
    const int32_t widths[] = {0, 5, 10, 11, 16, -3};
    const int32_t heights[] = {0, 11, 14, 100000};
    for (int percent = 0; percent < 256; percent += 9)
        for (uint8_t flag : flags)
            for (int32_t size : sizes)
                for (int32_t w : widths)
                    for (int32_t h : heights) {
                        TrayImageInput in = Input(static_cast<uint8_t>(percent), flag, w, h);
                        in.width = in.height = size;
                        in.font.quality = 4;
                        Picture p = Render(in);
                        const TrayDisplayList &l = p.list;
                        ASSERT_LT(l.opCount, static_cast<uint32_t>(TRAY_MAX_OPS));
                        ASSERT_EQ(l.font.quality, TRAY_FONT_NONANTIALIASED);
                        ASSERT_TRUE(l.ops[0].kind == TRAY_OP_CLEAR && l.ops[0].surface == TRAY_MASK &&
                                    l.ops[0].color == 0xFFFFFFu);
                        ASSERT_TRUE(l.ops[1].kind == TRAY_OP_CLEAR && l.ops[1].surface == TRAY_COLOR &&
                                    l.ops[1].color == 0);
                        for (uint32_t i = 2; i < l.opCount; i += 2) {
                            ASSERT_EQ(l.ops[i].surface, TRAY_MASK);
                            ASSERT_EQ(l.ops[i].color, 0u);
                            ASSERT_EQ(l.ops[i + 1].surface, TRAY_COLOR);
                            ASSERT_TRUE(SameShape(l.ops[i], l.ops[i + 1])) << "op " << i;
                            // Text, when drawn, comes last.
                            if (l.ops[i].kind == TRAY_OP_TEXT) {
                                ASSERT_EQ(i + 2, l.opCount);
                            }
                        }
                        for (size_t i = 0; i < p.mask.size(); ++i)
                            ASSERT_TRUE(p.mask[i] == 0 || p.color[i] == 0) << "pixel " << i;
                    }
}

}  // namespace
