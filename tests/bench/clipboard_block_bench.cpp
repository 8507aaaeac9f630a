// The clipboard block of a 4096 x 4096 selection, as a ratio to memcpy of the
// block's bytes in the same iteration.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "edit/pixel_ops.h"
#include "image/clipboard_block.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSize = 4096;

// Writes the header and the pixels of a selection covering the canvas into a
// block reused by every iteration, as the copy commands build it.
void BM_WriteClipboardImageBlock(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    std::mt19937 random(13);
    for (size_t i = 0; i < size_t{kSize} * kSize; ++i) canvas.pixels[i] = random();
    const size_t size = clipboardImageBlockSize(kSize, kSize);
    // 8-byte words, as the platform's global memory is aligned; every page
    // written before timing.
    std::vector<uint64_t> block(size / 8 + 1, 1), from(size / 8 + 1, 2), to(size / 8 + 1, 3);
    auto* bytes = reinterpret_cast<uint8_t*>(block.data());
    state.SetLabel("clipboard DIB block of 4096 x 4096 (memcpy)");
    bench::runRatio(
        state, 0.8,
        [&] {
            std::memcpy(to.data(), from.data(), size);
            benchmark::ClobberMemory();
        },
        [&] {
            writeClipboardImageBlock(bytes, size, canvas, 0, 0, kSize, kSize, pixelOf(0x00FFFFFFu));
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

// A copy that offers CF_DIB, CF_DIBV5 and "PNG" keeps only the copied
// pixels and renders each block when a program asks, so the copy itself may
// cost at most 1.2 times a copy that writes the CF_DIB block alone (ratio
// 1 / 1.2). Both make their memory anew, as each copy does.
void BM_CopyWithEveryFormat(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    std::mt19937 random(17);
    for (size_t i = 0; i < size_t{kSize} * kSize; ++i) canvas.pixels[i] = random();
    const size_t size = clipboardImageBlockSize(kSize, kSize);
    state.SetLabel("copy offering every format (a copy writing CF_DIB alone)");
    bench::runRatio(
        state, 1 / 1.2,
        [&] {
            std::vector<uint64_t> block(size / 8 + 1);
            writeClipboardImageBlock(reinterpret_cast<uint8_t*>(block.data()), size, canvas, 0, 0,
                                     kSize, kSize, 0);
            benchmark::DoNotOptimize(block.data());
        },
        [&] {
            DIB copied(kSize, kSize);
            extractRect(canvas, 0, 0, kSize, kSize, 0, copied.pixels, size_t{kSize} * kSize);
            benchmark::DoNotOptimize(copied.pixels);
        });
}

}  // namespace

RATIO_BENCHMARK(BM_WriteClipboardImageBlock);
RATIO_BENCHMARK(BM_CopyWithEveryFormat);
