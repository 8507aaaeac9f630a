// BMP writers: exact headers and byte layouts of the 32-bit, 24-bit and grey
// mask files, and failure on short writes and oversized images.
#include "image/bmp_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t le32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint32_t le16(const Bytes& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }

uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// 3 x 2 with six different pixels; (x, y) = (1, 0) is fully transparent magenta.
void fillThreeByTwo(DIB& image) {
    ASSERT_TRUE(image.create(3, 2));
    image.row(0)[0] = bgra(1, 2, 3, 4);
    image.row(0)[1] = bgra(255, 0, 255, 0);
    image.row(0)[2] = bgra(7, 8, 9, 10);
    image.row(1)[0] = bgra(11, 12, 13, 14);
    image.row(1)[1] = bgra(15, 16, 17, 255);
    image.row(1)[2] = bgra(19, 20, 21, 128);
}

struct Header {
    uint32_t fileSize, offBits, width, height, planes, bits, compression, sizeImage, xPels, yPels,
        clrUsed, clrImportant;
};

Header headerOf(const Bytes& f) {
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(le32(f, 6), 0u);   // both reserved words
    EXPECT_EQ(le32(f, 14), 40u); // biSize
    return {le32(f, 2),  le32(f, 10), le32(f, 18), le32(f, 22), le16(f, 26), le16(f, 28),
            le32(f, 30), le32(f, 34), le32(f, 38), le32(f, 42), le32(f, 46), le32(f, 50)};
}

Bytes encode(const DIB& image, int bits) {
    MemorySink sink;
    EXPECT_TRUE(encodeBmp(image, bits, sink));
    return sink.bytes();
}

Bytes encodeMask(const DIB& image) {
    MemorySink sink;
    EXPECT_TRUE(encodeGreyMaskBmp(image, sink));
    return sink.bytes();
}

class FullSink final : public ByteSink {
public:
    explicit FullSink(size_t capacity) : capacity_(capacity) {}
    bool write(const void*, size_t size) override {
        if (size > capacity_) return false;
        capacity_ -= size;
        return true;
    }

private:
    size_t capacity_;
};

TEST(BmpWrite, ThreeByTwoAt24BitsIs78BytesWithPaddedBottomUpRows) {
    DIB image;
    fillThreeByTwo(image);
    const Bytes f = encode(image, 24);
    ASSERT_EQ(f.size(), 78u);
    const Header h = headerOf(f);
    EXPECT_EQ(h.fileSize, 78u);
    EXPECT_EQ(h.offBits, 54u);
    EXPECT_EQ(h.width, 3u);
    EXPECT_EQ(h.height, 2u);
    EXPECT_EQ(h.planes, 1u);
    EXPECT_EQ(h.bits, 24u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 24u);
    EXPECT_EQ(h.xPels, 3780u);
    EXPECT_EQ(h.yPels, 3780u);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(h.clrImportant, 0u);
    // The bottom row first; transparent magenta keeps its colour bytes.
    const Bytes rows(f.begin() + 54, f.end());
    EXPECT_EQ(rows, (Bytes{11, 12, 13, 15, 16, 17, 19, 20, 21, 0, 0, 0,  //
                           1,  2,  3,  255, 0, 255, 7,  8,  9,  0, 0, 0}));
}

TEST(BmpWrite, ThirtyTwoBitsKeepAlphaInMemoryOrder) {
    DIB image;
    fillThreeByTwo(image);
    const Bytes f = encode(image, 32);
    ASSERT_EQ(f.size(), 54u + 24u);
    const Header h = headerOf(f);
    EXPECT_EQ(h.fileSize, 78u);
    EXPECT_EQ(h.offBits, 54u);
    EXPECT_EQ(h.bits, 32u);
    EXPECT_EQ(h.sizeImage, 24u);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(std::memcmp(f.data() + 54, image.pixels, 24), 0);
    EXPECT_EQ(f[54 + 3], 14);  // alpha of the bottom-left pixel
}

TEST(BmpWrite, GreyMaskOfThreeByTwoIs1078Plus8BytesOfAlpha) {
    DIB image;
    fillThreeByTwo(image);
    const Bytes f = encodeMask(image);
    ASSERT_EQ(f.size(), 1078u + 8u);
    const Header h = headerOf(f);
    EXPECT_EQ(h.fileSize, 1086u);
    EXPECT_EQ(h.offBits, 1078u);
    EXPECT_EQ(h.width, 3u);
    EXPECT_EQ(h.height, 2u);
    EXPECT_EQ(h.planes, 1u);
    EXPECT_EQ(h.bits, 8u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 8u);
    EXPECT_EQ(h.xPels, 3780u);
    EXPECT_EQ(h.yPels, 3780u);
    EXPECT_EQ(h.clrUsed, 256u);
    EXPECT_EQ(h.clrImportant, 0u);
    for (uint32_t i = 0; i < 256; ++i) {
        EXPECT_EQ(le32(f, 54 + 4 * i), i | i << 8 | i << 16) << i;
    }
    EXPECT_EQ(Bytes(f.begin() + 1078, f.end()), (Bytes{14, 255, 128, 0, 4, 0, 10, 0}));
}

TEST(BmpWrite, StrideRoundsUpToWholeWords) {
    EXPECT_EQ(bmpStride(3, 24), 12u);
    EXPECT_EQ(bmpStride(4, 24), 12u);
    EXPECT_EQ(bmpStride(5, 24), 16u);
    EXPECT_EQ(bmpStride(1, 8), 4u);
    EXPECT_EQ(bmpStride(5, 8), 8u);
    EXPECT_EQ(bmpStride(3, 32), 12u);
    EXPECT_EQ(bmpStride(0x7FFFFFFF, 32), 0u);  // does not fit in 32 bits
    EXPECT_EQ(bmpStride(0, 32), 0u);
}

// Rows wider than one conversion block, and more rows than one block holds.
TEST(BmpWrite, LargeImagesConvertEveryRowAcrossBlocks) {
    for (int32_t width : {1, 2, 5, 23, 90001}) {  // every conversion loop and tail
        const int32_t height = width > 1000 ? 3 : 70001 / width;
        DIB image(width, height);
        ASSERT_TRUE(image.isValid());
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) image.row(y)[x] = uint32_t(x * 2654435761u + y);
        }
        const Bytes f24 = encode(image, 24);
        const Bytes mask = encodeMask(image);
        const uint32_t stride24 = bmpStride(width, 24), stride8 = bmpStride(width, 8);
        ASSERT_EQ(f24.size(), 54u + size_t(stride24) * height);
        ASSERT_EQ(mask.size(), 1078u + size_t(stride8) * height);
        bool same = true;
        for (int32_t r = 0; r < height && same; ++r) {  // file rows are bottom-up
            const uint32_t* p = image.row(height - 1 - r);
            const uint8_t* row24 = &f24[54 + size_t(r) * stride24];
            const uint8_t* row8 = &mask[1078 + size_t(r) * stride8];
            for (int32_t x = 0; x < width; ++x) {
                same = same && row24[3 * x] == uint8_t(p[x]) &&
                       row24[3 * x + 1] == uint8_t(p[x] >> 8) &&
                       row24[3 * x + 2] == uint8_t(p[x] >> 16) && row8[x] == uint8_t(p[x] >> 24);
            }
            for (uint32_t pad = 3 * width; pad < stride24; ++pad) same = same && row24[pad] == 0;
            for (uint32_t pad = width; pad < stride8; ++pad) same = same && row8[pad] == 0;
        }
        EXPECT_TRUE(same) << width;
    }
}

TEST(BmpWrite, EmptyImageAndOtherDepthsAreRefused) {
    DIB empty, image(2, 2);
    MemorySink sink;
    EXPECT_FALSE(encodeBmp(empty, 32, sink));
    EXPECT_FALSE(encodeBmp(empty, 24, sink));
    EXPECT_FALSE(encodeGreyMaskBmp(empty, sink));
    EXPECT_FALSE(encodeBmp(image, 16, sink));
    EXPECT_FALSE(encodeBmp(image, 8, sink));
    EXPECT_TRUE(sink.bytes().empty());
}

TEST(BmpWrite, EveryShortWriteFailsTheSave) {
    DIB image(300, 400);
    image.fillRect(0, 0, 300, 400, 0x80402010u);
    for (int kind = 0; kind < 3; ++kind) {
        MemorySink whole;
        const bool ok = kind == 2 ? encodeGreyMaskBmp(image, whole)
                                  : encodeBmp(image, kind == 0 ? 32 : 24, whole);
        ASSERT_TRUE(ok);
        const size_t size = whole.bytes().size();
        for (size_t capacity : {size_t(0), size_t(13), size_t(54), size_t(1077), size / 2,
                                size - 1}) {
            FullSink sink(capacity);
            const bool written = kind == 2 ? encodeGreyMaskBmp(image, sink)
                                           : encodeBmp(image, kind == 0 ? 32 : 24, sink);
            EXPECT_FALSE(written) << kind << " " << capacity;
        }
        FullSink exact(size);
        EXPECT_TRUE(kind == 2 ? encodeGreyMaskBmp(image, exact)
                              : encodeBmp(image, kind == 0 ? 32 : 24, exact));
    }
}

// A header that claims a size no file may have: the writers must refuse it
// before they touch a single pixel.
TEST(BmpWrite, FilesPast4GiBAreRefusedBeforeReadingPixels) {
    DIB fake;
    uint32_t onePixel = 0;
    fake.pixels = &onePixel;
    fake.info.header.biWidth = 40000;
    fake.info.header.biHeight = 30000;  // 4.8 GB at 32 bits, 3.6 GB at 24 bits
    MemorySink sink;
    EXPECT_FALSE(encodeBmp(fake, 32, sink));
    fake.info.header.biWidth = 70000;
    fake.info.header.biHeight = 65000;  // 13.6 GB at 24 bits, 4.55 GB as a mask
    EXPECT_FALSE(encodeBmp(fake, 24, sink));
    EXPECT_FALSE(encodeGreyMaskBmp(fake, sink));
    EXPECT_TRUE(sink.bytes().empty());
    fake.pixels = nullptr;  // not ours to free
}

}  // namespace
