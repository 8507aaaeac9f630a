#pragma once
// Small image files written byte by byte by the tests (JPEG, GIF, icon), so
// the picture loader is tested on files whose content the test knows exactly.
#include <cstdint>
#include <filesystem>

#include "tests/test_support.h"

namespace testfiles {

struct Rgb {
    uint8_t r, g, b;
};

// A baseline JPEG of 16 x 16 pixels made of four flat 8 x 8 blocks, colours in
// reading order (top-left, top-right, bottom-left, bottom-right). Flat blocks
// carry only their DC term, so they decode flat again.
Bytes jpegOfFourBlocks(const Rgb colours[4]);

inline constexpr Rgb kPrimaries[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// A 4 x 4 GIF with a four-colour palette: palette entry (x / 2) + 2 * (y / 2).
Bytes gifOfFourQuadrants(const Rgb palette[4]);

// A 16 x 16 32-bit icon file.
Bytes iconFile();

// An enhanced metafile with one rectangle.
Bytes enhancedMetafile();

// True when nobody holds the file open: it can be opened without sharing.
bool isClosedEverywhere(const std::filesystem::path& path);

}  // namespace testfiles
