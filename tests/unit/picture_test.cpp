#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>
#include "ui/graph.h"
#include "ui/tray_image.h"

namespace {

// A tray step's shape: its points, and a text as text@rectangle/format.
std::string Shape(const TrayOp &o) {
    std::string shape;
    for (uint32_t k = 0; k < o.pointCount; ++k)
        shape += " " + std::to_string(o.points[k].x) + "," + std::to_string(o.points[k].y);
    char text[64];
    snprintf(text, sizeof text, " %s@%d,%d,%d,%d/%u", o.text, o.rect.left, o.rect.top, o.rect.right,
             o.rect.bottom, o.textFormat);
    return o.kind == TRAY_OP_TEXT ? shape + text : shape;
}
// The tray picture's colour steps as text: "clear", a line's colour (d ink, g green) and shape.
std::string Tray(uint8_t percent, uint8_t flag, int32_t textWidth, int32_t lineHeight) {
    const TrayImageInput in = {16, 16, percent, flag, 32, 9, 0xFF123456u, false, {}, textWidth, lineHeight};
    static TrayDisplayList tray;
    PlanTrayImage(&in, &tray);  // the colour's unused top byte must not reach the picture
    std::string all;
    for (uint32_t i = 1; i < tray.opCount; i += 2) {
        const TrayOp &m = tray.ops[i - 1], &c = tray.ops[i];  // the opaque mask twin first
        EXPECT_EQ(std::make_tuple(int(m.surface), int(c.surface), m.color, m.kind, Shape(m)),
                  std::make_tuple(int(TRAY_MASK), int(TRAY_COLOR), i > 1 ? 0u : 0xFFFFFFu, c.kind, Shape(c)));
        all += c.kind == TRAY_OP_CLEAR ? (c.color ? "?" : "clear")
             : c.color == 0x123456 ? "|d" : c.color == 0xFF00 ? "|g" : "|?";
        all += Shape(c);
    }
    return all;
}

// Over a fill by level: narrow digits with a percent sign, 100 drawn from lines whatever the font
// measured, wide ones centred; all in a 16 x 16 square centred in the icon, truncating.
TEST(TrayImage, DigitsLaidOutInACentredSquare) {
    EXPECT_EQ(Tray(100, BATTERY_HIGH, 23, 11),
              "clear|d 13,15 2,15 2,14 1,14 1,12 2,12 2,11 13,11 13,15|g 12,14 2,14|g 12,13 1,13|g 12,12 2,12"
              "|d 0,3 1,3|d 1,2 1,9|d 3,2 3,8 5,8 5,2 3,2|d 7,2 7,8 9,8 9,2 7,2|d 11,3 11,5|d 14,8 14,6"
              "|d 11,8 11,7|d 12,7 12,5|d 14,3 14,4|d 13,4 13,6");
    const struct { uint8_t percent; int32_t width, height; const char *last; } cases[] = {
        {7, 5, 11, "|d 9,3 9,5|d 12,8 12,6|d 9,8 9,7|d 10,7 10,5|d 12,3 12,4|d 11,4 11,6|d 7@3,0,8,11/0"},
        {42, 10, 13, "|d 11,5 11,7|d 14,10 14,8|d 11,10 11,9|d 12,9 12,7|d 14,5 14,6|d 13,6 13,8"
                     "|d 42@0,0,10,13/0"},
        {42, 11, 13, "|g 12,12 2,12|d 42@0,0,16,11/1"},
        {255, 4, 11, "|d 11,3 11,4|d 10,4 10,6|d ?@3,0,7,11/0"},
        {0, -3, 11, "|d 9,3 9,4|d 8,4 8,6|d 0@5,0,5,11/0"},
        {42, 10, 100000, "|d 42@0,0,10,4096/0"}, {42, 10, -100000, "|d 42@0,0,10,-4096/0"}};
    for (const auto &c : cases) {
        const std::string all = Tray(c.percent, 0, c.width, c.height);
        EXPECT_EQ(all.substr(all.size() - std::min(all.size(), strlen(c.last))), c.last) << all;
    }
    const TrayPoint square = TrayWorkingOrigin(20, 24), odd = TrayWorkingOrigin(14, 15);
    EXPECT_EQ(std::make_tuple(square.x, square.y, odd.x, odd.y), std::make_tuple(2, 4, -1, 0));
}

// Critical before low before normal by the thresholds or the flags; charging over them; no battery
// or an unknown level without a flag: no fill. A grey-only screen gets a grey of each level's own.
TEST(TrayFill, ByLevelThenFlagsEachInItsColour) {
    const TrayFill X = TRAY_FILL_NONE, C = TRAY_FILL_CRITICAL, L = TRAY_FILL_LOW, N = TRAY_FILL_NORMAL,
                   G = TRAY_FILL_CHARGING;
    const struct { uint8_t percent, flag, low, critical; TrayFill fill; } fills[] = {
        {9, 0, 32, 9, C}, {10, 0, 32, 9, L}, {32, 0, 32, 9, L}, {33, 0, 32, 9, N}, {100, 0, 32, 9, N},
        {101, 0, 32, 9, X}, {101, 1, 32, 9, N}, {50, 4, 32, 9, C}, {50, 2, 32, 9, L}, {5, 9, 32, 9, G},
        {101, 8, 32, 9, X}, {50, 0x88, 32, 9, X}, {5, 255, 32, 9, C}, {50, 255, 32, 9, N}, {40, 0, 20, 40, C},
        {255, 255, 32, 9, X}};
    for (const auto &c : fills)
        EXPECT_EQ(TrayFillFor(c.percent, c.flag, c.low, c.critical), c.fill)
            << int(c.percent) << "/" << int(c.flag);
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
        char c[8], xy[32], font[32];
        snprintf(c, sizeof c, "%06X ", static_cast<unsigned>(o.colour));
        snprintf(xy, sizeof xy, "%d,%d ", o.x, o.y);
        snprintf(font, sizeof font, "[%d/%d] ", o.height, o.weight);
        const std::string text = o.stringId ? "#" + std::to_string(o.stringId) : std::string(o.text);
        const std::string forms[] = {"F ", std::string("T") + c, std::string("P") + c, std::string("M") + xy,
            std::string("L") + xy, font, text + "@" + std::to_string(o.flags - GRAPH_DT_BASE) + " ", "E ",
            "E "};
        if (o.kind == GRAPH_OP_PEN || o.kind == GRAPH_OP_FONT)
            sections.emplace_back();
        sections.back() += forms[o.kind];
    }
    return sections;
}
long Count(const std::string &text, char c) { return std::count(text.begin(), text.end(), c); }
uint8_t history[256];
// 57 % on battery, 100:01 h left, a sample a minute, in a fitted 171 x 45 area at (10, 20).
const GraphInput typical = {10, 20, 181, 65, 96, false, history, 57, BATTERY_HIGH, MAINS_OFFLINE, 360060, 60,
                            false};

TEST(Graph, GridWhereEveryDivisionHasAPixel) {
    memset(history, 255, sizeof history);
    const std::vector<std::string> sections = Graph(typical);
    EXPECT_EQ(sections[0] + sections[2] + sections[3], "T00FFFF F P00FF00 M181,65 E [-18/700] 57%@5 E ");
    EXPECT_EQ(sections[1], "P008000 M10,20 L181,20 M10,31 L181,31 M10,42 L181,42 M10,53 L181,53 "
                           "M10,64 L181,64 M10,20 L10,65 M27,20 L27,65 M44,20 L44,65 M61,20 L61,65 "
                           "M78,20 L78,65 M95,20 L95,65 M112,20 L112,65 M129,20 L129,65 M146,20 L146,65 "
                           "M163,20 L163,65 M180,20 L180,65 E ");
    // An area of 10 x 4 at least.
    const struct { int32_t w, h; long lines; } areas[] = {{10, 4, 14}, {9, 4, 0}, {10, 3, 0}};
    for (const auto &c : areas) {
        const GraphInput in = {10, 20, 10 + c.w, 20 + c.h, 96, false, history, 57, 1, 0, 60, 60, false};
        EXPECT_EQ(Count(Graph(in)[1], 'L'), c.lines) << c.w << "x" << c.h;
    }
    for (int32_t w = 170; w < 180; ++w)  // a fitted area: window corners 2 pixels outside its client area
        for (int32_t h = 44; h < 48; ++h) {
            const GraphFit fit = FitGraphArea(5, 7, 5 + w + 2, 7 + h + 2, w, h);
            EXPECT_EQ(std::make_tuple(fit.width, fit.height, fit.x, fit.y),
                      std::make_tuple(173, 47, 5 + (w - 170) / 2, 7 + (h - 44) / 2)) << w << "x" << h;
        }
}

TEST(Graph, DetailsByStatusInAFontForTheScreen) {
    memset(history, 255, sizeof history);
    GraphInput in = typical;
    in.details = true;
    in.dpiY = 120;
    std::vector<std::string> sections = Graph(in);
    EXPECT_EQ(sections[3] + sections[4], "[-12/400] 0%@8 50%@4 100%@0 8\xC2\xA0min/div@2 dt: 1\xC2\xA0min@10 "
                                         "100:01 h@6 #11@1 #8@9 E [-24/700] 57%@5 E ");
    // Unknown level and time, no named battery bit, an unnamed mains state; 201 wide, six minutes a sample.
    sections = Graph({10, 20, 211, 65, 96, true, history, 255, 16, 3, 0xFFFFFFFFu, 360, true});
    EXPECT_EQ(sections[3] + sections[4], "[-11/400] 0%@8 50%@4 100%@0 1\xC2\xA0h/div@2 "
                                         "dt: 6\xC2\xA0min@10 @1 @9 E [-18/700] ?@5 E ");
    EXPECT_EQ(GraphSourceString(255), 0);  // nothing to say
    EXPECT_EQ(GraphStateString(255), 0);
    EXPECT_EQ(GraphStateString(0), 0);
}

TEST(Graph, LineNewestRightGapsBridged) {
    // Two pixels a sample, the oldest shown just left of the area.
    const GraphInput in = {10, 20, 211, 65, 96, true, history, 255, 16, 3, 0xFFFFFFFFu, 360, true};
    const uint8_t levels[] = {100, 99, 255, 50, 1, 0};
    memset(history, 255, sizeof history);
    memcpy(history, levels, sizeof levels);
    EXPECT_EQ(Graph(in)[2], "PC0C0C0 M211,65 L211,20 L209,20 L205,42 L203,64 L201,65 E ");
    memset(history, 30, sizeof history);
    const std::string line = Graph(in)[2];
    EXPECT_EQ(line.substr(0, 32), "PC0C0C0 M211,65 L211,51 L209,51 ");
    EXPECT_EQ(line.substr(line.size() - 8), "L9,51 E ");
    EXPECT_EQ(Count(line, 'L'), 102);
    const GraphInput wide = {10, 20, 531, 65, 96, false, history, 0, 0, 0, 0, 60, false};
    EXPECT_EQ(Count(Graph(wide)[2], 'L'), 256);  // all there is
}

}  // namespace
