// Fuzz target of the PNG decoder over a file held in memory. Whatever the
// bytes, decoding either fails and leaves the target alone, or yields an
// image that the encoder writes and the decoder reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/png_codec.h"

namespace {

// No guard against huge declared sizes: the decoder refuses any image its
// input cannot hold before allocating, so the fuzzer's memory limit stays
// far away.
constexpr uint32_t kSentinel = 0x12345678u;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
