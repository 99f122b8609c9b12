// A typical graph input and a reference raster for graph display lists,
// after the platform's rules, shared by the graph's tests and its benchmark.
#ifndef AMPWATCH_GRAPH_RASTER_H
#define AMPWATCH_GRAPH_RASTER_H

#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "ui/graph.h"

struct Area {
    int32_t left, top, right, bottom;
};

// 57 % on battery, 2:03 h left, one sample a minute, overlay off.
inline GraphInput GraphInputFor(Area a, const uint8_t *history)
{
    GraphInput in = {};
    in.left = a.left;
    in.top = a.top;
    in.right = a.right;
    in.bottom = a.bottom;
    in.dpiY = 96;
    in.history = history;
    in.percent = 57;
    in.batteryFlag = 1;
    in.acLineStatus = 0;
    in.lifetime = 7380;
    in.interval = 60;
    return in;
}

// A raster of the area following the platform's rules: a line covers its
// start up to, not including, its end; everything is clipped to the area.
struct GraphRaster {
    Area a;
    std::vector<uint32_t> px;
    uint32_t At(int32_t x, int32_t y) const { return px[size_t(y - a.top) * size_t(a.right - a.left) + size_t(x - a.left)]; }
};

inline void Plot(GraphRaster *r, int32_t x, int32_t y, uint32_t c)
{
    if (x >= r->a.left && x < r->a.right && y >= r->a.top && y < r->a.bottom)
        r->px[size_t(y - r->a.top) * size_t(r->a.right - r->a.left) + size_t(x - r->a.left)] = c;
}

inline GraphRaster RasterizeGraph(const GraphList &list, Area a)
{
    GraphRaster r = {a, std::vector<uint32_t>(size_t(a.right - a.left) * size_t(a.bottom - a.top), 0xDEADu)};
    uint32_t pen = 0;
    int32_t cx = 0, cy = 0;
    for (size_t i = 0; i < list.count; ++i) {
        const GraphOp &op = list.ops[i];
        switch (op.kind) {
        case GRAPH_OP_FILL:
            std::fill(r.px.begin(), r.px.end(), GRAPH_BLACK);
            break;
        case GRAPH_OP_PEN: pen = op.colour; break;
        case GRAPH_OP_MOVE: cx = op.x; cy = op.y; break;
        case GRAPH_OP_LINETO: {
            int32_t x = cx, y = cy;
            const int32_t dx = abs(op.x - cx), dy = -abs(op.y - cy);
            const int32_t sx = cx < op.x ? 1 : -1, sy = cy < op.y ? 1 : -1;
            int32_t err = dx + dy;
            while (x != op.x || y != op.y) {
                Plot(&r, x, y, pen);
                const int32_t e2 = 2 * err;
                if (e2 >= dy) { err += dy; x += sx; }
                if (e2 <= dx) { err += dx; y += sy; }
            }
            cx = op.x;
            cy = op.y;
            break;
        }
        default: break;
        }
    }
    return r;
}

#endif
