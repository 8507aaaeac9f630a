#include "image/file_list_block.h"

#include <cstring>

std::optional<size_t> fileListCount(const uint8_t* block, size_t size) {
    if (block == nullptr || size < kFileListHeaderBytes) return std::nullopt;
    uint32_t offset = 0, wide = 0;
    std::memcpy(&offset, block, 4);
    std::memcpy(&wide, block + 16, 4);
    if (offset < kFileListHeaderBytes || offset >= size) return std::nullopt;

    const size_t unit = wide ? 2 : 1;
    size_t count = 0, length = 0;
    for (size_t at = offset; at + unit <= size; at += unit) {
        uint16_t c = block[at];
        if (wide) std::memcpy(&c, block + at, 2);
        if (c != 0) {
            ++length;
        } else if (length == 0) {
            return count;  // the empty name ends the list
        } else {
            ++count;
            length = 0;
        }
    }
    return std::nullopt;
}
