// Every sum is formed in 64 bits from 32-bit fields, so none can wrap.
#include "image/bmp_file_check.h"

#include <cstring>
#include <limits>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;

template <class T>
T readAt(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The old 12-byte header: 16-bit sizes, no compression, three bytes a
// colour entry. The bytes its headers, colour table and pixels end at.
uint64_t coreBitmapEnd(const uint8_t* header, uint64_t pixelsAt) {
    const uint64_t width = readAt<uint16_t>(header + 4), height = readAt<uint16_t>(header + 6);
    const uint16_t planes = readAt<uint16_t>(header + 8), bits = readAt<uint16_t>(header + 10);
    if (width == 0 || height == 0 || planes != 1 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24)) {
        return std::numeric_limits<uint64_t>::max();
    }
    const uint64_t tableEnd = kFileHeaderBytes + kCoreHeaderBytes + (bits <= 8 ? 3u << bits : 0);
    if (pixelsAt < tableEnd) return std::numeric_limits<uint64_t>::max();
    return pixelsAt + (width * bits + 31) / 32 * 4 * height;
}

}  // namespace

BmpFileCheck checkBmpFile(const uint8_t* head, size_t headBytes, uint64_t fileSize) {
    if (headBytes < 2 || head[0] != 'B' || head[1] != 'M') return BmpFileCheck::NotBmp;
    // The format's sizes are 32-bit: no whole file is larger.
    if (fileSize > std::numeric_limits<uint32_t>::max() ||
        headBytes < kFileHeaderBytes + kCoreHeaderBytes) {
        return BmpFileCheck::Damaged;
    }
    const uint64_t pixelsAt = readAt<uint32_t>(head + 10);
    const uint8_t* header = head + kFileHeaderBytes;
    const uint32_t headerSize = readAt<uint32_t>(header);
    if (headerSize == kCoreHeaderBytes) {
        return coreBitmapEnd(header, pixelsAt) <= fileSize ? BmpFileCheck::Whole
                                                           : BmpFileCheck::Damaged;
    }
    DibLayout layout;
    const size_t blockSize = static_cast<size_t>(fileSize - kFileHeaderBytes);
    if (!parseDibLayout(header, blockSize, layout, headBytes - kFileHeaderBytes) ||
        pixelsAt < kFileHeaderBytes + headerSize || pixelsAt + layout.pixelBytes > fileSize) {
        return BmpFileCheck::Damaged;
    }
    return BmpFileCheck::Whole;
}
