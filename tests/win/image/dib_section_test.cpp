// Windows tests of the pixel buffer: DIBSection and drawStretched.
#include "image/dib_section.h"

#include <gtest/gtest.h>

namespace {

// A value that names its position, with alpha and colour bytes all nonzero.
uint32_t tag(int32_t x, int32_t y) {
    return 0x80000000u | (static_cast<uint32_t>(y & 0xFFF) << 12) | static_cast<uint32_t>(x & 0xFFF);
}

void fillTagged(DIB& d) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x) d.row(y)[x] = tag(x, y);
}

constexpr uint32_t kColour = 0x00FFFFFFu;

// Pixels of (0, 0, w, h) whose colour bytes differ from tag(x, y).
int colourMismatches(const DIB& d, int32_t w, int32_t h) {
    int count = 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if ((d.pixelAt(x, y) & kColour) != (tag(x, y) & kColour)) ++count;
    return count;
}

DWORD gdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

bool allZero(const BitmapInfo& info) {
    static const BitmapInfo zero{};
    return memcmp(&info, &zero, sizeof zero) == 0;
}

void expectEmpty(const DIBSection& s) {
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(s.dc, nullptr);
    EXPECT_EQ(s.bitmap, nullptr);
    EXPECT_EQ(s.previousBitmap, nullptr);
    EXPECT_EQ(s.font, nullptr);
    EXPECT_EQ(s.previousFont, nullptr);
    EXPECT_TRUE(allZero(s.info));
    EXPECT_FALSE(s.isValid());
}

void expectSectionHeader(const DIBSection& s, int32_t w, int32_t h) {
    const BitmapInfoHeader& hd = s.info.header;
    EXPECT_EQ(hd.biSize, 40u);
    EXPECT_EQ(hd.biWidth, w);
    EXPECT_EQ(hd.biHeight, h);
    EXPECT_EQ(hd.biPlanes, 1);
    EXPECT_EQ(hd.biBitCount, 32);
    EXPECT_EQ(hd.biCompression, 0u);
    EXPECT_EQ(hd.biSizeImage, 0u);
    EXPECT_EQ(hd.biXPelsPerMeter, 0);
    EXPECT_EQ(hd.biYPelsPerMeter, 0);
    EXPECT_EQ(hd.biClrUsed, 0u);
    EXPECT_EQ(hd.biClrImportant, 0u);
}

HFONT makeFont() {
    return CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Arial");
}

}  // namespace

// ------------------------------------------------------------------ DIBSection

TEST(DibSection, ConstructedEmpty) {
    DIBSection s;
    expectEmpty(s);
}

TEST(DibSection, CreateMakesSelectedSection) {
    DIBSection s;
    ASSERT_TRUE(s.create(640, 480));
    ASSERT_TRUE(s.isValid());
    expectSectionHeader(s, 640, 480);
    ASSERT_NE(s.dc, nullptr);
    ASSERT_NE(s.bitmap, nullptr);
    EXPECT_NE(s.previousBitmap, nullptr);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);

    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(s.bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, s.pixels);
    EXPECT_EQ(ds.dsBm.bmWidth, 640);
    EXPECT_EQ(ds.dsBm.bmHeight, 480);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(ds.dsBmih.biHeight, 480);  // positive: bottom-up
    // Every byte of the section is addressable.
    s.fillRect(0, 0, 640, 480, 0x12345678u);
    EXPECT_EQ(s.pixels[640 * 480 - 1], 0x12345678u);
}

TEST(DibSection, CreateRejectsNonPositiveSize) {
    DIBSection s;
    ASSERT_TRUE(s.create(8, 8));
    HDC dc = s.dc;
    uint32_t* pixels = s.pixels;
    EXPECT_FALSE(s.create(0, 5));
    EXPECT_FALSE(s.create(5, 0));
    EXPECT_FALSE(s.create(-1, -1));
    EXPECT_EQ(s.dc, dc);
    EXPECT_EQ(s.pixels, pixels);
    expectSectionHeader(s, 8, 8);
}

TEST(DibSection, RecreateReplacesEverything) {
    DWORD before = gdiObjects();
    {
        DIBSection s;
        ASSERT_TRUE(s.create(8, 8));
        HBITMAP first = s.bitmap;
        ASSERT_TRUE(s.create(16, 4));
        expectSectionHeader(s, 16, 4);
        EXPECT_EQ(GetObjectType(first), 0u);  // deleted
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, CreateFailureLeavesNoObjects) {
    DWORD before = gdiObjects();
    {
        DIBSection s;
        ASSERT_TRUE(s.create(8, 8));
        EXPECT_FALSE(s.create(65536, 65536));  // 16 GiB: the section step fails
        EXPECT_FALSE(s.isValid());
        EXPECT_EQ(s.pixels, nullptr);
        EXPECT_EQ(s.dc, nullptr);
        EXPECT_EQ(s.bitmap, nullptr);
        // The new size stays in the header (the one case where a failed create keeps it).
        EXPECT_EQ(s.width(), 65536);
        s.release();
        expectEmpty(s);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, GdiAndPixelsShareTheSameMemory) {
    DIBSection s;
    ASSERT_TRUE(s.create(16, 8));
    s.fillRect(0, 0, 16, 8, 0);
    // GDI writes, the program reads: same coordinates, y downwards.
    ASSERT_NE(SetPixelV(s.dc, 3, 2, RGB(0x10, 0x20, 0x30)), 0);
    GdiFlush();
    EXPECT_EQ(s.pixelAt(3, 2) & kColour, 0x102030u);
    EXPECT_EQ(s.row(2)[3] & kColour, 0x102030u);
    // The program writes, GDI reads.
    s.fillRect(5, 6, 1, 1, 0x00AABBCCu);
    EXPECT_EQ(GetPixel(s.dc, 5, 6), RGB(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(GetPixel(s.dc, 5, 1), RGB(0, 0, 0));
}

TEST(DibSection, ResizeKeep640x480To800x600KeepsContentTopLeft) {
    DIBSection s;
    ASSERT_TRUE(s.create(640, 480));
    fillTagged(s);
    GdiFlush();
    ASSERT_TRUE(s.resizeKeep(800, 600));
    ASSERT_TRUE(s.isValid());
    expectSectionHeader(s, 800, 600);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(s.bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, s.pixels);
    EXPECT_EQ(colourMismatches(s, 640, 480), 0);
    // The new area is writable up to the last pixel.
    s.fillRect(640, 0, 160, 600, 0xFFFFFFFFu);
    s.fillRect(0, 480, 800, 120, 0xFFFFFFFFu);
    EXPECT_EQ(s.pixelAt(799, 599), 0xFFFFFFFFu);
    EXPECT_EQ(colourMismatches(s, 640, 480), 0);
}

TEST(DibSection, ResizeKeepSmallerKeepsTopLeft) {
    DIBSection s;
    ASSERT_TRUE(s.create(800, 600));
    fillTagged(s);
    GdiFlush();
    ASSERT_TRUE(s.resizeKeep(300, 700));  // narrower, taller
    expectSectionHeader(s, 300, 700);
    EXPECT_EQ(colourMismatches(s, 300, 600), 0);
}

TEST(DibSection, ResizeKeepSameSizeChangesNothing) {
    DIBSection s;
    ASSERT_TRUE(s.create(64, 32));
    HDC dc = s.dc;
    HBITMAP bitmap = s.bitmap;
    uint32_t* pixels = s.pixels;
    EXPECT_TRUE(s.resizeKeep(64, 32));
    EXPECT_EQ(s.dc, dc);
    EXPECT_EQ(s.bitmap, bitmap);
    EXPECT_EQ(s.pixels, pixels);
}

TEST(DibSection, ResizeKeepFailureLeavesImageAsItWas) {
    DWORD before = gdiObjects();
    {
        DIBSection s;
        ASSERT_TRUE(s.create(64, 32));
        fillTagged(s);
        HDC dc = s.dc;
        HBITMAP bitmap = s.bitmap;
        uint32_t* pixels = s.pixels;
        EXPECT_FALSE(s.resizeKeep(0, 32));
        EXPECT_FALSE(s.resizeKeep(64, -1));
        EXPECT_FALSE(s.resizeKeep(65536, 65536));
        EXPECT_EQ(s.dc, dc);
        EXPECT_EQ(s.bitmap, bitmap);
        EXPECT_EQ(s.pixels, pixels);
        expectSectionHeader(s, 64, 32);
        EXPECT_EQ(colourMismatches(s, 64, 32), 0);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, ResizeKeepOfEmptyCreates) {
    DIBSection s;
    ASSERT_TRUE(s.resizeKeep(10, 10));
    ASSERT_TRUE(s.isValid());
    expectSectionHeader(s, 10, 10);
    EXPECT_NE(s.dc, nullptr);
}

TEST(DibSection, ReleaseLeavesNoGdiObjects) {
    DWORD before = gdiObjects();
    DIBSection s;
    ASSERT_TRUE(s.create(640, 480));
    ASSERT_TRUE(s.resizeKeep(800, 600));
    HFONT font = makeFont();
    ASSERT_TRUE(s.selectFont(font));
    HDC dc = s.dc;
    HBITMAP bitmap = s.bitmap;
    if (before != 0) {
        EXPECT_GT(gdiObjects(), before);  // the count is live (Wine always answers 0)
    }
    s.release();
    expectEmpty(s);
    EXPECT_EQ(gdiObjects(), before);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(DibSection, DestructorReleases) {
    DWORD before = gdiObjects();
    HDC dc;
    HBITMAP bitmap;
    {
        DIBSection s;
        ASSERT_TRUE(s.create(100, 100));
        ASSERT_TRUE(s.selectFont(makeFont()));
        dc = s.dc;
        bitmap = s.bitmap;
    }
    EXPECT_EQ(gdiObjects(), before);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(DibSection, ManyCyclesLeaveNoGdiObjects) {
    DWORD before = gdiObjects();
    // Wine's GetGuiResources always answers 0, so each replaced object is
    // also checked to be gone right after the step that deleted it.
    for (int i = 0; i < 50; ++i) {
        DIBSection s;
        ASSERT_TRUE(s.create(64 + i, 48));
        HDC dc = s.dc;
        HBITMAP bitmap = s.bitmap;
        ASSERT_TRUE(s.resizeKeep(80 + i, 60));
        EXPECT_EQ(GetObjectType(dc), 0u);
        EXPECT_EQ(GetObjectType(bitmap), 0u);
        HFONT font = makeFont();
        ASSERT_TRUE(s.selectFont(font));
        dc = s.dc;
        bitmap = s.bitmap;
        ASSERT_TRUE(s.resizeKeep(40, 30 + i));  // the font goes with the old context
        EXPECT_EQ(s.font, nullptr);
        EXPECT_EQ(GetObjectType(font), 0u);
        EXPECT_EQ(GetObjectType(dc), 0u);
        EXPECT_EQ(GetObjectType(bitmap), 0u);
        dc = s.dc;
        bitmap = s.bitmap;
        s.release();
        EXPECT_EQ(GetObjectType(dc), 0u);
        EXPECT_EQ(GetObjectType(bitmap), 0u);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, SelectFontTakesOwnership) {
    DIBSection s;
    HFONT none = makeFont();
    EXPECT_FALSE(s.selectFont(none));  // no device context yet: still ours
    EXPECT_NE(GetObjectType(none), 0u);
    DeleteObject(none);

    ASSERT_TRUE(s.create(32, 32));
    HGDIOBJ original = GetCurrentObject(s.dc, OBJ_FONT);
    HFONT first = makeFont();
    ASSERT_TRUE(s.selectFont(first));
    EXPECT_EQ(s.font, first);
    EXPECT_EQ(s.previousFont, original);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_FONT), first);

    HFONT second = makeFont();
    ASSERT_TRUE(s.selectFont(second));
    EXPECT_EQ(GetObjectType(first), 0u);  // the replaced font was deleted
    EXPECT_EQ(s.font, second);
    EXPECT_EQ(s.previousFont, original);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_FONT), second);

    // Text drawn with the font lands in the pixels.
    s.fillRect(0, 0, 32, 32, 0x00FFFFFFu);
    SetTextColor(s.dc, RGB(0, 0, 0));
    SetBkMode(s.dc, TRANSPARENT);
    ASSERT_TRUE(TextOutW(s.dc, 2, 2, L"W", 1));
    GdiFlush();
    int dark = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((s.pixelAt(x, y) & kColour) == 0) ++dark;
    EXPECT_GT(dark, 0);

    s.release();
    EXPECT_EQ(GetObjectType(second), 0u);
}

// --------------------------------------------------------------- drawStretched

TEST(DibDrawStretched, OneToOneIntoDibSection) {
    DIB source(4, 3);
    fillTagged(source);
    DIBSection target;
    ASSERT_TRUE(target.create(20, 20));
    target.fillRect(0, 0, 20, 20, 0);
    ASSERT_TRUE(source.drawStretched(target.dc, 2, 5, 4, 3, 4, 3));
    GdiFlush();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 2 && x < 6 && y >= 5 && y < 8;
            uint32_t want = in ? (tag(x - 2, y - 5) & kColour) : 0u;
            EXPECT_EQ(target.pixelAt(x, y) & kColour, want) << x << "," << y;
        }
}

TEST(DibDrawStretched, ScalesUp) {
    DIB source(4, 3);
    fillTagged(source);
    DIBSection target;
    ASSERT_TRUE(target.create(20, 20));
    target.fillRect(0, 0, 20, 20, 0);
    SetStretchBltMode(target.dc, COLORONCOLOR);
    ASSERT_TRUE(source.drawStretched(target.dc, 1, 1, 12, 6, 4, 3));
    GdiFlush();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 1 && x < 13 && y >= 1 && y < 7;
            uint32_t want = in ? (tag((x - 1) / 3, (y - 1) / 2) & kColour) : 0u;
            EXPECT_EQ(target.pixelAt(x, y) & kColour, want) << x << "," << y;
        }
}

TEST(DibDrawStretched, AlphaIsIgnored) {
    DIB source(2, 2);
    source.fillRect(0, 0, 2, 2, 0x00405060u);  // fully transparent
    DIBSection target;
    ASSERT_TRUE(target.create(4, 4));
    target.fillRect(0, 0, 4, 4, 0);
    ASSERT_TRUE(source.drawStretched(target.dc, 0, 0, 2, 2, 2, 2));
    GdiFlush();
    EXPECT_EQ(target.pixelAt(1, 1) & kColour, 0x405060u);
}

TEST(DibDrawStretched, FromDibSectionToDibSection) {
    DIBSection source, target;
    ASSERT_TRUE(source.create(5, 4));
    fillTagged(source);
    ASSERT_TRUE(target.create(5, 4));
    target.fillRect(0, 0, 5, 4, 0);
    ASSERT_TRUE(source.drawStretched(target.dc, 0, 0, 5, 4, 5, 4));
    GdiFlush();
    EXPECT_EQ(colourMismatches(target, 5, 4), 0);
}

TEST(DibDrawStretched, PartialSourceCountsFromTheBottomRow) {
    // Platform behaviour, pinned here so that callers know it: for a
    // bottom-up image StretchDIBits takes the source origin at the lower-left
    // corner, so source (0, 0, 4, 2) is image rows 2 and 3, not 0 and 1.
    DIB source(4, 4);
    for (int y = 0; y < 4; ++y) source.fillRect(0, y, 4, 1, 0x100u * (y + 1));
    DIBSection target;
    ASSERT_TRUE(target.create(8, 8));
    target.fillRect(0, 0, 8, 8, 0);
    ASSERT_TRUE(source.drawStretched(target.dc, 0, 0, 4, 2, 4, 2));
    GdiFlush();
    EXPECT_EQ(target.pixelAt(0, 0) & kColour, 0x300u);
    EXPECT_EQ(target.pixelAt(3, 1) & kColour, 0x400u);
    EXPECT_EQ(target.pixelAt(0, 2) & kColour, 0u);
}

TEST(DibDrawStretched, NullContextOrEmptyImageFails) {
    DIB source(2, 2), empty;
    source.fillRect(0, 0, 2, 2, 0);
    DIBSection target;
    ASSERT_TRUE(target.create(4, 4));
    EXPECT_FALSE(source.drawStretched(nullptr, 0, 0, 2, 2, 2, 2));
    EXPECT_FALSE(empty.drawStretched(target.dc, 0, 0, 2, 2, 2, 2));
}
