#pragma once
// Builds PNG files byte by byte for the tests, independently of the codec
// under test: chunks with zlib's CRC, every row with filter 0, no interlace.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testpng {

using Bytes = std::vector<uint8_t>;

struct Recipe {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colorType = 6;
    Bytes palette = {};  // PLTE: red, green, blue per entry
    Bytes trns = {};     // tRNS payload, written when not empty
    Bytes samples = {};  // packed rows, top row first, without filter bytes
    std::vector<std::pair<std::string, Bytes>> extra = {};  // written right after IHDR
};

// Bytes of one packed row.
size_t rowBytes(uint32_t width, int colorType, int bitDepth);

void appendChunk(Bytes& file, const std::string& type, const Bytes& data);
Bytes ihdr(uint32_t width, uint32_t height, int bitDepth, int colorType);
Bytes signature();
// The zlib stream of the filtered rows.
Bytes imageData(const Recipe& recipe);
Bytes build(const Recipe& recipe);

}  // namespace testpng
