#include "tests/unit/image/png_builder.h"

#include <zlib.h>

namespace testpng {

namespace {

void put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace

size_t rowBytes(uint32_t width, int colorType, int bitDepth) {
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    return (uint64_t(width) * kChannels[colorType] * bitDepth + 7) / 8;
}

void appendChunk(Bytes& file, const std::string& type, const Bytes& data) {
    put32(file, static_cast<uint32_t>(data.size()));
    Bytes body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    put32(file, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

Bytes ihdr(uint32_t width, uint32_t height, int bitDepth, int colorType) {
    Bytes d;
    put32(d, width);
    put32(d, height);
    d.insert(d.end(), {uint8_t(bitDepth), uint8_t(colorType), 0, 0, 0});
    return d;
}

Bytes signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

Bytes imageData(const Recipe& r) {
    const size_t stride = rowBytes(r.width, r.colorType, r.bitDepth);
    Bytes raw;
    for (uint32_t y = 0; y < r.height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), r.samples.begin() + stride * y, r.samples.begin() + stride * (y + 1));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    return packed;
}

Bytes build(const Recipe& r) {
    Bytes file = signature();
    appendChunk(file, "IHDR", ihdr(r.width, r.height, r.bitDepth, r.colorType));
    for (const auto& [type, data] : r.extra) appendChunk(file, type, data);
    if (!r.palette.empty()) appendChunk(file, "PLTE", r.palette);
    if (!r.trns.empty()) appendChunk(file, "tRNS", r.trns);
    appendChunk(file, "IDAT", imageData(r));
    appendChunk(file, "IEND", {});
    return file;
}

}  // namespace testpng
