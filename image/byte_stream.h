#pragma once
// The bytes of an image file as the portable codecs see them: a source to read
// from and a sink to write to. The Win32 side puts files behind them; tests,
// benchmarks and the fuzzer use memory.
#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes into `buffer` and returns how many arrived;
    // fewer than asked means the end of the data or a read error. Never throws.
    virtual size_t read(void* buffer, size_t size) = 0;
    // Moves back to the first byte; false when that is not possible.
    virtual bool rewind() = 0;
    // How many bytes the source holds in all, or kUnknownSize.
    static constexpr uint64_t kUnknownSize = UINT64_MAX;
    virtual uint64_t totalSize() const { return kUnknownSize; }
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all `size` bytes, or returns false. Never throws.
    virtual bool write(const void* data, size_t size) = 0;
};

// Reads from a block of memory owned by the caller.
class MemorySource final : public ByteSource {
public:
    MemorySource(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(data != nullptr ? size : 0) {}
    size_t read(void* buffer, size_t size) override;
    bool rewind() override {
        position_ = 0;
        return true;
    }
    uint64_t totalSize() const override { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// Appends to a vector. clear() keeps the capacity, so a sink reused for many
// writes allocates only once.
class MemorySink final : public ByteSink {
public:
    bool write(const void* data, size_t size) override;
    void clear() { bytes_.clear(); }
    void reserve(size_t size) { bytes_.reserve(size); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};
