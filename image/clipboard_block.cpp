// The portable side of the clipboard image: building the block the copy
// commands hand over, and checking and reading the blocks other programs
// leave there. Every length comes from the block itself, so every sum and
// product is formed in 64 bits and compared with the block's size first.
#include "image/clipboard_block.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "edit/pixel_ops.h"
#include "image/adopt_image.h"
#include "image/bitmap_info.h"
#include "image/png_codec.h"

namespace {

uint32_t readU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool isKnownHeaderSize(uint32_t n) {
    // BITMAPINFOHEADER, the V2 and V3 extensions (colour masks, then alpha
    // mask), BITMAPV4HEADER and BITMAPV5HEADER.
    return n == 40 || n == 52 || n == 56 || n == 108 || n == 124;
}

bool isCompressed(uint32_t compression) {
    return compression == kBiRle8 || compression == kBiRle4 || compression == kBiJpeg ||
           compression == kBiPng;
}

// The bit counts each compression allows. JPEG and PNG data state their own
// depth, so a header may also say 0 for them.
bool bitCountFits(uint16_t bits, uint32_t compression) {
    switch (compression) {
    case kBiRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitfields:
    case kBiAlphaBitfields: return bits == 16 || bits == 32;
    case kBiJpeg:
    case kBiPng:
        return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
               bits == 32;
    default: return false;
    }
}

// The blocks the direct path takes: 32-bit pixels stored as blue, green,
// red and a fourth byte, exactly like a DIB's.
bool isDirect(const DibLayout& layout) {
    if (layout.bitCount != 32) return false;
    if (layout.compression == kBiRgb) return true;
    if (layout.compression != kBiBitfields && layout.compression != kBiAlphaBitfields) return false;
    return layout.masks[0] == 0x00FF0000u && layout.masks[1] == 0x0000FF00u &&
           layout.masks[2] == 0x000000FFu;
}

// One colour channel of a bitfield pixel: where its mask starts and how
// many bits wide it is. Masks must be one run of bits; a channel without a
// mask reads as 0.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static bool of(uint32_t mask, Channel& channel) {
        channel = Channel{};
        if (mask == 0) return true;
        channel.mask = mask;
        while (((mask >> channel.shift) & 1u) == 0) ++channel.shift;
        const uint32_t run = mask >> channel.shift;
        if ((run & (run + 1)) != 0) return false;  // bits not contiguous
        while (channel.bits < 32 && ((run >> channel.bits) & 1u) != 0) ++channel.bits;
        return true;
    }

    // The channel scaled to 8 bits: narrower fields are stretched to the full
    // range (31 becomes 255), wider ones keep their top bits.
    uint32_t read(uint32_t pixel) const {
        if (bits == 0) return 0;
        const uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8) return value >> (bits - 8);
        const uint32_t top = (1u << bits) - 1;
        return (value * 255 + top / 2) / top;
    }
};

// Blocks the bitfield path takes: 16- or 32-bit pixels with masks that are
// runs of bits. Without an alpha mask the image is opaque.
bool readBitfields(const DibLayout& layout, const uint8_t* pixels, DIB& image) {
    if (layout.compression != kBiBitfields && layout.compression != kBiAlphaBitfields) return false;
    Channel red, green, blue, alpha;
    if (!Channel::of(layout.masks[0], red) || !Channel::of(layout.masks[1], green) ||
        !Channel::of(layout.masks[2], blue) || !Channel::of(layout.masks[3], alpha)) {
        return false;
    }
    const size_t bytes = layout.bitCount / 8;
    for (int32_t y = 0; y < layout.height; ++y) {
        // Block row r holds image row r when top-down, height - 1 - r otherwise.
        const int32_t r = layout.topDown ? y : layout.height - 1 - y;
        const uint8_t* in = pixels + static_cast<size_t>(r) * layout.stride;
        uint32_t* out = image.row(y);
        for (int32_t x = 0; x < layout.width; ++x, in += bytes) {
            uint32_t p = 0;
            std::memcpy(&p, in, bytes);
            const uint32_t a = alpha.bits != 0 ? alpha.read(p) : 255;
            out[x] = a << 24 | red.read(p) << 16 | green.read(p) << 8 | blue.read(p);
        }
    }
    return true;
}

}  // namespace

size_t clipboardImageBlockSize(int32_t w, int32_t h) {
    if (w <= 0 || h <= 0) return 0;
    // The platform's global memory sizes are 32-bit on the 32-bit build.
    const uint64_t size = static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 + 40;
    if (size > std::numeric_limits<uint32_t>::max()) return 0;
    return static_cast<size_t>(size);
}

bool writeClipboardImageBlock(uint8_t* block, size_t size, const DIB& source, int32_t x, int32_t y,
                              int32_t w, int32_t h, uint32_t outsidePixel) {
    if (block == nullptr || reinterpret_cast<uintptr_t>(block) % alignof(uint32_t) != 0) {
        return false;
    }
    if (size == 0 || size != clipboardImageBlockSize(w, h)) return false;
    // The pixels first: extractRect writes nothing when it fails, so neither
    // does this.
    uint32_t* pixels = reinterpret_cast<uint32_t*>(block + kClipboardHeaderBytes);
    if (!extractRect(source, x, y, w, h, outsidePixel, pixels,
                     (size - kClipboardHeaderBytes) / 4)) {
        return false;
    }
    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = w;
    header.biHeight = h;  // positive: rows bottom-up, as extractRect wrote them
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = kBiRgb;
    std::memcpy(block, &header, sizeof header);
    return true;
}

bool parseDibLayout(const uint8_t* block, size_t size, DibLayout& layout, size_t readable) {
    const size_t inReach = std::min(size, readable);
    if (block == nullptr || inReach < 4) return false;
    const uint32_t headerSize = readU32(block);
    if (!isKnownHeaderSize(headerSize) || headerSize > inReach) return false;
    BitmapInfoHeader header;
    std::memcpy(&header, block, sizeof header);

    if (header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == std::numeric_limits<int32_t>::min() || header.biPlanes != 1 ||
        !bitCountFits(header.biBitCount, header.biCompression)) {
        return false;
    }
    const bool topDown = header.biHeight < 0;
    // Compressed pixels are only ever stored bottom-up.
    if (topDown && isCompressed(header.biCompression)) return false;

    DibLayout out;
    out.bitCount = header.biBitCount;
    out.compression = header.biCompression;
    out.width = header.biWidth;
    out.height = topDown ? -header.biHeight : header.biHeight;
    out.topDown = topDown;

    // Later headers hold the masks themselves; the first one is followed by
    // them when the compression says bitfields.
    uint64_t offset = headerSize;
    const bool bitfields =
        header.biCompression == kBiBitfields || header.biCompression == kBiAlphaBitfields;
    if (headerSize >= 52) {
        for (size_t i = 0; i < 3; ++i) out.masks[i] = readU32(block + 40 + 4 * i);
        if (headerSize >= 56) out.masks[3] = readU32(block + 52);
    } else if (bitfields) {
        const size_t count = header.biCompression == kBiAlphaBitfields ? 4 : 3;
        if (offset + 4 * count > inReach) return false;
        for (size_t i = 0; i < count; ++i) out.masks[i] = readU32(block + offset + 4 * i);
        offset += 4 * count;
    }

    // Indexed pixels need their table (0 entries stated means all of them);
    // deeper pixels may carry one, which is skipped. Four bytes an entry in 64
    // bits cannot overflow; an absurd count simply does not fit the block.
    uint64_t entries = header.biClrUsed;
    if (header.biBitCount >= 1 && header.biBitCount <= 8) {
        const uint64_t all = uint64_t{1} << header.biBitCount;
        if (entries > all) return false;
        if (entries == 0) entries = all;
    }
    offset += entries * 4;
    if (offset > size) return false;
    const uint64_t rest = size - offset;

    if (isCompressed(header.biCompression)) {
        if (header.biSizeImage == 0 || header.biSizeImage > rest) return false;
        out.pixelBytes = header.biSizeImage;
    } else {
        // Rows are padded to 4 bytes. A stride beyond the block is refused
        // before it is multiplied by the height.
        const uint64_t stride =
            (static_cast<uint64_t>(out.width) * header.biBitCount + 31) / 32 * 4;
        if (stride > rest || static_cast<uint64_t>(out.height) > rest / stride) return false;
        out.stride = static_cast<size_t>(stride);
        out.pixelBytes = static_cast<size_t>(stride * static_cast<uint64_t>(out.height));
    }
    out.pixelOffset = static_cast<size_t>(offset);
    layout = out;
    return true;
}

DibBlockRead readClipboardDib(const uint8_t* block, size_t size, DIB& target) {
    DibLayout layout;
    if (!parseDibLayout(block, size, layout)) return DibBlockRead::Damaged;
    const bool direct = isDirect(layout);
    const bool bitfields =
        layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields;
    if (!direct && !bitfields) return DibBlockRead::NotDirect;
    if (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.height) * 4 >
        kMaxImageBytes) {
        return DibBlockRead::OutOfMemory;
    }

    DIB image;
    if (!image.create(layout.width, layout.height)) return DibBlockRead::OutOfMemory;
    const uint8_t* pixels = block + layout.pixelOffset;
    if (!direct) {
        if (!readBitfields(layout, pixels, image)) return DibBlockRead::NotDirect;
    } else if (!layout.topDown) {
        // The block's rows are bottom-up like the image's, with no padding.
        std::memcpy(image.pixels, pixels, layout.pixelBytes);
    } else {
        for (int32_t y = 0; y < layout.height; ++y) {
            std::memcpy(image.row(y), pixels + static_cast<size_t>(y) * layout.stride,
                        layout.stride);
        }
    }
    if (!adoptImage(target, image)) return DibBlockRead::OutOfMemory;
    return DibBlockRead::Taken;
}

size_t dibV5BlockSize(int32_t w, int32_t h) {
    if (w <= 0 || h <= 0) return 0;
    const uint64_t size =
        static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 + kDibV5HeaderBytes;
    if (size > std::numeric_limits<uint32_t>::max()) return 0;
    return static_cast<size_t>(size);
}

bool writeDibV5Block(uint8_t* block, size_t size, const DIB& image) {
    if (block == nullptr || !image.isValid() ||
        size != dibV5BlockSize(image.width(), image.height())) {
        return false;
    }
    std::memset(block, 0, kDibV5HeaderBytes);
    const uint32_t fields[] = {
        static_cast<uint32_t>(kDibV5HeaderBytes),
        static_cast<uint32_t>(image.width()),
        static_cast<uint32_t>(image.height()),  // positive: rows bottom-up
        1u | 32u << 16,                         // planes, bits per pixel
        kBiBitfields,
        static_cast<uint32_t>(size - kDibV5HeaderBytes),
        0,
        0,
        0,
        0,  // resolution and colour counts
        0x00FF0000u,
        0x0000FF00u,
        0x000000FFu,
        0xFF000000u,
        0x73524742u,  // the colour space: sRGB
    };
    std::memcpy(block, fields, sizeof fields);
    const uint32_t intent = 4;  // pictures: keep the colours' look
    std::memcpy(block + 108, &intent, 4);
    std::memcpy(block + kDibV5HeaderBytes, image.pixels, size - kDibV5HeaderBytes);
    return true;
}

bool decodeClipboardPng(const uint8_t* block, size_t size, DIB& target) {
    // The decoder checks the declared size before it allocates anything.
    DIB image;
    const int result = decodePngBytes(block, size, image);
    if (result == kPngFailed) return false;
    // Opaque sources carry a filler of 0 where alpha belongs.
    if (result == kPngOpaqueSource) image.makeOpaqueRect(0, 0, image.width(), image.height());
    return adoptImage(target, image);
}

bool alphaAllZero(const DIB& image) {
    if (!image.isValid()) return false;
    const size_t count = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height());
    for (size_t i = 0; i < count; ++i) {
        if ((image.pixels[i] >> 24) != 0) return false;
    }
    return true;
}
