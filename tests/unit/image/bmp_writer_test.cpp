// BMP writers: exact headers and byte layouts of the 32-bit, 24-bit and grey
// mask files, and failure on short writes and oversized images.
#include "image/bmp_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/test_support.h"

namespace {

uint32_t le32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// "BM", file size, reserved, pixel offset, then the 40-byte header: size,
// width, height, planes | bits << 16, compression, image size, resolutions,
// colours used, colours important.
using Header = std::array<uint32_t, 14>;

Header headerOf(const Bytes& f) {
    Header h{uint32_t(f[0]) | uint32_t(f[1]) << 8};
    for (size_t i = 1; i < h.size(); ++i) h[i] = le32(f, 2 + 4 * (i - 1));
    return h;
}

bool write(const DIB& image, int bits, ByteSink& sink) {
    return bits == 8 ? encodeGreyMaskBmp(image, sink) : encodeBmp(image, bits, sink);
}

Bytes encodedBmp(const DIB& image, int bits) {
    MemorySink sink;
    EXPECT_TRUE(write(image, bits, sink));
    return sink.bytes();
}

// The headers of a 3 x 2 image at each depth, and the mask's grey ramp.
TEST(BmpWrite, HeadersAreByteExact) {
    const DIB image(3, 2);
    const Header headers[] = {
        {0x4D42, 78, 0, 54, 40, 3, 2, 1 | 24 << 16, 0, 24, 3780, 3780, 0, 0},
        {0x4D42, 78, 0, 54, 40, 3, 2, 1 | 32 << 16, 0, 24, 3780, 3780, 0, 0},
        {0x4D42, 1086, 0, 1078, 40, 3, 2, 1 | 8 << 16, 0, 8, 3780, 3780, 256, 0},
    };
    for (const Header& header : headers) {
        const Bytes f = encodedBmp(image, int(header[7] >> 16));
        ASSERT_EQ(f.size(), header[1]);
        EXPECT_EQ(headerOf(f), header);
    }
    const Bytes mask = encodedBmp(image, 8);
    for (uint32_t i = 0; i < 256; ++i) EXPECT_EQ(le32(mask, 54 + 4 * i), i * 0x010101u) << i;
}

// Rows bottom-up and padded to 4 bytes: all four bytes at 32 bits, the colour
// bytes whatever the alpha at 24, the alpha alone in the mask. The widths
// reach every conversion loop and tail, and the rows run past one block.
TEST(BmpWrite, PixelRowsAreExactAcrossConversionBlocks) {
    for (int32_t width : {1, 2, 5, 23, 90001}) {
        const int32_t height = width > 1000 ? 3 : 70001 / width;
        DIB image(width, height);
        ASSERT_TRUE(image.isValid());
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) image.row(y)[x] = uint32_t(x * 2654435761u + y);
        }
        const Bytes f32 = encodedBmp(image, 32), f24 = encodedBmp(image, 24),
                    mask = encodedBmp(image, 8);
        const uint32_t stride24 = (3 * width + 3) / 4 * 4, stride8 = (width + 3) / 4 * 4;
        ASSERT_EQ(f32.size(), 54u + size_t(4 * width) * height);
        ASSERT_EQ(f24.size(), 54u + size_t(stride24) * height);
        ASSERT_EQ(mask.size(), 1078u + size_t(stride8) * height);
        bool same = true;
        for (int32_t r = 0; r < height && same; ++r) {
            const uint32_t* p = image.row(height - 1 - r);
            const uint8_t* row24 = &f24[54 + size_t(r) * stride24];
            const uint8_t* row8 = &mask[1078 + size_t(r) * stride8];
            same = std::memcmp(&f32[54 + size_t(r) * 4 * width], p, 4 * width) == 0;
            for (int32_t x = 0; x < width; ++x) {
                same = same && std::memcmp(row24 + 3 * x, p + x, 3) == 0 &&
                       row8[x] == uint8_t(p[x] >> 24);
            }
            for (uint32_t pad = 3 * width; pad < stride24; ++pad) same = same && row24[pad] == 0;
            for (uint32_t pad = width; pad < stride8; ++pad) same = same && row8[pad] == 0;
        }
        EXPECT_TRUE(same) << width;
    }
}

TEST(BmpWrite, EmptyImageOtherDepthsShortWritesAndFilesPast4GiBFail) {
    DIB empty, image(300, 400);
    image.fillRect(0, 0, 300, 400, 0x80402010u);
    for (int bits : {32, 24, 8}) {
        SCOPED_TRACE(bits);
        MemorySink none;
        EXPECT_FALSE(write(empty, bits, none));
        EXPECT_TRUE(none.bytes().empty());
        const size_t size = encodedBmp(image, bits).size();
        for (size_t capacity : {size_t(0), size_t(13), size_t(1077), size - 1}) {
            FullSink sink(capacity);
            EXPECT_FALSE(write(image, bits, sink)) << capacity;
        }
        FullSink exact(size);
        EXPECT_TRUE(write(image, bits, exact));
    }
    MemorySink sink;
    EXPECT_FALSE(encodeBmp(image, 16, sink));
    // A header that claims a size no file may have is refused before a
    // single pixel is read.
    DIB fake;
    uint32_t onePixel = 0;
    fake.pixels = &onePixel;
    fake.info.header.biWidth = 40000;
    fake.info.header.biHeight = 30000;  // 4.8 GB at 32 bits, 3.6 GB at 24 bits
    EXPECT_FALSE(encodeBmp(fake, 32, sink));
    fake.info.header.biWidth = 70000;
    fake.info.header.biHeight = 65000;  // 13.6 GB at 24 bits, 4.55 GB as a mask
    EXPECT_FALSE(encodeBmp(fake, 24, sink));
    EXPECT_FALSE(encodeGreyMaskBmp(fake, sink));
    EXPECT_TRUE(sink.bytes().empty());
    fake.pixels = nullptr;  // not ours to free
}

}  // namespace
