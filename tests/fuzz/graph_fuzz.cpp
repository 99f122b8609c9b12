// The history graph's display list for any area, history, status, interval
// and resolution: bounded, balanced, and the lines where the area says.
#include "tests/fuzz/fuzz_check.h"
#include "ui/graph.h"

namespace {

struct Counts {
    uint32_t gridLines, historyLines, texts;
};

// Pens and fonts are selected, used and given back in pairs, never nested.
Counts CheckStructure(const GraphList &list)
{
    FUZZ_CHECK(list.count <= GRAPH_MAX_OPS);
    FUZZ_CHECK(list.count >= 2 && list.ops[0].kind == GRAPH_OP_TEXTCOLOR &&
               list.ops[1].kind == GRAPH_OP_FILL);
    Counts c = {0, 0, 0};
    int pens = 0, fonts = 0, penSection = 0;
    bool moved = false;
    for (size_t i = 0; i < list.count; ++i) {
        const GraphOp &op = list.ops[i];
        switch (op.kind) {
        case GRAPH_OP_PEN:
            FUZZ_CHECK(pens == 0);
            ++pens;
            ++penSection;
            moved = false;
            break;
        case GRAPH_OP_END_PEN:
            FUZZ_CHECK(pens == 1);
            --pens;
            break;
        case GRAPH_OP_FONT:
            FUZZ_CHECK(fonts == 0);
            ++fonts;
            break;
        case GRAPH_OP_END_FONT:
            FUZZ_CHECK(fonts == 1);
            --fonts;
            break;
        case GRAPH_OP_MOVE:
            FUZZ_CHECK(pens == 1);
            moved = true;
            break;
        case GRAPH_OP_LINETO:
            FUZZ_CHECK(pens == 1 && moved);
            if (penSection == 1)
                ++c.gridLines;
            else
                ++c.historyLines;
            break;
        case GRAPH_OP_TEXT:
            FUZZ_CHECK(fonts == 1);
            FUZZ_CHECK(memchr(op.text, 0, sizeof op.text) != nullptr);
            FUZZ_CHECK(op.stringId >= 0 && op.stringId <= 15);
            FUZZ_CHECK((op.flags & GRAPH_DT_BASE) == GRAPH_DT_BASE);
            ++c.texts;
            break;
        case GRAPH_OP_FILL:
        case GRAPH_OP_TEXTCOLOR:
            break;
        default:
            fprintf(stderr, "graph fuzz: unknown operation %d\n", int(op.kind));
            abort();
        }
    }
    FUZZ_CHECK(pens == 0 && fonts == 0 && penSection == 2);
    return c;
}

// Only for areas small enough that every coordinate fits 32 bits.
void CheckGeometry(const GraphInput &in, const GraphList &list, const Counts &c)
{
    const int64_t w = int64_t{in.right} - in.left, h = int64_t{in.bottom} - in.top;
    // Nothing was dropped.
    FUZZ_CHECK(list.count < GRAPH_MAX_OPS);
    if (w < 10 || h < 4)
        FUZZ_CHECK(c.gridLines == 0);
    else
        FUZZ_CHECK(c.gridLines >= 4 + 10 && c.gridLines <= 2 * (4 + 10) + 8);

    uint32_t samples = 0;
    int section = 0;
    int64_t lastX = int64_t{in.right} + 2;
    for (size_t i = 0; i < list.count; ++i) {
        const GraphOp &op = list.ops[i];
        if (op.kind == GRAPH_OP_PEN)
            ++section;
        if (op.kind == GRAPH_OP_LINETO && section == 1) {
            // Grid lines run along the area's edges' directions, inside it.
            FUZZ_CHECK(op.x >= in.left && op.x <= in.right && op.y >= in.top && op.y <= in.bottom);
        }
        if (op.kind == GRAPH_OP_LINETO && section == 2) {
            // Two pixels per sample, newest at the right, oldest at left - 1.
            FUZZ_CHECK(op.x < lastX && (int64_t{in.right} - op.x) % 2 == 0);
            FUZZ_CHECK(op.x >= int64_t{in.left} - 1 && op.x <= in.right);
            const uint8_t v = in.history[(in.right - op.x) / 2];
            FUZZ_CHECK(v != 255);
            if (v <= 100 && h >= 0)
                FUZZ_CHECK(op.y >= in.top && op.y <= in.bottom);
            lastX = op.x;
            ++samples;
        }
    }
    // Every sample of the shown span that is no gap is a point of the line.
    uint32_t want = 0;
    for (int i = 0; i < 256; ++i) {
        if (int64_t{in.right} - 2 * int64_t{i} < int64_t{in.left} - 1)
            break;
        want += in.history[i] != 255;
    }
    FUZZ_CHECK(samples == want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    GraphInput input;
    memset(&input, 0, sizeof input);
    uint8_t shape = TakeByte(&in);
    if (shape & 1) {
        input.left = TakeI32(&in);
        input.top = TakeI32(&in);
        input.right = TakeI32(&in);
        input.bottom = TakeI32(&in);
    } else {
        // Areas of the size a dialog control has.
        input.left = TakeByte(&in) % 16;
        input.top = TakeByte(&in) % 16;
        input.right = input.left + int32_t(TakeByte(&in) | (TakeByte(&in) & 1) << 8);
        input.bottom = input.top + TakeByte(&in) % 128;
    }
    input.dpiY = TakeI32(&in);
    input.monochrome = (shape & 2) != 0;
    input.details = (shape & 4) != 0;
    input.percent = TakeByte(&in);
    input.batteryFlag = TakeByte(&in);
    input.acLineStatus = TakeByte(&in);
    input.lifetime = TakeU32(&in);
    input.interval = TakeU32(&in);
    uint8_t history[256];
    for (int i = 0; i < 256; ++i)
        history[i] = TakeByte(&in);
    input.history = (shape & 8) ? nullptr : history;

    static GraphList list;
    memset(&list, 0xCD, sizeof list);
    BuildGraph(&input, &list);
    Counts c = CheckStructure(list);
    FUZZ_CHECK(c.texts >= 1);
    if (!input.history)
        FUZZ_CHECK(c.historyLines == 0);
    else if (!(shape & 1))
        CheckGeometry(input, list, c);
    return 0;
}
