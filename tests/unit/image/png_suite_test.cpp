// The PNG test suite of the libpng sources: every image libpng itself reads
// must decode to the pixels our expansion rules give, computed here from the
// raw samples; the crash reproducers must fail without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "image/png_codec.h"
#include "tests/test_support.h"
#include "tests/unit/image/png_raw_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path kContrib = PLIMSETT_LIBPNG_CONTRIB;

// The .png files of a folder with their contents, in name order.
std::vector<std::pair<std::string, Bytes>> pngsIn(const fs::path& folder) {
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png")
            files.emplace_back(entry.path().filename().string(), readFileBytes(entry.path()));
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

// A sample brought to 8 bits: the high byte of 16 bits, low depths scaled up.
uint32_t to8(uint32_t sample, int depth) {
    return depth == 16 ? sample >> 8 : sample * 255 / ((1u << depth) - 1);
}

// Pixel x of row y by the rules: tRNS to alpha, palette and grey expanded,
// 16 bits to the high byte, filler alpha 0 without alpha or tRNS.
uint32_t expectedPixel(const testpng::Raw& raw, uint32_t x, uint32_t y) {
    static const uint32_t kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const uint32_t n = kChannels[raw.colorType];
    uint32_t v[4] = {};  // the samples as stored
    for (uint32_t c = 0; c < n; ++c) v[c] = sampleAt(raw.rows[y], n * x + c, raw.bitDepth);
    uint32_t r, g, b, a;
    if (raw.colorType == 3) {
        r = raw.palette.at(3 * v[0]);
        g = raw.palette.at(3 * v[0] + 1);
        b = raw.palette.at(3 * v[0] + 2);
        a = !raw.hasTrns ? 0 : v[0] < raw.trnsAlpha.size() ? raw.trnsAlpha[v[0]] : 255;
    } else {
        r = to8(v[0], raw.bitDepth);
        g = n >= 3 ? to8(v[1], raw.bitDepth) : r;
        b = n >= 3 ? to8(v[2], raw.bitDepth) : r;
        const bool clear =
            n == 1 ? v[0] == raw.trnsGrey
                   : v[0] == raw.trnsRed && v[1] == raw.trnsGreen && v[2] == raw.trnsBlue;
        a = n == 2 || n == 4 ? to8(v[n - 1], raw.bitDepth) : !raw.hasTrns ? 0 : clear ? 0 : 255;
    }
    return a << 24 | r << 16 | g << 8 | b;
}

// Decodes one file and compares it with the rules applied to its raw samples.
void expectExpandedSamples(const Bytes& file, const testpng::Raw& raw) {
    DIB image;
    const int result = decodePngBytes(file.data(), file.size(), image);
    const bool transparent = (raw.colorType & 4) != 0 || raw.hasTrns;
    ASSERT_EQ(result, transparent ? kPngTransparentSource : kPngOpaqueSource);
    ASSERT_EQ(image.width(), int32_t(raw.width));
    ASSERT_EQ(image.height(), int32_t(raw.height));
    for (uint32_t y = 0; y < raw.height; ++y)
        for (uint32_t x = 0; x < raw.width; ++x)
            ASSERT_EQ(image.pixelAt(int32_t(x), int32_t(y)), expectedPixel(raw, x, y))
                << x << "," << y;
}

// 1, 2, 4, 8 and 16 bits; grey, RGB, palette, with and without alpha and
// tRNS; plain and interlaced; with gAMA 1.8, linear and sRGB chunks, all of
// which decode as stored.
TEST(PngSuite, EveryImageDecodesToItsExpandedSamples) {
    const std::pair<fs::path, int> folders[] = {{kContrib / "pngsuite", 50},
                                                {kContrib / "pngsuite" / "interlaced", 9},
                                                {kContrib / "testpngs", 100}};
    for (const auto& [folder, atLeast] : folders) {
        int checked = 0;
        for (const auto& [name, file] : pngsIn(folder)) {
            SCOPED_TRACE(name);
            testpng::Raw raw;
            if (!testpng::readRaw(file, raw)) continue;
            expectExpandedSamples(file, raw);
            ++checked;
        }
        EXPECT_GE(checked, atLeast) << folder;
    }
}

// Files that once crashed libpng. Those libpng rejects must fail and leave the
// target alone; one of them (empty ancillary chunks) is a valid image that
// libpng reads with warnings only, and it must then decode like any other.
TEST(PngSuite, CrashReproducersFailCleanly) {
    int failed = 0;
    for (const auto& [name, file] : pngsIn(kContrib / "testpngs" / "crashers")) {
        SCOPED_TRACE(name);
        testpng::Raw raw;
        if (testpng::readRaw(file, raw)) {
            expectExpandedSamples(file, raw);
            continue;
        }
        testimage::Sentinel s;
        EXPECT_EQ(decodePngBytes(file.data(), file.size(), s.target), kPngFailed);
        EXPECT_TRUE(s.unchanged());
        ++failed;
    }
    EXPECT_GE(failed, 20);
}

}  // namespace
