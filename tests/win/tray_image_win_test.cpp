// The tray picture as real GDI draws it, read back from the icon itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "ui/tray_image.h"

namespace {

const uint32_t kInk = 0x00123456u;

TrayFont Font(const char *face, int32_t height)
{
    TrayFont f;
    memset(&f, 0, sizeof f);
    f.height = height;
    f.weight = 400;
    f.quality = TRAY_FONT_NONANTIALIASED;
    snprintf(f.faceName, sizeof f.faceName, "%s", face);
    return f;
}

struct Readback {
    int32_t w, h;
    std::vector<uint32_t> mask;   // 0x00FFFFFF transparent, 0 opaque
    std::vector<uint32_t> color;  // 0x00BBGGRR
};

bool ReadBitmap(HBITMAP bitmap, int32_t w, int32_t h, std::vector<uint32_t> *out)
{
    BITMAPINFO bi;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> px(static_cast<size_t>(w) * static_cast<size_t>(h));
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    out->resize(px.size());
    for (size_t i = 0; i < px.size(); ++i)
        (*out)[i] = RGB(px[i].rgbRed, px[i].rgbGreen, px[i].rgbBlue);
    return rows == h;
}

bool ReadIcon(HICON icon, Readback *r)
{
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return false;
    BITMAP bm;
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    r->w = bm.bmWidth;
    r->h = bm.bmHeight;
    bool ok = ReadBitmap(info.hbmMask, r->w, r->h, &r->mask) &&
              ReadBitmap(info.hbmColor, r->w, r->h, &r->color);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return ok;
}

// Line height of "100" in the font, as the picture measures it.
int32_t LineHeight(const TrayFont &font)
{
    LOGFONTA lf;
    memcpy(&lf, &font, sizeof lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    RECT r = {0, 0, 16, 11};
    DrawTextA(dc, "100", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);
    return r.bottom - r.top;
}

const char *const kHundred[16] = {
    "................", "................", ".d.ddd.ddd......", "dd.d.d.d.d.d..d.",
    ".d.d.d.d.d.d.d..", ".d.d.d.d.d...d..", ".d.d.d.d.d..d...", ".d.d.d.d.d..d.d.",
    ".d.ddd.ddd.d..d.", "................", "................", "..dddddddddddd..",
    ".ddggggggggggd..", ".dgggggggggggd..", ".ddggggggggggd..", "..dddddddddddd..",
};

char Classify(const Readback &r, size_t i)
{
    if (r.mask[i] == 0x00FFFFFFu && r.color[i] == 0)
        return '.';
    if (r.mask[i] == 0 && r.color[i] == kInk)
        return 'd';
    if (r.mask[i] == 0 && r.color[i] == 0x0000FF00u)
        return 'g';
    return '?';
}

TEST(TrayIconImage, HundredReadBackFromTheIconForSeveralFonts)
{
    const TrayFont fonts[] = {Font("Tahoma", -8), Font("Tahoma", -11), Font("Tahoma", -13),
                              Font("Courier New", -10)};
    for (const TrayFont &font : fonts) {
        const int32_t lineHeight = LineHeight(font);
        HICON icon = BuildTrayIconImage(100, 0x01, 32, 9, &font, kInk);
        ASSERT_TRUE(icon);
        Readback r;
        ASSERT_TRUE(ReadIcon(icon, &r));
        DestroyIcon(icon);
        ASSERT_EQ(r.w, GetSystemMetrics(SM_CXSMICON));
        ASSERT_EQ(r.h, GetSystemMetrics(SM_CYSMICON));

        // Battery rows stay put; the glyph rows 2..8 move with the line height.
        std::vector<std::string> want(16, std::string(16, '.'));
        for (int y = 11; y < 16; ++y)
            want[static_cast<size_t>(y)] = kHundred[y];
        for (int y = 2; y <= 8; ++y) {
            int to = y + lineHeight - 11;
            if (to < 0 || to > 15)
                continue;
            for (int x = 0; x < 16; ++x)
                if (kHundred[y][x] == 'd')
                    want[static_cast<size_t>(to)][static_cast<size_t>(x)] = 'd';
        }
        const int32_t left = (r.w - 16) / 2, top = (r.h - 16) / 2;
        for (int32_t y = 0; y < r.h; ++y) {
            std::string got, expect;
            for (int32_t x = 0; x < r.w; ++x) {
                got += Classify(r, static_cast<size_t>(y) * static_cast<size_t>(r.w) + static_cast<size_t>(x));
                int32_t sx = x - left, sy = y - top;
                bool inside = sx >= 0 && sy >= 0 && sx < 16 && sy < 16;
                expect += inside ? want[static_cast<size_t>(sy)][static_cast<size_t>(sx)] : '.';
            }
            EXPECT_EQ(got, expect) << font.faceName << " " << font.height << " (h " << lineHeight
                                   << ") row " << y;
        }
    }
}

TEST(TrayIconImage, TextPixelsAreTheSameInMaskAndColour)
{
    const struct {
        uint8_t percent, flag;
        uint32_t fill;
    } cases[] = {{5, 0, 0x0000FF}, {57, 0, 0x00FF00}, {255, 255, 0}, {20, 0x08, 0xFF0000}};
    const TrayFont font = Font("Tahoma", -11);
    for (const auto &c : cases) {
        HICON icon = BuildTrayIconImage(c.percent, c.flag, 32, 9, &font, kInk);
        ASSERT_TRUE(icon);
        Readback r;
        ASSERT_TRUE(ReadIcon(icon, &r));
        DestroyIcon(icon);
        const int32_t left = (r.w - 16) / 2, top = (r.h - 16) / 2;
        int textPixels = 0;
        for (int32_t y = 0; y < r.h; ++y)
            for (int32_t x = 0; x < r.w; ++x) {
                size_t i = static_cast<size_t>(y) * static_cast<size_t>(r.w) + static_cast<size_t>(x);
                bool opaque = r.mask[i] == 0;
                bool known = opaque ? (r.color[i] == kInk || (c.fill && r.color[i] == c.fill))
                                    : (r.mask[i] == 0x00FFFFFFu && r.color[i] == 0);
                EXPECT_TRUE(known) << int(c.percent) << " at " << x << "," << y;
                textPixels += opaque && y - top < 11;
            }
        EXPECT_GT(textPixels, 4) << int(c.percent);
        size_t fillPixel = static_cast<size_t>(top + 13) * static_cast<size_t>(r.w) + static_cast<size_t>(left + 2);
        EXPECT_EQ(r.mask[fillPixel], c.fill ? 0u : 0x00FFFFFFu);
        if (c.fill) {
            EXPECT_EQ(r.color[fillPixel], c.fill);
        }
    }
}

// Handle tables are finite (65536 GDI handles): a build that leaks even one
// object per picture runs out before the end and starts failing.
static const int kBuilds = 70000;

TEST(TrayIconImage, SeventyThousandBuildsLeaveNoObjectsBehind)
{
    const TrayFont font = Font("Tahoma", -11);
    HANDLE self = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(self, GR_USEROBJECTS);
    const DWORD start = GetTickCount();
    int failures = 0;
    for (int i = 0; i < kBuilds; ++i) {
        HICON icon = BuildTrayIconImage(static_cast<uint8_t>(i % 102), static_cast<uint8_t>(i % 10),
                                        32, 9, &font, kInk);
        if (!icon) {
            ++failures;
            continue;
        }
        DestroyIcon(icon);
    }
    const DWORD gdiAfter = GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(self, GR_USEROBJECTS);
    printf("%d pictures in %lu ms; GDI objects %lu -> %lu, USER objects %lu -> %lu\n", kBuilds,
           static_cast<unsigned long>(GetTickCount() - start),
           static_cast<unsigned long>(gdiBefore), static_cast<unsigned long>(gdiAfter),
           static_cast<unsigned long>(userBefore), static_cast<unsigned long>(userAfter));
    EXPECT_EQ(failures, 0);
    EXPECT_LE(gdiAfter, gdiBefore + 2);
    EXPECT_LE(userAfter, userBefore + 2);
}

}  // namespace
