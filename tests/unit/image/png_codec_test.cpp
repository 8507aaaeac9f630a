// PNG encoding on memory against libpng's own write, and clean failure on
// damaged or hostile input; the expansion rules of decoding are checked over
// the PNG test suite (png_suite_test.cpp).
#include "image/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <tuple>
#include <vector>

#include "tests/test_support.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

using testimage::bgra;
using testimage::Sentinel;

Bytes encode(const DIB& image, bool png32) {
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
// `withData` is false, IEND. The samples vary byte by byte (5, 16, 27, ...)
// unless `scramble` makes them hardly compressible. A header too large for
// any image is followed by the rows of a 1 x 1 one.
Bytes rgbaFile(uint32_t w, uint32_t h, bool withData = true, bool scramble = false) {
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
            raw.push_back(uint8_t(scramble ? (k * k) >> 3 : k * 11 + k / 7 + 5));
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

void referenceWrite(png_structp png, png_bytep data, size_t length) {
    static_cast<MemorySink*>(png_get_io_ptr(png))->write(data, length);
}

// libpng's own default write (RGBA with sBIT 8, 8, 8, 8) of the image's rows in
// RGBA order from the top.
bool referenceEncode(const DIB& image, MemorySink* sink) {
    std::vector<Bytes> rgba(image.height());
    std::vector<png_bytep> rows;
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            const uint32_t p = image.pixelAt(x, y);
            rgba[y].insert(rgba[y].end(),
                           {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        }
        rows.push_back(rgba[y].data());
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, referenceWrite, nullptr);
    png_set_IHDR(png, info, image.width(), image.height(), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 bits{8, 8, 8, 8, 8};
    png_set_sBIT(png, info, &bits);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Byte identity with libpng's write proves chunks, row and channel order.
TEST(PngWrite, Png32IsLibpngsDefaultWriteOfTheRowsAndReadsBackIdentically) {
    DIB image(61, 23);
    testimage::fillTagged(image);
    MemorySink reference;
    ASSERT_TRUE(referenceEncode(image, &reference));
    const Bytes file = encode(image, true);
    EXPECT_EQ(file, reference.bytes());
    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngTransparentSource);
    EXPECT_TRUE(testimage::pixelsAre(back, testimage::tag));
}

TEST(PngWrite, Png24IsRgbWithoutSbitAndKeepsColoursOfTransparentPixels) {
    DIB image(3, 2);
    image.fillRect(0, 0, 3, 2, 0x00FF00FFu);  // transparent magenta background
    image.row(1)[2] = bgra(10, 20, 30, 128);
    Bytes file = encode(image, false);
    testpng::Raw raw;
    ASSERT_TRUE(testpng::readRaw(file, raw));
    EXPECT_EQ(std::make_tuple(raw.colorType, raw.bitDepth, raw.hasSbit, raw.hasTrns),
              std::make_tuple(2, 8, false, false));
    EXPECT_EQ(raw.rows[1], (Bytes{255, 0, 255, 255, 0, 255, 30, 20, 10}));
    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngOpaqueSource);
    EXPECT_EQ(back.pixelAt(0, 0), 0x00FF00FFu);  // filler alpha 0: the loader makes it opaque
    EXPECT_EQ(back.pixelAt(2, 1), bgra(10, 20, 30, 0));
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
        const size_t size = encode(image, png32).size();
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
    Bytes badHeaderCrc = good, badDataCrc = good, corrupt = good;
    badHeaderCrc[8 + 8 + 13] ^= 1;
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
        {"empty", {}},
        {"IHDR CRC", badHeaderCrc},
        {"IDAT CRC", badDataCrc},
        {"corrupt zlib data", corrupt},
        {"no IDAT", rgbaFile(2, 2, false)},
        // 4 * 10^12 bytes: within libpng's limits, beyond any image we can create.
        {"10^6 x 10^6", rgbaFile(1000000, 1000000)},
        {"past libpng's width limit", rgbaFile(1000001, 1)},
        {"past 31 bits", rgbaFile(0x80000000u, 1)},
        {"zero width", rgbaFile(0, 5)},
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

TEST(PngReadFailure, TruncationAnywhereFailsAndLeavesTheTarget) {
    const Bytes file = rgbaFile(4, 3);
    Sentinel s;
    // The last 12 bytes are IEND, which is never read.
    const size_t imageEnd = file.size() - 12;
    for (size_t length = 0; length < imageEnd; ++length) {
        ASSERT_EQ(decodePngBytes(file.data(), length, s.target), kPngFailed) << length;
    }
    EXPECT_TRUE(s.unchanged());

    // Many rows already decoded when the data ends.
    const Bytes largeFile = rgbaFile(300, 200, true, true);
    EXPECT_EQ(decodePngBytes(largeFile.data(), largeFile.size() / 2, s.target), kPngFailed);
    EXPECT_TRUE(s.unchanged());

    // Success replaces the target's size and content.
    ASSERT_EQ(decodePngBytes(file.data(), imageEnd, s.target), kPngTransparentSource);
    EXPECT_EQ(s.target.width(), 4);
    EXPECT_EQ(s.target.height(), 3);
    EXPECT_EQ(s.target.pixelAt(0, 0), bgra(27, 16, 5, 38));
}

TEST(PngReadFailure, SourceThatCannotRewindFails) {
    class ForwardOnly final : public ByteSource {
    public:
        explicit ForwardOnly(const Bytes& bytes) : inner_(bytes.data(), bytes.size()) {}
        size_t read(void* buffer, size_t size) override { return inner_.read(buffer, size); }
        bool rewind() override { return false; }

    private:
        MemorySource inner_;
    };
    const Bytes file = rgbaFile(4, 3);
    ForwardOnly source(file);
    DIB target;
    EXPECT_EQ(decodePng(source, target), kPngFailed);
}

}  // namespace
