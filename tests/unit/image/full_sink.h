#pragma once
// A sink that takes `capacity` bytes and then refuses, like a full disk.
#include <cstddef>

#include "image/byte_stream.h"

class FullSink final : public ByteSink {
public:
    explicit FullSink(size_t capacity) : capacity_(capacity) {}
    bool write(const void*, size_t size) override {
        if (size > capacity_) return false;
        capacity_ -= size;
        return true;
    }

private:
    size_t capacity_;
};
