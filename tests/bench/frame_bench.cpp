// Composing one 1920 x 1080 frame of the canvas view from a 4096 x 4096
// canvas, as a ratio to memcpy of the frame's bytes: the copy path (alphaMode
// off) and the blend path over the checkerboard (alphaMode on), at zoom 1, 4
// and 0.5.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/frame_composer.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kCanvasSize = 4096;
constexpr int32_t kFrameWidth = 1920;
constexpr int32_t kFrameHeight = 1080;

// Zoomed out to 0.5, the view reads twice the bytes it shows; zoom 1 over
// the checkerboard is where users spend their day.
double goalOf(int zoomX100, bool alpha) {
    if (zoomX100 == 50) return alpha ? 0.3 : 0.5;
    if (zoomX100 == 100 && alpha) return 0.35;
    return alpha ? 0.2 : 0.4;
}

size_t frameBytes() { return static_cast<size_t>(kFrameWidth) * kFrameHeight * 4; }

// Varied colours and alphas, so the blend has real work on every pixel.
void fillCanvas(DIB& canvas) {
    uint32_t x = 2463534242u;
    for (int32_t y = 0; y < canvas.height(); ++y) {
        uint32_t* row = canvas.row(y);
        for (int32_t i = 0; i < canvas.width(); ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            row[i] = x;
        }
    }
}

// args: zoom in hundredths, alphaMode.
void BM_ComposeFrame(benchmark::State& state) {
    const float zoom = static_cast<float>(state.range(0)) / 100.0f;
    const bool alpha = state.range(1) != 0;
    static DIB canvas(kCanvasSize, kCanvasSize);
    static bool filled = false;
    if (!canvas.isValid()) return state.SkipWithError("canvas create failed");
    if (!filled) {
        fillCanvas(canvas);
        filled = true;
    }
    DIB frame(kFrameWidth, kFrameHeight);
    if (!frame.isValid()) return state.SkipWithError("frame create failed");
    std::vector<uint32_t> from(frameBytes() / 4, 0x01020304u), to(frameBytes() / 4, 0u);
    std::memset(frame.pixels, 0x22, frameBytes());

    FrameInputs in;
    in.canvas = &canvas;
    in.zoom = zoom;
    in.hPos = 100;  // the canvas covers the whole frame at every zoom measured
    in.vPos = 100;
    in.alphaMode = alpha;
    in.selection = {128, 96, 159, 127};
    in.copy = {true, 40, 20};

    char label[80];
    std::snprintf(label, sizeof label, "frame 1920 x 1080 at zoom %g, %s (memcpy)", zoom,
                  alpha ? "blend path" : "copy path");
    state.SetLabel(label);
    bench::runRatio(
        state, goalOf(static_cast<int>(state.range(0)), alpha),
        [&] {
            std::memcpy(to.data(), from.data(), frameBytes());
            benchmark::ClobberMemory();
        },
        [&] {
            composeFrame(frame, in);
            benchmark::ClobberMemory();
        });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(frameBytes()));
}

}  // namespace

RATIO_BENCHMARK(BM_ComposeFrame)
    ->ArgNames({"zoom_x100", "alpha"})
    ->Args({100, 0})
    ->Args({400, 0})
    ->Args({50, 0})
    ->Args({100, 1})
    ->Args({400, 1})
    ->Args({50, 1});
