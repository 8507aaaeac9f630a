#pragma once
// Helpers shared by the native and the Windows tests: images whose pixels
// name their position, a target a failed load must leave alone, a sink that
// fills up like a disk, files and a temporary folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "image/byte_stream.h"
#include "image/dib.h"
#include "image/vector_path.h"

namespace testimage {

// A value that names its position; every byte varies with it.
inline uint32_t tag(int32_t x, int32_t y) {
    const uint32_t v = static_cast<uint32_t>(y * 1000 + x);
    return ((v * 37u + 11u) & 0xFFu) << 24 | (v & 0xFFFFu) << 8 | ((v * 101u + 7u) & 0xFFu);
}

inline void fill(DIB& d, const std::function<uint32_t(int32_t, int32_t)>& f) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x) d.row(y)[x] = f(x, y);
}

inline void fillTagged(DIB& d) { fill(d, tag); }

// Every pixel equals expected(x, y); names the first that does not.
inline testing::AssertionResult pixelsAre(
    const DIB& d, const std::function<uint32_t(int32_t, int32_t)>& expected) {
    for (int32_t y = 0; y < d.height(); ++y) {
        for (int32_t x = 0; x < d.width(); ++x) {
            if (d.pixelAt(x, y) != expected(x, y)) {
                return testing::AssertionFailure() << "at " << x << "," << y << std::hex << ": "
                                                   << d.pixelAt(x, y) << " not " << expected(x, y);
            }
        }
    }
    return testing::AssertionSuccess();
}

// Every pixel, to show that an operation left an image alone.
inline std::vector<uint32_t> snapshot(const DIB& d) {
    if (!d.isValid()) return {};
    return std::vector<uint32_t>(d.pixels, d.pixels + static_cast<size_t>(d.width()) * d.height());
}

// A 2 x 2 target that a failed load or decode must leave as it was: same
// buffer, same size, same pixels.
struct Sentinel {
    Sentinel() : target(2, 2), pixels(target.pixels) { target.fillRect(0, 0, 2, 2, 0x5A5A5A5Au); }
    bool unchanged() const {
        return target.pixels == pixels && target.width() == 2 && target.height() == 2 &&
               snapshot(target) == std::vector<uint32_t>(4, 0x5A5A5A5Au);
    }
    DIB target;
    const uint32_t* pixels;
};

}  // namespace testimage

// A test run once on each vector body of the pixel loops, that body chosen;
// skipped where the machine cannot execute it. Instantiate a suite
// `using Suite = OnEachVectorPath;` with ON_EACH_VECTOR_PATH(Suite).
class OnEachVectorPath : public testing::TestWithParam<VectorPath> {
protected:
    void SetUp() override {
        if (!useVectorPath(GetParam())) GTEST_SKIP() << "this machine cannot run that body";
    }
    void TearDown() override { useVectorPath(widestVectorPath()); }
};

#define ON_EACH_VECTOR_PATH(Suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(                                                                     \
        Body, Suite, testing::Values(VectorPath::Baseline, VectorPath::Avx2, VectorPath::Avx512), \
        [](const testing::TestParamInfo<VectorPath>& info) {                                      \
            return info.param == VectorPath::Avx512 ? "Avx512"                                    \
                   : info.param == VectorPath::Avx2 ? "Avx2"                                      \
                                                    : "Sse2";                                     \
        })

// A sink that takes `capacity` bytes and then refuses, like a full disk.
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

using Bytes = std::vector<uint8_t>;

inline Bytes readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline std::string readFileText(const std::filesystem::path& path) {
    const Bytes bytes = readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

template <class Container>
void writeFileBytes(const std::filesystem::path& path, const Container& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("plimsett-test-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directories(path_));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
