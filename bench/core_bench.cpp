// Host figures of the portable core: what one poll, one tray picture, one
// graph paint and the texts cost. Prints figures only; nothing here has a pass mark.
#include <benchmark/benchmark.h>

#include <string.h>

#include "log/event_log.h"
#include "power/status.h"
#include "ui/graph.h"
#include "ui/tray_image.h"
#include "ui/tray_tip.h"

namespace {

// The decision one poll takes: redraw or tooltip only, and the alert.
void RefreshDecision(benchmark::State &state)
{
    PowerSample snapshot = UnknownSample();
    bool latched = false;
    uint32_t tick = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        PowerSample sample;
        sample.acLineStatus = uint8_t(tick / 7 % 2);
        sample.batteryFlag = uint8_t(tick / 11 % 2 ? 8 : 1);
        sample.batteryLifePercent = uint8_t(tick / 3 % 101);
        sample.batteryLifeTime = tick / 2 * 60u;
        StatusChange change = CompareWithSnapshot(&snapshot, &sample);
        UpdateSnapshot(&snapshot, &sample, change);
        bool alert = StepAlert(&latched, sample.batteryLifePercent, 9);
        benchmark::DoNotOptimize(change);
        benchmark::DoNotOptimize(alert);
        ++tick;
    }
}
BENCHMARK(RefreshDecision);

// A raster of up to 32 x 32 with the platform's line rule; text fills its rectangle.
enum { RASTER_MAX = 32 };

struct Raster {
    int32_t width, height;
    uint8_t mask[RASTER_MAX * RASTER_MAX];
    uint32_t color[RASTER_MAX * RASTER_MAX];
};

void Plot(Raster *r, uint8_t surface, int32_t x, int32_t y, uint32_t c)
{
    if (x < 0 || y < 0 || x >= r->width || y >= r->height)
        return;
    if (surface == TRAY_MASK)
        r->mask[y * r->width + x] = c ? 1 : 0;
    else
        r->color[y * r->width + x] = c;
}

void Rasterize(const TrayDisplayList &list, Raster *r)
{
    r->width = list.width < RASTER_MAX ? list.width : RASTER_MAX;
    r->height = list.height < RASTER_MAX ? list.height : RASTER_MAX;
    for (uint32_t i = 0; i < list.opCount; ++i) {
        const TrayOp &op = list.ops[i];
        if (op.kind == TRAY_OP_CLEAR) {
            for (int32_t p = 0; p < r->width * r->height; ++p)
                Plot(r, op.surface, p % r->width, p / r->width, op.color);
        } else if (op.kind == TRAY_OP_POLYLINE) {
            for (uint32_t k = 0; k + 1 < op.pointCount; ++k) {
                TrayPoint a = op.points[k], b = op.points[k + 1];
                int32_t dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
                for (; a.x != b.x || a.y != b.y; a.x += dx, a.y += dy)
                    Plot(r, op.surface, a.x, a.y, op.color);
            }
        } else {
            for (int32_t y = op.rect.top; y < op.rect.bottom; ++y)
                for (int32_t x = op.rect.left; x < op.rect.right; ++x)
                    Plot(r, op.surface, x, y, op.color);
        }
    }
}

// The picture of one status change at the small-icon size of the argument: 16 at 96 dpi,
// 32 on a display scaled to 200 %.
void TrayPicture(benchmark::State &state)
{
    TrayImageInput input;
    memset(&input, 0, sizeof input);
    input.width = input.height = int32_t(state.range(0));
    input.lowThreshold = 32;
    input.criticalThreshold = 9;
    input.iconColor = 0x00FFFFFF;
    input.font.height = -9;
    input.font.weight = 400;
    memcpy(input.font.faceName, "Tahoma", 7);
    input.lineHeight = 11;
    static TrayDisplayList list;
    static Raster raster;
    uint32_t tick = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        input.percent = uint8_t(tick % 102 == 101 ? 255 : tick % 102);
        input.batteryFlag = uint8_t(tick % 5 == 0 ? 9 : 1);
        input.textWidth = input.percent < 10 ? 5 : 10;
        PlanTrayImage(&input, &list);
        Rasterize(list, &raster);
        benchmark::DoNotOptimize(raster.color[200]);
        ++tick;
    }
}
BENCHMARK(TrayPicture)->Arg(16)->Arg(32);

void TrayTooltip(benchmark::State &state)
{
    static const char *const forms[3] = {"Battery power remaining: %u%%",
                                         "%u:%02u h (%u%%) remaining",
                                         "%u min (%u%%) remaining"};
    char tip[TIP_CAPACITY];
    uint32_t tick = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        TipPlan plan = PlanTrayTip(uint8_t(tick % 101), tick % 3 ? tick * 37u : 0xFFFFFFFFu);
        uint32_t n = plan.textId ? FormatCounts(tip, sizeof tip, forms[plan.textId - 5], plan.args,
                                                plan.argCount)
                                 : 0;
        benchmark::DoNotOptimize(n);
        ++tick;
    }
}
BENCHMARK(TrayTooltip);

// The whole graph's display list of a full history with the overlay.
void GraphPaint(benchmark::State &state)
{
    uint8_t history[256];
    for (int i = 0; i < 256; ++i)
        history[i] = uint8_t(i % 37 == 0 ? 255 : (i * 37) % 101);
    GraphInput in = {0, 0, 511, 45, 96, GraphColors(false, nullptr), history, 57, 1, 0, 7380, 60, true};
    static GraphList list;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        BuildGraph(&in, &list);
        benchmark::DoNotOptimize(list.ops[list.count - 1]);
    }
}
BENCHMARK(GraphPaint);

void Duration(benchmark::State &state)
{
    char text[64];
    uint32_t seconds = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        bool done = FormatDuration(text, sizeof text, "%s Remaining", seconds);
        benchmark::DoNotOptimize(done);
        seconds = seconds * 7u + 13u;
    }
}
BENCHMARK(Duration);

void LogLine(benchmark::State &state)
{
    LogTime t = {2026, 12, 7, 13, 5, 9};
    char line[LOG_LINE_CAPACITY];
    uint32_t tick = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        size_t n = FormatStatusLine(line, sizeof line, &t, uint8_t(tick % 101), uint8_t(tick % 2),
                                    uint8_t(tick % 3 ? 9 : 1));
        benchmark::DoNotOptimize(n);
        ++tick;
    }
}
BENCHMARK(LogLine);

}  // namespace

BENCHMARK_MAIN();
