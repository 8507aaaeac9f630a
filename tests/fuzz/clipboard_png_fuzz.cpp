// Fuzz target of the clipboard's "PNG" block reader. Whatever the bytes, a
// block that is not taken leaves the target alone; a taken one is an image
// within the size limit, which the PNG encoder writes and the reader takes
// back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/clipboard_block.h"
#include "image/png_codec.h"

namespace {

constexpr uint32_t kSentinel = 0x12345678u;

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DIB image(1, 1);
    image.pixels[0] = kSentinel;
    if (!decodeClipboardPng(data, size, image)) {
        check(image.width() == 1 && image.height() == 1 && image.pixels[0] == kSentinel);
        return 0;
    }
    check(image.isValid());
    MemorySink written;
    check(encodePng32(image, written));
    DIB back;
    check(decodeClipboardPng(written.bytes().data(), written.bytes().size(), back));
    check(back.width() == image.width() && back.height() == image.height() &&
          std::memcmp(back.pixels, image.pixels,
                      static_cast<size_t>(image.width()) * image.height() * 4) == 0);
    return 0;
}
