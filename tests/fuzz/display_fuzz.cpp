// Any bytes as picture inputs and as texts' numbers, formats and buffer sizes: lists stay bounded and
// balanced, texts stay in their buffers and agree with the C library where it has the form.
#include <math.h>
#include "app/text.h"
#include "log/event_log.h"
#include "power/capacity.h"
#include "tests/fuzz/fuzz_check.h"
#include "ui/graph.h"
#include "ui/tray_image.h"
#include "ui/tray_tip.h"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"  // the fuzzed format is the point
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    struct { TrayImageInput tray; GraphInput graph; CapacityFigures figures; LogTime time; uint8_t history[256]; } in;
    memset(&in, 0, sizeof in);
    memcpy(&in, data, size < sizeof in ? size : sizeof in);
    in.tray.greyOnly = in.graph.percent & 1;  // a bool holds 0 or 1 only
    in.graph.colors = GraphColors(in.graph.percent & 2, nullptr);
    in.graph.details = in.graph.percent & 4;
    in.graph.history = in.graph.batteryFlag & 8 ? nullptr : in.history;
    static TrayDisplayList tray;
    PlanTrayImage(&in.tray, &tray);
    FUZZ_CHECK(tray.opCount % 2 == 0 && tray.opCount < TRAY_MAX_OPS && tray.font.quality == FONT_NONANTIALIASED);
    for (uint32_t i = 0; i < tray.opCount; i += 2) {  // each step: the mask, then the same shape in colour
        const TrayOp &m = tray.ops[i], &c = tray.ops[i + 1];
        FUZZ_CHECK(m.surface == TRAY_MASK && c.surface == TRAY_COLOR && m.kind == c.kind && !memcmp(&m.rect, &c.rect, 16));
        FUZZ_CHECK(m.pointCount <= TRAY_MAX_POINTS && !memcmp(m.points, c.points, sizeof m.points) && !c.text[3]);
    }
    static GraphList graph;
    BuildGraph(&in.graph, &graph);
    int pens = 0, fonts = 0;  // selected and given back in pairs, never nested
    for (size_t i = 0; i < graph.count; ++i) {
        const GraphOp &op = graph.ops[i];
        pens += op.kind == GRAPH_OP_PEN ? 1 : op.kind == GRAPH_OP_END_PEN ? -1 : 0;
        fonts += op.kind == GRAPH_OP_FONT ? 1 : op.kind == GRAPH_OP_END_FONT ? -1 : 0;
        FUZZ_CHECK(pens >= 0 && pens <= 1 && fonts >= 0 && fonts <= 1 && !op.text[GRAPH_TEXT_CAPACITY - 1] &&
                   ((op.kind != GRAPH_OP_LINETO && op.kind != GRAPH_OP_MOVE) || pens == 1));
    }
    FUZZ_CHECK(graph.count < GRAPH_MAX_OPS && pens == 0 && fonts == 0);
    // The tooltip's forms, at most three numbers: printf is the reference.
    static const char *const forms[5] = {"%u", "%01u", "%02u", "%09u", "%%"};
    char format[100], want[400], text[300], number[32];
    size_t f = 0;
    for (size_t i = 0, used = 0; i < size && f + 5 < sizeof format; ++i) {
        if (data[i] > 4 && data[i] != '%')
            format[f++] = char(data[i]);
        else if (data[i] <= 4 && (data[i] == 4 || used++ < 3))
            f += size_t(snprintf(format + f, 6, "%s", forms[data[i]]));
    }
    format[f] = '\0';
    const uint32_t args[3] = {in.graph.lifetime, in.graph.interval, in.tray.iconColor};
    snprintf(want, sizeof want, format, args[0], args[1], args[2]);
    const size_t capacity = in.history[255];
    char *out = static_cast<char *>(malloc(capacity ? capacity : 1));  // exactly, so ASan sees any overrun
    const uint32_t n = FormatCounts(out, uint32_t(capacity), format, args, 3);
    // Cut where the buffer ends, then back to the last whole UTF-8 character.
    const uint32_t cut = capacity ? WholeCharacterBytes(want, uint32_t(strnlen(want, capacity - 1))) : 0;
    FUZZ_CHECK(capacity ? n == cut && !memcmp(out, want, n) && !out[n] : n == 0);
    snprintf(text, sizeof text, "%.*s", int(size < 299 ? size : 299), reinterpret_cast<const char *>(data));
    if (capacity) {
        FUZZ_CHECK(FormatDuration(out, capacity, text, args[0]) && memchr(out, 0, capacity));
        FUZZ_CHECK(FormatStatusLine(out, capacity, &in.time, in.history[0], in.history[1], in.history[2]) == strlen(out));
        FUZZ_CHECK(FillCapacityReport(text, &in.figures, out, capacity) == strlen(out));
    }
    free(out);
    const int64_t milli = int64_t{in.figures.rate} * in.tray.width;
    FormatMilli(milli, number, sizeof number);
    FUZZ_CHECK(strchr(number, '.') == number + strlen(number) - 3 &&
               fabs(strtod(number, nullptr) * 1000 - double(milli)) <= 5.0 + fabs(double(milli)) * 1e-12);
    return 0;
}
