// Benchmarks of the pixel operations on a 4096 x 4096 canvas, each as a ratio
// to memcpy of the canvas's bytes in the same iteration.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "edit/pixel_ops.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSize = 4096;
constexpr size_t kPixels = static_cast<size_t>(kSize) * kSize;
constexpr size_t kBytes = kPixels * 4;

// Random pixels, every page written before timing.
void fillRandom(DIB& image, uint32_t seed) {
    std::mt19937 random(seed);
    for (size_t i = 0; i < kPixels; ++i) image.pixels[i] = static_cast<uint32_t>(random());
}

// The memcpy anchor: a source and a destination of the canvas's size,
// touched once and reused by every iteration.
struct MemcpyAnchor {
    std::vector<uint32_t> from = std::vector<uint32_t>(kPixels, 0x11223344u);
    std::vector<uint32_t> to = std::vector<uint32_t>(kPixels, 0x55667788u);
    void operator()() {
        std::memcpy(to.data(), from.data(), kBytes);
        benchmark::ClobberMemory();
    }
};

template <class Operation>
void runAgainstMemcpy(benchmark::State& state, double target, Operation&& operation) {
    MemcpyAnchor anchor;
    bench::runRatio(state, target, anchor, [&] {
        operation();
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kBytes));
}

void BM_BlendRectTranslucent(benchmark::State& state) {
    DIB canvas(kSize, kSize), copyBuffer(kSize, kSize);
    if (!canvas.isValid() || !copyBuffer.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 1);
    fillRandom(copyBuffer, 2);
    state.SetLabel("translucent blend, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.4, [&] {
        blendRect(canvas, copyBuffer, 0, 0, kSize, kSize, BlendMode::Translucent);
    });
}

void BM_BlendRectOpaqueBase(benchmark::State& state) {
    DIB canvas(kSize, kSize), copyBuffer(kSize, kSize);
    if (!canvas.isValid() || !copyBuffer.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 3);
    fillRandom(copyBuffer, 4);
    state.SetLabel("opaque-base blend, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.4, [&] {
        blendRect(canvas, copyBuffer, 0, 0, kSize, kSize, BlendMode::OpaqueBase);
    });
}

// Argument: the RecolorKind value.
void BM_RecolorRect(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 5);
    const auto kind = static_cast<RecolorKind>(state.range(0));
    state.SetLabel(kind == RecolorKind::Invert ? "invert colours, 4096 x 4096 (memcpy)"
                                               : "RGB -> GBR, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.5, [&] { recolorRect(canvas, 0, 0, kSize, kSize, kind); });
}

// A four-colour canvas, so a quarter of the pixels match; the iterations
// alternate between replacing one colour by another and back, so every
// iteration finds the same number of matches.
void BM_ReplaceColorRect(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    const uint32_t palette[4] = {0xFF102030u, 0x80405060u, 0x00708090u, 0xFFA0B0C0u};
    std::mt19937 random(6);
    for (size_t i = 0; i < kPixels; ++i) canvas.pixels[i] = palette[random() & 3];
    const uint32_t other = 0x00C0FFEEu;
    bool forth = true;
    state.SetLabel("replace a colour, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.5, [&] {
        const uint32_t match = forth ? palette[1] : other;
        const uint32_t replacement = forth ? other : palette[1];
        benchmark::DoNotOptimize(
            replaceColorRect(canvas, 0, 0, kSize, kSize, match, replacement, true));
        forth = !forth;
    });
}

// countColorsRect promises pixels per second rather than a ratio: the
// counter Mpx_per_s against target_Mpx_per_s (ratio is shown for reference).
void runCount(benchmark::State& state, const DIB& canvas) {
    runAgainstMemcpy(
        state, 0.0, [&] { benchmark::DoNotOptimize(countColorsRect(canvas, 0, 0, kSize, kSize)); });
    state.counters["Mpx_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kPixels / 1e6, benchmark::Counter::kIsRate);
    state.counters["target_Mpx_per_s"] = 200;
}

void BM_CountColorsRectRandom(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 7);
    state.SetLabel("count colours, random 4096 x 4096 (Mpx/s)");
    runCount(state, canvas);
}

// Every colour once, red varying fastest along the rows: neighbouring pixels
// differ in the top byte of the colour.
void BM_CountColorsRectRedGradient(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    for (uint32_t i = 0; i < kPixels; ++i) {
        canvas.pixels[i] = 0xFF000000u | (i & 0xFF) << 16 | ((i >> 8) & 0xFF) << 8 | (i >> 16);
    }
    state.SetLabel("count colours, every colour once, red fastest (Mpx/s)");
    runCount(state, canvas);
}

void BM_FlipRectHorizontal(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 8);
    state.SetLabel("flip horizontally, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.5, [&] { flipRectHorizontal(canvas, 0, 0, kSize, kSize); });
}

void BM_FlipRectVertical(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 9);
    state.SetLabel("flip vertically, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.5, [&] { flipRectVertical(canvas, 0, 0, kSize, kSize); });
}

void BM_PasteMaskRect(benchmark::State& state) {
    DIB canvas(kSize, kSize), mask(kSize, kSize);
    if (!canvas.isValid() || !mask.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 10);
    fillRandom(mask, 11);
    state.SetLabel("paste a mask, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.5, [&] { pasteMaskRect(canvas, mask, 0, 0, kSize, kSize); });
}

// The copy of a selection that covers the canvas into a reused buffer.
void BM_ExtractRect(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    fillRandom(canvas, 12);
    std::vector<uint32_t> output(kPixels, 0);
    state.SetLabel("extract a selection, 4096 x 4096 (memcpy)");
    runAgainstMemcpy(state, 0.8, [&] {
        extractRect(canvas, 0, 0, kSize, kSize, pixelOf(0x00FFFFFFu), output.data(), output.size());
    });
}

}  // namespace

RATIO_BENCHMARK(BM_BlendRectTranslucent);
RATIO_BENCHMARK(BM_BlendRectOpaqueBase);
RATIO_BENCHMARK(BM_RecolorRect)
    ->Arg(static_cast<int>(RecolorKind::Invert))
    ->Arg(static_cast<int>(RecolorKind::ToGBR));
RATIO_BENCHMARK(BM_ReplaceColorRect);
RATIO_BENCHMARK(BM_CountColorsRectRandom);
RATIO_BENCHMARK(BM_CountColorsRectRedGradient);
RATIO_BENCHMARK(BM_FlipRectHorizontal);
RATIO_BENCHMARK(BM_FlipRectVertical);
RATIO_BENCHMARK(BM_PasteMaskRect);
RATIO_BENCHMARK(BM_ExtractRect);
