// PNG decoding and encoding on memory: the transformation rules, the written
// chunks, and clean failure on damaged or hostile input.
#include "image/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "tests/unit/image/full_sink.h"
#include "tests/unit/image/png_builder.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

using testpng::Bytes;

uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

uint32_t grey(uint8_t v, uint8_t a) { return bgra(v, v, v, a); }

// Every pixel different, every channel (alpha included) varying.
void fillVaried(DIB& image) {
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            image.row(y)[x] = bgra(uint8_t(x * 37 + y), uint8_t(y * 53 + 7), uint8_t(x * y + 90),
                                   uint8_t((x + 3 * y) * 29));
        }
    }
}

Bytes encode(const DIB& image, bool png32) {
    MemorySink sink;
    EXPECT_TRUE(png32 ? encodePng32(image, sink) : encodePng24(image, sink));
    return sink.bytes();
}

// A 2 x 2 image whose content a failed decode must leave alone.
struct Sentinel {
    Sentinel() : target(2, 2), pixels(target.pixels) { target.fillRect(0, 0, 2, 2, 0x12345678u); }
    void expectUnchanged() const {
        EXPECT_EQ(target.pixels, pixels);
        ASSERT_EQ(target.width(), 2);
        ASSERT_EQ(target.height(), 2);
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(target.pixels[i], 0x12345678u);
    }
    DIB target;
    const uint32_t* pixels;
};

// An image whose samples vary from byte to byte: 5, 16, 27, 38, ...
testpng::Recipe recipeOf(uint32_t w, uint32_t h, int depth, int type) {
    testpng::Recipe s{.width = w, .height = h, .bitDepth = depth, .colorType = type};
    s.samples.resize(testpng::rowBytes(w, type, depth) * h);
    for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] = uint8_t(i * 11 + i / 7 + 5);
    return s;
}

// A valid 4 x 3 RGBA file, the base of the damage tests.
Bytes smallRgbaFile() { return testpng::build(recipeOf(4, 3, 8, 6)); }

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
    fillVaried(image);
    MemorySink reference;
    ASSERT_TRUE(referenceEncode(image, &reference));
    const Bytes file = encode(image, true);
    EXPECT_EQ(file, reference.bytes());
    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngTransparentSource);
    ASSERT_EQ(back.width(), 61);
    ASSERT_EQ(back.height(), 23);
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 61 * 23 * 4), 0);
}

TEST(PngWrite, Png24IsRgbWithoutSbitAndKeepsColoursOfTransparentPixels) {
    DIB image(3, 2);
    image.fillRect(0, 0, 3, 2, 0x00FF00FFu);  // transparent magenta background
    image.row(1)[2] = bgra(10, 20, 30, 128);
    Bytes file = encode(image, false);
    testpng::Raw raw;
    ASSERT_TRUE(testpng::readRaw(file, raw));
    EXPECT_EQ(raw.colorType, 2);
    EXPECT_EQ(raw.bitDepth, 8);
    EXPECT_FALSE(raw.hasSbit);
    EXPECT_FALSE(raw.hasTrns);
    EXPECT_EQ(raw.rows[0], (Bytes{255, 0, 255, 255, 0, 255, 255, 0, 255}));
    EXPECT_EQ(raw.rows[1], (Bytes{255, 0, 255, 255, 0, 255, 30, 20, 10}));

    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngOpaqueSource);
    EXPECT_EQ(back.pixelAt(0, 0), 0x00FF00FFu);  // filler alpha 0: the loader makes it opaque
    EXPECT_EQ(back.pixelAt(2, 1), bgra(10, 20, 30, 0));
}

TEST(PngWrite, EmptyImageOrAnyShortWriteFailsTheEncode) {
    DIB empty, image(40, 30);
    fillVaried(image);
    for (bool png32 : {true, false}) {
        SCOPED_TRACE(png32 ? "PNG32" : "PNG24");
        auto write = [&](const DIB& from, ByteSink& sink) {
            return png32 ? encodePng32(from, sink) : encodePng24(from, sink);
        };
        MemorySink nothing;
        EXPECT_FALSE(write(empty, nothing));
        EXPECT_TRUE(nothing.bytes().empty());
        const size_t size = encode(image, png32).size();
        for (size_t capacity = 0; capacity < size; capacity += 7) {
            FullSink sink(capacity);
            EXPECT_FALSE(write(image, sink)) << capacity;
        }
        FullSink enough(size);
        EXPECT_TRUE(write(image, enough));
    }
}

TEST(PngRead, EachKindOfFileDecodesByTheExpansionRules) {
    struct Case {
        const char* what;
        uint32_t w, h;
        int depth, type;
        Bytes samples, palette, trns;
        int result;
        std::vector<uint32_t> pixels;  // every pixel, top row first
        std::vector<std::pair<std::string, Bytes>> extra = {};
    };
    const Case cases[] = {
        {"palette, tRNS for the first two entries",
         4,
         1,
         2,
         3,
         {0b00011011},
         {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7},
         {0, 128},
         kPngTransparentSource,
         {bgra(0, 0, 255, 0), bgra(0, 255, 0, 128), bgra(255, 0, 0, 255), bgra(7, 8, 9, 255)}},
        {"grey",
         3,
         2,
         8,
         0,
         {0, 100, 255, 7, 8, 9},
         {},
         {},
         kPngOpaqueSource,
         {grey(0, 0), grey(100, 0), grey(255, 0), grey(7, 0), grey(8, 0), grey(9, 0)}},
        {"2-bit grey scaled to full range",
         4,
         1,
         2,
         0,
         {0b00011011},
         {},
         {},
         kPngOpaqueSource,
         {grey(0, 0), grey(0x55, 0), grey(0xAA, 0), grey(0xFF, 0)}},
        {"16-bit RGBA keeps high bytes",
         1,
         1,
         16,
         6,
         {0x12, 0xFF, 0x34, 0, 0x56, 0x80, 0x9A, 0x7F},
         {},
         {},
         kPngTransparentSource,
         {bgra(0x56, 0x34, 0x12, 0x9A)}},
        {"grey with alpha",
         2,
         1,
         8,
         4,
         {50, 0, 200, 77},
         {},
         {},
         kPngTransparentSource,
         {grey(50, 0), grey(200, 77)}},
        {"16-bit grey tRNS matches the whole sample",
         2,
         1,
         16,
         0,
         {0x40, 0x01, 0x40, 0x02},
         {},
         {0x40, 0x02},
         kPngTransparentSource,
         {grey(0x40, 255), grey(0x40, 0)}},
        {"RGB tRNS",
         2,
         1,
         8,
         2,
         {1, 2, 3, 1, 2, 4},
         {},
         {0, 1, 0, 2, 0, 3},
         kPngTransparentSource,
         {bgra(3, 2, 1, 0), bgra(4, 2, 1, 255)}},
        {"top file row is the top image row",
         1,
         3,
         8,
         2,
         {1, 1, 1, 2, 2, 2, 3, 3, 3},
         {},
         {},
         kPngOpaqueSource,
         {grey(1, 0), grey(2, 0), grey(3, 0)}},
        {"gAMA and sBIT not applied",
         1,
         1,
         8,
         2,
         {100, 150, 200},
         {},
         {},
         kPngOpaqueSource,
         {bgra(200, 150, 100, 0)},
         {{"gAMA", {0, 0, 0x27, 0x10}}, {"sBIT", {4, 4, 4}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testpng::Recipe s{c.w, c.h, c.depth, c.type, c.palette, c.trns, c.samples, c.extra};
        const Bytes file = testpng::build(s);
        DIB d;
        ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), c.result);
        ASSERT_EQ(d.width(), int32_t(c.w));
        ASSERT_EQ(d.height(), int32_t(c.h));
        EXPECT_EQ(d.info.header.biXPelsPerMeter, 3780);
        for (uint32_t i = 0; i < c.pixels.size(); ++i) {
            EXPECT_EQ(d.pixelAt(int32_t(i % c.w), int32_t(i / c.w)), c.pixels[i]) << i;
        }
    }
}

// A header of the given size over the image data of a 1 x 1 image.
Bytes headerOnly(uint32_t width, uint32_t height) {
    Bytes file = testpng::signature();
    testpng::appendChunk(file, "IHDR", testpng::ihdr(width, height, 8, 6));
    testpng::appendChunk(file, "IDAT", testpng::imageData(recipeOf(1, 1, 8, 6)));
    testpng::appendChunk(file, "IEND", {});
    return file;
}

TEST(PngReadFailure, DamagedFilesFailAndLeaveTheTarget) {
    const Bytes good = smallRgbaFile();
    Bytes badHeaderCrc = good, badDataCrc = good;
    badHeaderCrc[8 + 8 + 13] ^= 1;
    badDataCrc[good.size() - 12 - 1] ^= 1;  // last byte of the IDAT CRC
    Bytes corrupt = testpng::signature(), noData = testpng::signature();
    testpng::appendChunk(corrupt, "IHDR", testpng::ihdr(8, 8, 8, 6));
    Bytes data = testpng::imageData(recipeOf(8, 8, 8, 6));
    for (size_t i = 2; i < data.size(); ++i) data[i] ^= 0xA5;
    testpng::appendChunk(corrupt, "IDAT", data);
    testpng::appendChunk(corrupt, "IEND", {});
    testpng::appendChunk(noData, "IHDR", testpng::ihdr(2, 2, 8, 6));
    testpng::appendChunk(noData, "IEND", {});

    const std::pair<const char*, Bytes> files[] = {
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0}},
        {"empty", {}},
        {"IHDR CRC", badHeaderCrc},
        {"IDAT CRC", badDataCrc},
        {"corrupt zlib data", corrupt},
        {"no IDAT", noData},
        // 4 * 10^12 bytes: within libpng's limits, beyond any image we can create.
        {"10^6 x 10^6", headerOnly(1000000, 1000000)},
        {"past libpng's width limit", headerOnly(1000001, 1)},
        {"past 31 bits", headerOnly(0x80000000u, 1)},
        {"zero width", headerOnly(0, 5)},
    };
    for (const auto& [what, file] : files) {
        SCOPED_TRACE(what);
        Sentinel s;
        EXPECT_EQ(decodePngBytes(file.data(), file.size(), s.target), kPngFailed);
        s.expectUnchanged();
    }
    DIB target;
    EXPECT_EQ(decodePngBytes(nullptr, 0, target), kPngFailed);
    EXPECT_FALSE(target.isValid());
}

TEST(PngReadFailure, TruncationAnywhereFailsAndLeavesTheTarget) {
    const Bytes file = smallRgbaFile();
    Sentinel s;
    // The last 12 bytes are IEND, which is never read.
    const size_t imageEnd = file.size() - 12;
    for (size_t length = 0; length < imageEnd; ++length) {
        ASSERT_EQ(decodePngBytes(file.data(), length, s.target), kPngFailed) << length;
    }
    s.expectUnchanged();

    // Many rows already decoded when the data ends.
    testpng::Recipe large = recipeOf(300, 200, 8, 6);  // hardly compressible
    for (size_t i = 0; i < large.samples.size(); ++i) large.samples[i] = uint8_t((i * i) >> 3);
    const Bytes largeFile = testpng::build(large);
    EXPECT_EQ(decodePngBytes(largeFile.data(), largeFile.size() / 2, s.target), kPngFailed);
    s.expectUnchanged();

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
    const Bytes file = smallRgbaFile();
    ForwardOnly source(file);
    DIB target;
    EXPECT_EQ(decodePng(source, target), kPngFailed);
}

}  // namespace
