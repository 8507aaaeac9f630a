// The clipboard's 32-bit block: what the reader makes of the blocks other
// programs leave, and the sizes a copy refuses to write. The block a copy
// writes is read back byte for byte through the real clipboard in tests/win.
#include "image/clipboard_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "tests/test_support.h"

using namespace testimage;

namespace {

using Read = DibBlockRead;

// Header fields; the defaults describe 3 x 2 pixels of 32 bits, BI_RGB.
struct Fields {
    uint32_t size = 40;
    int32_t w = 3, h = 2;
    uint16_t planes = 1, bits = 32;
    uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
};

// The 40-byte header, `middle` (the rest of a longer header, masks, colour
// table), then `data` bytes numbered 1, 2, 3...; a negative `data` cuts that
// many bytes off the end instead.
Bytes blockOf(const Fields& f, const std::vector<uint32_t>& middle, int data) {
    const BitmapInfoHeader h = {f.size,      f.w, f.h, f.planes,  f.bits, f.compression,
                                f.sizeImage, 0,   0,   f.clrUsed, 0};
    Bytes b(reinterpret_cast<const uint8_t*>(&h), reinterpret_cast<const uint8_t*>(&h + 1));
    const auto* words = reinterpret_cast<const uint8_t*>(middle.data());
    b.insert(b.end(), words, words + middle.size() * 4);
    if (data < 0) b.resize(b.size() + data);
    for (int i = 0; i < data; ++i) b.push_back(static_cast<uint8_t>(i + 1));
    b.shrink_to_fit();  // so that the sanitizer sees any read past the end
    return b;
}

}  // namespace

TEST(ClipboardDibRead, EachHeaderFieldDecidesTheVerdict) {
    const std::vector<uint32_t> grey(256, 0), big(257, 0);
    const std::vector<uint32_t> rgba = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    std::vector<uint32_t> v5 = rgba;  // the V5 header past 40 bytes, masks first
    v5.resize(21);
    struct Case {
        const char* what;
        Fields f;
        std::vector<uint32_t> middle;
        int data;
        Read expected;
    };
    const Case cases[] = {
        {"valid", {}, {}, 24, Read::Taken},
        {"3 bytes", {}, {}, -37, Read::Damaged},
        {"header size 41", {.size = 41}, {}, 24, Read::Damaged},
        {"header past the block", {.size = 124}, {}, 24, Read::Damaged},
        {"V5 header with masks", {.size = 124, .compression = 3}, v5, 24, Read::Taken},
        {"width -3", {.w = -3}, {}, 24, Read::Damaged},
        {"height INT32_MIN", {.h = INT32_MIN}, {}, 24, Read::Damaged},
        {"bitfields, masks cut", {.compression = 3}, {}, 8, Read::Damaged},
        {"alpha bitfields", {.compression = 6}, rgba, 24, Read::Taken},
        {"red mask with a gap", {.compression = 3}, {0xF0F0000, 0xFF00, 0xFF}, 24, Read::NotDirect},
        {"24 bits, rows padded to 12", {.bits = 24}, {}, 24, Read::NotDirect},
        {"32 bits, one byte short", {}, {}, 23, Read::Damaged},
        {"8 bits, 257 colours", {.bits = 8, .clrUsed = 257}, big, 8, Read::Damaged},
        {"32 bits, 2 colours skipped", {.clrUsed = 2}, {0xEEEEEEEE, 0xEEEEEEEE}, 24, Read::Taken},
        {"32 bits, 2^32 - 1 colours", {.clrUsed = 0xFFFFFFFF}, {}, 24, Read::Damaged},
        {"widest, tallest", {.w = INT32_MAX, .h = INT32_MAX}, {}, 24, Read::Damaged},
        {"RLE8", {.bits = 8, .compression = 1, .sizeImage = 10}, grey, 10, Read::NotDirect},
        {"RLE8, cut", {.bits = 8, .compression = 1, .sizeImage = 11}, grey, 10, Read::Damaged},
        {"PNG inside", {.bits = 0, .compression = 5, .sizeImage = 10}, {}, 10, Read::NotDirect},
        {"compression 7", {.compression = 7}, {}, 24, Read::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes b = blockOf(c.f, c.middle, c.data);
        DIB target(1, 1);
        target.pixels[0] = 0x12345678u;
        const Read got = readClipboardDib(b.data(), b.size(), target);
        EXPECT_EQ(got, c.expected);
        if (got == Read::Taken) {  // the last 24 bytes are the pixels, bottom row first
            ASSERT_TRUE(target.width() == 3 && target.height() == 2);
            EXPECT_EQ(std::memcmp(target.pixels, &b[b.size() - 24], 24), 0);
        } else {
            EXPECT_TRUE(target.width() == 1 && target.pixels[0] == 0x12345678u);
        }
    }
}

TEST(ClipboardImageBlock, SizeLimitsAndRefusalsThatWriteNothing) {
    EXPECT_EQ(clipboardImageBlockSize(1, 1073741813), 4294967292u);  // the most 32 bits hold
    for (auto [w, h] : {std::pair(0, 2), {3, -1}, {1, 1073741814}, {65536, 65536}}) {
        EXPECT_EQ(clipboardImageBlockSize(w, h), 0u) << w << " x " << h;
    }

    DIB source(3, 2), empty;
    fillTagged(source);
    Bytes b(100, 0xCC);
    // Sizes one off, no block, a misaligned one, no source, no overlap.
    EXPECT_FALSE(writeClipboardImageBlock(b.data(), 63, source, 0, 0, 3, 2, 0));
    EXPECT_FALSE(writeClipboardImageBlock(b.data(), 65, source, 0, 0, 3, 2, 0));
    EXPECT_FALSE(writeClipboardImageBlock(nullptr, 64, source, 0, 0, 3, 2, 0));
    EXPECT_FALSE(writeClipboardImageBlock(b.data() + 2, 64, source, 0, 0, 3, 2, 0));
    EXPECT_FALSE(writeClipboardImageBlock(b.data(), 64, empty, 0, 0, 3, 2, 0));
    EXPECT_FALSE(writeClipboardImageBlock(b.data(), 64, source, 3, 0, 3, 2, 0));
    EXPECT_EQ(b, Bytes(100, 0xCC));
}
