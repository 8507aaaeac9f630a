// Benchmarks of the pixel buffer: fillRect and copyTo on a
// 4096 x 4096 image, as ratios to memset / memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "image/dib.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSize = 4096;
constexpr double kTarget = 0.8;
constexpr uint32_t kPixel = 0xFF336699u;  // four different bytes: not a memset in disguise

size_t bytesOf(int32_t w, int32_t h) { return static_cast<size_t>(w) * static_cast<size_t>(h) * 4; }

// Every page of the images is written before timing; the same images are used
// by every iteration.
void touch(DIB& d) { std::memset(d.pixels, 0x11, bytesOf(d.width(), d.height())); }

// The whole image: the rows are one contiguous block.
void BM_DibFillRect(benchmark::State& state) {
    DIB image(kSize, kSize);
    if (!image.isValid()) return state.SkipWithError("create failed");
    touch(image);
    const size_t bytes = bytesOf(kSize, kSize);
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memset(image.pixels, 0x5A, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            image.fillRect(0, 0, kSize, kSize, kPixel);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

// An inner rectangle: one run per row, 4032 of 4096 pixels each.
void BM_DibFillRectInner(benchmark::State& state) {
    constexpr int32_t kInner = kSize - 64;
    DIB image(kSize, kSize);
    if (!image.isValid()) return state.SkipWithError("create failed");
    touch(image);
    const size_t bytes = bytesOf(kInner, kInner);
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memset(image.pixels, 0x5A, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            image.fillRect(32, 32, kInner, kInner, kPixel);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

// The whole image into another of the same size.
void BM_DibCopyTo(benchmark::State& state) {
    DIB source(kSize, kSize), destination(kSize, kSize);
    if (!source.isValid() || !destination.isValid()) return state.SkipWithError("create failed");
    touch(source);
    touch(destination);
    const size_t bytes = bytesOf(kSize, kSize);
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memcpy(destination.pixels, source.pixels, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            source.copyTo(destination, 0, 0, kSize, kSize, 0, 0);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

// An inner rectangle at different offsets: one block copy per row.
void BM_DibCopyToInner(benchmark::State& state) {
    constexpr int32_t kInner = kSize - 64;
    DIB source(kSize, kSize), destination(kSize, kSize);
    if (!source.isValid() || !destination.isValid()) return state.SkipWithError("create failed");
    touch(source);
    touch(destination);
    const size_t bytes = bytesOf(kInner, kInner);
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memcpy(destination.pixels, source.pixels, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            source.copyTo(destination, 40, 24, kInner, kInner, 16, 48);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

}  // namespace

RATIO_BENCHMARK(BM_DibFillRect);
RATIO_BENCHMARK(BM_DibFillRectInner);
RATIO_BENCHMARK(BM_DibCopyTo);
RATIO_BENCHMARK(BM_DibCopyToInner);
