#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>
#include "ui/graph.h"
#include "ui/tray_image.h"
bool operator==(const TrayRect &a, const TrayRect &b) { return !memcmp(&a, &b, sizeof a); }
void PrintTo(const TrayRect &r, std::ostream *os) {
    *os << "x " << r.left << ".." << r.right - 1 << ", y " << r.top << ".." << r.bottom - 1;
}
namespace {
using Art = std::vector<std::string>;
const uint32_t INK = 0x123456;
const TrayRect NONE = {0, 0, 0, 0};
// A tray picture's input by name: a square slot, low at 32 %, critical at 9 %, a text line 11/16 high.
struct Tray : TrayImageInput {
    // cppcheck-suppress uninitDerivedMemberVar ; the base is value-initialised
    explicit Tray(int32_t slot) : TrayImageInput() {
        width = height = slot; lowThreshold = 32; criticalThreshold = 9; font.height = -9;
        iconColor = 0xFF000000u | INK;  // the unused top byte must not reach the picture
        lineHeight = (11 * slot + 8) / 16;
    }
    Tray &Level(uint8_t level, uint8_t flag = 0) { percent = level; batteryFlag = flag; return *this; }
    Tray &Text(int32_t w, int32_t h = 0) { textWidth = w; lineHeight = h ? h : lineHeight; return *this; }
    Tray &Grey() { greyOnly = true; return *this; }
    Tray &Font(int32_t h) { font.height = h; return *this; }
};
// A plan drawn as the platform draws (a segment stops before its end point), by named measures: bounds of the
// battery's ink, the fill and the glyphs above; the text; the raster ('d' ink, 'f' fill). Masks are opaque.
struct Picture { TrayRect battery, fill, glyphs, text; std::string label; uint32_t fillColour; IconFont font;
                 Art raster; };
Picture Plan(const TrayImageInput &in) {
    static TrayDisplayList list;
    PlanTrayImage(&in, &list);
    const int32_t size = in.width, top = TrayTextArea(size, size).bottom;
    Picture p = {NONE, NONE, NONE, NONE, "", 0, list.font, Art(size_t(size), std::string(size_t(size), '.'))};
    for (uint32_t i = 1; i < list.opCount; i += 2) {
        const TrayOp &m = list.ops[i - 1], &c = list.ops[i];
        EXPECT_EQ(m.color, i > 1 ? 0u : 0xFFFFFFu) << "step " << i;  // the steps' pairing is fuzzed
        if (c.kind == TRAY_OP_TEXT) p.text = c.rect, p.label += c.text;
        if (c.kind == TRAY_OP_POLYLINE && c.color != INK) p.fillColour = c.color;
        for (uint32_t k = 0; k + 1 < c.pointCount; ++k)
            for (TrayPoint a = c.points[k], e = c.points[k + 1]; a.x != e.x || a.y != e.y;
                 a.x += (e.x > a.x) - (e.x < a.x), a.y += (e.y > a.y) - (e.y < a.y)) {
                const bool inside = a.x >= 0 && a.x < size && a.y >= 0 && a.y < size;
                EXPECT_TRUE(inside || in.lineHeight <= 0 || in.lineHeight > size) << a.x << "," << a.y;
                if (!inside) continue;
                p.raster[size_t(a.y)][size_t(a.x)] = c.color == INK ? 'd' : 'f';
                TrayRect &r = c.color != INK ? p.fill : a.y < top ? p.glyphs : p.battery;
                r = r == NONE ? TrayRect{a.x, a.y, a.x + 1, a.y + 1} : TrayRect{std::min(r.left, a.x),
                    std::min(r.top, a.y), std::max(r.right, a.x + 1), std::max(r.bottom, a.y + 1)};
            }
    }
    return p;
}
int32_t Columns(const TrayRect &r) { return r.right - r.left; }
int32_t Rows(const TrayRect &r) { return r.bottom - r.top; }
// The raster inside r, row by row.
Art Within(const Picture &p, const TrayRect &r) {
    Art rows;
    for (int32_t y = r.top; y < r.bottom; ++y)
        rows.push_back(p.raster[size_t(y)].substr(size_t(r.left), size_t(Columns(r))));
    return rows;
}
// Narrow digits centred in the first 11 columns, the sign one column off them hanging from the measured line;
// wider text centred above the battery, no sign; "100" drawn in lines; wrong measures kept in range.
TEST(TrayImage, LabelWithTheSignWhereItFits) {
    const Picture seven = Plan(Tray(16).Level(7).Text(5, 11)), tall = Plan(Tray(16).Level(42).Text(10, 13));
    EXPECT_EQ(std::make_tuple(seven.label, seven.text, seven.glyphs),
              std::make_tuple("7", TrayRect{3, 0, 8, 11}, TrayRect{9, 3, 13, 9}));
    EXPECT_EQ(std::make_tuple(tall.text, tall.glyphs, Plan(Tray(16).Level(PERCENT_UNKNOWN).Text(4)).label),
              std::make_tuple(TrayRect{0, 0, 10, 13}, TrayRect{11, 5, 15, 11}, "?"));  // the sign two rows lower
    const Picture wide = Plan(Tray(16).Level(42).Text(11, 13)), hundred = Plan(Tray(16).Level(100).Text(23));
    EXPECT_EQ(std::make_tuple(wide.text, wide.glyphs, hundred.label),
              std::make_tuple(TrayRect{0, 0, 16, 11}, NONE, ""));
    EXPECT_EQ(Within(hundred, hundred.glyphs), (Art{".d.ddd.ddd.....", "dd.d.d.d.d.d..d", ".d.d.d.d.d.d.d.",
        ".d.d.d.d.d...d.", ".d.d.d.d.d..d..", ".d.d.d.d.d..d.d", ".d.ddd.ddd.d..d"}));
    EXPECT_EQ(Plan(Tray(16).Level(0).Text(-3)).text, (TrayRect{5, 0, 5, 11}));
    EXPECT_EQ(std::make_pair(Plan(Tray(16).Level(42).Text(10, 100000)).text.bottom,
                             Plan(Tray(16).Level(42).Text(10, -100000)).text.bottom), std::make_pair(4096, -4096));
}
// The square as the slot from 16 to 64 pixels, centred; the design grows with it: the battery spans about 13/16,
// its fill at least 0.6 (at 150 % too, the terminal's top and bottom one pixel to stay open), text, sign, fonts.
TEST(TrayDpi, DesignGrowsWithTheSquare) {
    const auto square = [](int32_t w, int32_t h) {
        const TrayPoint o = TrayWorkingOrigin(w, h);
        return TrayRect{o.x, o.y, o.x + TrayWorkingSize(w, h), o.y + TrayWorkingSize(w, h)};
    };
    EXPECT_EQ(std::make_tuple(square(14, 14), square(14, 15), square(20, 24), square(96, 96), square(0, -1)),
              std::make_tuple(TrayRect{-1, -1, 15, 15}, TrayRect{-1, 0, 15, 16}, TrayRect{2, 4, 18, 20},
                              TrayRect{16, 16, 80, 80}, TrayRect{-8, -8, 8, 8}));
    const Picture at20 = Plan(Tray(20).Level(57).Text(6)), at24 = Plan(Tray(24).Level(57).Text(8));
    const Picture at32 = Plan(Tray(32).Level(57).Text(10));
    EXPECT_EQ(std::make_tuple(Columns(at20.battery), Columns(at24.battery), Columns(at32.battery), Columns(at20.fill),
                              Columns(at24.fill), Columns(at32.fill), Rows(at20.fill), Rows(at24.fill), Rows(at32.fill)),
              std::make_tuple(17, 19, 26, 15, 15, 22, 4, 4, 6));
    EXPECT_EQ(Within(at24, {2, 17, 7, 23}), (Art{"..ddd", "ddddf", "ddfff", "ddfff", "ddddf", "..ddd"}));
    EXPECT_EQ(std::make_tuple(at20.font.height, at24.font.height, at32.font.height, Plan(Tray(24).Font(9)).font.height,
                              int(at32.font.quality)), std::make_tuple(-11, -14, -18, 14, int(FONT_NONANTIALIASED)));
    EXPECT_EQ(std::make_tuple(at20.text, at24.text, at32.text),
              std::make_tuple(TrayRect{4, 0, 10, 14}, TrayRect{4, 0, 12, 17}, TrayRect{6, 0, 16, 22}));
    EXPECT_EQ(std::make_tuple(at20.glyphs, at24.glyphs, at32.glyphs),
              std::make_tuple(TrayRect{11, 4, 16, 11}, TrayRect{14, 4, 20, 14}, TrayRect{18, 6, 26, 18}));
    EXPECT_EQ(std::make_tuple(Plan(Tray(24).Level(42).Text(16)).text.right, Plan(Tray(24).Level(42).Text(17)).glyphs),
              std::make_tuple(16, NONE));  // 11/16 of 24 rounded up: 17 columns
}
// Critical, low, normal by thresholds or flags, charging over them, else none; drawn in its colour for the screen.
TEST(TrayFill, ByLevelThenFlagsEachInItsColour) {
    const TrayFill X = TRAY_FILL_NONE, C = TRAY_FILL_CRITICAL, L = TRAY_FILL_LOW, N = TRAY_FILL_NORMAL;
    const TrayFill G = TRAY_FILL_CHARGING;
    const struct { uint8_t percent, flag; TrayFill fill; } fills[] = {{9, 0, C}, {10, 0, L}, {32, 0, L},
        {33, 0, N}, {100, 0, N}, {101, 0, X}, {101, BATTERY_HIGH, N}, {50, BATTERY_CRITICAL, C},
        {50, BATTERY_LOW, L}, {5, BATTERY_HIGH | BATTERY_CHARGING, G}, {101, BATTERY_CHARGING, X},
        {50, BATTERY_NONE | BATTERY_CHARGING, X}, {5, FLAG_UNKNOWN, C}, {50, FLAG_UNKNOWN, N}, {255, 255, X}};
    for (const auto &c : fills)  // low at 32, critical at 9
        EXPECT_EQ(TrayFillFor(c.percent, c.flag, 32, 9), c.fill) << int(c.percent) << "/" << int(c.flag);
    EXPECT_EQ(TrayFillFor(40, 0, 20, 40), C);  // critical above low
    // The picture fills in the fill's colour for its screen, and not at all without a fill.
    EXPECT_EQ(std::make_pair(Plan(Tray(16).Level(42, BATTERY_CRITICAL).Grey()).fillColour,
                             Plan(Tray(16).Level(7, BATTERY_CHARGING)).fillColour),
              std::make_pair(TrayFillColor(C, true), TrayFillColor(G, false)));
    EXPECT_EQ(Plan(Tray(16).Level(PERCENT_UNKNOWN)).fill, NONE);
}
// The graph's colours, grid rows and columns (straight across the area), line points, fonts, texts ("#": a string).
struct GraphParts { std::vector<uint32_t> colours; std::vector<int32_t> rows, columns; Art line;
                    std::string fonts, texts; };
GraphParts Graph(const GraphInput &in) {
    static GraphList graph;
    memset(&graph, 0xAB, sizeof graph);  // a list afresh, whatever it held
    BuildGraph(&in, &graph);
    GraphParts parts;
    for (size_t i = 0, pens = 0; i < graph.count; ++i) {
        const GraphOp &o = graph.ops[i], &from = graph.ops[i ? i - 1 : 0];
        if (o.kind == GRAPH_OP_TEXTCOLOR || o.kind == GRAPH_OP_FILL || o.kind == GRAPH_OP_PEN)
            parts.colours.push_back(o.colour);
        pens += o.kind == GRAPH_OP_PEN;
        if (o.kind == GRAPH_OP_LINETO && pens == 1) {
            const bool row = o.y == from.y;
            (row ? parts.rows : parts.columns).push_back(row ? o.y : o.x);
            EXPECT_EQ(row ? std::make_tuple(from.x, o.x, from.y) : std::make_tuple(from.y, o.y, from.x),
                      row ? std::make_tuple(in.left, in.right, o.y) : std::make_tuple(in.top, in.bottom, o.x));
        }
        if ((o.kind == GRAPH_OP_LINETO || o.kind == GRAPH_OP_MOVE) && pens == 2)
            parts.line.push_back(std::to_string(o.x) + "," + std::to_string(o.y));
        if (o.kind == GRAPH_OP_FONT) parts.fonts += std::to_string(o.height) + "/" + std::to_string(o.weight) + " ";
        if (o.kind == GRAPH_OP_TEXT)
            parts.texts += (o.stringId ? "#" + std::to_string(o.stringId) : std::string(o.text)) + "@" +
                           std::to_string(o.flags - GRAPH_DT_BASE) + " ";
    }
    return parts;
}
uint8_t history[256];
// 57 % high on battery, 100:01 h left, a sample a minute, in a fitted 171 x 45 area at (10, 20).
GraphInput Typical() {
    GraphInput in = {};
    in.left = 10; in.top = 20; in.right = 181; in.bottom = 65; in.dpiY = 96; in.history = history;
    in.percent = 57; in.batteryFlag = BATTERY_HIGH; in.acLineStatus = MAINS_OFFLINE; in.lifetime = 360060;
    in.interval = 60; in.colors = GraphColors(false, nullptr);
    return in;
}
// A grid line every division of an area of 10 x 4 at least; the area fitted into the window's frame.
TEST(Graph, GridWhereEveryDivisionHasAPixel) {
    memset(history, 255, sizeof history);
    GraphParts typical = Graph(Typical());
    EXPECT_EQ(typical.colours, (std::vector<uint32_t>{GRAPH_TEXT, GRAPH_BLACK, GRAPH_GRID, GRAPH_LINE}));
    EXPECT_EQ(typical.rows, (std::vector<int32_t>{20, 31, 42, 53, 64}));
    EXPECT_EQ(typical.columns, (std::vector<int32_t>{10, 27, 44, 61, 78, 95, 112, 129, 146, 163, 180}));
    EXPECT_EQ(typical.fonts + typical.texts + typical.line.at(0), "-18/700 57%@5 181,65");  // no history: no line
    const auto lines = [](int32_t w, int32_t h) {
        GraphInput in = Typical();
        in.right = in.left + w; in.bottom = in.top + h;
        return Graph(in).rows.size() + Graph(in).columns.size();
    };
    EXPECT_EQ(std::make_tuple(lines(10, 4), lines(9, 4), lines(10, 3)), std::make_tuple(4u + 10u, 0u, 0u));
    const GraphFit a = FitGraphArea(5, 7, 177, 53, 170, 44), b = FitGraphArea(5, 7, 186, 56, 179, 47);  // frame 2
    EXPECT_EQ(std::make_tuple(a.x, a.y, a.width, a.height, b.x, b.y, b.width, b.height),
              std::make_tuple(5, 7, 173, 47, 9, 8, 173, 47));
}
// Details by status; the fonts as before up to 120 dpi, then in proportion, halves away from zero.
TEST(Graph, DetailsByStatusInFontsForTheScreen) {
    memset(history, 255, sizeof history);
    GraphInput in = Typical();
    in.details = true;
    const auto fonts = [&](int32_t dpi) { in.dpiY = dpi; return Graph(in).fonts; };
    EXPECT_EQ(fonts(119) + fonts(125) + fonts(192) + fonts(120), "-11/400 -18/700 -13/400 -25/700 -19/400 -38/700 "
                                                                 "-12/400 -24/700 ");
    EXPECT_EQ(Graph(in).texts, "0%@8 50%@4 100%@0 8\xC2\xA0min/div@2 dt: 1\xC2\xA0min@10 100:01 h@6 #11@1 #8@9 57%@5 ");
    // Unknown level and time, no named battery bit, an unnamed mains state; 201 wide, six minutes a sample.
    in.right = 211; in.colors = GraphColors(true, nullptr); in.percent = PERCENT_UNKNOWN; in.batteryFlag = 16; in.acLineStatus = 3;
    in.lifetime = LIFETIME_UNKNOWN; in.interval = 360;
    const GraphParts odd = Graph(in);
    EXPECT_EQ(odd.texts, "0%@8 50%@4 100%@0 1\xC2\xA0h/div@2 dt: 6\xC2\xA0min@10 @1 @9 ?@5 ");
    EXPECT_EQ(odd.colours, (std::vector<uint32_t>{GRAPH_TEXT_GREY, GRAPH_BLACK, GRAPH_GRID_GREY, GRAPH_LINE_GREY}));
    // A high-contrast theme's colours win on a grey-only screen too (text, field, grid, history); unknowns go unsaid.
    const ThemeColors theme = {0x111111, 0x222222, 0x333333, 0x444444};  // window, text, highlight, grey text
    in.colors = GraphColors(true, &theme); in.batteryFlag = FLAG_UNKNOWN; in.acLineStatus = AC_UNKNOWN;
    EXPECT_EQ(Graph(in).colours, (std::vector<uint32_t>{0x222222, 0x111111, 0x444444, 0x333333}));
    EXPECT_EQ(Graph(in).texts, "0%@8 50%@4 100%@0 1\xC2\xA0h/div@2 dt: 6\xC2\xA0min@10 ?@5 ");
}
// Two pixels a sample, newest right, the oldest shown just left of the area; gaps bridged.
TEST(Graph, LineNewestRightGapsBridged) {
    GraphInput in = Typical();
    in.right = 211;
    const uint8_t levels[] = {100, 99, 255, 50, 1, 0};
    memset(history, 255, sizeof history);
    memcpy(history, levels, sizeof levels);
    EXPECT_EQ(Graph(in).line, (Art{"211,65", "211,20", "209,20", "205,42", "203,64", "201,65"}));
    memset(history, 30, sizeof history);
    const Art line = Graph(in).line;  // the start, then x = 211 down to 9
    EXPECT_EQ(std::make_pair(line.size(), line.back()), std::make_pair(size_t{1 + 102}, std::string("9,51")));
    in.right = 531;
    EXPECT_EQ(Graph(in).line.size(), 1u + 256u);  // all there is
}
}  // namespace
