// PNG decoding and encoding of a 2048 x 2048 RGBA sprite sheet, each as a
// ratio to libpng's own default read or write of the same image; BMP writing
// as a ratio to memcpy of the file's bytes. Two sheets: flat-colour sprites
// on a transparent background, and a noisy photo-like image.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "image/bmp_writer.h"
#include "image/png_codec.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSize = 2048;
constexpr double kDecodeTarget = 0.9;
constexpr double kEncodeTarget = 0.95;
constexpr double kBmpTarget = 0.3;

enum Sheet { kFlatSprites = 0, kNoisyPhoto = 1 };

uint32_t bgra(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
    return a << 24 | r << 16 | g << 8 | b;
}

// 32 x 32 cells of 64 x 64: a flat-coloured disc with a darker ring and a
// half-transparent shadow, on a fully transparent background.
void drawFlatSprites(DIB& image) {
    for (int32_t y = 0; y < kSize; ++y) {
        uint32_t* row = image.row(y);
        for (int32_t x = 0; x < kSize; ++x) {
            const int32_t cell = (y / 64) * 32 + x / 64;
            const int32_t dx = x % 64 - 30, dy = y % 64 - 30;
            const int32_t d2 = dx * dx + dy * dy;
            const uint32_t r = (cell * 53) & 0xFF, g = (cell * 97 + 40) & 0xFF,
                           b = (cell * 151 + 90) & 0xFF;
            const int32_t sx = dx - 4, sy = dy - 4;
            if (d2 < 20 * 20)
                row[x] = bgra(b, g, r, 255);
            else if (d2 < 24 * 24)
                row[x] = bgra(b / 2, g / 2, r / 2, 255);
            else if (sx * sx + sy * sy < 24 * 24)
                row[x] = bgra(0, 0, 0, 96);
            else
                row[x] = 0;
        }
    }
}

// Smooth colour fields with per-pixel noise, opaque like a photograph.
void drawNoisyPhoto(DIB& image) {
    uint32_t state = 2463534242u;
    for (int32_t y = 0; y < kSize; ++y) {
        uint32_t* row = image.row(y);
        for (int32_t x = 0; x < kSize; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const double fx = x / 300.0, fy = y / 250.0;
            const int noise = int(state & 15) - 8;
            auto channel = [&](double v) {
                const int c = int(127.5 + 100 * v) + noise;
                return uint32_t(c < 0 ? 0 : c > 255 ? 255 : c);
            };
            row[x] = bgra(channel(std::sin(fx + 1.3 * fy)), channel(std::cos(fx * 0.7 - fy)),
                          channel(std::sin(2 * fx) * std::cos(fy)), 255);
        }
    }
}

void drawSheet(DIB& image, int sheet) {
    if (sheet == kFlatSprites)
        drawFlatSprites(image);
    else
        drawNoisyPhoto(image);
}

// The same image as libpng takes it by default: RGBA rows from the top.
std::vector<uint8_t> rgbaRows(const DIB& image) {
    std::vector<uint8_t> rows(size_t(kSize) * kSize * 4);
    for (int32_t y = 0; y < kSize; ++y) {
        const uint8_t* s = reinterpret_cast<const uint8_t*>(image.row(y));
        uint8_t* d = &rows[size_t(y) * kSize * 4];
        for (int32_t x = 0; x < kSize; ++x, s += 4, d += 4) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            d[3] = s[3];
        }
    }
    return rows;
}

// ------------------------------------------------------------- libpng anchors

struct MemoryInput {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readMemory(png_structp png, png_bytep out, size_t length) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (in->size - in->position < length) png_error(png, "truncated");
    std::memcpy(out, in->data + in->position, length);
    in->position += length;
}

void writeMemory(png_structp png, png_bytep data, size_t length) {
    static_cast<MemorySink*>(png_get_io_ptr(png))->write(data, length);
}

// libpng's default read of the file into RGBA rows, no transformation.
bool libpngRead(MemoryInput* in, png_bytepp rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, in, readMemory);
    png_read_info(png, info);
    png_read_update_info(png, info);
    png_read_image(png, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// libpng's default write of RGBA rows, with the same chunks as our writer.
bool libpngWrite(MemorySink* sink, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, writeMemory, nullptr);
    png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 bits{8, 8, 8, 0, 8};
    png_set_sBIT(png, info, &bits);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<png_bytep> rowPointers(std::vector<uint8_t>& rows) {
    std::vector<png_bytep> pointers(kSize);
    for (int32_t y = 0; y < kSize; ++y) pointers[y] = &rows[size_t(y) * kSize * 4];
    return pointers;
}

// ------------------------------------------------------------- benchmarks

void BM_PngDecode(benchmark::State& state) {
    DIB sheet(kSize, kSize);
    if (!sheet.isValid()) return state.SkipWithError("create failed");
    drawSheet(sheet, int(state.range(0)));
    MemorySink file;
    if (!encodePng32(sheet, file)) return state.SkipWithError("encode failed");
    const std::vector<uint8_t>& bytes = file.bytes();

    std::vector<uint8_t> rows(size_t(kSize) * kSize * 4, 0x11);
    state.SetLabel(state.range(0) == kFlatSprites ? "PNG decode, 2048 x 2048 sprites (libpng read)"
                                                  : "PNG decode, 2048 x 2048 photo (libpng read)");
    std::vector<png_bytep> pointers = rowPointers(rows);
    DIB target;
    // One untimed round of each, so every buffer has been touched.
    MemoryInput in{bytes.data(), bytes.size(), 0};
    if (!libpngRead(&in, pointers.data()) ||
        decodePngBytes(bytes.data(), bytes.size(), target) != kPngTransparentSource ||
        std::memcmp(target.pixels, sheet.pixels, size_t(kSize) * kSize * 4) != 0) {
        return state.SkipWithError("decode failed");
    }
    bench::runRatio(
        state, kDecodeTarget,
        [&] {
            MemoryInput input{bytes.data(), bytes.size(), 0};
            benchmark::DoNotOptimize(libpngRead(&input, pointers.data()));
            benchmark::ClobberMemory();
        },
        [&] {
            benchmark::DoNotOptimize(decodePngBytes(bytes.data(), bytes.size(), target));
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize * 4);
}

void BM_PngEncode(benchmark::State& state) {
    DIB sheet(kSize, kSize);
    if (!sheet.isValid()) return state.SkipWithError("create failed");
    drawSheet(sheet, int(state.range(0)));
    std::vector<uint8_t> rows = rgbaRows(sheet);
    std::vector<png_bytep> pointers = rowPointers(rows);
    MemorySink reference, ours;
    state.SetLabel(state.range(0) == kFlatSprites ? "PNG encode, 2048 x 2048 sprites (libpng write)"
                                                  : "PNG encode, 2048 x 2048 photo (libpng write)");
    reference.reserve(size_t(kSize) * kSize * 5);
    ours.reserve(size_t(kSize) * kSize * 5);
    // The output must be libpng's own, byte for byte.
    if (!libpngWrite(&reference, pointers.data()) || !encodePng32(sheet, ours) ||
        ours.bytes() != reference.bytes()) {
        return state.SkipWithError("output differs from libpng's default write");
    }
    bench::runRatio(
        state, kEncodeTarget,
        [&] {
            reference.clear();
            benchmark::DoNotOptimize(libpngWrite(&reference, pointers.data()));
            benchmark::ClobberMemory();
        },
        [&] {
            ours.clear();
            benchmark::DoNotOptimize(encodePng32(sheet, ours));
            benchmark::ClobberMemory();
        });
    state.counters["file_kb"] = double(ours.bytes().size()) / 1024;
    state.SetBytesProcessed(int64_t(state.iterations()) * kSize * kSize * 4);
}

// args: 32, 24 or 8 (the grey mask).
void BM_BmpWrite(benchmark::State& state) {
    const int bits = int(state.range(0));
    state.SetLabel(bits == 32   ? "BMP write, 32-bit, 2048 x 2048 (memcpy of the file)"
                   : bits == 24 ? "BMP write, 24-bit, 2048 x 2048 (memcpy of the file)"
                                : "grey mask BMP write, 2048 x 2048 (memcpy of the file)");
    DIB sheet(kSize, kSize);
    if (!sheet.isValid()) return state.SkipWithError("create failed");
    drawFlatSprites(sheet);
    auto write = [&](MemorySink& sink) {
        return bits == 8 ? encodeGreyMaskBmp(sheet, sink) : encodeBmp(sheet, bits, sink);
    };
    MemorySink sink;
    if (!write(sink)) return state.SkipWithError("write failed");
    const size_t fileBytes = sink.bytes().size();
    std::vector<uint8_t> source(sink.bytes()), copy(fileBytes, 0x22);
    bench::runRatio(
        state, kBmpTarget,
        [&] {
            std::memcpy(copy.data(), source.data(), fileBytes);
            benchmark::ClobberMemory();
        },
        [&] {
            sink.clear();
            benchmark::DoNotOptimize(write(sink));
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileBytes));
}

}  // namespace

RATIO_BENCHMARK(BM_PngDecode)->Arg(kFlatSprites)->Arg(kNoisyPhoto);
RATIO_BENCHMARK(BM_PngEncode)->Arg(kFlatSprites)->Arg(kNoisyPhoto);
RATIO_BENCHMARK(BM_BmpWrite)->Arg(32)->Arg(24)->Arg(8);
