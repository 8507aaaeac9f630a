#include "tests/win/image/picture_files.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <iterator>

namespace testfiles {

namespace {

// Little-endian 16-bit values.
void put16le(Bytes& out, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}

void put32le(Bytes& out, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) put16le(out, {v, v >> 16});
}

}  // namespace

Bytes jpegOfFourBlocks(const Rgb colours[4]) {
    // The standard luminance DC table (codes per length) and its canonical codes.
    static const uint8_t kDcCounts[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    uint32_t dcCode[12] = {}, dcLength[12] = {};
    for (uint32_t length = 1, code = 0, symbol = 0; length <= 16; ++length, code <<= 1) {
        for (int i = 0; i < kDcCounts[length - 1]; ++i, ++symbol, ++code) {
            dcCode[symbol] = code;
            dcLength[symbol] = length;
        }
    }

    Bytes out = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    out.insert(out.end(), {0xFF, 0xDB, 0, 67, 0});  // one quantisation table of ones
    out.insert(out.end(), 64, 1);
    // Baseline frame: 16 x 16, three components without subsampling.
    out.insert(out.end(),
               {0xFF, 0xC0, 0, 17, 8, 0, 16, 0, 16, 3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0});
    // DC table 0, then AC table 0 whose only symbol is end-of-block (code "0").
    out.insert(out.end(), {0xFF, 0xC4, 0, 2 + 17 + 12 + 17 + 1, 0x00});
    out.insert(out.end(), std::begin(kDcCounts), std::end(kDcCounts));
    for (uint8_t v = 0; v < 12; ++v) out.push_back(v);
    out.insert(out.end(), {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    out.insert(out.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});

    // Entropy-coded bits, most significant first, a 0 stuffed after each 0xFF.
    uint32_t current = 0;
    int used = 0;
    auto put = [&](uint32_t bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current = current << 1 | ((bits >> i) & 1);
            if (++used < 8) continue;
            out.push_back(uint8_t(current));
            if (current == 0xFF) out.push_back(0);
            current = 0;
            used = 0;
        }
    };
    int previous[3] = {};
    for (int block = 0; block < 4; ++block) {
        const double r = colours[block].r, g = colours[block].g, b = colours[block].b;
        const double ycc[3] = {0.299 * r + 0.587 * g + 0.114 * b,
                               -0.168736 * r - 0.331264 * g + 0.5 * b + 128,
                               0.5 * r - 0.418688 * g - 0.081312 * b + 128};
        for (int c = 0; c < 3; ++c) {
            // A flat block's DC coefficient is 8 x (level - 128).
            const int dc = int(std::lround(8 * (ycc[c] - 128)));
            const int diff = dc - previous[c];
            previous[c] = dc;
            int category = 0;
            while ((std::abs(diff) >> category) != 0) ++category;
            put(dcCode[category], int(dcLength[category]));
            if (category > 0) put(uint32_t(diff < 0 ? diff + (1 << category) - 1 : diff), category);
            put(0, 1);  // end of block
        }
    }
    while (used != 0) put(1, 1);  // padding
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes gifOfFourQuadrants(const Rgb palette[4]) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x91, 0, 0};  // 4 colours
    for (int i = 0; i < 4; ++i) out.insert(out.end(), {palette[i].r, palette[i].g, palette[i].b});
    // The image at (0, 0), 4 x 4; minimum code size 2: codes are 3 bits wide.
    out.insert(out.end(), {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2});

    // A clear code before every pixel keeps the code width at 3 bits.
    Bytes data;
    uint32_t accumulator = 0;
    int held = 0;
    auto code = [&](uint32_t value) {
        accumulator |= value << held;
        held += 3;
        while (held >= 8) {
            data.push_back(uint8_t(accumulator));
            accumulator >>= 8;
            held -= 8;
        }
    };
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            code(4);
            code(uint32_t(x / 2 + 2 * (y / 2)));
        }
    }
    code(5);
    if (held > 0) data.push_back(uint8_t(accumulator));
    out.push_back(uint8_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), {0, 0x3B});
    return out;
}

Bytes iconFile() {
    // One 16 x 16 entry of 32 bits at offset 22: header, pixels, mask rows.
    Bytes out = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    put32le(out, {40 + 16 * 16 * 4 + 16 * 4, 22, 40, 16, 32});  // height: colour and mask
    put16le(out, {1, 32});
    put32le(out, {0, 0, 0, 0, 0, 0});
    for (int i = 0; i < 16 * 16; ++i) put32le(out, {0xFF2080C0u});
    out.insert(out.end(), 16 * 4, 0);
    return out;
}

Bytes enhancedMetafile() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 20, 10);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    Bytes out(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, UINT(out.size()), out.data());
    DeleteEnhMetaFile(metafile);
    return out;
}

bool isClosedEverywhere(const std::filesystem::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace testfiles
