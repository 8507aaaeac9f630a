// The image file list laying 256 frames of 32 x 32 out on a 512 x 512 sheet:
// decoding each file, pasting it with its undo entry and stepping the
// selection, as a ratio to decoding the same 256 files alone.
#include <benchmark/benchmark.h>

#include <vector>

#include "dialogs/file_list_rules.h"
#include "image/png_codec.h"
#include "tests/bench/bench_ratio.h"

namespace {

constexpr int kFrames = 256;
constexpr int32_t kFrame = 32;

void BM_FileListSheet(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> files;
    for (int n = 0; n < kFrames; ++n) {
        DIB frame(kFrame, kFrame);
        for (size_t i = 0; i < size_t{kFrame} * kFrame; ++i)
            frame.pixels[i] = static_cast<uint32_t>(n * 2654435761u + i * 40503u);
        MemorySink png;
        encodePng32(frame, png);
        files.push_back(png.bytes());
    }
    Settings settings;
    Document doc;
    doc.canvas.create(512, 512);
    doc.selection.gw = doc.selection.gh = kFrame;
    state.SetLabel("file list: 256 frames onto a sheet (decoding them alone)");
    bench::runRatio(
        state, 0.5,
        [&] {
            for (const auto& file : files) {
                DIB frame;
                decodePngBytes(file.data(), file.size(), frame);
                benchmark::DoNotOptimize(frame.pixels);
            }
        },
        [&] {
            resetSelection(doc.selection);
            for (const auto& file : files) {
                DIB frame;
                decodePngBytes(file.data(), file.size(), frame);
                pasteIntoSelection(doc, settings, frame, false);
                advanceSelection(doc.selection, 512, 512, true);
            }
            benchmark::ClobberMemory();
        });
}

}  // namespace

RATIO_BENCHMARK(BM_FileListSheet);
