// Benchmark of the undo capture of a whole 4096 x 4096 canvas, as a ratio to
// memcpy of the same bytes in the same iteration.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "edit/undo_history.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSize = 4096;
constexpr size_t kPixels = static_cast<size_t>(kSize) * kSize;
constexpr size_t kBytes = kPixels * 4;

// The pending entry's image is made once before timing and reused, as the
// memcpy anchor's buffers are: what is timed is the capture, not the first
// touch of fresh pages.
void BM_UndoCaptureWholeCanvas(benchmark::State& state) {
    DIB canvas(kSize, kSize);
    if (!canvas.isValid()) return state.SkipWithError("create failed");
    for (size_t i = 0; i < kPixels; ++i) canvas.pixels[i] = static_cast<uint32_t>(i * 2654435761u);
    UndoHistory history;
    history.beginEntry(UndoKind::WholeCanvas);
    if (!history.captureBefore(canvas, 0, 0, kSize, kSize))
        return state.SkipWithError("capture failed");

    std::vector<uint32_t> from(kPixels, 0x11223344u), to(kPixels, 0x55667788u);
    state.SetLabel("undo capture, 4096 x 4096 (memcpy)");
    bench::runRatio(
        state, 0.8,
        [&] {
            std::memcpy(to.data(), from.data(), kBytes);
            benchmark::ClobberMemory();
        },
        [&] {
            history.captureBefore(canvas, 0, 0, kSize, kSize);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kBytes));
}

}  // namespace

RATIO_BENCHMARK(BM_UndoCaptureWholeCanvas);
