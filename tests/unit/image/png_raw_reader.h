#pragma once
// Reads a PNG with libpng and no transformation at all (only de-interlacing),
// so the tests derive the expected pixels by their own rules instead of
// asking the decoder under test.
#include <cstdint>
#include <vector>

namespace testpng {

struct Raw {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colorType = 0;
    std::vector<uint8_t> palette;  // red, green, blue per entry
    bool hasTrns = false;
    std::vector<uint8_t> trnsAlpha;  // palette files: one alpha per entry
    uint16_t trnsGrey = 0, trnsRed = 0, trnsGreen = 0, trnsBlue = 0;
    bool hasSbit = false;
    std::vector<std::vector<uint8_t>> rows;  // packed samples, top row first
};

// False when libpng reports an error anywhere up to the end of the image data.
bool readRaw(const std::vector<uint8_t>& file, Raw& raw);

}  // namespace testpng
