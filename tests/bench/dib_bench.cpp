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

// Argument 0: the whole image, whose rows are one contiguous block.
// Argument 1: an inner rectangle of 4032 x 4032 (one run per row), copied
// between different offsets.
constexpr int32_t kInner = kSize - 64;

int32_t sideOf(const benchmark::State& state) { return state.range(0) == 0 ? kSize : kInner; }

void BM_DibFillRect(benchmark::State& state) {
    DIB image(kSize, kSize);
    if (!image.isValid()) return state.SkipWithError("create failed");
    touch(image);
    const int32_t side = sideOf(state);
    const int32_t at = (kSize - side) / 2;
    const size_t bytes = bytesOf(side, side);
    state.SetLabel(state.range(0) == 0 ? "fillRect, whole 4096 x 4096 image (memset)"
                                       : "fillRect, inner 4032 x 4032 (memset)");
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memset(image.pixels, 0x5A, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            image.fillRect(at, at, side, side, kPixel);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_DibCopyTo(benchmark::State& state) {
    DIB source(kSize, kSize), destination(kSize, kSize);
    if (!source.isValid() || !destination.isValid()) return state.SkipWithError("create failed");
    touch(source);
    touch(destination);
    const bool whole = state.range(0) == 0;
    const int32_t side = sideOf(state);
    const size_t bytes = bytesOf(side, side);
    state.SetLabel(whole ? "copyTo, whole 4096 x 4096 image (memcpy)"
                         : "copyTo, inner 4032 x 4032 between offsets (memcpy)");
    bench::runRatio(
        state, kTarget,
        [&] {
            std::memcpy(destination.pixels, source.pixels, bytes);
            benchmark::ClobberMemory();
        },
        [&] {
            if (whole) {
                source.copyTo(destination, 0, 0, side, side, 0, 0);
            } else {
                source.copyTo(destination, 40, 24, side, side, 16, 48);
            }
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

}  // namespace

RATIO_BENCHMARK(BM_DibFillRect)->Arg(0)->Arg(1);
RATIO_BENCHMARK(BM_DibCopyTo)->Arg(0)->Arg(1);
