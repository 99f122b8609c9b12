// Paints the graph's list of drawing operations onto the control.
#include "ui/graph_view_win32.h"

#include "app/settings.h"
#include "app/text_win32.h"
#include "history/history.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "ui/graph.h"
#include "ui/screen.h"

void FitGraphControl(HWND control)
{
    HWND parent = control ? GetParent(control) : nullptr;
    if (!parent)
        return;
    RECT client, outer;
    GetClientRect(control, &client);
    GetWindowRect(control, &outer);
    POINT topLeft = {outer.left, outer.top}, bottomRight = {outer.right, outer.bottom};
    ScreenToClient(parent, &topLeft);
    ScreenToClient(parent, &bottomRight);
    GraphFit fit = FitGraphArea(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y,
                                client.right, client.bottom);  // a client rectangle starts at 0, 0
    MoveWindow(control, fit.x, fit.y, fit.width, fit.height, FALSE);
}

static HFONT MakeFont(int32_t height, int32_t weight)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    font.lfHeight = height;
    font.lfWeight = weight;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// The texts are in the program's code page. The ANSI text functions would
// read them by the font's character set instead, and a UTF-8 no-break space
// would show as "Â " in a Western font: drawn as UTF-16.
static void DrawGraphText(HDC dc, const RECT *area, const GraphOp *op)
{
    char loaded[GRAPH_TEXT_CAPACITY];
    const char *text = op->text;
    if (op->stringId) {
        LoadText(op->stringId, loaded, sizeof loaded);
        text = loaded;
    }
    WCHAR wide[GRAPH_TEXT_CAPACITY];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, GRAPH_TEXT_CAPACITY))
        return;
    RECT box = *area;
    DrawTextW(dc, wide, -1, &box, op->flags);
}

// Runs the list. Every pen and font is restored and freed before the next
// one is made; one that cannot be made is skipped.
static void Execute(HDC dc, const RECT *area, const GraphList *list)
{
    HGDIOBJ oldPen = nullptr, oldFont = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    for (const GraphOp *op = list->ops; op != list->ops + list->count; ++op) {
        switch (op->kind) {
        case GRAPH_OP_FILL:
            SetDCBrushColor(dc, op->colour);
            FillRect(dc, area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            break;
        case GRAPH_OP_TEXTCOLOR:
            SetTextColor(dc, op->colour);
            break;
        case GRAPH_OP_PEN:
            pen = CreatePen(PS_SOLID, 1, op->colour);
            if (pen)
                oldPen = SelectObject(dc, pen);
            break;
        case GRAPH_OP_END_PEN:
            if (pen) {
                SelectObject(dc, oldPen);
                DeleteObject(pen);
                pen = nullptr;
            }
            break;
        case GRAPH_OP_MOVE:
            MoveToEx(dc, op->x, op->y, nullptr);
            break;
        case GRAPH_OP_LINETO:
            LineTo(dc, op->x, op->y);
            break;
        case GRAPH_OP_FONT:
            font = MakeFont(op->height, op->weight);
            if (font)
                oldFont = SelectObject(dc, font);
            break;
        case GRAPH_OP_END_FONT:
            if (font) {
                SelectObject(dc, oldFont);
                DeleteObject(font);
                font = nullptr;
            }
            break;
        case GRAPH_OP_TEXT:
            DrawGraphText(dc, area, op);
            break;
        }
    }
}

// The colours of a paint on dc: a high-contrast theme's own while it is on.
static GraphPalette PaintColors(HDC dc)
{
    const bool greyOnly = ScreenIsGreyOnly(GetNearestColor(dc, PURE_RED));
    if (!HighContrastOn())
        return GraphColors(greyOnly, nullptr);
    const ThemeColors theme = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                               GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_GRAYTEXT)};
    return GraphColors(greyOnly, &theme);
}

HBRUSH GraphBackground()
{
    return HighContrastOn() ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

BOOL DrawGraph(const DRAWITEMSTRUCT *item, bool details, const PowerSample *shown)
{
    if (!item || item->CtlID != IDC_GRAPH)
        return FALSE;
    HDC dc = item->hDC;
    const RECT area = item->rcItem;
    GraphInput in;
    in.left = area.left;
    in.top = area.top;
    in.right = area.right;
    in.bottom = area.bottom;
    in.dpiY = static_cast<int32_t>(WindowDpi(item->hwndItem));
    in.colors = PaintColors(dc);
    in.history = historyBuffer.slots;
    in.percent = shown->batteryLifePercent;
    in.batteryFlag = shown->batteryFlag;
    in.acLineStatus = shown->acLineStatus;
    in.lifetime = shown->batteryLifeTime;
    in.interval = appGlobals.interval;
    in.details = details || (item->itemState & ODS_SELECTED);

    // Static: the list is large for the stack of a window procedure.
    static GraphList list;
    BuildGraph(&in, &list);

    // The control's device context goes back as it came.
    const int saved = SaveDC(dc);
    SetBkColor(dc, in.colors.background);
    SetBkMode(dc, TRANSPARENT);
    Execute(dc, &area, &list);
    // The keyboard focus shows as on any button, while Windows shows
    // keyboard cues: dotted over the grid's frame, where it crosses no text.
    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &area);
    RestoreDC(dc, saved);
    return TRUE;
}

void NameGraph(HWND dialog, const PowerSample *shown)
{
    char name[TEXT_CAPACITY];
    FormatStatusTip(name, sizeof name, shown);
    SetDlgItemTextA(dialog, IDC_GRAPH, name);
}

void RedrawGraph(HWND dialog)
{
    // Never for no window: that would redraw the whole screen.
    HWND graph = GetDlgItem(dialog, IDC_GRAPH);
    if (graph)
        RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
