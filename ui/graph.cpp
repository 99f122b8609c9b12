// The history graph: black field, 10 x 4 grid, the history line at two pixels
// per sample with the newest at the right, the level in the middle and the
// details overlay.
#include "ui/graph.h"

#include <stdio.h>
#include <string.h>

#include "app/text.h"
#include "history/history.h"
#include "res/resource.h"

int GraphStateString(uint8_t flag)
{
    if (flag == 0 || flag == FLAG_UNKNOWN)
        return 0;
    if (flag & BATTERY_NONE) return IDS_NO_BATTERY;
    if (flag & BATTERY_CHARGING) return IDS_BATTERY_CHARGING;
    if (flag & BATTERY_CRITICAL) return IDS_BATTERY_CRITICAL;
    if (flag & BATTERY_LOW) return IDS_BATTERY_LOW;
    if (flag & BATTERY_HIGH) return IDS_BATTERY_HIGH;
    return -1;
}

int GraphSourceString(uint8_t ac)
{
    switch (ac) {
    case MAINS_OFFLINE: return IDS_AC_OFFLINE;
    case MAINS_ONLINE: return IDS_AC_ONLINE;
    case MAINS_BACKUP: return IDS_AC_BACKUP;
    case AC_UNKNOWN: return 0;
    }
    return -1;
}

// (floor(2s / d) + 1) / 2: halves round up.
static uint32_t Rounded(uint32_t s, uint32_t d)
{
    return static_cast<uint32_t>((2ULL * s / d + 1u) / 2u);
}

bool FormatDuration(char *out, size_t capacity, const char *format, uint32_t s)
{
    if (!out || !format || !capacity)
        return false;
    uint32_t number;
    const char *unit;
    if (s < 600) {
        if (s % 60) {
            number = s;
            unit = "s";
        } else {
            number = s / 60;
            unit = "min";
        }
    } else if (s < 36000) {
        if (s % 3600) {
            number = Rounded(s, 60);
            unit = "min";
        } else {
            number = s / 3600;
            unit = "h";
        }
    } else {
        number = Rounded(s, 3600);
        unit = "h";
    }
    char duration[24];
    snprintf(duration, sizeof duration, "%u%s%s", static_cast<unsigned>(number), NoBreakSpace(), unit);
    const char *mark = strstr(format, "%s");
    if (!mark) {
        snprintf(out, capacity, "%s", format);
        return true;
    }
    snprintf(out, capacity, "%.*s%s%s", static_cast<int>(mark - format), format, duration, mark + 2);
    // A full buffer may have cut the no-break space in two.
    out[WholeCharacterBytes(out, static_cast<uint32_t>(strlen(out)))] = '\0';
    return true;
}

GraphFit FitGraphArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t w, int32_t h)
{
    const int32_t ex = w % 10, ey = h % 4;
    GraphFit fit = {x0 + ex / 2, y0 + ey / 2, x1 - x0 - ex + 1, y1 - y0 - ey + 1};
    return fit;
}

static GraphOp *Add(GraphList *list, GraphOpKind kind)
{
    if (list->count >= GRAPH_MAX_OPS)
        return nullptr;
    GraphOp *op = &list->ops[list->count++];
    memset(op, 0, sizeof *op);
    op->kind = kind;
    return op;
}

static void Point(GraphList *list, GraphOpKind kind, int64_t x, int64_t y)
{
    GraphOp *op = Add(list, kind);
    if (!op)
        return;
    op->x = static_cast<int32_t>(x);
    op->y = static_cast<int32_t>(y);
}

static void Text(GraphList *list, uint32_t align, const char *text, int stringId)
{
    GraphOp *op = Add(list, GRAPH_OP_TEXT);
    if (!op)
        return;
    op->flags = GRAPH_DT_BASE | align;
    op->stringId = stringId;
    if (text)
        snprintf(op->text, sizeof op->text, "%s", text);
}

static void Font(GraphList *list, int32_t height, int32_t weight)
{
    GraphOp *op = Add(list, GRAPH_OP_FONT);
    if (!op)
        return;
    op->height = height;
    op->weight = weight;
}

// Below 120 DPI the small heights; from 120 on the large ones grow with the
// DPI, rounded half away from zero, so that 120 itself keeps them exactly.
static int32_t FontHeight(int32_t dpiY, int32_t small, int32_t at120)
{
    if (dpiY < 120)
        return small;
    return static_cast<int32_t>((int64_t{at120} * dpiY - 60) / 120);
}

static void Grid(const GraphInput *in, GraphList *list, int64_t w, int64_t h)
{
    // Under 10 x 4 pixels a division would be empty: no grid at all.
    if (w < 10 || h < 4)
        return;
    const int64_t stepY = h / 4, stepX = w / 10;
    for (int64_t offset = 0; offset < h; offset += stepY) {
        Point(list, GRAPH_OP_MOVE, in->left, in->top + offset);
        Point(list, GRAPH_OP_LINETO, in->right, in->top + offset);
    }
    for (int64_t offset = 0; offset < w; offset += stepX) {
        Point(list, GRAPH_OP_MOVE, in->left + offset, in->top);
        Point(list, GRAPH_OP_LINETO, in->left + offset, in->bottom);
    }
}

static void HistoryLine(const GraphInput *in, GraphList *list, int64_t h)
{
    Point(list, GRAPH_OP_MOVE, in->right, in->bottom);
    if (!in->history)
        return;
    for (int i = 0; i < HISTORY_SLOTS; ++i) {
        const int64_t x = static_cast<int64_t>(in->right) - 2 * static_cast<int64_t>(i);
        if (x < static_cast<int64_t>(in->left) - 1)
            break;
        const uint8_t v = in->history[i];
        if (v == HISTORY_EMPTY)
            continue;
        Point(list, GRAPH_OP_LINETO, x, in->top + (100 - static_cast<int64_t>(v)) * h / 100);
    }
}

static void Overlay(const GraphInput *in, GraphList *list, int64_t w)
{
    char text[GRAPH_TEXT_CAPACITY];
    Text(list, GRAPH_DT_BOTTOM, "0%", 0);
    Text(list, GRAPH_DT_VCENTER, "50%", 0);
    Text(list, 0, "100%", 0);
    const uint64_t perDivision = static_cast<uint64_t>(w / 20) * in->interval;
    FormatDuration(text, sizeof text, "%s/div",
                   perDivision > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(perDivision));
    Text(list, GRAPH_DT_RIGHT, text, 0);
    FormatDuration(text, sizeof text, "dt: %s", in->interval);
    Text(list, GRAPH_DT_RIGHT | GRAPH_DT_BOTTOM, text, 0);
    if (in->lifetime != LIFETIME_UNKNOWN) {
        snprintf(text, sizeof text, "%u:%02u h", static_cast<unsigned>(in->lifetime / 3600),
                 static_cast<unsigned>(in->lifetime % 3600 / 60));
        Text(list, GRAPH_DT_RIGHT | GRAPH_DT_VCENTER, text, 0);
    }
    const int state = GraphStateString(in->batteryFlag);
    if (state)
        Text(list, GRAPH_DT_CENTER, "", state > 0 ? state : 0);
    const int source = GraphSourceString(in->acLineStatus);
    if (source)
        Text(list, GRAPH_DT_CENTER | GRAPH_DT_BOTTOM, "", source > 0 ? source : 0);
}

GraphPalette GraphColors(bool greyOnly, const ThemeColors *theme)
{
    if (theme)
        return GraphPalette{theme->window, theme->grayText, theme->highlight, theme->windowText};
    if (greyOnly)
        return GraphPalette{GRAPH_BLACK, GRAPH_GRID_GREY, GRAPH_LINE_GREY, GRAPH_TEXT_GREY};
    return GraphPalette{GRAPH_BLACK, GRAPH_GRID, GRAPH_LINE, GRAPH_TEXT};
}

void BuildGraph(const GraphInput *in, GraphList *list)
{
    list->count = 0;
    const int64_t w = static_cast<int64_t>(in->right) - in->left;
    const int64_t h = static_cast<int64_t>(in->bottom) - in->top;
    const GraphPalette &colors = in->colors;
    GraphOp *op = Add(list, GRAPH_OP_TEXTCOLOR);
    op->colour = colors.text;
    op = Add(list, GRAPH_OP_FILL);
    op->colour = colors.background;

    op = Add(list, GRAPH_OP_PEN);
    op->colour = colors.grid;
    Grid(in, list, w, h);
    Add(list, GRAPH_OP_END_PEN);

    op = Add(list, GRAPH_OP_PEN);
    if (op)
        op->colour = colors.line;
    HistoryLine(in, list, h);
    Add(list, GRAPH_OP_END_PEN);

    if (in->details) {
        Font(list, FontHeight(in->dpiY, -11, -12), WEIGHT_NORMAL);
        Overlay(in, list, w);
        Add(list, GRAPH_OP_END_FONT);
    }
    Font(list, FontHeight(in->dpiY, -18, -24), WEIGHT_BOLD);
    char level[GRAPH_TEXT_CAPACITY];
    if (in->percent == PERCENT_UNKNOWN)
        snprintf(level, sizeof level, "?");
    else
        snprintf(level, sizeof level, "%u%%", static_cast<unsigned>(in->percent));
    Text(list, GRAPH_DT_CENTER | GRAPH_DT_VCENTER, level, 0);
    Add(list, GRAPH_OP_END_FONT);
}
