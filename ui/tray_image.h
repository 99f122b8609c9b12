// The tray icon's picture: what to draw, as a list of drawing operations on
// the two rasters of an icon (a 1-bit mask, 1 transparent / 0 opaque, and a
// colour raster, black where transparent). Deciding is portable; the shell
// executes the list with GDI and makes the icon.
//
// The picture is a 16-pixel design drawn in a square working area: in a
// larger square slot the design grows with it (up to 64 pixels), its lines as
// thick as the scale, rounded; in a smaller or odd slot it keeps 16 pixels,
// centred.
#ifndef AMPWATCH_TRAY_IMAGE_H
#define AMPWATCH_TRAY_IMAGE_H

#include <stdint.h>

#include "app/settings.h"
#include "platform/numbers.h"

enum TraySurface : uint8_t { TRAY_MASK = 0, TRAY_COLOR = 1 };

enum TrayOpKind : uint8_t {
    TRAY_OP_CLEAR = 0,     // whole surface: mask all 1 (white), colour all 0 (black)
    TRAY_OP_POLYLINE = 1,  // one-pixel pen; each segment stops before its end point
    TRAY_OP_TEXT = 2,      // one line in the list's font, clipped to rect, no background
};

enum : uint32_t { TRAY_TEXT_CENTER = 1u };  // centred across, else left-aligned; always top-aligned

enum TrayFill : uint8_t {
    TRAY_FILL_NONE = 0,
    TRAY_FILL_CRITICAL,
    TRAY_FILL_LOW,
    TRAY_FILL_NORMAL,
    TRAY_FILL_CHARGING,
};

// 128 operations hold "100%" at the largest scale, where every line is four
// one-pixel lines thick.
enum { TRAY_MAX_POINTS = 9, TRAY_MAX_OPS = 128, TRAY_TEXT_CAPACITY = 4 };

struct TrayPoint {
    int32_t x, y;
};

// Device pixels; right and bottom exclusive.
struct TrayRect {
    int32_t left, top, right, bottom;
};

struct TrayOp {
    uint8_t kind;     // TrayOpKind
    uint8_t surface;  // TraySurface
    uint32_t color;   // 0x00BBGGRR; on the mask always 0 (opaque) except the white clear
    uint32_t pointCount;
    TrayPoint points[TRAY_MAX_POINTS];
    TrayRect rect;        // text and clear only
    uint32_t textFormat;  // text only: TRAY_TEXT_* bits
    char text[TRAY_TEXT_CAPACITY];
};

struct TrayDisplayList {
    int32_t width, height;  // of both rasters
    IconFont font;          // for every text operation: TrayImageFont of the input's
    uint32_t opCount;
    TrayOp ops[TRAY_MAX_OPS];
};

struct TrayImageInput {
    int32_t width, height;  // small-icon size
    uint8_t percent;        // 0..100, 255 unknown
    uint8_t batteryFlag;    // platform battery flag bits, 255 unknown
    uint8_t lowThreshold;
    uint8_t criticalThreshold;
    uint32_t iconColor;  // digits and outline, 0x00BBGGRR
    bool greyOnly;       // the screen shows no colours
    IconFont font;  // as set; the picture draws with TrayImageFont of it
    // TrayImageText(percent) measured as one line in TrayImageFont: width, and
    // line height (ascent plus descent).
    int32_t textWidth;
    int32_t lineHeight;
};

// The digits shown for percent: "?" when unknown, else unsigned decimal.
void TrayImageText(uint8_t percent, char out[TRAY_TEXT_CAPACITY]);

TrayFill TrayFillFor(uint8_t percent, uint8_t batteryFlag, uint8_t lowThreshold,
                     uint8_t criticalThreshold);
// 0x00BBGGRR of a fill other than none.
uint32_t TrayFillColor(TrayFill fill, bool greyOnly);

// Side of the working square of a width x height icon: the icon's own side
// from 16 to 64 pixels, else 16 (odd and small slots) or 64.
int32_t TrayWorkingSize(int32_t width, int32_t height);
// Left and top of the working square, centred in the icon (truncating).
TrayPoint TrayWorkingOrigin(int32_t width, int32_t height);
// Where the text is measured, and drawn when it is too wide for a percent
// sign: the working square above the battery.
TrayRect TrayTextArea(int32_t width, int32_t height);
// The font every text of the picture is measured and drawn in: the icon font
// with its height scaled to the working square, never antialiased.
IconFont TrayImageFont(const IconFont *font, int32_t width, int32_t height);

// The clear, the battery's outline, its fill and the label. Every step is a
// pair: the mask operation, then the colour operation of the same shape.
void PlanTrayImage(const TrayImageInput *input, TrayDisplayList *list);

#endif
