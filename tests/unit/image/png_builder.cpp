#include "tests/unit/image/png_builder.h"

#include <zlib.h>

#include <algorithm>

namespace testpng {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

uint32_t bitsAt(const uint8_t* row, uint64_t bitOffset, int count) {
    uint32_t v = 0;
    for (int i = 0; i < count; ++i, ++bitOffset) {
        v = (v << 1) | ((row[bitOffset / 8] >> (7 - bitOffset % 8)) & 1u);
    }
    return v;
}

void putBits(uint8_t* row, uint64_t bitOffset, int count, uint32_t v) {
    for (int i = count - 1; i >= 0; --i, ++bitOffset) {
        const uint8_t mask = static_cast<uint8_t>(0x80u >> (bitOffset % 8));
        if ((v >> i) & 1u) row[bitOffset / 8] |= mask;
        else row[bitOffset / 8] &= static_cast<uint8_t>(~mask);
    }
}

// Filter byte 0 before each row of a (sub)image.
void appendRows(std::vector<uint8_t>& raw, const Recipe& recipe, uint32_t x0, uint32_t y0,
                uint32_t dx, uint32_t dy) {
    const int bpp = bitsPerPixel(recipe.colorType, recipe.bitDepth);
    const size_t fullRow = rowBytes(recipe.width, recipe.colorType, recipe.bitDepth);
    const uint32_t passWidth = recipe.width > x0 ? (recipe.width - x0 + dx - 1) / dx : 0;
    if (passWidth == 0) return;
    const size_t passRow = rowBytes(passWidth, recipe.colorType, recipe.bitDepth);
    std::vector<uint8_t> row(passRow);
    for (uint32_t y = y0; y < recipe.height; y += dy) {
        const uint8_t* source = recipe.samples.data() + fullRow * y;
        std::fill(row.begin(), row.end(), 0);
        for (uint32_t i = 0, x = x0; x < recipe.width; ++i, x += dx) {
            if (bpp >= 8) {  // whole bytes, up to 8 per pixel
                std::copy_n(source + size_t(x) * (bpp / 8), bpp / 8, row.data() + i * (bpp / 8));
            } else {
                putBits(row.data(), uint64_t(i) * bpp, bpp, bitsAt(source, uint64_t(x) * bpp, bpp));
            }
        }
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
}

}  // namespace

int bitsPerPixel(int colorType, int bitDepth) {
    switch (colorType) {
    case 0: return bitDepth;
    case 2: return 3 * bitDepth;
    case 3: return bitDepth;
    case 4: return 2 * bitDepth;
    default: return 4 * bitDepth;
    }
}

size_t rowBytes(uint32_t width, int colorType, int bitDepth) {
    return (uint64_t(width) * bitsPerPixel(colorType, bitDepth) + 7) / 8;
}

void appendChunk(std::vector<uint8_t>& file, const std::string& type,
                 const std::vector<uint8_t>& data) {
    put32(file, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    put32(file, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

std::vector<uint8_t> ihdr(uint32_t width, uint32_t height, int bitDepth, int colorType,
                          bool interlaced) {
    std::vector<uint8_t> d;
    put32(d, width);
    put32(d, height);
    d.push_back(static_cast<uint8_t>(bitDepth));
    d.push_back(static_cast<uint8_t>(colorType));
    d.push_back(0);
    d.push_back(0);
    d.push_back(interlaced ? 1 : 0);
    return d;
}

std::vector<uint8_t> signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

std::vector<uint8_t> imageData(const Recipe& recipe) {
    std::vector<uint8_t> raw;
    if (!recipe.interlaced) {
        appendRows(raw, recipe, 0, 0, 1, 1);
    } else {
        static const uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                               {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                               {0, 1, 1, 2}};
        for (const auto& p : kPasses) appendRows(raw, recipe, p[0], p[1], p[2], p[3]);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    return packed;
}

std::vector<uint8_t> build(const Recipe& recipe) {
    std::vector<uint8_t> file = signature();
    const Recipe& r = recipe;
    appendChunk(file, "IHDR", ihdr(r.width, r.height, r.bitDepth, r.colorType, r.interlaced));
    if (!recipe.palette.empty()) appendChunk(file, "PLTE", recipe.palette);
    if (!recipe.trns.empty()) appendChunk(file, "tRNS", recipe.trns);
    appendChunk(file, "IDAT", imageData(recipe));
    appendChunk(file, "IEND", {});
    return file;
}

}  // namespace testpng
