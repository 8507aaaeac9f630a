// Unit tests of the pixel buffer: DIB and clipRegion.
#include "image/dib.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// A value that names its position; the alpha byte varies and is 0 at (0, 0).
uint32_t tag(int32_t x, int32_t y) {
    return static_cast<uint32_t>((x + y) * 85) << 24 | static_cast<uint32_t>(y) << 12 |
           static_cast<uint32_t>(x);
}

// Writes tag(x, y) into every pixel through the documented bottom-up layout.
void fillTagged(DIB& d) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x)
            d.pixels[(d.height() - 1 - y) * d.width() + x] = tag(x, y);
}

using Fields = std::array<int64_t, 12>;

// Every field of the header block, and the unused colour entry.
Fields fields(const BitmapInfo& i) {
    const BitmapInfoHeader& h = i.header;
    return {h.biSize,          h.biWidth,       h.biHeight,       h.biPlanes,
            h.biBitCount,      h.biCompression, h.biSizeImage,    h.biXPelsPerMeter,
            h.biYPelsPerMeter, h.biClrUsed,     h.biClrImportant, i.colors[0]};
}

void expectHeader(const DIB& d, int32_t w, int32_t h, int32_t pelsPerMeter) {
    EXPECT_EQ(fields(d.info), (Fields{40, w, h, 1, 32, 0, 0, pelsPerMeter, pelsPerMeter, 0, 0, 0}));
}

void expectEmpty(const DIB& d) {
    EXPECT_EQ(d.pixels, nullptr);
    EXPECT_EQ(fields(d.info), Fields{});
    EXPECT_FALSE(d.isValid());
}

std::vector<uint32_t> snapshot(const DIB& d) {
    if (!d.isValid()) return {};
    return std::vector<uint32_t>(d.pixels, d.pixels + static_cast<size_t>(d.width()) * d.height());
}

// A rectangle [x0, x1) x [y0, y1); empty when x0 >= x1.
struct Area {
    int32_t x0, y0, x1, y1;
    bool has(int32_t x, int32_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Every pixel of `d`: `inside(x, y)` within `area`, `outside(x, y)` elsewhere.
template <typename In, typename Out>
void expectPixels(const DIB& d, Area area, In inside, Out outside) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x)
            ASSERT_EQ(d.pixelAt(x, y), area.has(x, y) ? inside(x, y) : outside(x, y))
                << x << "," << y;
}

}  // namespace

TEST(DibCreate, SetsHeaderExactlyAndMakesEveryPixelAddressable) {
    DIB d(8, 8);
    ASSERT_TRUE(d.create(640, 480));  // recreating discards the old pixels
    expectHeader(d, 640, 480, 3780);
    d.fillRect(0, 0, 640, 480, 7u);  // ASan catches an undersized array
    EXPECT_EQ(d.pixelAt(639, 479), 7u);
}

TEST(DibCreate, NonPositiveSizeLeavesImageAsItWas) {
    DIB d(4, 3), a(0, 5), b(-1, 4);
    fillTagged(d);
    uint32_t* before = d.pixels;
    auto content = snapshot(d);
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-5, 5}, {5, -5}, {INT_MIN, INT_MIN}}) {
        EXPECT_FALSE(d.create(w, h)) << w << "," << h;
    }
    EXPECT_EQ(d.pixels, before);
    EXPECT_EQ(snapshot(d), content);
    expectHeader(d, 4, 3, 3780);
    expectEmpty(a);
    expectEmpty(b);
}

TEST(DibCreate, ByteCountBeyond32BitsFailsAndLeavesTheImageEmpty) {
    // 16384 x 65536 is exactly 2^32 bytes: one too many.
    for (auto [w, h] : {std::pair{65536, 65536},
                        {16384, 65536},
                        {65536, 16384},
                        {INT_MAX, INT_MAX},
                        {INT_MAX, 1},
                        {1, INT_MAX}}) {
        DIB d(8, 8), constructed(w, h);
        EXPECT_FALSE(d.create(w, h)) << w << "," << h;  // released before it fails
        expectEmpty(d);
        expectEmpty(constructed);
    }
}

TEST(Dib, ReleaseZeroesEverythingAndSwapExchangesPixelsAndHeader) {
    DIB a(2, 3), b;
    uint32_t* p = a.pixels;
    a.swap(b);
    expectEmpty(a);
    EXPECT_EQ(b.pixels, p);
    expectHeader(b, 2, 3, 3780);
    b.release();
    expectEmpty(b);
    b.release();  // twice is harmless
    expectEmpty(b);
}

TEST(DibLayout, RowsAreBottomUpBytesBlueGreenRedAlphaAndOutsideReadsZero) {
    DIB d(3, 2), empty;
    for (int i = 0; i < 6; ++i) d.pixels[i] = static_cast<uint32_t>(100 + i);
    // Memory row 0 is the bottom image row (y = 1).
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.pixelAt(i % 3, 1 - i / 3), 100u + i) << i;
    EXPECT_EQ(d.row(0), d.pixels + 3);
    EXPECT_EQ(d.row(1), d.pixels);
    for (auto [x, y] :
         {std::pair{3, 0}, {-1, 0}, {0, 2}, {0, -1}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}}) {
        EXPECT_EQ(d.pixelAt(x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(empty.pixelAt(0, 0), 0u);

    d.fillRect(0, 0, 1, 1, 0x44332211u);
    EXPECT_EQ(std::memcmp(d.pixels + 3, "\x11\x22\x33\x44", 4), 0);  // blue, green, red, alpha
}

TEST(DibFillRect, FillsExactlyTheClippedRectangle) {
    struct Case {
        int32_t x, y, w, h;
        Area filled;
    };
    const Case cases[] = {
        {2, 3, 4, 2, {2, 3, 6, 5}},
        {0, 0, 10, 8, {0, 0, 10, 8}},     // the whole image: one contiguous run
        {5, 5, -3, -3, {5, 5, 8, 8}},     // negative sizes fill right and down
        {-2, -3, 5, 5, {0, 0, 3, 2}},     // ends come from the unclamped start
        {4, 3, 100, 100, {4, 3, 10, 8}},  // cut at the right and bottom
        {-1, -1, INT_MAX, INT_MAX, {0, 0, 10, 8}},
        // Nothing to do, still a success.
        {0, 0, 0, 5, {}},
        {0, 0, 6, 0, {}},
        {10, 0, 3, 3, {}},
        {0, 8, 3, 3, {}},
        {-10, 0, 3, 3, {}},
        {0, -10, 3, 3, {}},
        {-10, -10, -3, -3, {}},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {}},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, {}},  // |INT_MIN| reaches 0
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {}},  // ends at -1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.w << "," << c.h);
        DIB d(10, 8);
        fillTagged(d);
        EXPECT_TRUE(d.fillRect(c.x, c.y, c.w, c.h, 0x11223344u));
        expectPixels(
            d, c.filled, [](int32_t, int32_t) { return 0x11223344u; }, tag);
    }
    DIB empty;
    EXPECT_FALSE(empty.fillRect(0, 0, 1, 1, 1u));
}

// dx, dy, w, h, sx, sy.
using Clip = std::array<int32_t, 6>;

bool clip(Clip& r, int32_t dstW, int32_t dstH, int32_t srcW, int32_t srcH) {
    return clipRegion(r[0], r[1], r[2], r[3], r[4], r[5], dstW, dstH, srcW, srcH);
}

TEST(ClipRegion, CutsAgainstBothImagesInTheStatedOrder) {
    struct Case {
        Clip in;
        int32_t dstW, dstH, srcW, srcH;
        bool left;
        Clip out;
    };
    const Case cases[] = {
        {{1, 2, 3, 4, 5, 6}, 100, 100, 100, 100, true, {1, 2, 3, 4, 5, 6}},
        {{-3, -2, 10, 10, 4, 5}, 100, 100, 100, 100, true, {0, 0, 7, 8, 7, 7}},
        {{4, 5, 10, 10, -3, -2}, 100, 100, 100, 100, true, {7, 7, 7, 8, 0, 0}},
        // The destination step moves sx from -3 to -1; the source step then dx to 1.
        {{-2, 0, 10, 1, -3, 0}, 100, 100, 100, 100, true, {1, 0, 7, 1, 0, 0}},
        // The source step pushes dx past the destination: the width goes negative.
        {{-1, 0, 50, 1, -20, 0}, 10, 10, 100, 100, false, {19, 0, -9, 1, 0, 0}},
        // Cut to the destination first (7), then to the source (4).
        {{5, 0, 10, 1, 2, 0}, 12, 10, 6, 10, true, {5, 0, 4, 1, 2, 0}},
        {{0, 5, 1, 10, 0, 2}, 10, 12, 10, 6, true, {0, 5, 1, 4, 0, 2}},
        {{-1, -1, INT_MAX, INT_MAX, 0, 0}, 10, 10, 10, 10, true, {0, 0, 9, 9, 1, 1}},
    };
    for (const Case& c : cases) {
        Clip r = c.in;
        EXPECT_EQ(clip(r, c.dstW, c.dstH, c.srcW, c.srcH), c.left) << testing::PrintToString(c.in);
        EXPECT_EQ(r, c.out);
    }
}

TEST(ClipRegion, NothingLeftWithoutWrapping) {
    struct Case {
        Clip in;
        int32_t dstW, dstH, srcW, srcH;
    };
    const Case cases[] = {
        {{0, 0, 0, 5, 0, 0}, 10, 10, 10, 10},
        {{0, 0, 5, 0, 0, 0}, 10, 10, 10, 10},
        {{10, 0, 5, 5, 0, 0}, 10, 10, 10, 10},
        {{0, 0, 5, 5, 0, 10}, 10, 10, 10, 10},
        {{-5, 0, 5, 5, 0, 0}, 10, 10, 10, 10},
        {{0, 0, 5, 5, 0, 0}, 0, 0, 10, 10},
        {{0, 0, 5, 5, 0, 0}, 10, 10, 0, 0},
        {{INT_MAX, 0, INT_MAX, 1, 0, 0}, 10, 10, 10, 10},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, 10, 10, 10, 10},
        {{0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN}, 10, 10, 10, 10},
    };
    for (const Case& c : cases) {
        Clip r = c.in;
        EXPECT_FALSE(clip(r, c.dstW, c.dstH, c.srcW, c.srcH)) << testing::PrintToString(c.in);
    }
}

TEST(DibCopyTo, CopiesTheClippedRectangleToItsPlace) {
    struct Case {
        int32_t srcW, srcH, dstW, dstH, dx, dy, w, h, sx, sy;
        Area copied;     // in the destination
        int32_t ox, oy;  // destination minus source position
    };
    const Case cases[] = {
        {8, 6, 10, 10, 4, 5, 3, 2, 1, 2, {4, 5, 7, 7}, 3, 3},
        {7, 5, 7, 5, 0, 0, 7, 5, 0, 0, {0, 0, 7, 5}, 0, 0},  // one contiguous block
        {6, 4, 6, 9, 0, 3, 6, 3, 0, 1, {0, 3, 6, 6}, 0, 2},  // full rows, other heights
        {10, 1, 10, 1, -3, 0, 5, 1, 1, 0, {0, 0, 2, 1}, -4, 0},
        {10, 1, 10, 1, 1, 0, 5, 1, -3, 0, {4, 0, 6, 1}, 4, 0},
        {1, 10, 1, 10, 0, -3, 1, 5, 0, 1, {0, 0, 1, 2}, 0, -4},
        {1, 10, 1, 10, 0, 1, 1, 5, 0, -3, {0, 4, 1, 6}, 0, 4},
        {8, 8, 8, 8, 2, 3, -4, -2, 1, 1, {2, 3, 6, 5}, 1, 2},  // sizes taken as absolute
        // Width 4 - 2 = 2 (destination), 5 - 1 = 4; height 6 - 1 = 5, then 5 - 2 = 3.
        {5, 5, 4, 6, 2, 1, 100, 100, 1, 2, {2, 1, 4, 4}, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << "," << c.w << "," << c.h << " <- "
                                        << c.sx << "," << c.sy);
        DIB src(c.srcW, c.srcH), dst(c.dstW, c.dstH);
        fillTagged(src);
        dst.fillRect(0, 0, c.dstW, c.dstH, 0xFFFFFFFFu);
        EXPECT_TRUE(src.copyTo(dst, c.dx, c.dy, c.w, c.h, c.sx, c.sy));
        expectPixels(
            dst, c.copied, [&](int32_t x, int32_t y) { return tag(x - c.ox, y - c.oy); },
            [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    }
}

TEST(DibCopyTo, NothingLeftOrEmptyImageFailsAndWritesNothing) {
    DIB src(5, 5), dst(5, 5), empty;
    fillTagged(src);
    dst.fillRect(0, 0, 5, 5, 0u);
    EXPECT_FALSE(src.copyTo(dst, 5, 0, 3, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, 0, 0, 3, 3, 5, 0));
    EXPECT_FALSE(src.copyTo(dst, 0, 0, 0, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, -3, 0, 3, 3, 0, 0));
    EXPECT_FALSE(src.copyTo(dst, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN));
    EXPECT_FALSE(src.copyTo(dst, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    EXPECT_FALSE(empty.copyTo(dst, 0, 0, 4, 4, 0, 0));
    EXPECT_FALSE(src.copyTo(empty, 0, 0, 4, 4, 0, 0));
    EXPECT_EQ(snapshot(dst), std::vector<uint32_t>(25, 0u));
    expectEmpty(empty);
}

TEST(DibResizeFill, KeepsTheTopLeftAndFillsTheRest) {
    struct Case {
        int32_t oldW, oldH, newW, newH;
    };
    // Larger, wider only, smaller, wider but shorter.
    for (const Case& c : {Case{4, 3, 7, 5}, {3, 4, 5, 4}, {6, 5, 3, 2}, {3, 5, 6, 2}}) {
        SCOPED_TRACE(testing::Message()
                     << c.oldW << "x" << c.oldH << " -> " << c.newW << "x" << c.newH);
        DIB d(c.oldW, c.oldH);
        fillTagged(d);
        ASSERT_TRUE(d.resizeFill(c.newW, c.newH, 0xCAFEBABEu));
        expectHeader(d, c.newW, c.newH, 0);
        expectPixels(d, {0, 0, c.oldW, c.oldH}, tag, [](int32_t, int32_t) { return 0xCAFEBABEu; });
    }
    DIB fromEmpty;
    ASSERT_TRUE(fromEmpty.resizeFill(3, 4, 5u));
    expectHeader(fromEmpty, 3, 4, 0);
    EXPECT_EQ(snapshot(fromEmpty), std::vector<uint32_t>(12, 5u));
}

TEST(DibResizeFill, SameOrRefusedSizeLeavesImageAsItWas) {
    DIB d(4, 3);
    fillTagged(d);
    uint32_t* before = d.pixels;
    auto content = snapshot(d);
    EXPECT_TRUE(d.resizeFill(4, 3, 1u));
    for (auto [w, h] : {std::pair{0, 3}, {4, 0}, {-4, -3}, {65536, 65536}, {16384, 65536}}) {
        EXPECT_FALSE(d.resizeFill(w, h, 1u)) << w << "," << h;
    }
    EXPECT_EQ(d.pixels, before);
    EXPECT_EQ(snapshot(d), content);
    expectHeader(d, 4, 3, 3780);  // not even the resolution fields
}

TEST(DibMakeOpaqueRect, SetsAlphaOfTheClippedRectangleKeepingColour) {
    struct Case {
        int32_t x, y, w, h;
        Area opaque;
    };
    const Case cases[] = {
        {0, 0, 3, 2, {0, 0, 3, 2}},
        {-2, 2, 4, 100, {0, 2, 2, 5}},
        // Unlike fillRect, negative sizes do nothing.
        {3, 3, -2, 2, {}},
        {3, 3, 2, -2, {}},
        {3, 3, -2, -2, {}},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, {}},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.w << "," << c.h);
        DIB d(6, 5);
        fillTagged(d);
        EXPECT_TRUE(d.makeOpaqueRect(c.x, c.y, c.w, c.h));
        expectPixels(
            d, c.opaque, [](int32_t x, int32_t y) { return tag(x, y) | 0xFF000000u; }, tag);
    }
    DIB empty;
    EXPECT_FALSE(empty.makeOpaqueRect(0, 0, 1, 1));
}
