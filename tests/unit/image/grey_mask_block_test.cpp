// The 8-bit grey block of the mask copy: the grey mask BMP file without its
// file header, and zero bytes where the rectangle leaves the canvas.
#include "image/grey_mask_block.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "image/bmp_writer.h"
#include "tests/test_support.h"

namespace {

// The block for the rectangle, or an empty vector when none can be made.
Bytes build(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    const size_t size = greyMaskBlockSize(canvas, x, y, w, h);
    if (size == 0) return {};
    Bytes block(size, 0xCC);  // not zeroed: the writer must write every byte
    EXPECT_TRUE(writeGreyMaskBlock(block.data(), size, canvas, x, y, w, h));
    return block;
}

}  // namespace

TEST(GreyMaskBlock, BytesOutsideTheCanvasAreZero) {
    DIB canvas(4, 4);
    testimage::fill(canvas, [](int32_t x, int32_t y) { return uint32_t(16 * y + x + 1) << 24; });
    // From (-1, 2), 3 x 3: column 0 and row 2 of the block lie outside. Rows
    // bottom-up: block row 2 (outside), then canvas rows 3 and 2.
    const Bytes b = build(canvas, -1, 2, 3, 3);
    ASSERT_EQ(b.size(), 1064u + 4u * 3u);
    EXPECT_EQ(Bytes(b.begin() + 1064, b.end()), (Bytes{0, 0, 0, 0, 0, 49, 50, 0, 0, 33, 34, 0}));
}

TEST(GreyMaskBlock, NoBlockWithoutOverlapSizeOrCanvasOrOfTheWrongSize) {
    const DIB canvas(4, 4), empty;
    for (auto [x, y, w, h] : {std::array{4, 0, 2, 2}, {0, 0, 2, -1}, {0, 0, 65536, 65536}}) {
        EXPECT_EQ(greyMaskBlockSize(canvas, x, y, w, h), 0u)
            << x << "," << y << " " << w << "x" << h;
    }
    EXPECT_EQ(greyMaskBlockSize(empty, 0, 0, 2, 2), 0u);
    // The largest block whose pixel bytes the header's 32 bits hold.
    EXPECT_EQ(greyMaskBlockSize(canvas, 0, 0, 65536, 65535), 65536ull * 65535ull + 1064ull);
    Bytes block(2000, 0xCC);
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1063 + 8 * 4, canvas, 0, 0, 5, 4));
    EXPECT_FALSE(writeGreyMaskBlock(block.data(), 1065 + 8 * 4, canvas, 0, 0, 5, 4));
    EXPECT_FALSE(writeGreyMaskBlock(nullptr, 1064 + 8 * 4, canvas, 0, 0, 5, 4));
    EXPECT_EQ(block, Bytes(2000, 0xCC));
}
