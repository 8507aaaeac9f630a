// PNG encoding on memory read back by libpng itself, and clean failure on
// damaged or hostile input; the expansion rules of decoding are checked over
// the PNG test suite (png_suite_test.cpp).
#include "image/png_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <tuple>

#include "tests/test_support.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

using testimage::Sentinel;

Bytes encodedPng(const DIB& image, bool png32) {
    MemorySink sink;
    EXPECT_TRUE(png32 ? encodePng32(image, sink) : encodePng24(image, sink));
    return sink.bytes();
}

// PNG files built byte by byte, independently of the codec under test.
void put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void appendChunk(Bytes& file, const char* type, const Bytes& data) {
    put32(file, uint32_t(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    put32(file, uint32_t(crc32(0, body.data(), uInt(body.size()))));
}

// An 8-bit RGBA image: IHDR, the zlib stream of its rows (filter 0) unless
// `withData` is false, IEND. The samples vary byte by byte (5, 16, 27, ...).
// A header too large for any image is followed by the rows of a 1 x 1 one.
Bytes rgbaFile(uint32_t w, uint32_t h, bool withData = true) {
    Bytes file = {137, 80, 78, 71, 13, 10, 26, 10}, header;
    put32(header, w);
    put32(header, h);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(file, "IHDR", header);
    const bool huge = w > 4096 || h > 4096;
    Bytes raw;
    for (size_t row = 0, k = 0; row < (huge ? 1 : h); ++row) {
        raw.push_back(0);
        for (size_t i = 0; i < (huge ? 4 : size_t(w) * 4); ++i, ++k) {
            raw.push_back(uint8_t(k * 11 + k / 7 + 5));
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    Bytes packed(size);
    compress(packed.data(), &size, raw.data(), uLong(raw.size()));
    packed.resize(size);
    if (withData) appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    return file;
}

// Both writers, read back raw by libpng: the type, sBIT, and every row from the
// top in RGB(A) order; PNG24 keeps the colours of transparent pixels and reads
// back opaque.
TEST(PngWrite, RowsAreWrittenTopDownInRgbaOrderAndReadBackIdentically) {
    DIB image(61, 23);
    testimage::fillTagged(image);
    for (bool png32 : {true, false}) {
        SCOPED_TRACE(png32 ? "PNG32" : "PNG24");
        const Bytes file = encodedPng(image, png32);
        testpng::Raw raw;
        ASSERT_TRUE(testpng::readRaw(file, raw));
        EXPECT_EQ(std::make_tuple(raw.colorType, raw.bitDepth, raw.hasSbit, raw.hasTrns),
                  std::make_tuple(png32 ? 6 : 2, 8, png32, false));
        for (int32_t y = 0; y < image.height(); ++y) {
            Bytes row;
            for (int32_t x = 0; x < image.width(); ++x) {
                const uint32_t p = image.pixelAt(x, y);
                row.insert(row.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
                if (png32) row.push_back(uint8_t(p >> 24));
            }
            ASSERT_EQ(raw.rows[y], row) << y;
        }
        DIB back;
        ASSERT_EQ(decodePngBytes(file.data(), file.size(), back),
                  png32 ? kPngTransparentSource : kPngOpaqueSource);
        EXPECT_TRUE(testimage::pixelsAre(back, [&](int32_t x, int32_t y) {
            return png32 ? testimage::tag(x, y) : testimage::tag(x, y) & 0xFFFFFFu;
        }));
    }
}

TEST(PngWrite, EmptyImageOrAnyShortWriteFailsTheEncode) {
    DIB empty, image(40, 30);
    testimage::fillTagged(image);
    for (bool png32 : {true, false}) {
        SCOPED_TRACE(png32 ? "PNG32" : "PNG24");
        auto write = [&](const DIB& from, ByteSink& sink) {
            return png32 ? encodePng32(from, sink) : encodePng24(from, sink);
        };
        FullSink nothing(0);
        EXPECT_FALSE(write(empty, nothing));
        const size_t size = encodedPng(image, png32).size();
        for (size_t capacity = 0; capacity < size; capacity += 7) {
            FullSink sink(capacity);
            EXPECT_FALSE(write(image, sink)) << capacity;
        }
        FullSink enough(size);
        EXPECT_TRUE(write(image, enough));
    }
}

TEST(PngReadFailure, DamagedFilesFailAndLeaveTheTarget) {
    const Bytes good = rgbaFile(4, 3);
    Bytes badDataCrc = good, corrupt = good;
    badDataCrc[good.size() - 12 - 1] ^= 1;  // last byte of the IDAT CRC
    // The IDAT payload past the zlib header scrambled, its CRC made right again.
    const size_t idat = 8 + 25, length = size_t(good[idat + 2]) << 8 | good[idat + 3];
    Bytes data(good.begin() + idat + 8, good.begin() + idat + 8 + length);
    for (size_t i = 2; i < data.size(); ++i) data[i] ^= 0xA5;
    corrupt.resize(idat);
    appendChunk(corrupt, "IDAT", data);
    appendChunk(corrupt, "IEND", {});

    const std::pair<const char*, Bytes> files[] = {
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0}},
        {"IDAT CRC", badDataCrc},
        {"corrupt zlib data", corrupt},
        {"no IDAT", rgbaFile(2, 2, false)},
        {"cut inside the image data", Bytes(good.begin(), good.end() - 20)},
        // 4 * 10^12 bytes: within libpng's limits, beyond any image we can create.
        {"10^6 x 10^6", rgbaFile(1000000, 1000000)},
        {"past 31 bits", rgbaFile(0x80000000u, 1)},
        // 3.6 GB declared in a hundred bytes: refused before it is allocated
        // (an allocation that size aborts the sanitizer's run).
        {"30000 x 30000 in 100 bytes", rgbaFile(30000, 30000)},
        // A 1 GB image is within the limit, but no 100-byte deflate stream holds it.
        {"16384 x 16384 in 100 bytes", rgbaFile(16384, 16384)},
    };
    for (const auto& [what, file] : files) {
        SCOPED_TRACE(what);
        Sentinel s;
        EXPECT_EQ(decodePngBytes(file.data(), file.size(), s.target), kPngFailed);
        EXPECT_TRUE(s.unchanged());
    }
    DIB target;
    EXPECT_EQ(decodePngBytes(nullptr, 0, target), kPngFailed);
    EXPECT_FALSE(target.isValid());
}

}  // namespace
