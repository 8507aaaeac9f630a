#pragma once
// Builds PNG files byte by byte for the tests, independently of the codec
// under test: chunks with zlib's CRC, rows filtered with filter 0, optional
// Adam7 interlacing.
#include <cstdint>
#include <string>
#include <vector>

namespace testpng {

struct Recipe {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colorType = 6;
    bool interlaced = false;
    std::vector<uint8_t> palette;  // PLTE: red, green, blue per entry
    std::vector<uint8_t> trns;     // tRNS payload, written when not empty
    // Packed rows of the whole image, top row first, without filter bytes.
    std::vector<uint8_t> samples;
};

// Bits per pixel of a colour type at a bit depth.
int bitsPerPixel(int colorType, int bitDepth);
// Bytes of one packed row.
size_t rowBytes(uint32_t width, int colorType, int bitDepth);

void appendChunk(std::vector<uint8_t>& file, const std::string& type,
                 const std::vector<uint8_t>& data);
std::vector<uint8_t> ihdr(uint32_t width, uint32_t height, int bitDepth, int colorType,
                          bool interlaced);
std::vector<uint8_t> signature();
// The zlib stream of the filtered (and, when asked, interlaced) rows.
std::vector<uint8_t> imageData(const Recipe& recipe);
std::vector<uint8_t> build(const Recipe& recipe);

}  // namespace testpng
