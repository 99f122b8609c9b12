// The resources as the program finds them at run time: texts, dialog
// templates, keys, icon, version record and manifest, read back from this
// executable, which links the same resource object as the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

const WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

HMODULE Self()
{
    return GetModuleHandleA(nullptr);
}

struct Blob {
    const BYTE *data;
    DWORD size;
};

Blob ResourceBytes(LPCSTR type, LPCSTR name)
{
    Blob blob = {nullptr, 0};
    HRSRC found = FindResourceA(Self(), name, type);
    if (!found)
        return blob;
    HGLOBAL loaded = LoadResource(Self(), found);
    blob.data = loaded ? static_cast<const BYTE *>(LockResource(loaded)) : nullptr;
    blob.size = blob.data ? SizeofResource(Self(), found) : 0;
    return blob;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR out)
{
    reinterpret_cast<std::vector<WORD> *>(out)->push_back(language);
    return TRUE;
}

std::vector<WORD> LanguagesOf(LPCSTR type, LPCSTR name)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesA(Self(), type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT> *>(out)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// ------------------------------------------------------------------ texts

struct TextCase {
    int n;
    const char *german;  // Windows-1252
    const char *english;
};

const TextCase kTexts[] = {
    {IDS_ALERT, "Warnung: Der Batteriestand hat den festgelegten Mindestwert erreicht!",
     "Warning: The battery level has reached the configured lower limit!"},
    {IDS_HISTORY_RESCALE,
     "Der Verlauf der Batteriekapazit\xE4t kann nicht an die neue\r\n"
     "Ma\xDF" "einteilung angepasst werden und wird gel\xF6scht.",
     "The battery level history can not be adjust\r\nto the new scale and will be deleted."},
    {IDS_CAPACITY_CAPTION, "Batteriekapazit\xE4t", "Battery Power"},
    {IDS_CAPACITY_REPORT,
     "Maximalkapazit\xE4t: %.2f Wh\r\nRestkapazit\xE4t: %.2f Wh\r\n"
     "Mindestkapazit\xE4t: %.2f Wh\r\nLadeleistung: %.2f W",
     "Maximum Capacity: %.2f Wh\r\nRemaining Capacity: %.2f Wh\r\n"
     "Critical Capacity: %.2f Wh\r\nCharging Rate: %.2f W"},
    {IDS_TIP_PERCENT, "Batteriestand: %u%%", "Battery power remaining: %u%%"},
    {IDS_TIP_HOURS, "%u:%02u Std. (%u%%) verbleibend", "%u:%02u h (%u%%) remaining"},
    {IDS_TIP_MINUTES, "%u Min. (%u%%) verbleibend", "%u min (%u%%) remaining"},
    {IDS_AC_OFFLINE, "getrennt", "offline"},
    {IDS_AC_ONLINE, "verbunden", "online"},
    {IDS_AC_BACKUP, "ersetzt", "backup"},
    {IDS_BATTERY_HIGH, "hoch", "high"},
    {IDS_BATTERY_LOW, "niedrig", "low"},
    {IDS_BATTERY_CRITICAL, "kritisch", "critical"},
    {IDS_BATTERY_CHARGING, "laden", "charging"},
    {IDS_NO_BATTERY, "keine Batterie", "no battery"},
};

std::wstring FromWindows1252(const char *text)
{
    wchar_t wide[512];
    int n = MultiByteToWideChar(1252, 0, text, -1, wide, 512);
    return n > 0 ? std::wstring(wide, static_cast<size_t>(n - 1)) : std::wstring();
}

std::wstring LoadWide(UINT id)
{
    const wchar_t *text = nullptr;
    // With no buffer, LoadStringW points at the resource and returns its length.
    int n = LoadStringW(Self(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

TEST(ResourceTexts, BothLanguagesHoldExactlyTheFifteenTexts)
{
    for (const TextCase &t : kTexts) {
        EXPECT_EQ(LoadWide(static_cast<UINT>(400 + t.n)), FromWindows1252(t.german)) << "string " << 400 + t.n;
        EXPECT_EQ(LoadWide(static_cast<UINT>(800 + t.n)), FromWindows1252(t.english)) << "string " << 800 + t.n;
    }
    for (UINT id : {400u, 416u, 800u, 816u})
        EXPECT_EQ(LoadWide(id), L"") << "string " << id;

    // No string outside the two blocks of 16 that hold 400..415 and 800..815.
    std::vector<UINT> blocks;
    EnumResourceNamesA(Self(), MAKEINTRESOURCEA(6), CollectName, reinterpret_cast<LONG_PTR>(&blocks));
    EXPECT_EQ(blocks, (std::vector<UINT>{400 / 16 + 1, 800 / 16 + 1}));
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(400 / 16 + 1)), std::vector<WORD>{kGerman});
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(800 / 16 + 1)), std::vector<WORD>{kEnglish});
}

TEST(ResourceTexts, ReachTheProgramAsWindows1252WithLineBreaksAndFormats)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", the texts are meant for 1252";
    for (const TextCase &t : kTexts) {
        for (int german = 0; german < 2; ++german) {
            const char *want = german ? t.german : t.english;
            UINT id = static_cast<UINT>((german ? 400 : 800) + t.n);
            char text[256];
            int n = LoadStringA(Self(), id, text, sizeof text);
            EXPECT_EQ(n, static_cast<int>(strlen(want))) << "string " << id;
            EXPECT_STREQ(text, want) << "string " << id;
        }
    }
    char text[256];
    EXPECT_EQ(LoadStringA(Self(), 402, text, sizeof text), 107);
    EXPECT_NE(strstr(text, "Batteriekapazit\xE4t"), nullptr);
    EXPECT_NE(strstr(text, "neue\r\nMa\xDF"), nullptr);
    EXPECT_NE(strstr(text, "gel\xF6scht."), nullptr);

    // "%%" stays in the text and becomes one percent sign when formatted.
    ASSERT_GT(LoadStringA(Self(), 406, text, sizeof text), 0);
    char shown[128];
    wsprintfA(shown, text, 2u, 5u, 57u);
    EXPECT_STREQ(shown, "2:05 Std. (57%) verbleibend");
    ASSERT_GT(LoadStringA(Self(), 806, text, sizeof text), 0);
    wsprintfA(shown, text, 2u, 5u, 57u);
    EXPECT_STREQ(shown, "2:05 h (57%) remaining");
}

// ------------------------------------------------------- dialog templates

// A class or title field: an ordinal (0xFFFF, n) or a terminated UTF-16 text.
struct Field {
    bool isOrdinal;
    WORD ordinal;
    std::string text;  // ASCII only; anything else reads as '?'
};

struct ParsedControl {
    DWORD helpId, exStyle, style, id;
    short x, y, cx, cy;
    Field cls, title;
    WORD extraBytes;
};

struct ParsedDialog {
    bool ok;
    WORD version, signature;
    DWORD helpId, exStyle, style;
    WORD count;
    short x, y, cx, cy;
    Field menu, cls, title;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::string font;
    std::vector<ParsedControl> controls;
    DWORD unread;  // bytes left after the last control
};

struct Reader {
    const BYTE *base;
    DWORD size;
    DWORD at;
    bool ok;
};

WORD Word(Reader *r)
{
    if (r->at + 2 > r->size) {
        r->ok = false;
        return 0;
    }
    WORD v = static_cast<WORD>(r->base[r->at] | r->base[r->at + 1] << 8);
    r->at += 2;
    return v;
}

DWORD Dword(Reader *r)
{
    DWORD low = Word(r);
    return low | static_cast<DWORD>(Word(r)) << 16;
}

BYTE Byte(Reader *r)
{
    if (r->at + 1 > r->size) {
        r->ok = false;
        return 0;
    }
    return r->base[r->at++];
}

std::string Text(Reader *r)
{
    std::string text;
    for (WORD c = Word(r); r->ok && c != 0; c = Word(r))
        text += c < 0x80 ? static_cast<char>(c) : '?';
    return text;
}

Field ReadField(Reader *r)
{
    Field f = {false, 0, std::string()};
    if (r->at + 2 <= r->size && r->base[r->at] == 0xFF && r->base[r->at + 1] == 0xFF) {
        Word(r);
        f.isOrdinal = true;
        f.ordinal = Word(r);
    } else {
        f.text = Text(r);
    }
    return f;
}

void AlignToDword(Reader *r)
{
    r->at = (r->at + 3) & ~3u;
}

ParsedDialog ParseDialog(int id)
{
    ParsedDialog d = {};
    Blob blob = ResourceBytes(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id));
    if (!blob.data)
        return d;
    Reader r = {blob.data, blob.size, 0, true};
    d.version = Word(&r);
    d.signature = Word(&r);
    d.helpId = Dword(&r);
    d.exStyle = Dword(&r);
    d.style = Dword(&r);
    d.count = Word(&r);
    d.x = static_cast<short>(Word(&r));
    d.y = static_cast<short>(Word(&r));
    d.cx = static_cast<short>(Word(&r));
    d.cy = static_cast<short>(Word(&r));
    d.menu = ReadField(&r);
    d.cls = ReadField(&r);
    d.title = ReadField(&r);
    d.pointSize = Word(&r);
    d.weight = Word(&r);
    d.italic = Byte(&r);
    d.charset = Byte(&r);
    d.font = Text(&r);
    for (WORD i = 0; i < d.count && r.ok; ++i) {
        AlignToDword(&r);
        ParsedControl c = {};
        c.helpId = Dword(&r);
        c.exStyle = Dword(&r);
        c.style = Dword(&r);
        c.x = static_cast<short>(Word(&r));
        c.y = static_cast<short>(Word(&r));
        c.cx = static_cast<short>(Word(&r));
        c.cy = static_cast<short>(Word(&r));
        c.id = Dword(&r);
        c.cls = ReadField(&r);
        c.title = ReadField(&r);
        c.extraBytes = Word(&r);
        r.at += c.extraBytes;
        d.controls.push_back(c);
    }
    d.ok = r.ok && r.at <= r.size;
    d.unread = d.ok ? r.size - r.at : 0;
    return d;
}

const DWORD kNoId = 0xFFFFFFFF;
const WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

struct ControlCase {
    DWORD id;
    WORD atom;            // predefined class, or 0 for a class name
    const char *className;
    const char *german;
    const char *english;
    DWORD style;
    short de[4];
    short en[4];
};

const ControlCase kControls[] = {
    {IDOK, kButton, nullptr, "&OK", "&OK", 0x50030001, {5, 91, 25, 14}, {5, 91, 35, 14}},
    {IDC_APPLY, kButton, nullptr, "&Anwenden", "&Apply", 0x50010000, {35, 91, 44, 14}, {46, 91, 35, 14}},
    {IDC_ICONCOLOR, kButton, nullptr, "&Symbol...", "&Icon...", 0x50010000, {83, 91, 39, 14}, {87, 91, 35, 14}},
    {IDC_GRAPH, kButton, nullptr, "", "", 0x5003000B, {6, 6, 115, 28}, {6, 6, 115, 28}},
    {kNoId, kButton, nullptr, "A&ktualisierungsintervall", "&Update speed", 0x50020007, {5, 38, 117, 34},
     {5, 38, 117, 34}},
    {kNoId, kStatic, nullptr, "1 min", "1 min", 0x50020002, {9, 53, 19, 10}, {9, 53, 19, 10}},
    {IDC_INTERVAL, 0, "msctls_trackbar32", "Slider1", "Slider1", 0x50030001, {32, 50, 62, 18}, {32, 50, 62, 18}},
    {kNoId, kStatic, nullptr, "6 min", "6 min", 0x50020000, {98, 53, 20, 10}, {98, 53, 20, 10}},
    {kNoId, kStatic, nullptr, "&Warnmeldung bei:", "Alert &threshold:", 0x50020002, {5, 77, 64, 9}, {5, 77, 58, 9}},
    {IDC_THRESHOLD, kEdit, nullptr, "", "", 0x50832080, {74, 75, 28, 13}, {69, 75, 28, 13}},
    {IDC_THRESHOLD_SPIN, 0, "msctls_updown32", "Spin1", "Spin1", 0x500200B7, {91, 75, 10, 13}, {86, 75, 10, 13}},
    {kNoId, kStatic, nullptr, "%", "%", 0x50020000, {106, 77, 12, 9}, {100, 77, 14, 9}},
};

void ExpectTemplate(int id, bool german)
{
    SCOPED_TRACE(german ? "German template" : "English template");
    ParsedDialog d = ParseDialog(id);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.signature, 0xFFFF);  // extended template
    EXPECT_EQ(d.helpId, 0u);
    EXPECT_EQ(d.exStyle, 0x80000400u);
    EXPECT_EQ(d.style, 0x80C808C4u);
    EXPECT_EQ((d.style & WS_VISIBLE), 0u);
    EXPECT_EQ(d.x, 32);
    EXPECT_EQ(d.y, 8);
    EXPECT_EQ(d.cx, 127);
    EXPECT_EQ(d.cy, 109);
    EXPECT_TRUE(!d.menu.isOrdinal && d.menu.text.empty());
    EXPECT_TRUE(!d.cls.isOrdinal && d.cls.text.empty());
    EXPECT_EQ(d.title.text, "Ampwatch");
    EXPECT_EQ(d.pointSize, 9);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 1);
    EXPECT_EQ(d.font, "Arial");
    EXPECT_LT(d.unread, 4u);  // at most the padding of the last control

    const size_t expected = sizeof kControls / sizeof kControls[0];
    ASSERT_EQ(d.count, expected);
    ASSERT_EQ(d.controls.size(), expected);
    for (size_t i = 0; i < expected; ++i) {
        const ControlCase &want = kControls[i];
        const ParsedControl &got = d.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(got.id, want.id);
        if (want.atom) {
            EXPECT_TRUE(got.cls.isOrdinal);
            EXPECT_EQ(got.cls.ordinal, want.atom);
        } else {
            // Class names are looked up without regard to case, and windres
            // stores them upper-cased.
            EXPECT_FALSE(got.cls.isOrdinal);
            EXPECT_EQ(lstrcmpiA(got.cls.text.c_str(), want.className), 0) << got.cls.text;
        }
        EXPECT_FALSE(got.title.isOrdinal);
        EXPECT_EQ(got.title.text, german ? want.german : want.english);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.extraBytes, 0);
        const short *at = german ? want.de : want.en;
        EXPECT_EQ(got.x, at[0]);
        EXPECT_EQ(got.y, at[1]);
        EXPECT_EQ(got.cx, at[2]);
        EXPECT_EQ(got.cy, at[3]);
    }
}

TEST(ResourceDialogs, GermanTemplateIsExactlyAsLaidOut)
{
    ExpectTemplate(IDD_MAIN_DE, true);
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_MAIN_DE)), std::vector<WORD>{kGerman});
}

TEST(ResourceDialogs, EnglishTemplateIsExactlyAsLaidOut)
{
    ExpectTemplate(IDD_MAIN_EN, false);
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_MAIN_EN)), std::vector<WORD>{kEnglish});
}

// ------------------------------------------------------------------- keys

TEST(ResourceKeys, AcceleratorTableInOrder)
{
    struct KeyCase {
        BYTE fVirt;
        WORD key;
        WORD cmd;
    };
    const BYTE plain = FVIRTKEY | FNOINVERT;
    const KeyCase want[] = {
        {plain | FCONTROL, 'S', IDM_SAVE}, {plain, VK_ESCAPE, IDOK},     {plain, VK_F10, IDM_CAPACITY},
        {plain, VK_F2, IDM_SAVE},          {plain, VK_F3, IDM_OPENLOG},  {plain, VK_F4, IDC_GRAPH},
        {plain, VK_F5, IDM_REFRESH},       {plain, VK_F6, IDM_POWEROPTIONS},
    };
    const int count = sizeof want / sizeof want[0];

    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL got[16];
    ASSERT_EQ(CopyAcceleratorTableA(table, nullptr, 0), count);
    ASSERT_EQ(CopyAcceleratorTableA(table, got, 16), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(got[i].fVirt & 0x7F, want[i].fVirt);
        EXPECT_EQ(got[i].key, want[i].key);
        EXPECT_EQ(got[i].cmd, want[i].cmd);
    }
    DestroyAcceleratorTable(table);

    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(9), MAKEINTRESOURCEA(IDA_MAIN)), std::vector<WORD>{kNeutral});

    // In the resource itself only the last entry carries the end mark.
    Blob raw = ResourceBytes(MAKEINTRESOURCEA(9), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_EQ(raw.size, 8u * count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(raw.data[8 * static_cast<size_t>(i)], want[i].fVirt | (i == count - 1 ? 0x80 : 0)) << "entry " << i + 1;
}

// ------------------------------------------------------------------- icon

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ResourceIcon, GroupHoldsThreeImagesInOrder)
{
    Blob group = ResourceBytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDI_MAIN));
    ASSERT_EQ(group.size, 6u + 3u * sizeof(GroupEntry));
    const WORD *head = reinterpret_cast<const WORD *>(group.data);
    EXPECT_EQ(head[0], 0);
    EXPECT_EQ(head[1], 1);
    ASSERT_EQ(head[2], 3);
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDI_MAIN)), std::vector<WORD>{kNeutral});

    struct ImageCase {
        int side, colours, bits;
    };
    const ImageCase want[] = {{32, 16, 4}, {16, 16, 4}, {48, 0, 8}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        GroupEntry e;
        memcpy(&e, group.data + 6 + i * sizeof e, sizeof e);
        EXPECT_EQ(e.width, want[i].side);
        EXPECT_EQ(e.height, want[i].side);
        EXPECT_EQ(e.colours, want[i].colours);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bits, want[i].bits);

        // The image itself: colour bitmap and AND mask, twice as high as wide.
        Blob image = ResourceBytes(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(e.id));
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.size, e.bytes);
        BITMAPINFOHEADER info;
        memcpy(&info, image.data, sizeof info);
        EXPECT_EQ(info.biWidth, want[i].side);
        EXPECT_EQ(info.biHeight, 2 * want[i].side);
        EXPECT_EQ(info.biBitCount, want[i].bits);
        const DWORD stride = (static_cast<DWORD>(want[i].side) * want[i].bits + 31) / 32 * 4;
        const DWORD maskStride = (static_cast<DWORD>(want[i].side) + 31) / 32 * 4;
        EXPECT_EQ(image.size, sizeof info + size_t{4} * (size_t{1} << want[i].bits) +
                                  static_cast<size_t>(want[i].side) * (stride + maskStride));
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE *>(image.data), image.size, TRUE, 0x00030000,
                                              want[i].side, want[i].side, 0);
        EXPECT_NE(icon, nullptr);
        if (icon)
            DestroyIcon(icon);
    }
}

// Draws the small icon over magenta and reads back pixels whose places tell
// the rows' order, the palette's byte order and the mask's sense.
TEST(ResourceIcon, SmallIconDrawsUprightWithItsColours)
{
    HICON icon = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;  // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(surface, nullptr);
    HGDIOBJ old = SelectObject(dc, surface);
    DWORD *pixel = static_cast<DWORD *>(bits);
    for (int i = 0; i < 16 * 16; ++i)
        pixel[i] = 0x00FF00FF;
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
    GdiFlush();

    struct PixelCase {
        int x, y;
        DWORD rgb;  // 0x00RRGGBB as a 32-bit DIB holds it
    };
    const PixelCase want[] = {
        {0, 0, 0xFF00FF},   // transparent corner
        {4, 0, 0x000000},   // the cell's terminal, at the top
        {4, 15, 0xFF00FF},  // and nothing below the cell
        {3, 2, 0xFFFF00},   // yellow cell
        {5, 4, 0xFF0000},   // red plus
        {4, 11, 0x0000FF},  // blue minus
        {12, 1, 0xFF0000},  // top segment red
        {12, 4, 0xFFFF00},  // then yellow
        {12, 13, 0x00FF00}, // bottom segment green
    };
    for (const PixelCase &p : want)
        EXPECT_EQ(pixel[p.y * 16 + p.x] & 0xFFFFFF, p.rgb) << "pixel " << p.x << "," << p.y;

    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    DestroyIcon(icon);
}

// ---------------------------------------------------------- version record

typedef DWORD(WINAPI *VersionSizeFn)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *VersionInfoFn)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *VersionQueryFn)(LPCVOID, LPCSTR, LPVOID *, PUINT);

template <typename Fn>
Fn Entry(HMODULE dll, const char *name)
{
    // Through a plain function pointer, which any function pointer converts to.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

TEST(ResourceVersion, RecordAsPublished)
{
    // version.dll is loaded here only: the program itself must not import it.
    HMODULE dll = LoadLibraryA("version.dll");
    ASSERT_NE(dll, nullptr);
    VersionSizeFn infoSize = Entry<VersionSizeFn>(dll, "GetFileVersionInfoSizeA");
    VersionInfoFn info = Entry<VersionInfoFn>(dll, "GetFileVersionInfoA");
    VersionQueryFn query = Entry<VersionQueryFn>(dll, "VerQueryValueA");
    ASSERT_TRUE(infoSize && info && query);

    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD ignored = 0;
    DWORD size = infoSize(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(info(path, 0, size, block.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), "\\", reinterpret_cast<LPVOID *>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010009u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00030000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x40004u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD *translation = nullptr;
    ASSERT_TRUE(query(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<LPVOID *>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 0x04B0);

    const char *const values[][2] = {
        {"FileDescription", "Quenta Battery Meter"}, {"FileVersion", "1.9"},
        {"ProductVersion", "3.0"},                   {"ProductName", "Quenta"},
        {"InternalName", "Ampwatch"},                {"OriginalFilename", "Ampwatch.exe"},
        {"CompanyName", "Quenta"},                   {"LegalCopyright", "(C) Quenta"},
    };
    for (const auto &v : values) {
        char key[128];
        snprintf(key, sizeof key, "\\StringFileInfo\\040704B0\\%s", v[0]);
        char *text = nullptr;
        EXPECT_TRUE(query(block.data(), key, reinterpret_cast<LPVOID *>(&text), &length) && text) << v[0];
        if (text)
            EXPECT_STREQ(text, v[1]) << v[0];
    }
    FreeLibrary(dll);

    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1)), std::vector<WORD>{kGerman});
}

// ---------------------------------------------------------------- manifest

// Values of every attribute NAME inside the assembly element, in order.
std::vector<std::string> Attribute(const std::string &xml, const char *name)
{
    std::vector<std::string> values;
    const std::string key = std::string(" ") + name + "=";
    size_t at = xml.find("<assembly");
    while (at != std::string::npos && (at = xml.find(key, at)) != std::string::npos) {
        at += key.size();
        if (at >= xml.size())
            break;
        char quote = xml[at];
        size_t end = xml.find(quote, at + 1);
        if ((quote != '"' && quote != '\'') || end == std::string::npos)
            break;
        values.push_back(xml.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    return values;
}

TEST(ResourceManifest, NamesThisBuildsProcessorAndCommonControls6)
{
#ifdef _WIN64
    const std::string arch = "amd64";
#else
    const std::string arch = "X86";
#endif
    Blob raw = ResourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_NE(raw.data, nullptr);
    const std::string xml(reinterpret_cast<const char *>(raw.data), raw.size);
    typedef std::vector<std::string> Values;
    EXPECT_EQ(Attribute(xml, "type"), (Values{"win32", "win32"}));
    EXPECT_EQ(Attribute(xml, "name"), (Values{"Quenta.Quenta.Ampwatch", "Microsoft.Windows.Common-Controls"}));
    EXPECT_EQ(Attribute(xml, "version"), (Values{"1.9.0.0", "6.0.0.0"}));
    EXPECT_EQ(Attribute(xml, "processorArchitecture"), (Values{arch, arch}));
    EXPECT_EQ(Attribute(xml, "publicKeyToken"), (Values{"6595b64144ccf1df"}));
    EXPECT_EQ(Attribute(xml, "language"), (Values{"*"}));
    EXPECT_NE(xml.find("<description>Quenta Battery Meter</description>"), std::string::npos);
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1)), std::vector<WORD>{kEnglish});

}

}  // namespace
