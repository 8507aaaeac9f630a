// The PNG test suite of the libpng sources: every image libpng itself reads
// must decode to the pixels our expansion rules give, computed here from the
// raw samples; the crash reproducers must fail without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/png_codec.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kContrib = PLIMSETT_LIBPNG_CONTRIB;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> pngsIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".png") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Sample `index` of a packed row at `depth` bits.
uint32_t sampleAt(const Bytes& row, size_t index, int depth) {
    if (depth == 16) return uint32_t(row[2 * index]) << 8 | row[2 * index + 1];
    if (depth == 8) return row[index];
    const size_t bit = index * depth;
    return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

// A sample brought to 8 bits: the high byte of 16-bit samples, low depths
// scaled to the full range.
uint8_t to8(uint32_t sample, int depth) {
    if (depth == 16) return uint8_t(sample >> 8);
    return uint8_t(sample * 255 / ((1u << depth) - 1));
}

uint32_t bgra(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// The expected image row y as image pixels, and the expected result.
std::vector<uint32_t> expectedRow(const testpng::Raw& raw, uint32_t y) {
    const Bytes& row = raw.rows[y];
    const int d = raw.bitDepth;
    std::vector<uint32_t> out(raw.width);
    for (uint32_t x = 0; x < raw.width; ++x) {
        switch (raw.colorType) {
        case 0: {
            const uint32_t g = sampleAt(row, x, d);
            const uint8_t alpha = raw.hasTrns ? (g == raw.trnsGrey ? 0 : 255) : 0;
            out[x] = bgra(to8(g, d), to8(g, d), to8(g, d), alpha);
            break;
        }
        case 2: {
            const uint32_t r = sampleAt(row, 3 * x, d), g = sampleAt(row, 3 * x + 1, d),
                           b = sampleAt(row, 3 * x + 2, d);
            const bool clear = r == raw.trnsRed && g == raw.trnsGreen && b == raw.trnsBlue;
            const uint8_t alpha = raw.hasTrns ? (clear ? 0 : 255) : 0;
            out[x] = bgra(to8(r, d), to8(g, d), to8(b, d), alpha);
            break;
        }
        case 3: {
            const uint32_t i = sampleAt(row, x, d);
            const uint8_t alpha =
                raw.hasTrns ? (i < raw.trnsAlpha.size() ? raw.trnsAlpha[i] : 255) : 0;
            out[x] = bgra(raw.palette.at(3 * i), raw.palette.at(3 * i + 1),
                          raw.palette.at(3 * i + 2), alpha);
            break;
        }
        case 4: {
            const uint8_t g = to8(sampleAt(row, 2 * x, d), d);
            out[x] = bgra(g, g, g, to8(sampleAt(row, 2 * x + 1, d), d));
            break;
        }
        default:
            out[x] = bgra(to8(sampleAt(row, 4 * x, d), d), to8(sampleAt(row, 4 * x + 1, d), d),
                          to8(sampleAt(row, 4 * x + 2, d), d),
                          to8(sampleAt(row, 4 * x + 3, d), d));
        }
    }
    return out;
}

int expectedResult(const testpng::Raw& raw) {
    return ((raw.colorType & 4) != 0 || raw.hasTrns) ? kPngTransparentSource : kPngOpaqueSource;
}

// Decodes one file and compares it with the rules applied to its raw samples.
void expectExpandedSamples(const Bytes& file, const testpng::Raw& raw) {
    DIB image;
    const int result = decodePngBytes(file.data(), file.size(), image);
    EXPECT_EQ(result, expectedResult(raw));
    if (result == kPngFailed) return;
    EXPECT_EQ(image.width(), int32_t(raw.width));
    EXPECT_EQ(image.height(), int32_t(raw.height));
    for (uint32_t y = 0; y < raw.height; ++y) {
        const std::vector<uint32_t> want = expectedRow(raw, y);
        if (!std::equal(want.begin(), want.end(), image.row(int32_t(y)))) {
            ADD_FAILURE() << "first differing row " << y;
            return;
        }
    }
}

// Checks every file of a folder that libpng reads; returns how many.
int checkFolder(const fs::path& folder) {
    int checked = 0;
    for (const fs::path& path : pngsIn(folder)) {
        SCOPED_TRACE(path.filename().string());
        const Bytes file = readFile(path);
        testpng::Raw raw;
        if (!testpng::readRaw(file, raw)) continue;
        expectExpandedSamples(file, raw);
        ++checked;
    }
    return checked;
}

TEST(PngSuite, EveryImageDecodesToItsExpandedSamples) {
    // 1, 2, 4, 8 and 16 bits; grey, RGB, palette, with and without alpha and
    // tRNS; plain and interlaced.
    EXPECT_GE(checkFolder(kContrib / "pngsuite"), 50);
    EXPECT_GE(checkFolder(kContrib / "pngsuite" / "interlaced"), 9);
}

TEST(PngSuite, TestImagesDecodeWithoutGammaOrColourProfile) {
    // The same samples with gAMA 1.8, linear and sRGB chunks: all decode as stored.
    EXPECT_GE(checkFolder(kContrib / "testpngs"), 100);
}

// Files that once crashed libpng. Those libpng rejects must fail and leave the
// target alone; one of them (empty ancillary chunks) is a valid image that
// libpng reads with warnings only, and it must then decode like any other.
TEST(PngSuite, CrashReproducersFailCleanly) {
    const std::vector<fs::path> files = pngsIn(kContrib / "testpngs" / "crashers");
    int failed = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes file = readFile(path);
        testpng::Raw raw;
        if (testpng::readRaw(file, raw)) {
            expectExpandedSamples(file, raw);
            continue;
        }
        DIB target(3, 3);
        target.fillRect(0, 0, 3, 3, 0xCAFEF00Du);
        const uint32_t* before = target.pixels;
        EXPECT_EQ(decodePngBytes(file.data(), file.size(), target), kPngFailed);
        EXPECT_EQ(target.pixels, before);
        ASSERT_EQ(target.width(), 3);
        EXPECT_EQ(target.pixelAt(2, 2), 0xCAFEF00Du);
        ++failed;
    }
    EXPECT_GE(failed, 20);
}

}  // namespace
