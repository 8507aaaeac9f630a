// Memory-backed byte sources and sinks.
#include "image/byte_stream.h"

#include <cstring>
#include <exception>

size_t MemorySource::read(void* buffer, size_t size) {
    const size_t count = size < size_ - position_ ? size : size_ - position_;
    if (count != 0) std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return count;
}

bool MemorySink::write(const void* data, size_t size) {
    if (size == 0) return true;
    const auto* p = static_cast<const uint8_t*>(data);
    try {
        bytes_.insert(bytes_.end(), p, p + size);
    } catch (const std::exception&) {  // out of memory or past the vector's size limit
        return false;
    }
    return true;
}
