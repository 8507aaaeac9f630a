// The pixel buffer: DIB and clipRegion.
#include "image/dib.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>

#include "tests/test_support.h"

using namespace testimage;

namespace {

// The header block and the unused colour entry, byte for byte.
void expectHeader(const DIB& d, int32_t w, int32_t h, int32_t pelsPerMeter) {
    const BitmapInfo want{{40, w, h, 1, 32, 0, 0, pelsPerMeter, pelsPerMeter, 0, 0}, {0}};
    EXPECT_EQ(std::memcmp(&d.info, &want, sizeof want), 0) << w << "x" << h;
}

// A rectangle [x0, x1) x [y0, y1); empty when x0 >= x1.
struct Area {
    int32_t x0, y0, x1, y1;
    bool has(int32_t x, int32_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

}  // namespace

TEST(DibCreate, SetsTheHeaderOrFailsLeavingTheImageAsItWasOrEmptyPast32Bits) {
    DIB d(8, 8);
    ASSERT_TRUE(d.create(4, 3));  // recreating discards the old pixels
    expectHeader(d, 4, 3, 3780);
    fillTagged(d);  // ASan catches an undersized array
    const uint32_t* before = d.pixels;
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-5, 5}, {INT_MIN, INT_MIN}}) {
        EXPECT_FALSE(d.create(w, h)) << w << "," << h;
    }
    EXPECT_EQ(d.pixels, before);
    EXPECT_TRUE(pixelsAre(d, tag));
    // 16384 x 65536 is exactly 2^32 bytes: one too many; the old image is released first.
    for (auto [w, h] : {std::pair{16384, 65536}, {65536, 16384}, {INT_MAX, 1}}) {
        DIB big(8, 8), constructed(w, h);
        EXPECT_FALSE(big.create(w, h)) << w << "," << h;
        EXPECT_TRUE(!big.pixels && big.width() == 0 && !constructed.pixels &&
                    constructed.width() == 0);
    }
}

TEST(DibFillRect, FillsOrMakesOpaqueExactlyTheClippedRectangle) {
    struct Case {
        int32_t x, y, w, h;
        Area filled;
    };
    const Case cases[] = {
        {2, 3, 4, 2, {2, 3, 6, 5}},
        {5, 5, -3, -3, {5, 5, 8, 8}},     // negative sizes fill right and down
        {-2, -3, 5, 5, {0, 0, 3, 2}},     // ends come from the unclamped start
        {4, 3, 100, 100, {4, 3, 10, 8}},  // cut at the right and bottom
        {-1, -1, INT_MAX, INT_MAX, {0, 0, 10, 8}},
        {0, 0, 0, 5, {}},                          // nothing to do, still a success
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, {}},  // |INT_MIN| reaches 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.w << "," << c.h);
        DIB d(10, 8);
        fillTagged(d);
        EXPECT_TRUE(d.fillRect(c.x, c.y, c.w, c.h, 0x11223344u));
        EXPECT_TRUE(pixelsAre(
            d, [&](int32_t x, int32_t y) { return c.filled.has(x, y) ? 0x11223344u : tag(x, y); }));
        // Making opaque clips alike, but negative sizes do nothing.
        const bool opaque = c.w > 0 && c.h > 0;
        fillTagged(d);
        EXPECT_TRUE(d.makeOpaqueRect(c.x, c.y, c.w, c.h));
        EXPECT_TRUE(pixelsAre(d, [&](int32_t x, int32_t y) {
            return opaque && c.filled.has(x, y) ? tag(x, y) | 0xFF000000u : tag(x, y);
        }));
    }
    EXPECT_FALSE(DIB().fillRect(0, 0, 1, 1, 1u) || DIB().makeOpaqueRect(0, 0, 1, 1));
}

TEST(ClipRegion, CutsAgainstBothImagesInTheStatedOrderWithoutWrapping) {
    using Clip = std::array<int32_t, 6>;  // dx, dy, w, h, sx, sy
    struct Case {
        Clip in;
        int32_t dstW, dstH, srcW, srcH;
        bool left;
        Clip out;
    };
    const Case cases[] = {
        {{-3, -2, 10, 10, 4, 5}, 100, 100, 100, 100, true, {0, 0, 7, 8, 7, 7}},
        {{4, 5, 10, 10, -3, -2}, 100, 100, 100, 100, true, {7, 7, 7, 8, 0, 0}},
        // The destination step moves sx from -3 to -1; the source step then dx to 1.
        {{-2, 0, 10, 1, -3, 0}, 100, 100, 100, 100, true, {1, 0, 7, 1, 0, 0}},
        // The source step pushes dx past the destination: the width goes negative.
        {{-1, 0, 50, 1, -20, 0}, 10, 10, 100, 100, false, {19, 0, -9, 1, 0, 0}},
        // Cut to the destination first (7), then to the source (4).
        {{5, 0, 10, 1, 2, 0}, 12, 10, 6, 10, true, {5, 0, 4, 1, 2, 0}},
        {{-1, -1, INT_MAX, INT_MAX, 0, 0}, 10, 10, 10, 10, true, {0, 0, 9, 9, 1, 1}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, 10, 10, 10, 10, false, {}},
        {{0, 0, 5, 5, 0, 10}, 10, 10, 10, 10, false, {}},
    };
    for (const Case& c : cases) {
        Clip r = c.in;
        EXPECT_EQ(clipRegion(r[0], r[1], r[2], r[3], r[4], r[5], c.dstW, c.dstH, c.srcW, c.srcH),
                  c.left)
            << testing::PrintToString(c.in);
        if (c.left || c.out != Clip{}) {
            EXPECT_EQ(r, c.out);
        }
    }
}
