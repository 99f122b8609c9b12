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
std::string Xy(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
std::string Text(const TrayRect &r) { return Xy(r.left, r.top) + "," + Xy(r.right, r.bottom); }
// A step's shape as text: its points, and a text or clear as text@rect/format.
std::string Shape(const TrayOp &o) {
    std::string shape;
    for (uint32_t k = 0; k < o.pointCount; ++k) shape += " " + Xy(o.points[k].x, o.points[k].y);
    if (o.kind != TRAY_OP_POLYLINE)
        shape += std::string(" ") + o.text + "@" + Text(o.rect) + "/" + std::to_string(o.textFormat);
    return shape;
}
// A planned picture: its colour steps as text ("C" clear, "d" an ink line, a fill line by its colour)
// and colour raster ('d' ink, 'f' fill). Mask steps are opaque but for the clear; no point leaves the
// square while the text's line fits in it.
struct Picture { std::string steps; std::vector<std::string> raster; TrayRect text; TrayDisplayList list; };
Picture Plan(int32_t size, uint8_t percent, uint8_t flag, int32_t width, int32_t height, bool grey = false) {
    const TrayImageInput in = {size, size, percent, flag, 32, 9, 0xFF123456u, grey, {-9}, width, height};
    Picture p = {"", std::vector<std::string>(size_t(size), std::string(size_t(size), '.')), {}, {}};
    PlanTrayImage(&in, &p.list);  // the colour's unused top byte must not reach the picture
    for (uint32_t i = 1; i < p.list.opCount; i += 2) {
        const TrayOp &m = p.list.ops[i - 1], &c = p.list.ops[i];
        EXPECT_EQ(m.color, i > 1 ? 0u : 0xFFFFFFu) << "step " << i;  // the steps' pairing is fuzzed
        char code[16];
        snprintf(code, sizeof code, c.kind == TRAY_OP_CLEAR ? "C%X" : c.color == INK ? "d" : "%X", c.color);
        p.steps += code + Shape(c) + "|";
        if (c.kind == TRAY_OP_TEXT) p.text = c.rect;
        for (uint32_t k = 0; k < c.pointCount; ++k) {  // a segment stops before its end point
            TrayPoint a = c.points[k];
            const TrayPoint e = c.points[k + 1 < c.pointCount ? k + 1 : k];
            if (height > 0 && height <= size)
                EXPECT_EQ(Xy(std::clamp(a.x, 0, size), std::clamp(a.y, 0, size)), Xy(a.x, a.y));
            for (; a.x != e.x || a.y != e.y;
                 a.x += (e.x > a.x) - (e.x < a.x), a.y += (e.y > a.y) - (e.y < a.y))
                if (a.x >= 0 && a.x < size && a.y >= 0 && a.y < size)
                    p.raster[size_t(a.y)][size_t(a.x)] = c.color == INK ? 'd' : 'f';
        }
    }
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
// Over the fill, narrow digits with a sign, "100" drawn in lines whatever measured, wide ones centred.
TEST(TrayImage, SixteenPixelDesignStepForStep) {
    const struct { uint8_t percent, flag; int32_t width, height; bool grey; const char *tail; } cases[] = {
        {100, 1, 23, 11, false, "C0 @0,0,16,16/0|d 13,15 2,15 2,14 1,14 1,12 2,12 2,11 13,11 13,15|FF00 12,14 2,14|"
         "FF00 12,13 1,13|FF00 12,12 2,12|d 0,3 1,3|d 1,2 1,9|d 3,2 3,8 5,8 5,2 3,2|d 7,2 7,8 9,8 9,2 7,2|"
         "d 11,3 11,5|d 14,8 14,6|d 11,8 11,7|d 12,7 12,5|d 14,3 14,4|d 13,4 13,6|"},
        {7, 8, 5, 11, false, "|FF0000 12,14 2,14|FF0000 12,13 1,13|FF0000 12,12 2,12|d 9,3 9,5|d 12,8 12,6|"
         "d 9,8 9,7|d 10,7 10,5|d 12,3 12,4|d 11,4 11,6|d 7@3,0,8,11/0|"},
        {42, 0, 10, 13, false, "|d 11,5 11,7|d 14,10 14,8|d 11,10 11,9|d 12,9 12,7|d 14,5 14,6|d 13,6 13,8|"
         "d 42@0,0,10,13/0|"},
        {42, 4, 11, 13, true, "|FFFFFF 12,13 1,13|FFFFFF 12,12 2,12|d 42@0,0,16,11/1|"},
        {255, 0, 4, 11, false, "|d 11,3 11,4|d 10,4 10,6|d ?@3,0,7,11/0|"},
        {0, 0, -3, 11, false, "|d 9,3 9,4|d 8,4 8,6|d 0@5,0,5,11/0|"},
        {42, 0, 10, 100000, false, "|d 42@0,0,10,4096/0|"},
        {42, 0, 10, -100000, false, "|d 42@0,0,10,-4096/0|"}};
    for (const auto &c : cases) {
        const std::string all = Plan(16, c.percent, c.flag, c.width, c.height, c.grey).steps;
        EXPECT_EQ(all.substr(all.size() - std::min(all.size(), strlen(c.tail))), c.tail) << int(c.percent);
    }
}
// The square as the slot from 16 to 64 pixels, centred; lines, font and narrow limit scaled with it.
TEST(TrayDpi, DesignGrowsWithTheSquareInOneProportion) {
    const int32_t slots[][5] = {{14, 14, 16, -1, -1}, {14, 15, 16, -1, 0}, {20, 24, 16, 2, 4},
                                {17, 17, 17, 0, 0}, {64, 64, 64, 0, 0}, {96, 96, 64, 16, 16}};
    for (const auto &s : slots) {
        const TrayPoint o = TrayWorkingOrigin(s[0], s[1]);
        EXPECT_EQ(std::make_tuple(TrayWorkingSize(s[0], s[1]), o.x, o.y), std::make_tuple(s[2], s[3], s[4]))
            << s[0] << "x" << s[1];
    }
    // Outline, fill, text area, sign (bounds and pixels), font height, "100%"; 57 measured w by 11/16 high.
    const struct { int32_t size, narrow, w; const char *picture; } sizes[] = {
        {16, 11, 5, "1,11,14,16 32|2,12,13,15 31|3,0,8,11|9,3,13,9 10|-9|0,2,15,9 50"},
        {20, 14, 6, "1,14,18,20 42|2,15,17,19 58|4,0,10,14|11,4,16,11 14|-11|0,3,19,11 71"},
        {24, 17, 8, "2,16,20,24 88|6,18,18,22 48|4,0,12,17|14,4,20,14 32|-14|1,3,24,14 110"},
        {32, 22, 10, "2,22,28,32 128|4,24,26,30 124|6,0,16,22|18,6,26,18 40|-18|1,4,31,18 200"}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(s.size);
        const int32_t h = (11 * s.size + 8) / 16, top = TrayTextArea(s.size, s.size).bottom;
        const Picture p = Plan(s.size, 57, BATTERY_HIGH, s.w, h), wide = Plan(s.size, 42, 0, s.narrow, h);
        EXPECT_EQ(Bounds(p, 'd', top, s.size) + "|" + Bounds(p, 'f', 0, s.size) + "|" + Text(p.text) + "|" +
                  Bounds(p, 'd', 0, top) + "|" + std::to_string(p.list.font.height) + "|" +
                  Bounds(Plan(s.size, 100, 0, 99, h), 'd', 0, top), s.picture);
        EXPECT_EQ(int(p.list.font.quality), int(FONT_NONANTIALIASED));
        EXPECT_EQ(Plan(s.size, 42, 0, s.narrow - 1, h).text.right, s.narrow - 1);  // room for the sign
        EXPECT_EQ(Text(wide.text) + " " + Bounds(wide, 'd', 0, top), Text({0, 0, s.size, top}) + " none");
    }
}
// Critical, low, normal by thresholds or flags, charging over them, else none; own greys on grey screens.
TEST(TrayFill, ByLevelThenFlagsEachInItsColour) {
    const TrayFill X = TRAY_FILL_NONE, C = TRAY_FILL_CRITICAL, L = TRAY_FILL_LOW, N = TRAY_FILL_NORMAL;
    const TrayFill G = TRAY_FILL_CHARGING;
    const struct { uint8_t percent, flag; TrayFill fill; } fills[] = {{9, 0, C}, {10, 0, L}, {32, 0, L},
        {33, 0, N}, {100, 0, N}, {101, 0, X}, {101, 1, N}, {50, 4, C}, {50, 2, L}, {5, 9, G}, {101, 8, X},
        {50, 0x88, X}, {5, 255, C}, {50, 255, N}, {255, 255, X}};
    for (const auto &c : fills)  // low at 32, critical at 9
        EXPECT_EQ(TrayFillFor(c.percent, c.flag, 32, 9), c.fill) << int(c.percent) << "/" << int(c.flag);
    EXPECT_EQ(TrayFillFor(40, 0, 20, 40), C);  // critical above low
    const struct { TrayFill fill; uint32_t colour, grey; } colours[] = {
        {C, 0x0000FF, 0xFFFFFF}, {L, 0x00FFFF, 0xC0C0C0}, {N, 0x00FF00, 0x808080}, {G, 0xFF0000, 0x000000}};
    for (const auto &c : colours)
        EXPECT_EQ(std::make_pair(TrayFillColor(c.fill, false), TrayFillColor(c.fill, true)),
                  std::make_pair(c.colour, c.grey)) << "fill " << int(c.fill);
}
// The graph's operations as text, a new section at each pen and font: T text colour, F fill, P pen,
// M move, L line, [font height/weight], text@placement, E end.
std::vector<std::string> Graph(const GraphInput &in) {
    static GraphList graph;
    BuildGraph(&in, &graph);
    std::vector<std::string> sections(1);
    for (size_t i = 0; i < graph.count; ++i) {
        const GraphOp &o = graph.ops[i];
        char c[8];
        snprintf(c, sizeof c, "%06X ", static_cast<unsigned>(o.colour));
        const std::string text = o.stringId ? "#" + std::to_string(o.stringId) : std::string(o.text);
        const std::string xy = Xy(o.x, o.y) + " ", hex = c, forms[] = {"F ", "T" + hex, "P" + hex,
            "M" + xy, "L" + xy, "[" + std::to_string(o.height) + "/" + std::to_string(o.weight) + "] ",
            text + "@" + std::to_string(o.flags - GRAPH_DT_BASE) + " ", "E ", "E "};
        if (o.kind == GRAPH_OP_PEN || o.kind == GRAPH_OP_FONT) sections.emplace_back();
        sections.back() += forms[o.kind];
    }
    return sections;
}
long Count(const std::string &text, char c) { return std::count(text.begin(), text.end(), c); }
uint8_t history[256];
// 57 % high on battery, 100:01 h left, a sample a minute, in a fitted 171 x 45 area at (10, 20).
const GraphInput typical = {10, 20, 181, 65, 96, false, history, 57, BATTERY_HIGH, 0, 360060, 60, false};
// A grid line every division of an area of 10 x 4 at least; the area fitted into the window's frame.
TEST(Graph, GridWhereEveryDivisionHasAPixel) {
    memset(history, 255, sizeof history);
    const std::vector<std::string> sections = Graph(typical);
    EXPECT_EQ(sections[0] + sections[2] + sections[3], "T00FFFF F P00FF00 M181,65 E [-18/700] 57%@5 E ");
    EXPECT_EQ(sections[1].substr(0, 45) + sections[1].substr(sections[1].size() - 34) +
              std::to_string(Count(sections[1], 'L')),  // 5 rows, 11 columns
              "P008000 M10,20 L181,20 M10,31 L181,31 M10,42 M163,20 L163,65 M180,20 L180,65 E 16");
    const struct { int32_t w, h; long lines; } areas[] = {{10, 4, 14}, {9, 4, 0}, {10, 3, 0}};
    for (const auto &c : areas)
        EXPECT_EQ(Count(Graph({10, 20, 10 + c.w, 20 + c.h, 96, 0, history, 57, 1, 0, 60, 60, 0})[1], 'L'),
                  c.lines) << c.w << "x" << c.h;
    for (int32_t w = 170, h = 44; w < 180; ++w, h = 44 + (h - 43) % 4) {  // corners 2 pixels outside
        const GraphFit fit = FitGraphArea(5, 7, 5 + w + 2, 7 + h + 2, w, h);
        EXPECT_EQ(std::make_tuple(fit.width, fit.height, fit.x, fit.y),
                  std::make_tuple(173, 47, 5 + (w - 170) / 2, 7 + (h - 44) / 2)) << w << "x" << h;
    }
}
// Details by status; the fonts as before up to 120 dpi, then in proportion, halves away from zero.
TEST(Graph, DetailsByStatusInFontsForTheScreen) {
    memset(history, 255, sizeof history);
    GraphInput in = typical;
    in.details = true;
    in.dpiY = 120;
    std::vector<std::string> sections = Graph(in);
    EXPECT_EQ(sections[3] + sections[4], "[-12/400] 0%@8 50%@4 100%@0 8\xC2\xA0min/div@2 dt: 1\xC2\xA0min@10 "
                                         "100:01 h@6 #11@1 #8@9 E [-24/700] 57%@5 E ");
    const struct { int32_t dpi; const char *fonts; } dpis[] = {{119, "[-11/400][-18/700]"},
        {125, "[-13/400][-25/700]"}, {144, "[-14/400][-29/700]"}, {192, "[-19/400][-38/700]"}};
    for (const auto &c : dpis) {
        in.dpiY = c.dpi;
        sections = Graph(in);
        EXPECT_EQ(sections[3].substr(0, 9) + sections[4].substr(0, 9), c.fonts) << c.dpi << " dpi";
    }
    // Unknown level and time, no named battery bit, an unnamed mains state; 201 wide, six minutes a sample.
    sections = Graph({10, 20, 211, 65, 96, true, history, 255, 16, 3, 0xFFFFFFFFu, 360, true});
    EXPECT_EQ(sections[3] + sections[4], "[-11/400] 0%@8 50%@4 100%@0 1\xC2\xA0h/div@2 "
                                         "dt: 6\xC2\xA0min@10 @1 @9 E [-18/700] ?@5 E ");
    EXPECT_EQ(std::make_tuple(GraphSourceString(255), GraphStateString(255), GraphStateString(0)),
              std::make_tuple(0, 0, 0));  // nothing to say
}
// Two pixels a sample, newest right, the oldest shown just left of the area; gaps bridged.
TEST(Graph, LineNewestRightGapsBridged) {
    const GraphInput in = {10, 20, 211, 65, 96, true, history, 255, 16, 3, 0xFFFFFFFFu, 360, true};
    const uint8_t levels[] = {100, 99, 255, 50, 1, 0};
    memset(history, 255, sizeof history);
    memcpy(history, levels, sizeof levels);
    EXPECT_EQ(Graph(in)[2], "PC0C0C0 M211,65 L211,20 L209,20 L205,42 L203,64 L201,65 E ");
    memset(history, 30, sizeof history);
    const std::string line = Graph(in)[2];
    EXPECT_EQ(line.substr(0, 32) + "..." + line.substr(line.size() - 8) + std::to_string(Count(line, 'L')),
              "PC0C0C0 M211,65 L211,51 L209,51 ...L9,51 E 102");
    const GraphInput wide = {10, 20, 531, 65, 96, false, history, 0, 0, 0, 0, 60, false};
    EXPECT_EQ(Count(Graph(wide)[2], 'L'), 256);  // all there is
}
}  // namespace
