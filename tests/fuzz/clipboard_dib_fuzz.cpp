// Fuzz target of the clipboard's DIB block reader (CF_DIB and CF_DIBV5).
// Whatever the bytes, a block that is not taken leaves the target alone; a
// taken one yields an image of the header's size (holding the block's rows
// when they are plain 32-bit pixels), which the copy's block writers write
// and the reader takes back unchanged. The same bytes as the start of a .bmp
// file go through the file check, which may read the head alone.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/bmp_file_check.h"
#include "image/clipboard_block.h"

namespace {

constexpr uint32_t kSentinel = 0x12345678u;

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A head of its own exact size, so that any read past it is caught.
    const std::vector<uint8_t> head(data, data + std::min(size, kBmpHeadBytes));
    checkBmpFile(head.data(), head.size(), size);

    DIB image(1, 1);
    image.pixels[0] = kSentinel;
    const DibBlockRead result = readClipboardDib(data, size, image);
    if (result != DibBlockRead::Taken) {
        check(image.width() == 1 && image.height() == 1 && image.pixels[0] == kSentinel);
        return 0;
    }
    DibLayout layout;
    check(parseDibLayout(data, size, layout));
    check(image.isValid() && image.width() == layout.width && image.height() == layout.height);
    const bool direct = layout.bitCount == 32 &&
                        (layout.compression == kBiRgb ||
                         (layout.masks[0] == 0x00FF0000u && layout.masks[1] == 0x0000FF00u &&
                          layout.masks[2] == 0x000000FFu));
    if (direct) {
        // Row y of the image is block row y when top-down, height - 1 - y when not.
        const size_t rowBytes = static_cast<size_t>(layout.width) * 4;
        check(layout.stride == rowBytes);
        for (int32_t y = 0; y < layout.height; ++y) {
            const int32_t blockRow = layout.topDown ? y : layout.height - 1 - y;
            check(std::memcmp(image.row(y), data + layout.pixelOffset + blockRow * rowBytes,
                              rowBytes) == 0);
        }
    }

    // Whatever came in goes out again as the copy's CF_DIB and CF_DIBV5 and
    // is read back unchanged from both.
    const size_t pixelBytes = static_cast<size_t>(image.width()) * image.height() * 4;
    const size_t sizes[] = {clipboardImageBlockSize(image.width(), image.height()),
                            dibV5BlockSize(image.width(), image.height())};
    for (size_t blockSize : sizes) {
        check(blockSize != 0);
        std::vector<uint32_t> block(blockSize / 4);  // headers of 40 and 124: whole words
        uint8_t* bytes = reinterpret_cast<uint8_t*>(block.data());
        check(blockSize == sizes[0] ? writeClipboardImageBlock(bytes, blockSize, image, 0, 0,
                                                               image.width(), image.height(), 0)
                                    : writeDibV5Block(bytes, blockSize, image));
        DIB back;
        check(readClipboardDib(bytes, blockSize, back) == DibBlockRead::Taken);
        check(back.width() == image.width() && back.height() == image.height() &&
              std::memcmp(back.pixels, image.pixels, pixelBytes) == 0);
    }
    return 0;
}
