// BMP and grey-mask BMP files, byte for byte.
#include "image/bmp_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/grey_mask_block.h"

namespace {

constexpr size_t kColourFileOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
// Converted rows are written in blocks of about this size: few writes, and the
// block stays in the cache while it is converted and written.
constexpr size_t kBlockBytes = 128 * 1024;

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

// The 14-byte file header.
void putFileHeader(uint8_t* p, uint32_t imageSize, uint32_t pixelOffset) {
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, pixelOffset + imageSize);
    put32(p + 6, 0);
    put32(p + 10, pixelOffset);
}

// The 40-byte info header of a colour file: no colour table.
void putColourInfoHeader(uint8_t* p, const DIB& image, int bits, uint32_t imageSize) {
    put32(p, static_cast<uint32_t>(kBmpInfoHeaderSize));
    put32(p + 4, static_cast<uint32_t>(image.width()));
    put32(p + 8, static_cast<uint32_t>(image.height()));
    put16(p + 12, 1);
    put16(p + 14, static_cast<uint32_t>(bits));
    put32(p + 16, 0);  // BI_RGB
    put32(p + 20, imageSize);
    put32(p + 24, kPelsPerMeter);
    put32(p + 28, kPelsPerMeter);
    put32(p + 32, 0);
    put32(p + 36, 0);
}

// stride x height, or 0 when the file (pixel offset included) would not fit
// the 32-bit size fields.
uint32_t imageSizeOf(const DIB& image, int bits, uint32_t pixelOffset) {
    const uint64_t stride = bmpStride(image.width(), bits);
    const uint64_t size = stride * static_cast<uint64_t>(image.height());
    if (stride == 0 || size > std::numeric_limits<uint32_t>::max() - pixelOffset) return 0;
    return static_cast<uint32_t>(size);
}

// Pixels are read as 32-bit values: on the little-endian machines we run on,
// the value's low byte is blue and its high byte alpha.
static_assert(std::endian::native == std::endian::little,
              "pixel bytes are blue, green, red, alpha");

void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

void rowTo24(const uint32_t* source, uint8_t* row, int32_t width, uint32_t stride) {
    const uint32_t used = static_cast<uint32_t>(width) * 3;
    int32_t x = 0;
    // Four pixels become three 32-bit words.
    for (; x + 4 <= width; x += 4, source += 4, row += 12) {
        const uint32_t p0 = source[0], p1 = source[1], p2 = source[2], p3 = source[3];
        store32(row, (p0 & 0xFFFFFFu) | p1 << 24);
        store32(row + 4, ((p1 >> 8) & 0xFFFFu) | p2 << 16);
        store32(row + 8, ((p2 >> 16) & 0xFFu) | p3 << 8);
    }
    for (; x < width; ++x, ++source, row += 3) {
        row[0] = static_cast<uint8_t>(*source);
        row[1] = static_cast<uint8_t>(*source >> 8);
        row[2] = static_cast<uint8_t>(*source >> 16);
    }
    std::memset(row, 0, stride - used);
}

void rowToAlpha(const uint32_t* source, uint8_t* row, int32_t width, uint32_t stride) {
    int32_t x = 0;
#if defined(__SSE2__)
    // Sixteen pixels at a time: shift alpha down, then narrow 32 -> 16 -> 8 bits.
    for (; x + 16 <= width; x += 16, source += 16, row += 16) {
        const auto* p = reinterpret_cast<const __m128i*>(source);
        const __m128i a = _mm_srli_epi32(_mm_loadu_si128(p), 24);
        const __m128i b = _mm_srli_epi32(_mm_loadu_si128(p + 1), 24);
        const __m128i c = _mm_srli_epi32(_mm_loadu_si128(p + 2), 24);
        const __m128i d = _mm_srli_epi32(_mm_loadu_si128(p + 3), 24);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row), bytes);
    }
#endif
    // Four alpha bytes become one 32-bit word.
    for (; x + 4 <= width; x += 4, source += 4, row += 4) {
        store32(row, source[0] >> 24 | (source[1] >> 24) << 8 | (source[2] >> 24) << 16 |
                         (source[3] & 0xFF000000u));
    }
    for (; x < width; ++x, ++source, ++row) *row = static_cast<uint8_t>(*source >> 24);
    std::memset(row, 0, stride - static_cast<uint32_t>(width));
}

// Converts the memory rows (already bottom-up, the file's order) block by
// block and writes each block with one call.
template <class ConvertRow>
bool writeRows(const DIB& image, uint32_t stride, ByteSink& sink, ConvertRow convert) {
    const int32_t width = image.width();
    const int32_t height = image.height();
    const size_t rowsPerBlock = std::max<size_t>(1, kBlockBytes / stride);
    const size_t blockRows = std::min<size_t>(rowsPerBlock, static_cast<size_t>(height));
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockRows * stride]);
    if (!block) return false;

    const uint32_t* source = image.pixels;
    for (size_t done = 0; done < static_cast<size_t>(height);) {
        const size_t rows = std::min(blockRows, static_cast<size_t>(height) - done);
        for (size_t r = 0; r < rows; ++r, source += width) {
            convert(source, block.get() + r * stride, width, stride);
        }
        if (!sink.write(block.get(), rows * stride)) return false;
        done += rows;
    }
    return true;
}

}  // namespace

uint32_t bmpStride(int32_t width, int bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    const uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
    const uint64_t stride = (bits + 31) / 32 * 4;
    if (stride > std::numeric_limits<uint32_t>::max()) return 0;
    return static_cast<uint32_t>(stride);
}

bool encodeBmp(const DIB& image, int bits, ByteSink& sink) {
    if (!image.isValid() || (bits != 32 && bits != 24)) return false;
    const uint32_t imageSize = imageSizeOf(image, bits, kColourFileOffset);
    if (imageSize == 0) return false;

    uint8_t headers[kColourFileOffset];
    putFileHeader(headers, imageSize, kColourFileOffset);
    putColourInfoHeader(headers + kBmpFileHeaderSize, image, bits, imageSize);
    if (!sink.write(headers, sizeof headers)) return false;
    // 32-bit rows are the image memory itself.
    if (bits == 32) return sink.write(image.pixels, imageSize);
    return writeRows(image, bmpStride(image.width(), 24), sink, rowTo24);
}

bool encodeGreyMaskBmp(const DIB& image, ByteSink& sink) {
    if (!image.isValid()) return false;
    const uint32_t imageSize = imageSizeOf(image, 8, kGreyMaskFilePixelOffset);
    if (imageSize == 0) return false;

    // After the file header, the same header and grey ramp as the clipboard's mask block.
    uint8_t headers[kGreyMaskFilePixelOffset];
    putFileHeader(headers, imageSize, kGreyMaskFilePixelOffset);
    writeGreyMaskHeader(headers + kBmpFileHeaderSize, image.width(), image.height());
    if (!sink.write(headers, sizeof headers)) return false;
    return writeRows(image, bmpStride(image.width(), 8), sink, rowToAlpha);
}
