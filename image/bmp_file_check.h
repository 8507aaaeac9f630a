#pragma once
// The check a .bmp file passes before the platform's bitmap loader sees it:
// that loader trusts the offsets and sizes in the file's headers and reads
// past the end of the file when they lie.
#include <cstddef>
#include <cstdint>

#include "image/clipboard_block.h"

// The bytes of a file's beginning the check needs: the 14-byte file header
// and the largest bitmap header with its masks.
constexpr size_t kBmpHeadBytes = 14 + kDibHeadBytes;

enum class BmpFileCheck {
    NotBmp,   // no "BM" signature: some other kind of file
    Damaged,  // a header contradicts itself or the file's size
    Whole,    // the headers, colour table and pixels all lie inside the file
};

// `head` holds the first `headBytes` bytes of a file of `fileSize` bytes
// (all of them, or at least kBmpHeadBytes).
BmpFileCheck checkBmpFile(const uint8_t* head, size_t headBytes, uint64_t fileSize);
