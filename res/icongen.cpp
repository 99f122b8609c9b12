// Builds the program's .ico from the readable pixel art, on the build host.
//
//   icongen OUT.ico ART.txt...
//
// Every art file becomes one image, in the order given. An art file holds
// "bits 4" or "bits 8", one "colour C RRGGBB" or "colour C transparent" line
// per pixel character, then "pixels" and one row of characters per pixel
// row, top row first; the image is as wide as its rows and must be square.
// Each image is stored as a palette bitmap with its AND mask (1 where
// transparent); transparent pixels are black in the colour bitmap.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const int kMaxSide = 64;
const int kMaxImages = 8;
const int kMaxColours = 256;

struct ArtImage {
    int side;
    int bits;
    int colourCount;                 // palette entries in use, slot 0 is black
    unsigned long palette[kMaxColours];  // 0xRRGGBB
    int paletteOf[256];              // per character: palette slot, -1 transparent, -2 unknown
    char pixels[kMaxSide][kMaxSide + 1];
};

ArtImage images[kMaxImages];

void Fail(const char *path, int line, const char *what)
{
    fprintf(stderr, "icongen: %s:%d: %s\n", path, line, what);
    exit(1);
}

void TrimLineEnd(char *text)
{
    size_t n = strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' '))
        text[--n] = '\0';
}

int SlotFor(ArtImage *image, unsigned long rgb)
{
    for (int i = 0; i < image->colourCount; ++i)
        if (image->palette[i] == rgb)
            return i;
    if (image->colourCount >= (1 << image->bits))
        return -1;
    image->palette[image->colourCount] = rgb;
    return image->colourCount++;
}

void ReadArt(const char *path, ArtImage *image)
{
    FILE *in = fopen(path, "r");
    if (!in)
        Fail(path, 0, "cannot open");
    memset(image, 0, sizeof *image);
    for (int &slot : image->paletteOf)
        slot = -2;
    image->colourCount = 1;  // black, also behind every transparent pixel
    image->palette[0] = 0;

    char line[256];
    int lineNo = 0;
    int rows = 0;
    int width = -1;
    bool inPixels = false;
    while (fgets(line, sizeof line, in)) {
        ++lineNo;
        TrimLineEnd(line);
        if (!inPixels) {
            if (line[0] == '#' || line[0] == '\0')
                continue;
            if (strncmp(line, "bits ", 5) == 0) {
                image->bits = atoi(line + 5);
                if (image->bits != 4 && image->bits != 8)
                    Fail(path, lineNo, "bits must be 4 or 8");
            } else if (strncmp(line, "colour ", 7) == 0 && line[7] != '\0' && line[8] == ' ') {
                if (image->bits == 0)
                    Fail(path, lineNo, "bits must come before the colours");
                unsigned char c = static_cast<unsigned char>(line[7]);
                const char *value = line + 9;
                if (image->paletteOf[c] != -2)
                    Fail(path, lineNo, "character defined twice");
                if (strncmp(value, "transparent", 11) == 0) {
                    image->paletteOf[c] = -1;
                } else {
                    char *end = nullptr;
                    unsigned long rgb = strtoul(value, &end, 16);
                    if (end != value + 6 || rgb > 0xFFFFFFUL)
                        Fail(path, lineNo, "colour must be RRGGBB or transparent");
                    image->paletteOf[c] = SlotFor(image, rgb);
                    if (image->paletteOf[c] < 0)
                        Fail(path, lineNo, "too many colours for the bit depth");
                }
            } else if (strcmp(line, "pixels") == 0) {
                inPixels = true;
            } else {
                Fail(path, lineNo, "expected bits, colour or pixels");
            }
            continue;
        }
        int n = static_cast<int>(strlen(line));
        if (n == 0)
            continue;
        if (width < 0)
            width = n;
        if (n != width || n > kMaxSide || rows >= kMaxSide)
            Fail(path, lineNo, "pixel rows must be equally long and at most 64");
        for (int x = 0; x < n; ++x)
            if (image->paletteOf[static_cast<unsigned char>(line[x])] == -2)
                Fail(path, lineNo, "pixel character without a colour line");
        memcpy(image->pixels[rows], line, static_cast<size_t>(n) + 1);
        ++rows;
    }
    fclose(in);
    if (!inPixels || rows == 0)
        Fail(path, lineNo, "no pixels");
    if (rows != width)
        Fail(path, lineNo, "the image must be square");
    image->side = rows;
}

int RowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

int PaletteEntries(const ArtImage *image)
{
    return 1 << image->bits;
}

unsigned long ImageBytes(const ArtImage *image)
{
    return 40UL + 4UL * static_cast<unsigned long>(PaletteEntries(image)) +
           static_cast<unsigned long>(image->side) *
               static_cast<unsigned long>(RowBytes(image->side, image->bits) + RowBytes(image->side, 1));
}

void Put16(FILE *out, unsigned long v)
{
    fputc(static_cast<int>(v & 0xFF), out);
    fputc(static_cast<int>((v >> 8) & 0xFF), out);
}

void Put32(FILE *out, unsigned long v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, (v >> 16) & 0xFFFF);
}

void WriteImage(FILE *out, const ArtImage *image)
{
    const int side = image->side;
    const unsigned long xorBytes = static_cast<unsigned long>(side * RowBytes(side, image->bits));
    const unsigned long andBytes = static_cast<unsigned long>(side * RowBytes(side, 1));

    // BITMAPINFOHEADER; the height counts the colour bitmap and the mask.
    Put32(out, 40);
    Put32(out, static_cast<unsigned long>(side));
    Put32(out, static_cast<unsigned long>(2 * side));
    Put16(out, 1);
    Put16(out, static_cast<unsigned long>(image->bits));
    Put32(out, 0);
    Put32(out, xorBytes + andBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);

    for (int i = 0; i < PaletteEntries(image); ++i) {
        unsigned long rgb = i < image->colourCount ? image->palette[i] : 0;
        fputc(static_cast<int>(rgb & 0xFF), out);          // blue
        fputc(static_cast<int>((rgb >> 8) & 0xFF), out);   // green
        fputc(static_cast<int>((rgb >> 16) & 0xFF), out);  // red
        fputc(0, out);
    }

    // Both bitmaps are stored bottom row first.
    unsigned char row[kMaxSide];
    for (int y = side - 1; y >= 0; --y) {
        memset(row, 0, sizeof row);
        for (int x = 0; x < side; ++x) {
            int slot = image->paletteOf[static_cast<unsigned char>(image->pixels[y][x])];
            if (slot < 0)
                slot = 0;
            if (image->bits == 8)
                row[x] = static_cast<unsigned char>(slot);
            else
                row[x / 2] = static_cast<unsigned char>(row[x / 2] | (x % 2 ? slot : slot << 4));
        }
        fwrite(row, 1, static_cast<size_t>(RowBytes(side, image->bits)), out);
    }
    for (int y = side - 1; y >= 0; --y) {
        memset(row, 0, sizeof row);
        for (int x = 0; x < side; ++x)
            if (image->paletteOf[static_cast<unsigned char>(image->pixels[y][x])] == -1)
                row[x / 8] = static_cast<unsigned char>(row[x / 8] | (0x80 >> (x % 8)));
        fwrite(row, 1, static_cast<size_t>(RowBytes(side, 1)), out);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc - 2 > kMaxImages) {
        fprintf(stderr, "usage: icongen OUT.ico ART.txt... (at most %d images)\n", kMaxImages);
        return 2;
    }
    const int count = argc - 2;
    for (int i = 0; i < count; ++i)
        ReadArt(argv[i + 2], &images[i]);

    FILE *out = fopen(argv[1], "wb");
    if (!out)
        Fail(argv[1], 0, "cannot create");

    // ICONDIR, then one ICONDIRENTRY per image, then the images.
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned long>(count));
    unsigned long offset = 6UL + 16UL * static_cast<unsigned long>(count);
    for (int i = 0; i < count; ++i) {
        const ArtImage *image = &images[i];
        fputc(image->side, out);
        fputc(image->side, out);
        fputc(image->bits == 4 ? 16 : 0, out);  // colour count; 0 means 256 or more
        fputc(0, out);
        Put16(out, 1);
        Put16(out, static_cast<unsigned long>(image->bits));
        Put32(out, ImageBytes(image));
        Put32(out, offset);
        offset += ImageBytes(image);
    }
    for (int i = 0; i < count; ++i)
        WriteImage(out, &images[i]);

    if (fclose(out) != 0)
        Fail(argv[1], 0, "write failed");
    return 0;
}
