// Realises the tray picture's drawing list with GDI and makes the icon.
#include <windows.h>
#include <string.h>

#include <algorithm>

#include "platform/platform.h"
#include "platform/scoped_win32.h"
#include "ui/screen.h"
#include "ui/tray_image.h"
#include "ui/tray_image_win32.h"

// The font record as GDI takes it.
static LOGFONTA ToLogFont(const IconFont *font)
{
    LOGFONTA lf = {};
    lf.lfHeight = font->height;
    lf.lfWidth = font->width;
    lf.lfEscapement = font->escapement;
    lf.lfOrientation = font->orientation;
    lf.lfWeight = font->weight;
    lf.lfItalic = font->italic;
    lf.lfUnderline = font->underline;
    lf.lfStrikeOut = font->strikeOut;
    lf.lfCharSet = font->charSet;
    lf.lfOutPrecision = font->outPrecision;
    lf.lfClipPrecision = font->clipPrecision;
    lf.lfQuality = font->quality;
    lf.lfPitchAndFamily = font->pitchAndFamily;
    lstrcpynA(lf.lfFaceName, font->faceName, sizeof lf.lfFaceName);
    return lf;
}

namespace {

// A pen that cannot be made leaves the surface's default pen (black).
void DrawPolyline(HDC dc, const TrayOp &op)
{
    static_assert(sizeof(TrayPoint) == sizeof(POINT), "a point is two 32-bit numbers on both sides");
    POINT points[TRAY_MAX_POINTS];
    const uint32_t count = std::min<uint32_t>(op.pointCount, TRAY_MAX_POINTS);
    memcpy(points, op.points, count * sizeof *points);
    ScopedObject pen(CreatePen(PS_SOLID, 0, op.color));
    ScopedSelection selected(dc, pen.object);
    Polyline(dc, points, static_cast<int>(count));
}

RECT ToRect(const TrayRect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

void DrawTextOp(HDC dc, const TrayOp &op)
{
    RECT r = ToRect(op.rect);
    UINT format = DT_SINGLELINE | ((op.textFormat & TRAY_TEXT_CENTER) ? DT_CENTER : 0u);
    COLORREF oldColor = SetTextColor(dc, op.color);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    char text[TRAY_TEXT_CAPACITY];
    lstrcpynA(text, op.text, sizeof text);
    DrawTextA(dc, text, -1, &r, format);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}

// Both surfaces already hold their rasters and the list's font. Leaves every
// surface setting as it found it.
void ExecuteTrayDisplayList(HDC mask, HDC color, const TrayDisplayList *list)
{
    const TrayOp *end = list->ops + std::min<uint32_t>(list->opCount, TRAY_MAX_OPS);
    for (const TrayOp *step = list->ops; step != end; ++step) {
        const TrayOp &op = *step;
        HDC dc = op.surface == TRAY_MASK ? mask : color;
        switch (op.kind) {
        case TRAY_OP_CLEAR: {
            const RECT area = ToRect(op.rect);
            FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(op.color ? WHITE_BRUSH : BLACK_BRUSH)));
            break;
        }
        case TRAY_OP_POLYLINE:
            DrawPolyline(dc, op);
            break;
        case TRAY_OP_TEXT:
            DrawTextOp(dc, op);
            break;
        default:
            break;
        }
    }
}

}  // namespace

SIZE TrayIconSize()
{
    // The taskbar's size at the system's DPI; GetSystemMetrics alone would
    // answer for 96 DPI in a program aware of each monitor's DPI.
    const uint32_t dpi = WindowDpi(nullptr);
    SIZE size = {MetricForDpi(SM_CXSMICON, dpi), MetricForDpi(SM_CYSMICON, dpi)};
    return size;
}

// What the plan needs of the caller's settings; the screen and the font
// tell the rest.
static TrayImageInput ImageInput(SIZE size, uint8_t percent, uint8_t batteryFlag, uint8_t lowThreshold,
                                 uint8_t criticalThreshold, const IconFont *font, uint32_t iconColor)
{
    TrayImageInput input = {};
    input.width = size.cx;
    input.height = size.cy;
    input.percent = percent;
    input.batteryFlag = batteryFlag;
    input.lowThreshold = lowThreshold;
    input.criticalThreshold = criticalThreshold;
    input.iconColor = iconColor;
    if (font)
        input.font = *font;
    return input;
}

// The digits measured in the font the picture draws them with.
static void MeasureDigits(HDC dc, TrayImageInput *input)
{
    char text[TRAY_TEXT_CAPACITY];
    TrayImageText(input->percent, text);
    SIZE measured = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &measured);
    input->textWidth = measured.cx;
    input->lineHeight = measured.cy;
}

// The plan drawn into both rasters, with the picture's font selected into
// both surfaces (without it their default font draws the digits); false when
// the surfaces cannot be made.
static bool DrawRasters(HDC screen, HGDIOBJ maskBitmap, HGDIOBJ colorBitmap, TrayImageInput *input)
{
    ScopedMemoryDc colorDc(screen);
    ScopedMemoryDc maskDc(colorDc.dc);
    if (!maskDc.dc)
        return false;
    ScopedSelection maskRaster(maskDc.dc, maskBitmap);
    ScopedSelection colorRaster(colorDc.dc, colorBitmap);
    const IconFont drawn = TrayImageFont(&input->font, input->width, input->height);
    LOGFONTA lf = ToLogFont(&drawn);
    ScopedObject hfont(CreateFontIndirectA(&lf));
    ScopedSelection maskFont(maskDc.dc, hfont.object);
    ScopedSelection colorFont(colorDc.dc, hfont.object);
    MeasureDigits(colorDc.dc, input);
    // Static: the list is large for the stack of a window procedure.
    static TrayDisplayList list;
    PlanTrayImage(input, &list);
    ExecuteTrayDisplayList(maskDc.dc, colorDc.dc, &list);
    return true;
}

HICON BuildTrayIconImage(SIZE size, uint8_t percent, uint8_t batteryFlag, uint8_t lowThreshold,
                         uint8_t criticalThreshold, const IconFont *font, uint32_t iconColor)
{
    TrayImageInput input = ImageInput(size, percent, batteryFlag, lowThreshold, criticalThreshold, font, iconColor);
    // Declared first, destroyed last: the icon below keeps copies of both.
    ScopedObject maskBitmap(CreateBitmap(input.width, input.height, 1, 1, nullptr));
    ScopedObject colorBitmap(nullptr);
    {
        ScopedWindowDc screen(nullptr);
        if (!screen.dc || !maskBitmap.object)
            return nullptr;
        colorBitmap.object = CreateCompatibleBitmap(screen.dc, input.width, input.height);
        input.greyOnly = ScreenIsGreyOnly(GetNearestColor(screen.dc, PURE_RED));
        if (!colorBitmap.object || !DrawRasters(screen.dc, maskBitmap.object, colorBitmap.object, &input))
            return nullptr;
    }
    // An icon's hot spot is its centre whatever the record says.
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmMask = static_cast<HBITMAP>(maskBitmap.object);
    info.hbmColor = static_cast<HBITMAP>(colorBitmap.object);
    return CreateIconIndirect(&info);
}
