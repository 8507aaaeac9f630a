// The 8-bit grey block of the mask copy: header, grey ramp, row layout.
#include "image/grey_mask_block.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "tests/unit/edit/test_image.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t u32(const Bytes& b, size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// The block for the rectangle, or an empty vector when none can be made.
Bytes build(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    const size_t size = greyMaskBlockSize(canvas, x, y, w, h);
    if (size == 0) return {};
    Bytes block(size, 0xCC);  // not zeroed: the writer must write every byte
    EXPECT_TRUE(writeGreyMaskBlock(block.data(), size, canvas, x, y, w, h));
    return block;
}

// A canvas whose alpha names the position: alpha = 16 * y + x + 1.
struct AlphaTagged : DIB {
    AlphaTagged(int32_t w, int32_t h) : DIB(w, h) {
        testimage::fill(*this, [](int32_t x, int32_t y) {
            return static_cast<uint32_t>(16 * y + x + 1) << 24 | 0x00808080u;
        });
    }
};

}  // namespace

TEST(GreyMaskBlock, ThreeByTwoHasHeaderRampAndEightPixelBytes) {
    const Bytes b = build(AlphaTagged(3, 2), 0, 0, 3, 2);
    ASSERT_EQ(b.size(), 40u + 1024u + 8u);
    // Size, width, height, planes 1 | 8 bits, BI_RGB, biSizeImage 8 (stride 4
    // x 2 rows), resolutions, 256 colours used, 0 important.
    const uint32_t header[10] = {40, 3, 2, 1 | 8 << 16, 0, 8, 3780, 3780, 256, 0};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(u32(b, 4 * i), header[i]) << i;
    for (uint32_t i = 0; i < 256; ++i) EXPECT_EQ(u32(b, 40 + 4 * i), i * 0x010101u) << i;
    // Rows bottom-up: image row 1 first, each padded with one zero byte.
    EXPECT_EQ(Bytes(b.begin() + 1064, b.end()), (Bytes{17, 18, 19, 0, 1, 2, 3, 0}));
}

TEST(GreyMaskBlock, FivePixelRowsTakeEightBytesWithThreeZeros) {
    const Bytes b = build(AlphaTagged(5, 3), 0, 0, 5, 3);
    ASSERT_EQ(b.size(), 1064u + 8u * 3u);
    EXPECT_EQ(u32(b, 20), 24u);
    EXPECT_EQ(Bytes(b.begin() + 1064, b.end()), (Bytes{33, 34, 35, 36, 37, 0, 0, 0,  //
                                                       17, 18, 19, 20, 21, 0, 0, 0,  //
                                                       1,  2,  3,  4,  5,  0, 0, 0}));
}

TEST(GreyMaskBlock, BytesOutsideTheCanvasAreZero) {
    // From (-1, 2), 3 x 3: column 0 and row 2 of the block lie outside.
    const Bytes b = build(AlphaTagged(4, 4), -1, 2, 3, 3);
    ASSERT_EQ(b.size(), 1064u + 4u * 3u);
    // Bottom-up: block row 2 (outside), row 1 = canvas row 3, row 0 = canvas row 2.
    EXPECT_EQ(Bytes(b.begin() + 1064, b.end()), (Bytes{0, 0, 0, 0, 0, 49, 50, 0, 0, 33, 34, 0}));
}

TEST(GreyMaskBlock, NoBlockWithoutOverlapSizeOrCanvas) {
    const AlphaTagged canvas(4, 4);
    const DIB empty;
    EXPECT_EQ(greyMaskBlockSize(canvas, 4, 0, 2, 2), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, -2, 2, 2), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 0, 2), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 2, -1), 0u);
    EXPECT_EQ(greyMaskBlockSize(empty, 0, 0, 2, 2), 0u);
    // A byte count that does not fit the header's 32 bits.
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 70000, 70000), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, INT_MAX, 2), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 65536, 65536), 0u);
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 65536, 65535), 65536ull * 65535ull + 1064ull);
}

TEST(GreyMaskBlock, WriterRefusesABlockOfTheWrongSize) {
    const AlphaTagged canvas(3, 2);
    Bytes block(2000, 0xCC);
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1071, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1073, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(nullptr, 1072, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1072, canvas, 3, 0, 3, 2));
    EXPECT_EQ(block, Bytes(2000, 0xCC));
    EXPECT_EQ(greyMaskStride(1), 4u);
    EXPECT_EQ(greyMaskStride(4), 4u);
    EXPECT_EQ(greyMaskStride(5), 8u);
}
