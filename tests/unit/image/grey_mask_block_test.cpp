// The 8-bit grey block of the mask copy: header, grey ramp, row layout.
#include "image/grey_mask_block.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "tests/unit/edit/test_image.h"

using testimage::fill;

namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

// The block for the rectangle, or an empty vector when none can be made.
std::vector<uint8_t> build(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    const size_t size = greyMaskBlockSize(canvas, x, y, w, h);
    if (size == 0) return {};
    std::vector<uint8_t> block(size, 0xCC);  // not zeroed: the writer must write every byte
    EXPECT_TRUE(writeGreyMaskBlock(block.data(), size, canvas, x, y, w, h));
    return block;
}

// A canvas whose alpha names the position: alpha = 16 * y + x + 1.
void fillAlphaTagged(DIB& canvas) {
    fill(canvas, [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(16 * y + x + 1) << 24 | 0x00808080u;
    });
}

}  // namespace

TEST(GreyMaskBlock, ThreeByTwoHasHeaderRampAndEightPixelBytes) {
    DIB canvas(3, 2);
    fillAlphaTagged(canvas);
    const std::vector<uint8_t> b = build(canvas, 0, 0, 3, 2);
    ASSERT_EQ(b.size(), 40u + 1024u + 8u);
    EXPECT_EQ(u32(b, 0), 40u);
    EXPECT_EQ(u32(b, 4), 3u);
    EXPECT_EQ(u32(b, 8), 2u);
    EXPECT_EQ(u16(b, 12), 1u);
    EXPECT_EQ(u16(b, 14), 8u);
    EXPECT_EQ(u32(b, 16), 0u);
    EXPECT_EQ(u32(b, 20), 8u);  // biSizeImage: stride 4 x 2 rows
    EXPECT_EQ(u32(b, 24), 3780u);
    EXPECT_EQ(u32(b, 28), 3780u);
    EXPECT_EQ(u32(b, 32), 256u);
    EXPECT_EQ(u32(b, 36), 0u);
    for (uint32_t i = 0; i < 256; ++i) EXPECT_EQ(u32(b, 40 + 4 * i), i * 0x010101u) << i;
    // Rows bottom-up: image row 1 first, each padded with one zero byte.
    const std::vector<uint8_t> pixels(b.begin() + 1064, b.end());
    EXPECT_EQ(pixels, (std::vector<uint8_t>{17, 18, 19, 0, 1, 2, 3, 0}));
}

TEST(GreyMaskBlock, FivePixelRowsTakeEightBytesWithThreeZeros) {
    DIB canvas(5, 3);
    fillAlphaTagged(canvas);
    const std::vector<uint8_t> b = build(canvas, 0, 0, 5, 3);
    ASSERT_EQ(b.size(), 1064u + 8u * 3u);
    EXPECT_EQ(u32(b, 20), 24u);
    for (int32_t row = 0; row < 3; ++row) {
        const size_t start = 1064 + 8 * static_cast<size_t>(row);
        const int32_t y = 2 - row;
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(b[start + x], 16 * y + x + 1) << row << "," << x;
        for (int32_t pad = 5; pad < 8; ++pad) EXPECT_EQ(b[start + pad], 0) << row << "," << pad;
    }
}

TEST(GreyMaskBlock, BytesOutsideTheCanvasAreZero) {
    DIB canvas(4, 4);
    fillAlphaTagged(canvas);
    // From (-1, 2), 3 x 3: column 0 and row 2 of the block lie outside.
    const std::vector<uint8_t> b = build(canvas, -1, 2, 3, 3);
    ASSERT_EQ(b.size(), 1064u + 4u * 3u);
    const std::vector<uint8_t> pixels(b.begin() + 1064, b.end());
    // Bottom-up: block row 2 (outside), row 1 = canvas row 3, row 0 = canvas row 2.
    EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 49, 50, 0, 0, 33, 34, 0}));
}

TEST(GreyMaskBlock, NoBlockWithoutOverlapSizeOrCanvas) {
    DIB canvas(4, 4), empty;
    fillAlphaTagged(canvas);
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
    DIB canvas(3, 2);
    fillAlphaTagged(canvas);
    std::vector<uint8_t> block(2000, 0xCC);
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1071, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1073, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(nullptr, 1072, canvas, 0, 0, 3, 2));
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1072, canvas, 3, 0, 3, 2));
    EXPECT_EQ(block, std::vector<uint8_t>(2000, 0xCC));
    EXPECT_EQ(greyMaskStride(1), 4u);
    EXPECT_EQ(greyMaskStride(4), 4u);
    EXPECT_EQ(greyMaskStride(5), 8u);
}
