// The editing commands on a 4096 x 4096 canvas with their undo captures, as
// ratios to memcpy of the bytes each one touches, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int32_t kCanvas = 4096;
constexpr int32_t kPart = 2048;
constexpr size_t kPartBytes = size_t{kPart} * kPart * 4;

struct Bench {
    Settings settings;
    Document doc;
    DIB copy;
    std::vector<uint8_t> from, to;

    explicit Bench(size_t anchorBytes) : from(anchorBytes, 1), to(anchorBytes, 2) {
        settings.undoLimit = 1;  // one entry kept: the history does not grow while timing
        doc.canvas.create(kCanvas, kCanvas);
        doc.canvas.fillRect(0, 0, kCanvas, kCanvas, 0x80402010u);
        copy.create(kPart, kPart);
        copy.fillRect(0, 0, kPart, kPart, 0xFF00FF00u);
    }
    void select(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        doc.selection.left = left, doc.selection.top = top;
        doc.selection.right = right, doc.selection.bottom = bottom;
    }
    void anchor() {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
};

// A region edit reads and writes its rectangle once for each capture and
// once for the change: three times the rectangle's bytes.
template <class Command>
void regionBench(benchmark::State& state, const char* what, Command command) {
    state.SetLabel(what);
    Bench b(3 * kPartBytes);
    b.select(1024, 1024, 1024 + kPart - 1, 1024 + kPart - 1);
    command(b);  // the first entry's pages are touched before timing
    bench::runRatio(
        state, 0.3, [&] { b.anchor(); },
        [&] {
            command(b);
            benchmark::ClobberMemory();
        });
}

void BM_PasteWithUndo(benchmark::State& state) {
    regionBench(state, "paste 2048 x 2048 with undo (memcpy x 3)",
                [](Bench& b) { paste(b.doc, b.settings, b.copy, PasteKind::Copy); });
}

void BM_DeleteWithUndo(benchmark::State& state) {
    regionBench(state, "delete 2048 x 2048 with undo (memcpy x 3)",
                [](Bench& b) { changeSelection(b.doc, b.settings, ID_EDIT_DELETE); });
}

// A cut copies the selection out (the clipboard block's pixels) before deleting.
void BM_CutWithUndo(benchmark::State& state) {
    std::vector<uint32_t> block(size_t{kPart} * kPart);
    regionBench(state, "cut 2048 x 2048 with undo (memcpy x 3)", [&](Bench& b) {
        extractRect(b.doc.canvas, 1024, 1024, kPart, kPart, 0, block.data(), block.size());
        changeSelection(b.doc, b.settings, ID_EDIT_DELETE);
    });
}

// Each paste reaches one pixel past the right edge and grows the canvas by
// one column; the goal is set against one memcpy of the grown canvas.
void BM_PasteGrowingTheCanvas(benchmark::State& state) {
    Bench b(size_t{kCanvas + 1} * kCanvas * 4);
    b.copy.create(8, 8);
    state.SetLabel("paste growing a 4096 x 4096 canvas (memcpy of it)");
    bench::runRatio(
        state, 0.3, [&] { b.anchor(); },
        [&] {
            const int32_t right = b.doc.canvas.width();
            b.select(right - 7, 0, right, 7);
            paste(b.doc, b.settings, b.copy, PasteKind::Copy);
            benchmark::ClobberMemory();
        });
}

}  // namespace

RATIO_BENCHMARK(BM_PasteWithUndo);
RATIO_BENCHMARK(BM_CutWithUndo);
RATIO_BENCHMARK(BM_DeleteWithUndo);
RATIO_BENCHMARK(BM_PasteGrowingTheCanvas);
