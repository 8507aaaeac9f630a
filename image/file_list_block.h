#pragma once
// The file-list block (the platform's DROPFILES) that file managers put on
// the clipboard: a 20-byte header whose first field is the offset of a list
// of NUL-terminated names (UTF-16 when the header's wide flag is set,
// otherwise one byte per character), ended by an empty name.
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr size_t kFileListHeaderBytes = 20;

// The number of names in a block of `size` bytes, or nothing when the block
// is damaged: shorter than its header, a list offset inside the header or
// past the end, or a list whose end is not within the block. Only a checked
// block may be handed to the platform's functions, which read to the end
// marker without knowing the size.
std::optional<size_t> fileListCount(const uint8_t* block, size_t size);
