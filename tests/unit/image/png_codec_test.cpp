// PNG decoding and encoding on memory: the transformation rules, the written
// chunks, and clean failure on damaged or hostile input.
#include "image/png_codec.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "tests/unit/image/png_builder.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// Every pixel different, every channel (alpha included) varying.
void fillVaried(DIB& image) {
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            image.row(y)[x] = bgra(uint8_t(x * 37 + y), uint8_t(y * 53 + 7), uint8_t(x * y + 90),
                                   uint8_t((x + 3 * y) * 29));
        }
    }
}

Bytes encode32(const DIB& image) {
    MemorySink sink;
    EXPECT_TRUE(encodePng32(image, sink));
    return sink.bytes();
}

Bytes encode24(const DIB& image) {
    MemorySink sink;
    EXPECT_TRUE(encodePng24(image, sink));
    return sink.bytes();
}

struct Chunk {
    std::string type;
    Bytes data;
};

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

std::vector<Chunk> chunksOf(const Bytes& file) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = be32(&file[at]);
        Chunk c;
        c.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        c.data.assign(file.begin() + at + 8, file.begin() + at + 8 + length);
        chunks.push_back(c);
        at += 12 + length;
    }
    return chunks;
}

// A sink that takes `capacity` bytes and then refuses, like a full disk.
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

// A source that cannot go back to its start.
class ForwardOnlySource final : public ByteSource {
public:
    explicit ForwardOnlySource(const Bytes& bytes) : inner_(bytes.data(), bytes.size()) {}
    size_t read(void* buffer, size_t size) override { return inner_.read(buffer, size); }
    bool rewind() override { return false; }

private:
    MemorySource inner_;
};

// A 2 x 2 image whose content a failed decode must leave alone.
void makeSentinel(DIB& target) {
    ASSERT_TRUE(target.create(2, 2));
    target.fillRect(0, 0, 2, 2, 0x12345678u);
}

void expectSentinel(const DIB& target, const uint32_t* pixels) {
    EXPECT_EQ(target.pixels, pixels);
    ASSERT_EQ(target.width(), 2);
    ASSERT_EQ(target.height(), 2);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(target.pixels[i], 0x12345678u);
}

testpng::Recipe recipeOf(uint32_t w, uint32_t h, int depth, int type) {
    testpng::Recipe s;
    s.width = w;
    s.height = h;
    s.bitDepth = depth;
    s.colorType = type;
    s.samples.assign(testpng::rowBytes(w, type, depth) * h, 0);
    return s;
}

// A valid 4 x 3 RGBA file, the base of the damage tests.
Bytes smallRgbaFile() {
    testpng::Recipe s = recipeOf(4, 3, 8, 6);
    for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] = uint8_t(i * 11 + 5);
    return testpng::build(s);
}

// ---------------------------------------------------------------- encoding

TEST(PngWrite, Png32ReadsBackWithIdenticalPixelsIncludingAlpha) {
    DIB image(7, 5);
    fillVaried(image);
    Bytes file = encode32(image);
    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngTransparentSource);
    ASSERT_EQ(back.width(), 7);
    ASSERT_EQ(back.height(), 5);
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 7 * 5 * 4), 0);
}

TEST(PngWrite, Png32IsRgbaWithSbitThenImageDataThenEnd) {
    DIB image(3, 2);
    fillVaried(image);
    std::vector<Chunk> chunks = chunksOf(encode32(image));
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data, testpng::ihdr(3, 2, 8, 6, false));
    EXPECT_EQ(chunks[1].type, "sBIT");
    EXPECT_EQ(chunks[1].data, (Bytes{8, 8, 8, 8}));
    for (size_t i = 2; i + 1 < chunks.size(); ++i) EXPECT_EQ(chunks[i].type, "IDAT");
    EXPECT_EQ(chunks.back().type, "IEND");
}

// libpng's own default write of the same rows, already in RGBA order from the
// top: byte identity also proves our row order and channel order.
struct ReferenceJob {
    const std::vector<png_bytep>* rows;
    uint32_t width, height;
    MemorySink* sink;
    bool done;
};

void referenceWrite(png_structp png, png_bytep data, size_t length) {
    static_cast<MemorySink*>(png_get_io_ptr(png))->write(data, length);
}

void referenceEncode(ReferenceJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return;
    }
    png_set_write_fn(png, job->sink, referenceWrite, nullptr);
    png_set_IHDR(png, info, job->width, job->height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 bits{8, 8, 8, 8, 8};
    png_set_sBIT(png, info, &bits);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(job->rows->data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    job->done = true;
}

TEST(PngWrite, Png32IsByteIdenticalToLibpngDefaultWriteOfTheSameRows) {
    DIB image(61, 23);
    fillVaried(image);
    std::vector<Bytes> rgba(23, Bytes(61 * 4));
    std::vector<png_bytep> rows;
    for (int32_t y = 0; y < 23; ++y) {
        for (int32_t x = 0; x < 61; ++x) {
            const uint32_t p = image.pixelAt(x, y);
            rgba[y][4 * x] = uint8_t(p >> 16);
            rgba[y][4 * x + 1] = uint8_t(p >> 8);
            rgba[y][4 * x + 2] = uint8_t(p);
            rgba[y][4 * x + 3] = uint8_t(p >> 24);
        }
        rows.push_back(rgba[y].data());
    }
    MemorySink reference;
    ReferenceJob job{&rows, 61, 23, &reference, false};
    referenceEncode(&job);
    ASSERT_TRUE(job.done);
    EXPECT_EQ(encode32(image), reference.bytes());
}

TEST(PngWrite, Png24IsRgbWithoutSbitAndKeepsColoursOfTransparentPixels) {
    DIB image(3, 2);
    image.fillRect(0, 0, 3, 2, 0x00FF00FFu);  // transparent magenta background
    image.row(1)[2] = bgra(10, 20, 30, 128);
    Bytes file = encode24(image);
    std::vector<Chunk> chunks = chunksOf(file);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].data, testpng::ihdr(3, 2, 8, 2, false));
    EXPECT_EQ(chunks[1].type, "IDAT");

    testpng::Raw raw;
    ASSERT_TRUE(testpng::readRaw(file, raw));
    EXPECT_EQ(raw.rows[0], (Bytes{255, 0, 255, 255, 0, 255, 255, 0, 255}));
    EXPECT_EQ(raw.rows[1], (Bytes{255, 0, 255, 255, 0, 255, 30, 20, 10}));

    DIB back;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), back), kPngOpaqueSource);
    EXPECT_EQ(back.pixelAt(0, 0), 0x00FF00FFu);  // filler alpha 0: the loader makes it opaque
    EXPECT_EQ(back.pixelAt(2, 1), bgra(10, 20, 30, 0));
}

TEST(PngWrite, EmptyImageIsRefusedWithoutOutput) {
    DIB empty;
    MemorySink sink;
    EXPECT_FALSE(encodePng32(empty, sink));
    EXPECT_FALSE(encodePng24(empty, sink));
    EXPECT_TRUE(sink.bytes().empty());
}

TEST(PngWrite, EveryShortWriteFailsTheEncode) {
    DIB image(40, 30);
    fillVaried(image);
    const size_t size32 = encode32(image).size();
    const size_t size24 = encode24(image).size();
    for (size_t capacity = 0; capacity < size32; capacity += 7) {
        FullSink sink(capacity);
        EXPECT_FALSE(encodePng32(image, sink)) << capacity;
    }
    for (size_t capacity = 0; capacity < size24; capacity += 7) {
        FullSink sink(capacity);
        EXPECT_FALSE(encodePng24(image, sink)) << capacity;
    }
    FullSink enough32(size32), enough24(size24);
    EXPECT_TRUE(encodePng32(image, enough32));
    EXPECT_TRUE(encodePng24(image, enough24));
}

// ---------------------------------------------------------------- decoding rules

TEST(PngRead, PaletteWithTrnsTakesTheAlphaOfItsEntries) {
    testpng::Recipe s = recipeOf(4, 1, 2, 3);
    s.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 8, 7};
    s.trns = {0, 128};  // entries 2 and 3 stay opaque
    s.samples = {0b00011011};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngTransparentSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(0, 0, 255, 0));
    EXPECT_EQ(d.pixelAt(1, 0), bgra(0, 255, 0, 128));
    EXPECT_EQ(d.pixelAt(2, 0), bgra(255, 0, 0, 255));
    EXPECT_EQ(d.pixelAt(3, 0), bgra(7, 8, 9, 255));
}

TEST(PngRead, GreyWithoutAlphaBecomesEqualColourChannels) {
    testpng::Recipe s = recipeOf(3, 2, 8, 0);
    s.samples = {0, 100, 255, 7, 8, 9};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngOpaqueSource);
    EXPECT_EQ(d.pixelAt(1, 0), bgra(100, 100, 100, 0));
    EXPECT_EQ(d.pixelAt(2, 1), bgra(9, 9, 9, 0));
}

TEST(PngRead, LowDepthGreyIsScaledToFullRange) {
    testpng::Recipe s = recipeOf(4, 1, 2, 0);
    s.samples = {0b00011011};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngOpaqueSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(0, 0, 0, 0));
    EXPECT_EQ(d.pixelAt(1, 0), bgra(0x55, 0x55, 0x55, 0));
    EXPECT_EQ(d.pixelAt(2, 0), bgra(0xAA, 0xAA, 0xAA, 0));
    EXPECT_EQ(d.pixelAt(3, 0), bgra(0xFF, 0xFF, 0xFF, 0));
}

TEST(PngRead, SixteenBitRgbaKeepsTheHighByteOfEachSample) {
    testpng::Recipe s = recipeOf(1, 1, 16, 6);
    s.samples = {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80, 0x9A, 0x7F};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngTransparentSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(0x56, 0x34, 0x12, 0x9A));
}

TEST(PngRead, GreyWithAlphaKeepsItsAlpha) {
    testpng::Recipe s = recipeOf(2, 1, 8, 4);
    s.samples = {50, 0, 200, 77};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngTransparentSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(50, 50, 50, 0));
    EXPECT_EQ(d.pixelAt(1, 0), bgra(200, 200, 200, 77));
}

TEST(PngRead, SixteenBitGreyTrnsMatchesTheWholeSampleBeforeStripping) {
    testpng::Recipe s = recipeOf(2, 1, 16, 0);
    s.samples = {0x40, 0x01, 0x40, 0x02};
    s.trns = {0x40, 0x02};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngTransparentSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(0x40, 0x40, 0x40, 255));
    EXPECT_EQ(d.pixelAt(1, 0), bgra(0x40, 0x40, 0x40, 0));
}

TEST(PngRead, RgbTrnsMakesOnlyTheMatchingColourTransparent) {
    testpng::Recipe s = recipeOf(2, 1, 8, 2);
    s.samples = {1, 2, 3, 1, 2, 4};
    s.trns = {0, 1, 0, 2, 0, 3};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngTransparentSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(3, 2, 1, 0));
    EXPECT_EQ(d.pixelAt(1, 0), bgra(4, 2, 1, 255));
}

TEST(PngRead, InterlacedFileGivesTheSamePixelsAsPlain) {
    testpng::Recipe s = recipeOf(13, 11, 8, 6);
    for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] = uint8_t(i * 7 + i / 13);
    Bytes plainFile = testpng::build(s);
    s.interlaced = true;
    Bytes interlacedFile = testpng::build(s);
    DIB plain, interlaced;
    ASSERT_EQ(decodePngBytes(plainFile.data(), plainFile.size(), plain), kPngTransparentSource);
    ASSERT_EQ(decodePngBytes(interlacedFile.data(), interlacedFile.size(), interlaced),
              kPngTransparentSource);
    EXPECT_EQ(std::memcmp(plain.pixels, interlaced.pixels, 13 * 11 * 4), 0);
    EXPECT_EQ(plain.pixelAt(0, 0), bgra(s.samples[2], s.samples[1], s.samples[0], s.samples[3]));
}

TEST(PngRead, TopRowOfTheFileIsTheLastRowInMemory) {
    testpng::Recipe s = recipeOf(1, 3, 8, 2);
    s.samples = {1, 1, 1, 2, 2, 2, 3, 3, 3};
    Bytes file = testpng::build(s);
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngOpaqueSource);
    EXPECT_EQ(d.pixels[2], bgra(1, 1, 1, 0));
    EXPECT_EQ(d.pixels[0], bgra(3, 3, 3, 0));
    EXPECT_EQ(d.info.header.biXPelsPerMeter, 3780);
}

TEST(PngRead, GammaAndSbitChunksAreNotApplied) {
    testpng::Recipe s = recipeOf(1, 1, 8, 2);
    s.samples = {100, 150, 200};
    Bytes file = testpng::signature();
    testpng::appendChunk(file, "IHDR", testpng::ihdr(1, 1, 8, 2, false));
    testpng::appendChunk(file, "gAMA", {0, 0, 0x27, 0x10});  // 0.1
    testpng::appendChunk(file, "sBIT", {4, 4, 4});
    testpng::appendChunk(file, "IDAT", testpng::imageData(s));
    testpng::appendChunk(file, "IEND", {});
    DIB d;
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), d), kPngOpaqueSource);
    EXPECT_EQ(d.pixelAt(0, 0), bgra(200, 150, 100, 0));
}

TEST(PngRead, SuccessReplacesTheTargetSizeAndContent) {
    DIB target;
    makeSentinel(target);
    Bytes file = smallRgbaFile();
    ASSERT_EQ(decodePngBytes(file.data(), file.size(), target), kPngTransparentSource);
    EXPECT_EQ(target.width(), 4);
    EXPECT_EQ(target.height(), 3);
    EXPECT_EQ(target.pixelAt(0, 0), bgra(27, 16, 5, 38));
}

// ---------------------------------------------------------------- damaged input

TEST(PngReadFailure, JpegBytesFailTheSignatureCheck) {
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0};
    DIB target;
    makeSentinel(target);
    const uint32_t* before = target.pixels;
    EXPECT_EQ(decodePngBytes(jpeg.data(), jpeg.size(), target), kPngFailed);
    expectSentinel(target, before);
}

TEST(PngReadFailure, EmptyAndNullInputFail) {
    DIB target;
    EXPECT_EQ(decodePngBytes(nullptr, 0, target), kPngFailed);
    const uint8_t none[1] = {0};
    EXPECT_EQ(decodePngBytes(none, 0, target), kPngFailed);
    EXPECT_FALSE(target.isValid());
}

TEST(PngReadFailure, TruncationAtEveryLengthFailsAndLeavesTheTarget) {
    const Bytes file = smallRgbaFile();
    DIB target;
    makeSentinel(target);
    const uint32_t* before = target.pixels;
    // The last 12 bytes are IEND, which is never read.
    const size_t imageEnd = file.size() - 12;
    for (size_t length = 0; length < imageEnd; ++length) {
        ASSERT_EQ(decodePngBytes(file.data(), length, target), kPngFailed) << length;
    }
    expectSentinel(target, before);
    EXPECT_EQ(decodePngBytes(file.data(), imageEnd, target), kPngTransparentSource);
}

TEST(PngReadFailure, TruncatedInTheMiddleOfImageDataOfALargeFile) {
    testpng::Recipe s = recipeOf(300, 200, 8, 6);
    for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] = uint8_t((i * i) >> 3);
    Bytes file = testpng::build(s);
    DIB target;
    EXPECT_EQ(decodePngBytes(file.data(), file.size() / 2, target), kPngFailed);
    EXPECT_FALSE(target.isValid());
}

TEST(PngReadFailure, BadCrcOfACriticalChunkFails) {
    Bytes file = smallRgbaFile();
    Bytes badHeader = file;
    badHeader[8 + 8 + 13] ^= 1;  // IHDR CRC
    Bytes badData = file;
    badData[badData.size() - 12 - 1] ^= 1;  // last byte of the IDAT CRC
    DIB target;
    EXPECT_EQ(decodePngBytes(badHeader.data(), badHeader.size(), target), kPngFailed);
    EXPECT_EQ(decodePngBytes(badData.data(), badData.size(), target), kPngFailed);
}

TEST(PngReadFailure, CorruptCompressedDataFails) {
    testpng::Recipe s = recipeOf(8, 8, 8, 6);
    Bytes file = testpng::signature();
    testpng::appendChunk(file, "IHDR", testpng::ihdr(8, 8, 8, 6, false));
    Bytes data = testpng::imageData(s);
    for (size_t i = 2; i < data.size(); ++i) data[i] ^= 0xA5;
    testpng::appendChunk(file, "IDAT", data);
    testpng::appendChunk(file, "IEND", {});
    DIB target;
    EXPECT_EQ(decodePngBytes(file.data(), file.size(), target), kPngFailed);
}

Bytes headerOnly(uint32_t width, uint32_t height) {
    Bytes file = testpng::signature();
    testpng::appendChunk(file, "IHDR", testpng::ihdr(width, height, 8, 6, false));
    testpng::Recipe s = recipeOf(1, 1, 8, 6);
    testpng::appendChunk(file, "IDAT", testpng::imageData(s));
    testpng::appendChunk(file, "IEND", {});
    return file;
}

TEST(PngReadFailure, DimensionsBeyondWhatCreateAcceptsFail) {
    DIB target;
    makeSentinel(target);
    const uint32_t* before = target.pixels;
    // 4 * 10^12 bytes: within libpng's limits, beyond any image we can create.
    Bytes huge = headerOnly(1000000, 1000000);
    EXPECT_EQ(decodePngBytes(huge.data(), huge.size(), target), kPngFailed);
    // Past libpng's own limits and past 31 bits.
    Bytes wide = headerOnly(1000001, 1);
    EXPECT_EQ(decodePngBytes(wide.data(), wide.size(), target), kPngFailed);
    Bytes negative = headerOnly(0x80000000u, 1);
    EXPECT_EQ(decodePngBytes(negative.data(), negative.size(), target), kPngFailed);
    Bytes zero = headerOnly(0, 5);
    EXPECT_EQ(decodePngBytes(zero.data(), zero.size(), target), kPngFailed);
    expectSentinel(target, before);
}

TEST(PngReadFailure, MissingImageDataFails) {
    Bytes file = testpng::signature();
    testpng::appendChunk(file, "IHDR", testpng::ihdr(2, 2, 8, 6, false));
    testpng::appendChunk(file, "IEND", {});
    DIB target;
    EXPECT_EQ(decodePngBytes(file.data(), file.size(), target), kPngFailed);
}

TEST(PngReadFailure, SourceThatCannotRewindFails) {
    const Bytes file = smallRgbaFile();
    ForwardOnlySource source(file);
    DIB target;
    EXPECT_EQ(decodePng(source, target), kPngFailed);
}

}  // namespace
