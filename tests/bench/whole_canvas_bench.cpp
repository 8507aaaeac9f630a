// What a user waits for on an 8192 x 8192 canvas (256 MiB): the actions that
// go over the whole canvas, each as its command makes it (its undo entry
// included), in milliseconds, which the summary sets beside one 60 Hz frame.
// These are figures to read, not goals.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "edit/edit_commands.h"
#include "resources/resource.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kSide = 8192;

// Noise, so that no operation meets only equal pixels; every page written.
void fillNoise(DIB& image, uint32_t seed) {
    uint32_t x = seed;
    const size_t n = static_cast<size_t>(image.width()) * image.height();
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        image.pixels[i] = x;
    }
}

struct WholeCanvas {
    Settings settings;
    Document doc;
    DIB copy;

    WholeCanvas() {
        settings.undoLimit = 1;  // one entry kept: the history does not grow while timing
        doc.canvas.create(kSide, kSide);
        fillNoise(doc.canvas, 2463534242u);
        select(0, 0, kSide - 1, kSide - 1);
    }
    bool valid() const { return doc.canvas.isValid(); }
    void select(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        doc.selection.left = left, doc.selection.top = top;
        doc.selection.right = right, doc.selection.bottom = bottom;
    }
};

// Times `action` once per iteration, after untimed runs that make and touch
// the memory it uses, the undo history's entries included (as a program that
// has run a while has it).
template <class Action>
void timeWait(benchmark::State& state, const char* what, Action&& action) {
    state.SetLabel(what);
    for (int warm = 0; warm < 3; ++warm) action();
    for (auto _ : state) {
        state.SetIterationTime(bench::secondsOf(action));
        benchmark::ClobberMemory();
    }
    state.counters["waits_for_user"] = 1;  // the summary lists it beside a frame
}

void BM_WaitUndoCapture(benchmark::State& state) {
    WholeCanvas w;
    if (!w.valid()) return state.SkipWithError("create failed");
    UndoHistory history;
    history.beginEntry(UndoKind::WholeCanvas);
    timeWait(state, "undo capture of the whole canvas (one copy of 256 MiB)",
             [&] { history.captureBefore(w.doc.canvas, 0, 0, kSide, kSide); });
}

void BM_WaitFlip(benchmark::State& state) {
    WholeCanvas w;
    if (!w.valid()) return state.SkipWithError("create failed");
    timeWait(state, "flip of the whole canvas, undo captures before and after",
             [&] { changeSelection(w.doc, w.settings, ID_COLOR_FLIP_HORIZONTAL); });
}

void BM_WaitTranslucentPaste(benchmark::State& state) {
    WholeCanvas w;
    if (!w.valid() || !w.copy.create(kSide, kSide)) return state.SkipWithError("create failed");
    fillNoise(w.copy, 88675123u);
    timeWait(state, "translucent paste of a whole-canvas image, undo captures",
             [&] { paste(w.doc, w.settings, w.copy, PasteKind::Translucent); });
}

// Each paste reaches one pixel past the right edge: a new canvas one column
// wider, the old one copied into it, the whole canvas into the undo entry.
void BM_WaitPasteGrowingTheCanvas(benchmark::State& state) {
    WholeCanvas w;
    if (!w.valid() || !w.copy.create(8, 8)) return state.SkipWithError("create failed");
    timeWait(state, "8 x 8 paste that grows the canvas by one column", [&] {
        const int32_t right = w.doc.canvas.width();
        w.select(right - 7, 0, right, 7);
        paste(w.doc, w.settings, w.copy, PasteKind::Copy);
    });
}

}  // namespace

RATIO_BENCHMARK(BM_WaitUndoCapture)->Iterations(2);
RATIO_BENCHMARK(BM_WaitFlip)->Iterations(2);
RATIO_BENCHMARK(BM_WaitTranslucentPaste)->Iterations(2);
RATIO_BENCHMARK(BM_WaitPasteGrowingTheCanvas)->Iterations(2);
