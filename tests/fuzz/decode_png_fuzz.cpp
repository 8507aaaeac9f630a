// Fuzz target of the PNG decoder over a file held in memory. Whatever the
// bytes, decoding either fails and leaves the target alone, or yields an
// image that the encoder writes and the decoder reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/png_codec.h"

namespace {

constexpr uint32_t kSentinel = 0x12345678u;
// Larger images only test the allocation limits, which the unit tests cover;
// the fuzzer's memory limit would report them as failures.
constexpr uint64_t kMaxPixels = uint64_t(1) << 22;

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool declaresHugeImage(const uint8_t* data, size_t size) {
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    return uint64_t(be32(data + 16)) * be32(data + 20) > kMaxPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (declaresHugeImage(data, size)) return 0;
    DIB image(1, 1);
    image.pixels[0] = kSentinel;
    const int result = decodePngBytes(data, size, image);
    if (result == kPngFailed) {
        if (image.width() != 1 || image.height() != 1 || image.pixels[0] != kSentinel) std::abort();
        return 0;
    }
    if (result != kPngOpaqueSource && result != kPngTransparentSource) std::abort();
    if (!image.isValid()) std::abort();

    MemorySink written;
    if (!encodePng32(image, written)) std::abort();
    DIB back;
    if (decodePngBytes(written.bytes().data(), written.bytes().size(), back) !=
        kPngTransparentSource) {
        std::abort();
    }
    const size_t bytes = size_t(image.width()) * size_t(image.height()) * 4;
    if (back.width() != image.width() || back.height() != image.height() ||
        std::memcmp(back.pixels, image.pixels, bytes) != 0) {
        std::abort();
    }
    return 0;
}
