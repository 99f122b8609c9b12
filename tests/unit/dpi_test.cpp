#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>
#include "ui/graph.h"
#include "ui/tray_image.h"

namespace {

const uint32_t INK = 0x123456;

std::string Text(const TrayRect &r) {
    char text[64];
    snprintf(text, sizeof text, "%d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
    return text;
}
// A step's shape as text: its points, and a text as text@rect/format.
std::string Shape(const TrayOp &o) {
    std::string shape;
    char text[64];
    for (uint32_t k = 0; k < o.pointCount; ++k) {
        snprintf(text, sizeof text, " %d,%d", o.points[k].x, o.points[k].y);
        shape += text;
    }
    snprintf(text, sizeof text, " %s@%s/%u", o.text, Text(o.rect).c_str(), o.textFormat);
    return o.kind == TRAY_OP_TEXT ? shape + text : shape;
}

// A planned picture: its colour steps as text ("C" clear, "d" an ink line, a fill line by its colour)
// and colour raster ('d' ink, 'f' fill; texts only as their rectangle). Each mask step must come right
// before the same shape in colour; no point or rectangle may leave the raster.
struct Picture {
    std::string steps;
    std::vector<std::string> raster;
    TrayRect text;
    TrayDisplayList list;
};
const Picture &Plan(int32_t size, uint8_t percent, uint8_t flag, int32_t width, int32_t height,
                    bool grey = false) {
    static Picture p;
    IconFont font = {};
    font.height = -9;
    const TrayImageInput in = {size, size, percent, flag, 32, 9, INK, grey, font, width, height};
    PlanTrayImage(&in, &p.list);
    p.steps.clear();
    p.text = {};
    p.raster.assign(size_t(size), std::string(size_t(size), '.'));
    char code[16];
    for (uint32_t i = 1; i < p.list.opCount; i += 2) {
        const TrayOp &m = p.list.ops[i - 1], &c = p.list.ops[i];
        const uint32_t opaque = i > 1 ? 0u : 0xFFFFFFu;  // but for the clear
        EXPECT_EQ(std::make_tuple(int(m.surface), int(c.surface), m.color, int(m.kind), Shape(m)),
                  std::make_tuple(int(TRAY_MASK), int(TRAY_COLOR), opaque, int(c.kind), Shape(c)));
        snprintf(code, sizeof code, c.kind == TRAY_OP_CLEAR ? "C%X" : c.color == INK ? "d" : "%X", c.color);
        p.steps += code + Shape(c) + "|";
        for (uint32_t k = 0; k < c.pointCount; ++k) {  // a segment stops before its end point
            TrayPoint a = c.points[k];
            const TrayPoint e = c.points[k + 1 < c.pointCount ? k + 1 : k];
            EXPECT_TRUE(a.x >= 0 && a.x <= size && a.y >= 0 && a.y <= size) << a.x << "," << a.y;
            for (; a.x != e.x || a.y != e.y;
                 a.x += (e.x > a.x) - (e.x < a.x), a.y += (e.y > a.y) - (e.y < a.y))
                if (a.x >= 0 && a.x < size && a.y >= 0 && a.y < size)
                    p.raster[size_t(a.y)][size_t(a.x)] = c.color == INK ? 'd' : 'f';
        }
        if (c.kind == TRAY_OP_TEXT)
            p.text = c.rect;
    }
    EXPECT_TRUE(p.text.left >= 0 && p.text.right <= size && p.text.top >= 0 && p.text.bottom <= size);
    return p;
}

// The smallest rectangle holding every pixel of kind in rows [top, bottom), and their number.
std::string Bounds(const Picture &p, char kind, int32_t top, int32_t bottom) {
    TrayRect r = {1000, 1000, -1, -1};
    int pixels = 0;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < int32_t(p.raster.size()); ++x)
            if (p.raster[size_t(y)][size_t(x)] == kind && ++pixels)
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                     std::max(r.bottom, y + 1)};
    return pixels ? Text(r) + " " + std::to_string(pixels) : "none";
}

TEST(TrayDpi, SixteenPixelPictureIsTheStandardDesignStepForStep) {
    const std::string battery = "C0|d 13,15 2,15 2,14 1,14 1,12 2,12 2,11 13,11 13,15|";
    const struct { uint8_t percent, flag; int32_t width, height; bool grey; const char *steps; } cases[] = {
        {100, 1, 23, 11, false, "FF00 12,14 2,14|FF00 12,13 1,13|FF00 12,12 2,12|d 0,3 1,3|d 1,2 1,9|"
         "d 3,2 3,8 5,8 5,2 3,2|d 7,2 7,8 9,8 9,2 7,2|d 11,3 11,5|d 14,8 14,6|d 11,8 11,7|d 12,7 12,5|"
         "d 14,3 14,4|d 13,4 13,6|"},
        {7, 8, 5, 11, false, "FF0000 12,14 2,14|FF0000 12,13 1,13|FF0000 12,12 2,12|d 9,3 9,5|d 12,8 12,6|"
         "d 9,8 9,7|d 10,7 10,5|d 12,3 12,4|d 11,4 11,6|d 7@3,0,8,11/0|"},
        {42, 4, 11, 13, true, "FFFFFF 12,14 2,14|FFFFFF 12,13 1,13|FFFFFF 12,12 2,12|d 42@0,0,16,11/1|"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.percent));
        EXPECT_EQ(Plan(16, c.percent, c.flag, c.width, c.height, c.grey).steps, battery + c.steps);
    }
    // Slots that are not square, or smaller, keep the 16-pixel design centred; larger ones stop at 64.
    const int32_t slots[][3] = {{14, 14, 16}, {20, 24, 16}, {17, 17, 17}, {64, 64, 64}, {96, 96, 64}};
    for (const auto &s : slots)
        EXPECT_EQ(TrayWorkingSize(s[0], s[1]), s[2]) << s[0] << "x" << s[1];
}

TEST(TrayDpi, LargerSquaresScaleBatteryGlyphsAndFontInOneProportion) {
    // Font -9 scaled; 57 measured w wide and 11/16 of the square high; the narrow limit scaled. Where
    // ink and fill lie, and how many pixels they take: lines as thick as the scale, "100%" whole.
    const struct {
        int32_t size, font, narrow, w;
        const char *outline, *fill, *text, *sign, *hundred;
    } sizes[] = {
        {16, -9, 11, 5, "1,11,14,16 32", "2,12,13,15 31", "3,0,8,11", "9,3,13,9 10", "0,2,15,9 50"},
        {20, -11, 14, 6, "1,14,18,20 42", "2,15,17,19 58", "4,0,10,14", "11,4,16,11 14", "0,3,19,11 71"},
        {24, -14, 17, 8, "2,16,20,24 88", "6,18,18,22 48", "4,0,12,17", "14,4,20,14 32", "1,3,24,14 110"},
        {32, -18, 22, 10, "2,22,28,32 128", "4,24,26,30 124", "6,0,16,22", "18,6,26,18 40", "1,4,31,18 200"}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(s.size);
        const int32_t h = (11 * s.size + 8) / 16, textBottom = TrayTextArea(s.size, s.size).bottom;
        const Picture &p = Plan(s.size, 57, BATTERY_HIGH, s.w, h);
        EXPECT_EQ(Bounds(p, 'd', textBottom, s.size), s.outline);
        EXPECT_EQ(Bounds(p, 'f', 0, s.size), s.fill);
        EXPECT_EQ(Text(p.text), s.text);
        EXPECT_EQ(Bounds(p, 'd', 0, textBottom), s.sign);
        EXPECT_EQ(p.list.font.height, s.font);
        EXPECT_EQ(p.list.font.quality, FONT_NONANTIALIASED);
        EXPECT_EQ(Bounds(Plan(s.size, 100, 0, 99, h), 'd', 0, textBottom), s.hundred);
        EXPECT_EQ(Plan(s.size, 42, 0, s.narrow - 1, h).text.right, s.narrow - 1);  // room for the sign
        const Picture &wide = Plan(s.size, 42, 0, s.narrow, h);
        EXPECT_EQ(Text(wide.text), "0,0," + std::to_string(s.size) + "," + std::to_string(textBottom));
        EXPECT_EQ(Bounds(wide, 'd', 0, textBottom), "none");
    }
}

TEST(GraphDpi, FontsAsBeforeUpTo120ThenInProportionToTheDpi) {
    // Half a pixel rounds away from zero (125: -12.5).
    const int32_t cases[][3] = {{96, -11, -18}, {119, -11, -18}, {120, -12, -24}, {125, -13, -25},
                                {144, -14, -29}, {192, -19, -38}};
    static GraphList list;
    for (const auto &c : cases) {
        SCOPED_TRACE(c[0]);
        const GraphInput in = {0, 0, 171, 45, c[0], false, nullptr, 57, 1, 0, 60, 60, true};
        BuildGraph(&in, &list);
        std::vector<int32_t> heights;
        for (size_t i = 0; i < list.count; ++i)
            if (list.ops[i].kind == GRAPH_OP_FONT)
                heights.push_back(list.ops[i].height);
        EXPECT_EQ(heights, (std::vector<int32_t>{c[1], c[2]}));
    }
}

}  // namespace
