// The .bmp check against files our writer makes and damaged copies of them.
#include "image/bmp_file_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/bmp_writer.h"
#include "tests/test_support.h"

namespace {

Bytes withWord(Bytes file, size_t at, uint32_t value) {
    std::memcpy(file.data() + at, &value, 4);
    return file;
}

Bytes bmpOf(int32_t w, int32_t h, int bits) {
    DIB image(w, h);
    MemorySink sink;
    EXPECT_TRUE(bits == 8 ? encodeGreyMaskBmp(image, sink) : encodeBmp(image, bits, sink));
    return sink.bytes();
}

}  // namespace

TEST(BmpFileCheck, EveryPartMustLieInsideTheFile) {
    using enum BmpFileCheck;
    const Bytes bmp = bmpOf(5, 3, 24);  // 54 bytes of headers, 3 rows of 16
    // The old 12-byte header: 5 x 3 at 1 bit, two colours of 3 bytes, rows of 4.
    Bytes core = {'B', 'M', 44, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,  // size 44, pixels at 32
                  12,  0,   0,  0, 5, 0, 3, 0, 1, 0, 1,  0};       // 5 x 3, 1 plane, 1 bit
    core.resize(44, 0xFF);
    const struct {
        const char* what;
        Bytes file;
        BmpFileCheck expected;
    } cases[] = {
        {"24 bits", bmp, Whole},
        {"grey mask and its colour table", bmpOf(5, 3, 8), Whole},
        {"one byte short", Bytes(bmp.begin(), bmp.end() - 1), Damaged},
        {"pixels one byte late", withWord(bmp, 10, 55), Damaged},
        {"pixels at 2^31 - 1", withWord(bmp, 10, 0x7FFFFFFF), Damaged},
        {"pixels inside the header", withWord(bmp, 10, 20), Damaged},
        {"height 100000", withWord(bmp, 22, 100000), Damaged},
        {"a GIF named .bmp", Bytes{'G', 'I', 'F', '8', '9', 'a'}, NotBmp},
        {"old header", core, Whole},
        {"old header, one byte short", Bytes(core.begin(), core.end() - 1), Damaged},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkBmpFile(c.file.data(), c.file.size(), c.file.size()), c.expected) << c.what;
    }
    // Of a large file only the head is read; its size comes apart.
    const Bytes large = bmpOf(100, 100, 32);
    EXPECT_EQ(checkBmpFile(large.data(), kBmpHeadBytes, large.size()), Whole);
    EXPECT_EQ(checkBmpFile(large.data(), kBmpHeadBytes, large.size() - 1), Damaged);
}
