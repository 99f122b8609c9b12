#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/unit/graph_raster.h"
#include "ui/graph.h"

namespace {

struct Segment {
    int32_t x0, y0, x1, y1;
};

// The lines drawn with the pen of the given colour, in order.
std::vector<Segment> Lines(const GraphList &list, uint32_t colour)
{
    std::vector<Segment> lines;
    uint32_t pen = 0xFFFFFFFFu;
    int32_t x = 0, y = 0;
    for (size_t i = 0; i < list.count; ++i) {
        const GraphOp &op = list.ops[i];
        if (op.kind == GRAPH_OP_PEN)
            pen = op.colour;
        else if (op.kind == GRAPH_OP_END_PEN)
            pen = 0xFFFFFFFFu;
        else if (op.kind == GRAPH_OP_MOVE) {
            x = op.x;
            y = op.y;
        } else if (op.kind == GRAPH_OP_LINETO) {
            if (pen == colour)
                lines.push_back({x, y, op.x, op.y});
            x = op.x;
            y = op.y;
        }
    }
    return lines;
}

std::vector<const GraphOp *> Texts(const GraphList &list)
{
    std::vector<const GraphOp *> texts;
    for (size_t i = 0; i < list.count; ++i)
        if (list.ops[i].kind == GRAPH_OP_TEXT)
            texts.push_back(&list.ops[i]);
    return texts;
}

TEST(GraphGrid, FittedAreaHasTenByFourDivisionsClosedOnAllSides)
{
    uint8_t history[256];
    memset(history, 255, sizeof history);
    const Area a = {10, 20, 181, 65};  // 171 x 45
    GraphInput in = GraphInputFor(a, history);
    static GraphList list;
    BuildGraph(&in, &list);
    std::vector<int32_t> rows, columns;
    for (const Segment &s : Lines(list, GRAPH_GRID)) {
        if (s.y0 == s.y1) {
            EXPECT_EQ(s.x0, a.left);
            EXPECT_EQ(s.x1, a.right);
            rows.push_back(s.y0 - a.top);
        } else {
            EXPECT_EQ(s.y0, a.top);
            EXPECT_EQ(s.y1, a.bottom);
            columns.push_back(s.x0 - a.left);
        }
    }
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 11, 22, 33, 44}));
    EXPECT_EQ(columns, (std::vector<int32_t>{0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170}));
    // Only gaps: grid and level, no history line at all.
    EXPECT_TRUE(Lines(list, GRAPH_LINE).empty());
    GraphRaster r = RasterizeGraph(list, a);
    EXPECT_EQ(r.At(a.right - 1, a.bottom - 1), GRAPH_GRID);
    EXPECT_EQ(r.At(a.left + 170, a.top + 5), GRAPH_GRID);
    EXPECT_EQ(r.At(a.left + 5, a.top + 44), GRAPH_GRID);
    EXPECT_EQ(r.At(a.left + 5, a.top + 5), GRAPH_BLACK);

    // A grey target: grey grid and line, white text.
    in.monochrome = true;
    BuildGraph(&in, &list);
    EXPECT_EQ(Lines(list, GRAPH_GRID_GREY).size(), 16u);
    EXPECT_EQ(list.ops[0].kind, GRAPH_OP_TEXTCOLOR);
    EXPECT_EQ(list.ops[0].colour, uint32_t{GRAPH_TEXT_GREY});
    EXPECT_TRUE(GraphIsMonochrome(0x808080));
    EXPECT_TRUE(GraphIsMonochrome(0x000000));
    EXPECT_FALSE(GraphIsMonochrome(0x0000FF));
    EXPECT_FALSE(GraphIsMonochrome(0x0000FE));
}

TEST(GraphGrid, TinyAndHugeAreasFinishWithinTheList)
{
    uint8_t history[256];
    memset(history, 50, sizeof history);
    static GraphList list;
    for (int32_t w = 0; w <= 9; ++w)
        for (int32_t h = 0; h <= 3; ++h) {
            GraphInput in = GraphInputFor({0, 0, w, h}, history);
            BuildGraph(&in, &list);
            EXPECT_TRUE(Lines(list, GRAPH_GRID).empty()) << w << "x" << h;
            EXPECT_LE(list.count, size_t{GRAPH_MAX_OPS});
        }
    for (Area a : {Area{0, 0, 10, 4}, Area{0, 0, 19, 7}, Area{0, 0, 100000, 100000},
                   Area{-2000000000, -2000000000, 2000000000, 2000000000}, Area{5, 5, 0, 0}}) {
        GraphInput in = GraphInputFor(a, history);
        in.details = true;
        BuildGraph(&in, &list);
        EXPECT_LE(list.count, size_t{GRAPH_MAX_OPS});
        EXPECT_EQ(list.ops[list.count - 1].kind, GRAPH_OP_END_FONT) << "the level is always drawn";
    }
}

TEST(GraphHistory, LevelsSamplesAndGaps)
{
    uint8_t history[256];
    memset(history, 255, sizeof history);
    const Area a = {0, 0, 171, 45};
    static GraphList list;

    // Which samples take part: 87 of them, the oldest at left - 1.
    memset(history, 30, sizeof history);
    GraphInput in = GraphInputFor(a, history);
    BuildGraph(&in, &list);
    std::vector<Segment> line = Lines(list, GRAPH_LINE);
    ASSERT_EQ(line.size(), 87u);
    EXPECT_EQ(line.front().x0, 171);
    EXPECT_EQ(line.front().y0, 45);
    EXPECT_EQ(line.back().x1, -1);

    // The level formula on H = 45.
    memset(history, 255, sizeof history);
    const uint8_t levels[] = {100, 99, 50, 1, 0};
    const int32_t offsets[] = {0, 0, 22, 44, 45};
    for (size_t i = 0; i < 5; ++i)
        history[i] = levels[i];
    BuildGraph(&in, &list);
    line = Lines(list, GRAPH_LINE);
    ASSERT_EQ(line.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(line[i].x1, 171 - 2 * int32_t(i));
        EXPECT_EQ(line[i].y1, offsets[i]) << int(levels[i]);
    }

    // Gaps are bridged by one segment.
    memset(history, 255, sizeof history);
    history[0] = 50;
    history[3] = 80;
    BuildGraph(&in, &list);
    line = Lines(list, GRAPH_LINE);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[1].x0, 171);
    EXPECT_EQ(line[1].y0, 22);
    EXPECT_EQ(line[1].x1, 165);
    EXPECT_EQ(line[1].y1, 9);

    // A leading gap: the line rises from the lower right corner.
    memset(history, 255, sizeof history);
    history[1] = 50;
    BuildGraph(&in, &list);
    line = Lines(list, GRAPH_LINE);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].x0, 171);
    EXPECT_EQ(line[0].y0, 45);
    EXPECT_EQ(line[0].x1, 169);
    EXPECT_EQ(line[0].y1, 22);
    GraphRaster r = RasterizeGraph(list, a);
    EXPECT_EQ(r.At(170, 30), GRAPH_LINE) << "the steep segment over the last grid column";
    EXPECT_EQ(r.At(170, 20), GRAPH_GRID) << "nothing above the sample";
}

std::string Text(const GraphOp *op)
{
    return op->stringId ? "#" + std::to_string(op->stringId) : std::string(op->text);
}

TEST(GraphTexts, OverlayPositionsAndTheirConditions)
{
    uint8_t history[256];
    memset(history, 255, sizeof history);
    static GraphList list;
    GraphInput in = GraphInputFor({0, 0, 171, 45}, history);
    BuildGraph(&in, &list);
    std::vector<const GraphOp *> texts = Texts(list);
    ASSERT_EQ(texts.size(), 1u) << "without details only the level";
    EXPECT_EQ(Text(texts[0]), "57%");
    EXPECT_EQ(texts[0]->flags, 0x925u);

    in.details = true;
    BuildGraph(&in, &list);
    texts = Texts(list);
    ASSERT_EQ(texts.size(), 9u);
    const char *expected[] = {"0%", "50%", "100%", "8\xA0min/div", "dt: 1\xA0min", "2:03 h",
                              "#11", "#8", "57%"};
    const uint32_t flags[] = {0x928, 0x924, 0x920, 0x922, 0x92A, 0x926, 0x921, 0x929, 0x925};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(Text(texts[i]), expected[i]) << i;
        EXPECT_EQ(texts[i]->flags, flags[i]) << i;
    }

    // Unknown values drop their texts; the level shows "?".
    in.lifetime = 0xFFFFFFFFu;
    in.batteryFlag = 255;
    in.acLineStatus = 255;
    in.percent = 255;
    BuildGraph(&in, &list);
    texts = Texts(list);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(Text(texts[5]), "?");

    EXPECT_EQ(GraphStateString(9), IDS_BATTERY_CHARGING);
    EXPECT_EQ(GraphStateString(6), IDS_BATTERY_CRITICAL);
    EXPECT_EQ(GraphStateString(128 | 8 | 1), IDS_NO_BATTERY);
    EXPECT_EQ(GraphStateString(2), IDS_BATTERY_LOW);
    EXPECT_EQ(GraphStateString(0), 0);
    EXPECT_EQ(GraphStateString(255), 0);
    EXPECT_EQ(GraphStateString(16), -1) << "no named bit: an empty text";
    EXPECT_EQ(GraphSourceString(2), IDS_AC_BACKUP);
    EXPECT_EQ(GraphSourceString(255), 0);
    EXPECT_EQ(GraphSourceString(3), -1);

    // Time per division and the remaining time.
    in = GraphInputFor({0, 0, 171, 45}, history);
    in.details = true;
    in.interval = 360;
    in.lifetime = 3599;
    BuildGraph(&in, &list);
    texts = Texts(list);
    EXPECT_EQ(Text(texts[3]), "48\xA0min/div");
    EXPECT_EQ(Text(texts[4]), "dt: 6\xA0min");
    EXPECT_EQ(Text(texts[5]), "0:59 h");
    in = GraphInputFor({0, 0, 201, 45}, history);
    in.details = true;
    in.interval = 360;
    in.lifetime = 0;
    BuildGraph(&in, &list);
    texts = Texts(list);
    EXPECT_EQ(Text(texts[3]), "1\xA0h/div");
    EXPECT_EQ(Text(texts[5]), "0:00 h");
}

TEST(GraphTexts, FontsFollowTheResolution)
{
    uint8_t history[256];
    memset(history, 255, sizeof history);
    static GraphList list;
    for (int32_t dpi : {119, 120}) {
        GraphInput in = GraphInputFor({0, 0, 171, 45}, history);
        in.details = true;
        in.dpiY = dpi;
        BuildGraph(&in, &list);
        std::vector<int32_t> heights, weights;
        for (size_t i = 0; i < list.count; ++i)
            if (list.ops[i].kind == GRAPH_OP_FONT) {
                heights.push_back(list.ops[i].height);
                weights.push_back(list.ops[i].weight);
            }
        EXPECT_EQ(heights, dpi < 120 ? (std::vector<int32_t>{-11, -18}) : (std::vector<int32_t>{-12, -24}));
        EXPECT_EQ(weights, (std::vector<int32_t>{400, 700}));
    }
}

std::string Duration(uint32_t s)
{
    char out[64];
    EXPECT_TRUE(FormatDuration(out, sizeof out, "%s", s));
    std::string text(out);
    for (char &c : text)
        if (c == '\xA0')
            c = '_';
    return text;
}

TEST(GraphDuration, EveryRowOfTheTable)
{
    const struct {
        uint32_t s;
        const char *text;
    } rows[] = {{0, "0_min"}, {59, "59_s"}, {60, "1_min"}, {90, "90_s"}, {599, "599_s"},
                {600, "10_min"}, {629, "10_min"}, {630, "11_min"}, {3599, "60_min"}, {3600, "1_h"},
                {3630, "61_min"}, {5400, "90_min"}, {7200, "2_h"}, {35999, "600_min"},
                {36000, "10_h"}, {37799, "10_h"}, {37800, "11_h"}, {0xFFFFFFFFu, "1193046_h"}};
    for (const auto &row : rows)
        EXPECT_EQ(Duration(row.s), row.text) << row.s;
    char out[16] = "untouched";
    EXPECT_FALSE(FormatDuration(out, sizeof out, nullptr, 60));
    EXPECT_STREQ(out, "untouched");
    EXPECT_FALSE(FormatDuration(nullptr, 16, "%s", 60));
    EXPECT_TRUE(FormatDuration(out, sizeof out, "dt: %s", 90));
    EXPECT_STREQ(out, "dt: 90\xA0s");
    char tiny[6];
    EXPECT_TRUE(FormatDuration(tiny, sizeof tiny, "%s/div", 480));
    EXPECT_STREQ(tiny, "8\xA0min");
}

TEST(GraphFitting, ClientAreaBecomesTenKPlusOneByFourMPlusOne)
{
    GraphFit fit = FitGraphArea(9, 9, 179, 53, 170, 44);
    EXPECT_EQ(fit.x, 9);
    EXPECT_EQ(fit.y, 9);
    EXPECT_EQ(fit.width, 171);
    EXPECT_EQ(fit.height, 45);
    fit = FitGraphArea(9, 9, 180, 54, 171, 45);
    EXPECT_EQ(fit.width, 171) << "already fitted: unchanged";
    EXPECT_EQ(fit.height, 45);
    EXPECT_EQ(fit.x, 9);
    fit = FitGraphArea(10, 10, 187, 57, 177, 47);
    EXPECT_EQ(fit.x, 13);
    EXPECT_EQ(fit.y, 11);
    EXPECT_EQ(fit.width, 171);
    EXPECT_EQ(fit.height, 45);
}

}  // namespace
