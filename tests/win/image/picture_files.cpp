#include "tests/win/image/picture_files.h"

#include <windows.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace testfiles {

namespace {

void put16le(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32le(Bytes& out, uint32_t v) {
    put16le(out, v);
    put16le(out, v >> 16);
}

// Entropy-coded bits, most significant first, with 0xFF byte stuffing.
class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}
    void put(uint32_t bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = uint8_t(current_ << 1 | ((bits >> i) & 1));
            if (++used_ == 8) emit();
        }
    }
    void finish() {
        while (used_ != 0) put(1, 1);  // pad with 1 bits
    }

private:
    void emit() {
        out_.push_back(current_);
        if (current_ == 0xFF) out_.push_back(0);
        current_ = 0;
        used_ = 0;
    }
    Bytes& out_;
    uint8_t current_ = 0;
    int used_ = 0;
};

// The standard luminance DC table: code lengths per category 0 .. 11.
const uint8_t kDcCounts[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};

int categoryOf(int value) {
    int magnitude = value < 0 ? -value : value, bits = 0;
    while (magnitude != 0) {
        magnitude >>= 1;
        ++bits;
    }
    return bits;
}

}  // namespace

Bytes jpegOfFourBlocks(const Rgb colours[4]) {
    // Canonical Huffman codes of the DC table.
    uint32_t dcCode[12] = {}, dcLength[12] = {};
    for (uint32_t length = 1, code = 0, symbol = 0; length <= 16; ++length, code <<= 1) {
        for (int i = 0; i < kDcCounts[length - 1]; ++i, ++symbol, ++code) {
            dcCode[symbol] = code;
            dcLength[symbol] = length;
        }
    }

    Bytes out = {0xFF, 0xD8};
    const uint8_t jfif[] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    out.insert(out.end(), std::begin(jfif), std::end(jfif));
    // One quantisation table of ones.
    out.insert(out.end(), {0xFF, 0xDB, 0, 67, 0});
    out.insert(out.end(), 64, 1);
    // Baseline frame: 16 x 16, three components without subsampling.
    out.insert(out.end(), {0xFF, 0xC0, 0, 17, 8, 0, 16, 0, 16, 3, 1, 0x11, 0, 2, 0x11, 0, 3,
                           0x11, 0});
    // DC table 0 and an AC table 0 whose only symbol is end-of-block (code "0").
    out.insert(out.end(), {0xFF, 0xC4, 0, 2 + 17 + 12 + 17 + 1, 0x00});
    out.insert(out.end(), std::begin(kDcCounts), std::end(kDcCounts));
    for (uint8_t v = 0; v < 12; ++v) out.push_back(v);
    out.push_back(0x10);
    out.push_back(1);
    out.insert(out.end(), 15, 0);
    out.push_back(0x00);
    out.insert(out.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});

    BitWriter bits(out);
    int previous[3] = {0, 0, 0};
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
            const int category = categoryOf(diff);
            bits.put(dcCode[category], int(dcLength[category]));
            if (category > 0) {
                bits.put(uint32_t(diff >= 0 ? diff : diff + (1 << category) - 1), category);
            }
            bits.put(0, 1);  // end of block
        }
    }
    bits.finish();
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes gifOfFourQuadrants(const Rgb palette[4]) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    put16le(out, 4);
    put16le(out, 4);
    out.insert(out.end(), {0x91, 0, 0});  // global table of 4 entries
    for (int i = 0; i < 4; ++i) out.insert(out.end(), {palette[i].r, palette[i].g, palette[i].b});
    out.push_back(0x2C);
    put16le(out, 0);
    put16le(out, 0);
    put16le(out, 4);
    put16le(out, 4);
    out.push_back(0);
    out.push_back(2);  // minimum code size: codes are 3 bits wide

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
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

Bytes iconFile() {
    Bytes out;
    put16le(out, 0);
    put16le(out, 1);
    put16le(out, 1);
    const uint32_t imageBytes = 40 + 16 * 16 * 4 + 16 * 4;
    out.insert(out.end(), {16, 16, 0, 0});
    put16le(out, 1);
    put16le(out, 32);
    put32le(out, imageBytes);
    put32le(out, 22);
    put32le(out, 40);
    put32le(out, 16);
    put32le(out, 32);  // colour and mask rows
    put16le(out, 1);
    put16le(out, 32);
    for (int i = 0; i < 6; ++i) put32le(out, 0);
    for (int i = 0; i < 16 * 16; ++i) put32le(out, 0xFF2080C0u);
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

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool isClosedEverywhere(const std::filesystem::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace testfiles
