// Unit tests of the pixel buffer: DIB and clipRegion.
#include "image/dib.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

// A value that names its position, with alpha and colour bytes all nonzero.
uint32_t tag(int32_t x, int32_t y) {
    return 0x80000000u | (static_cast<uint32_t>(y) << 12) | static_cast<uint32_t>(x);
}

// Writes tag(x, y) into every pixel through the documented memory layout.
void fillTagged(DIB& d) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x)
            d.pixels[(d.height() - 1 - y) * d.width() + x] = tag(x, y);
}

bool allZero(const BitmapInfo& info) {
    static const BitmapInfo zero{};
    return std::memcmp(&info, &zero, sizeof zero) == 0;
}

void expectHeader(const DIB& d, int32_t w, int32_t h, int32_t pelsPerMeter) {
    const BitmapInfoHeader& hd = d.info.header;
    EXPECT_EQ(hd.biSize, 40u);
    EXPECT_EQ(hd.biWidth, w);
    EXPECT_EQ(hd.biHeight, h);
    EXPECT_EQ(hd.biPlanes, 1);
    EXPECT_EQ(hd.biBitCount, 32);
    EXPECT_EQ(hd.biCompression, 0u);
    EXPECT_EQ(hd.biSizeImage, 0u);
    EXPECT_EQ(hd.biXPelsPerMeter, pelsPerMeter);
    EXPECT_EQ(hd.biYPelsPerMeter, pelsPerMeter);
    EXPECT_EQ(hd.biClrUsed, 0u);
    EXPECT_EQ(hd.biClrImportant, 0u);
    EXPECT_EQ(d.info.colors[0], 0u);
}

// A snapshot of an image's pixels, to show that an operation left it alone.
std::vector<uint32_t> snapshot(const DIB& d) {
    if (!d.isValid()) return {};
    return std::vector<uint32_t>(d.pixels, d.pixels + static_cast<size_t>(d.width()) * d.height());
}

}  // namespace

// ---------------------------------------------------------------- construction

TEST(Dib, ConstructedEmpty) {
    DIB d;
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_TRUE(allZero(d.info));
    EXPECT_FALSE(d.isValid());
    EXPECT_EQ(d.width(), 0);
    EXPECT_EQ(d.height(), 0);
}

TEST(Dib, SizedConstructorCreates) {
    DIB d(7, 3);
    ASSERT_TRUE(d.isValid());
    expectHeader(d, 7, 3, 3780);
}

TEST(Dib, SizedConstructorWithBadSizeIsEmpty) {
    DIB a(0, 5), b(5, 0), c(-1, 4), e(65536, 65536);
    for (DIB* d : {&a, &b, &c, &e}) {
        EXPECT_FALSE(d->isValid());
        EXPECT_EQ(d->pixels, nullptr);
        EXPECT_TRUE(allZero(d->info));
    }
}

TEST(Dib, VirtualSlotsInSpecOrder) {
    // The class has exactly the virtual operations of the table (plus the
    // destructor); a polymorphic DIB works through a base pointer.
    DIB* d = new DIB;
    EXPECT_TRUE(d->create(2, 2));
    EXPECT_TRUE(d->resizeFill(3, 3, 1));
    d->release();
    EXPECT_FALSE(d->isValid());
    delete d;
}

// ---------------------------------------------------------------------- create

TEST(DibCreate, SetsHeaderExactly) {
    DIB d;
    ASSERT_TRUE(d.create(640, 480));
    ASSERT_NE(d.pixels, nullptr);
    expectHeader(d, 640, 480, 3780);
    EXPECT_TRUE(d.isValid());
}

TEST(DibCreate, OnePixel) {
    DIB d;
    ASSERT_TRUE(d.create(1, 1));
    d.pixels[0] = 0x12345678u;
    EXPECT_EQ(d.pixelAt(0, 0), 0x12345678u);
}

TEST(DibCreate, NonPositiveSizeLeavesImageAsItWas) {
    DIB d(4, 3);
    fillTagged(d);
    uint32_t* before = d.pixels;
    auto content = snapshot(d);
    EXPECT_FALSE(d.create(0, 5));
    EXPECT_FALSE(d.create(5, 0));
    EXPECT_FALSE(d.create(-5, 5));
    EXPECT_FALSE(d.create(5, -5));
    EXPECT_FALSE(d.create(INT_MIN, INT_MIN));
    EXPECT_EQ(d.pixels, before);
    EXPECT_EQ(snapshot(d), content);
    expectHeader(d, 4, 3, 3780);
}

TEST(DibCreate, NonPositiveSizeOnEmptyImageStaysEmpty) {
    DIB d;
    EXPECT_FALSE(d.create(0, 0));
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_TRUE(allZero(d.info));
}

TEST(DibCreate, ByteCountBeyond32BitsFailsCleanly) {
    DIB d;
    EXPECT_FALSE(d.create(65536, 65536));          // 2^34 bytes
    EXPECT_FALSE(d.create(16384, 65536));          // exactly 2^32 bytes: one too many
    EXPECT_FALSE(d.create(65536, 16384));
    EXPECT_FALSE(d.create(INT_MAX, INT_MAX));      // would overflow 64-bit int math too
    EXPECT_FALSE(d.create(INT_MAX, 1));            // 8 GiB
    EXPECT_FALSE(d.create(1, INT_MAX));
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_TRUE(allZero(d.info));
}

TEST(DibCreate, FailedCreateAfterReleaseLeavesImageEmpty) {
    // Step 2 releases before the allocation fails: the image is then empty.
    DIB d(8, 8);
    EXPECT_FALSE(d.create(65536, 65536));
    EXPECT_FALSE(d.isValid());
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_TRUE(allZero(d.info));
}

TEST(DibCreate, RecreateDiscardsOldContent) {
    DIB d(8, 8);
    ASSERT_TRUE(d.create(3, 2));
    expectHeader(d, 3, 2, 3780);
    // The whole new array is addressable (ASan would catch an undersized one).
    for (int i = 0; i < 6; ++i) d.pixels[i] = static_cast<uint32_t>(i);
    EXPECT_EQ(d.pixelAt(2, 0), 5u);
}

// ---------------------------------------------------------------------- release

TEST(DibRelease, ZeroesEverything) {
    DIB d(5, 5);
    d.release();
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_TRUE(allZero(d.info));
    EXPECT_FALSE(d.isValid());
    d.release();  // twice is harmless
    EXPECT_TRUE(allZero(d.info));
}

// ------------------------------------------------------------------ the layout

TEST(DibLayout, RowsAreBottomUp) {
    DIB d(3, 2);
    for (int i = 0; i < 6; ++i) d.pixels[i] = static_cast<uint32_t>(100 + i);
    // Memory row 0 is the bottom image row (y = 1).
    EXPECT_EQ(d.pixelAt(0, 1), 100u);
    EXPECT_EQ(d.pixelAt(2, 1), 102u);
    EXPECT_EQ(d.pixelAt(0, 0), 103u);
    EXPECT_EQ(d.pixelAt(2, 0), 105u);
    EXPECT_EQ(d.row(0), d.pixels + 3);
    EXPECT_EQ(d.row(1), d.pixels);
}

TEST(DibLayout, ByteOrderIsBlueGreenRedAlpha) {
    DIB d(1, 1);
    d.fillRect(0, 0, 1, 1, 0x44332211u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(d.pixels);
    EXPECT_EQ(bytes[0], 0x11);  // blue
    EXPECT_EQ(bytes[1], 0x22);  // green
    EXPECT_EQ(bytes[2], 0x33);  // red
    EXPECT_EQ(bytes[3], 0x44);  // alpha
}

TEST(DibLayout, TopRowIsLastInMemory) {
    DIB d(4, 3);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(0, 0, 4, 1, 0xDEADBEEFu));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.pixels[2 * 4 + x], 0xDEADBEEFu);
    for (int i = 0; i < 8; ++i) EXPECT_NE(d.pixels[i], 0xDEADBEEFu);
}

// --------------------------------------------------------------------- pixelAt

TEST(DibPixelAt, InsideReturnsStoredValue) {
    DIB d(5, 4);
    fillTagged(d);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(d.pixelAt(x, y), tag(x, y));
}

TEST(DibPixelAt, OutsideReturnsZero) {
    DIB d(5, 4);
    fillTagged(d);
    EXPECT_EQ(d.pixelAt(5, 0), 0u);
    EXPECT_EQ(d.pixelAt(-1, 0), 0u);
    EXPECT_EQ(d.pixelAt(0, 4), 0u);
    EXPECT_EQ(d.pixelAt(0, -1), 0u);
    EXPECT_EQ(d.pixelAt(INT_MAX, INT_MAX), 0u);
    EXPECT_EQ(d.pixelAt(INT_MIN, INT_MIN), 0u);
}

TEST(DibPixelAt, EmptyImageReturnsZero) {
    DIB d;
    EXPECT_EQ(d.pixelAt(0, 0), 0u);
}

// -------------------------------------------------------------------- fillRect

TEST(DibFillRect, FillsExactlyTheRectangle) {
    DIB d(10, 8);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(2, 3, 4, 2, 0xFF00FF00u));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x >= 2 && x < 6 && y >= 3 && y < 5;
            EXPECT_EQ(d.pixelAt(x, y), in ? 0xFF00FF00u : tag(x, y)) << x << "," << y;
        }
}

TEST(DibFillRect, WholeImage) {
    DIB d(9, 7);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(0, 0, 9, 7, 0x01020304u));
    for (int i = 0; i < 63; ++i) EXPECT_EQ(d.pixels[i], 0x01020304u);
}

TEST(DibFillRect, NegativeSizeFillsFromTheCornerRightAndDown) {
    DIB d(20, 20);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(10, 10, -4, -4, 0x11111111u));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 10 && x < 14 && y >= 10 && y < 14;
            EXPECT_EQ(d.pixelAt(x, y), in ? 0x11111111u : tag(x, y)) << x << "," << y;
        }
}

TEST(DibFillRect, EndsComputedFromUnclampedStart) {
    // x1 = min(x + w, width) uses x = -2, so only columns 0 .. 2 are filled.
    DIB d(10, 10);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(-2, -3, 5, 5, 7u));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x < 3 && y < 2;
            EXPECT_EQ(d.pixelAt(x, y), in ? 7u : tag(x, y)) << x << "," << y;
        }
}

TEST(DibFillRect, ClippedAtRightAndBottom) {
    DIB d(6, 5);
    fillTagged(d);
    ASSERT_TRUE(d.fillRect(4, 3, 100, 100, 9u));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            bool in = x >= 4 && y >= 3;
            EXPECT_EQ(d.pixelAt(x, y), in ? 9u : tag(x, y)) << x << "," << y;
        }
}

TEST(DibFillRect, NothingToDoStillSucceeds) {
    DIB d(6, 5);
    fillTagged(d);
    auto content = snapshot(d);
    EXPECT_TRUE(d.fillRect(0, 0, 0, 5, 1u));
    EXPECT_TRUE(d.fillRect(0, 0, 6, 0, 1u));
    EXPECT_TRUE(d.fillRect(6, 0, 3, 3, 1u));    // right of the image
    EXPECT_TRUE(d.fillRect(0, 5, 3, 3, 1u));    // below the image
    EXPECT_TRUE(d.fillRect(-10, 0, 3, 3, 1u));  // left of the image
    EXPECT_TRUE(d.fillRect(0, -10, 3, 3, 1u));  // above the image
    EXPECT_TRUE(d.fillRect(-10, -10, -3, -3, 1u));
    EXPECT_EQ(snapshot(d), content);
}

TEST(DibFillRect, ExtremeArgumentsStayInside) {
    DIB d(6, 5);
    fillTagged(d);
    auto content = snapshot(d);
    EXPECT_TRUE(d.fillRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1u));
    EXPECT_TRUE(d.fillRect(INT_MIN, INT_MIN, INT_MIN, INT_MIN, 1u));  // |INT_MIN| reaches 0
    EXPECT_EQ(snapshot(d), content);
    EXPECT_TRUE(d.fillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1u));  // ends at -1: nothing
    EXPECT_EQ(snapshot(d), content);
    EXPECT_TRUE(d.fillRect(-1, -1, INT_MAX, INT_MAX, 2u));  // covers all
    for (int i = 0; i < 30; ++i) EXPECT_EQ(d.pixels[i], 2u);
}

TEST(DibFillRect, EmptyImageFails) {
    DIB d;
    EXPECT_FALSE(d.fillRect(0, 0, 1, 1, 1u));
}

// ---------------------------------------------------------------- clipRegion

struct Clip {
    int32_t dx, dy, w, h, sx, sy;
};

static bool clip(Clip& c, int32_t dstW, int32_t dstH, int32_t srcW, int32_t srcH) {
    return clipRegion(c.dx, c.dy, c.w, c.h, c.sx, c.sy, dstW, dstH, srcW, srcH);
}

TEST(ClipRegion, InsideIsUnchanged) {
    Clip c{1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(clip(c, 100, 100, 100, 100));
    EXPECT_EQ(c.dx, 1);
    EXPECT_EQ(c.dy, 2);
    EXPECT_EQ(c.w, 3);
    EXPECT_EQ(c.h, 4);
    EXPECT_EQ(c.sx, 5);
    EXPECT_EQ(c.sy, 6);
}

TEST(ClipRegion, NegativeDestinationShiftsSource) {
    Clip c{-3, -2, 10, 10, 4, 5};
    EXPECT_TRUE(clip(c, 100, 100, 100, 100));
    EXPECT_EQ(c.dx, 0);
    EXPECT_EQ(c.w, 7);
    EXPECT_EQ(c.sx, 7);
    EXPECT_EQ(c.dy, 0);
    EXPECT_EQ(c.h, 8);
    EXPECT_EQ(c.sy, 7);
}

TEST(ClipRegion, NegativeSourceShiftsDestination) {
    Clip c{4, 5, 10, 10, -3, -2};
    EXPECT_TRUE(clip(c, 100, 100, 100, 100));
    EXPECT_EQ(c.sx, 0);
    EXPECT_EQ(c.w, 7);
    EXPECT_EQ(c.dx, 7);
    EXPECT_EQ(c.sy, 0);
    EXPECT_EQ(c.h, 8);
    EXPECT_EQ(c.dy, 7);
}

TEST(ClipRegion, DestinationStepBeforeSourceStep) {
    // Step 1 moves sx from -3 to -1; step 2 then moves dx from 0 to 1.
    Clip c{-2, 0, 10, 1, -3, 0};
    EXPECT_TRUE(clip(c, 100, 100, 100, 100));
    EXPECT_EQ(c.dx, 1);
    EXPECT_EQ(c.sx, 0);
    EXPECT_EQ(c.w, 7);
}

TEST(ClipRegion, SourceStepCanPushDestinationPastItsEnd) {
    // dx ends past the destination: width goes negative, nothing is left.
    Clip c{-1, 0, 50, 1, -20, 0};
    EXPECT_FALSE(clip(c, 10, 10, 100, 100));
    EXPECT_EQ(c.dx, 19);
    EXPECT_EQ(c.sx, 0);
    EXPECT_EQ(c.w, 10 - 19);
}

TEST(ClipRegion, CutAgainstDestinationThenSource) {
    Clip c{5, 0, 10, 1, 2, 0};
    EXPECT_TRUE(clip(c, 12, 10, 6, 10));
    EXPECT_EQ(c.w, 4);  // 12 - 5 = 7 first, then 6 - 2 = 4
    Clip v{0, 5, 1, 10, 0, 2};
    EXPECT_TRUE(clip(v, 10, 12, 10, 6));
    EXPECT_EQ(v.h, 4);
}

TEST(ClipRegion, NothingLeft) {
    Clip a{0, 0, 0, 5, 0, 0};
    EXPECT_FALSE(clip(a, 10, 10, 10, 10));
    Clip b{0, 0, 5, 0, 0, 0};
    EXPECT_FALSE(clip(b, 10, 10, 10, 10));
    Clip c{10, 0, 5, 5, 0, 0};
    EXPECT_FALSE(clip(c, 10, 10, 10, 10));
    Clip d{0, 0, 5, 5, 0, 10};
    EXPECT_FALSE(clip(d, 10, 10, 10, 10));
    Clip e{-5, 0, 5, 5, 0, 0};
    EXPECT_FALSE(clip(e, 10, 10, 10, 10));
    Clip f{0, 0, 5, 5, 0, 0};
    EXPECT_FALSE(clip(f, 0, 0, 10, 10));  // empty destination
    Clip g{0, 0, 5, 5, 0, 0};
    EXPECT_FALSE(clip(g, 10, 10, 0, 0));  // empty source
}

TEST(ClipRegion, ExtremeValuesDoNotWrap) {
    Clip a{INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    EXPECT_FALSE(clip(a, 10, 10, 10, 10));
    Clip b{INT_MAX, 0, INT_MAX, 1, 0, 0};
    EXPECT_FALSE(clip(b, 10, 10, 10, 10));
    Clip c{0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    EXPECT_FALSE(clip(c, 10, 10, 10, 10));
    Clip d{-1, -1, INT_MAX, INT_MAX, 0, 0};
    EXPECT_TRUE(clip(d, 10, 10, 10, 10));
    EXPECT_EQ(d.dx, 0);
    EXPECT_EQ(d.sx, 1);
    EXPECT_EQ(d.w, 9);
}

// ---------------------------------------------------------------------- copyTo

TEST(DibCopyTo, CopiesRectangleToPlace) {
    DIB src(8, 6), dst(10, 10);
    fillTagged(src);
    dst.fillRect(0, 0, 10, 10, 0u);
    ASSERT_TRUE(src.copyTo(dst, 4, 5, 3, 2, 1, 2));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x >= 4 && x < 7 && y >= 5 && y < 7;
            EXPECT_EQ(dst.pixelAt(x, y), in ? tag(x - 3, y - 3) : 0u) << x << "," << y;
        }
}

TEST(DibCopyTo, WholeImageOfSameSize) {
    DIB src(7, 5), dst(7, 5);
    fillTagged(src);
    ASSERT_TRUE(src.copyTo(dst, 0, 0, 7, 5, 0, 0));
    EXPECT_EQ(snapshot(dst), snapshot(src));
}

TEST(DibCopyTo, FullWidthRowsIntoTallerImage) {
    DIB src(6, 4), dst(6, 9);
    fillTagged(src);
    dst.fillRect(0, 0, 6, 9, 0u);
    ASSERT_TRUE(src.copyTo(dst, 0, 3, 6, 3, 0, 1));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 6; ++x) {
            bool in = y >= 3 && y < 6;
            EXPECT_EQ(dst.pixelAt(x, y), in ? tag(x, y - 2) : 0u) << x << "," << y;
        }
}

TEST(DibCopyTo, ReplacesAllChannelsWithoutBlending) {
    DIB src(2, 2), dst(2, 2);
    src.fillRect(0, 0, 2, 2, 0x00123456u);  // alpha 0
    dst.fillRect(0, 0, 2, 2, 0xFFFFFFFFu);
    ASSERT_TRUE(src.copyTo(dst, 0, 0, 2, 2, 0, 0));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dst.pixels[i], 0x00123456u);
}

TEST(DibCopyTo, NegativeDestinationOffset) {
    // dx = -3 copies from sx + 3 into column 0, three columns less wide.
    DIB src(10, 1), dst(10, 1);
    fillTagged(src);
    dst.fillRect(0, 0, 10, 1, 0u);
    ASSERT_TRUE(src.copyTo(dst, -3, 0, 5, 1, 1, 0));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.pixelAt(x, 0), x < 2 ? tag(x + 4, 0) : 0u) << x;
}

TEST(DibCopyTo, NegativeSourceOffset) {
    // sx = -3 writes from column dx + 3 on, from source column 0.
    DIB src(10, 1), dst(10, 1);
    fillTagged(src);
    dst.fillRect(0, 0, 10, 1, 0u);
    ASSERT_TRUE(src.copyTo(dst, 1, 0, 5, 1, -3, 0));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(dst.pixelAt(x, 0), (x >= 4 && x < 6) ? tag(x - 4, 0) : 0u) << x;
}

TEST(DibCopyTo, NegativeVerticalOffsets) {
    DIB src(1, 10), dst(1, 10);
    fillTagged(src);
    dst.fillRect(0, 0, 1, 10, 0u);
    ASSERT_TRUE(src.copyTo(dst, 0, -3, 1, 5, 0, 1));
    for (int y = 0; y < 10; ++y) EXPECT_EQ(dst.pixelAt(0, y), y < 2 ? tag(0, y + 4) : 0u) << y;
    dst.fillRect(0, 0, 1, 10, 0u);
    ASSERT_TRUE(src.copyTo(dst, 0, 1, 1, 5, 0, -3));
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(dst.pixelAt(0, y), (y >= 4 && y < 6) ? tag(0, y - 4) : 0u) << y;
}

TEST(DibCopyTo, NegativeSizeTakenAsAbsolute) {
    DIB src(8, 8), a(8, 8), b(8, 8);
    fillTagged(src);
    a.fillRect(0, 0, 8, 8, 0u);
    b.fillRect(0, 0, 8, 8, 0u);
    ASSERT_TRUE(src.copyTo(a, 2, 3, -4, -2, 1, 1));
    ASSERT_TRUE(src.copyTo(b, 2, 3, 4, 2, 1, 1));
    EXPECT_EQ(snapshot(a), snapshot(b));
    EXPECT_EQ(a.pixelAt(2, 3), tag(1, 1));
    EXPECT_EQ(a.pixelAt(5, 4), tag(4, 2));
}

TEST(DibCopyTo, ClippedAgainstBothImages) {
    DIB src(5, 5), dst(4, 6);
    fillTagged(src);
    dst.fillRect(0, 0, 4, 6, 0u);
    ASSERT_TRUE(src.copyTo(dst, 2, 1, 100, 100, 1, 2));
    // Width: 4 - 2 = 2 (destination), then 5 - 1 = 4 (no cut). Height: 6 - 1 = 5, then 5 - 2 = 3.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) {
            bool in = x >= 2 && y >= 1 && y < 4;
            EXPECT_EQ(dst.pixelAt(x, y), in ? tag(x - 1, y + 1) : 0u) << x << "," << y;
        }
}

TEST(DibCopyTo, NothingLeftFails) {
    DIB src(5, 5), dst(5, 5);
    fillTagged(src);
    dst.fillRect(0, 0, 5, 5, 0u);
    EXPECT_FALSE(src.copyTo(dst, 5, 0, 3, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, 0, 0, 3, 3, 5, 0));
    EXPECT_FALSE(src.copyTo(dst, 0, 0, 0, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, -3, 0, 3, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN));
    EXPECT_FALSE(src.copyTo(dst, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    for (int i = 0; i < 25; ++i) EXPECT_EQ(dst.pixels[i], 0u);
}

TEST(DibCopyTo, EmptyImagesClipToNothing) {
    DIB empty, sized(4, 4);
    fillTagged(sized);
    auto content = snapshot(sized);
    EXPECT_FALSE(empty.copyTo(sized, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(sized.copyTo(empty, 0, 0, 4, 4, 0, 0));
    EXPECT_EQ(snapshot(sized), content);
    EXPECT_EQ(empty.pixels, nullptr);
}

// ------------------------------------------------------------------ resizeFill

TEST(DibResizeFill, LargerKeepsTopLeftAndFillsStripsAndCorner) {
    DIB d(4, 3);
    fillTagged(d);
    ASSERT_TRUE(d.resizeFill(7, 5, 0xCAFEBABEu));
    expectHeader(d, 7, 5, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            bool old = x < 4 && y < 3;
            EXPECT_EQ(d.pixelAt(x, y), old ? tag(x, y) : 0xCAFEBABEu) << x << "," << y;
        }
}

TEST(DibResizeFill, WiderOnly) {
    DIB d(3, 4);
    fillTagged(d);
    ASSERT_TRUE(d.resizeFill(5, 4, 1u));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(d.pixelAt(x, y), x < 3 ? tag(x, y) : 1u);
}

TEST(DibResizeFill, SmallerKeepsTopLeftOnly) {
    DIB d(6, 5);
    fillTagged(d);
    ASSERT_TRUE(d.resizeFill(3, 2, 1u));
    expectHeader(d, 3, 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(d.pixelAt(x, y), tag(x, y));
}

TEST(DibResizeFill, WiderButShorter) {
    DIB d(3, 5);
    fillTagged(d);
    ASSERT_TRUE(d.resizeFill(6, 2, 9u));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(d.pixelAt(x, y), x < 3 ? tag(x, y) : 9u);
}

TEST(DibResizeFill, SameSizeChangesNothing) {
    DIB d(4, 3);
    fillTagged(d);
    uint32_t* before = d.pixels;
    auto content = snapshot(d);
    ASSERT_TRUE(d.resizeFill(4, 3, 1u));
    EXPECT_EQ(d.pixels, before);
    EXPECT_EQ(snapshot(d), content);
    expectHeader(d, 4, 3, 3780);  // not even the resolution fields
}

TEST(DibResizeFill, NonPositiveOrOversizedLeavesImageAsItWas) {
    DIB d(4, 3);
    fillTagged(d);
    uint32_t* before = d.pixels;
    auto content = snapshot(d);
    EXPECT_FALSE(d.resizeFill(0, 3, 1u));
    EXPECT_FALSE(d.resizeFill(4, 0, 1u));
    EXPECT_FALSE(d.resizeFill(-4, -3, 1u));
    EXPECT_FALSE(d.resizeFill(65536, 65536, 1u));
    EXPECT_FALSE(d.resizeFill(16384, 65536, 1u));
    EXPECT_EQ(d.pixels, before);
    EXPECT_EQ(snapshot(d), content);
    expectHeader(d, 4, 3, 3780);
}

TEST(DibResizeFill, FromEmptyFillsEverything) {
    DIB d;
    ASSERT_TRUE(d.resizeFill(3, 4, 5u));
    expectHeader(d, 3, 4, 0);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(d.pixels[i], 5u);
}

// --------------------------------------------------------------- makeOpaqueRect

TEST(DibMakeOpaqueRect, SetsAlphaKeepsColour) {
    DIB d(6, 5);
    d.fillRect(0, 0, 6, 5, 0x00123456u);
    d.fillRect(0, 0, 1, 1, 0x7F654321u);
    ASSERT_TRUE(d.makeOpaqueRect(0, 0, 3, 2));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            uint32_t colour = (x == 0 && y == 0) ? 0x654321u : 0x123456u;
            bool in = x < 3 && y < 2;
            uint32_t alpha = in ? 0xFF000000u : (x == 0 && y == 0 ? 0x7F000000u : 0u);
            EXPECT_EQ(d.pixelAt(x, y), alpha | colour) << x << "," << y;
        }
}

TEST(DibMakeOpaqueRect, Clipped) {
    DIB d(4, 4);
    d.fillRect(0, 0, 4, 4, 0u);
    ASSERT_TRUE(d.makeOpaqueRect(-2, 2, 4, 100));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(d.pixelAt(x, y), (x < 2 && y >= 2) ? 0xFF000000u : 0u) << x << "," << y;
}

TEST(DibMakeOpaqueRect, NegativeSizeDoesNothing) {
    DIB d(20, 20);
    d.fillRect(0, 0, 20, 20, 0u);
    EXPECT_TRUE(d.makeOpaqueRect(10, 10, -4, 4));
    EXPECT_TRUE(d.makeOpaqueRect(10, 10, 4, -4));
    EXPECT_TRUE(d.makeOpaqueRect(10, 10, -4, -4));
    EXPECT_TRUE(d.makeOpaqueRect(INT_MIN, INT_MIN, INT_MIN, INT_MIN));
    EXPECT_TRUE(d.makeOpaqueRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    for (int i = 0; i < 400; ++i) EXPECT_EQ(d.pixels[i], 0u);
}

TEST(DibMakeOpaqueRect, EmptyImageFails) {
    DIB d;
    EXPECT_FALSE(d.makeOpaqueRect(0, 0, 1, 1));
}

// ------------------------------------------------------------------------ swap

TEST(DibSwap, ExchangesPixelsAndHeader) {
    DIB a(2, 3), b;
    uint32_t* p = a.pixels;
    a.swap(b);
    EXPECT_EQ(a.pixels, nullptr);
    EXPECT_TRUE(allZero(a.info));
    EXPECT_EQ(b.pixels, p);
    expectHeader(b, 2, 3, 3780);
}
