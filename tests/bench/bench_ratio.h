#pragma once
// Every benchmark states its figure as a ratio to an anchor measured in the
// same iteration (memcpy of the same bytes, libpng's own read or write, ...),
// so the number means the same on any machine. Each benchmark times its anchor
// and its operation in the same iteration; the reported time is the
// operation's, the counter "ratio" is anchor time / operation time (1.0 =
// as fast as the anchor), "target" is the ratio we promise.
#include <benchmark/benchmark.h>

#include <chrono>

namespace bench {

template <class F>
double secondsOf(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start).count();
}

// Runs the loop of `state`, timing anchor() and operation() each iteration.
template <class Anchor, class Operation>
void runRatio(benchmark::State& state, double target, Anchor&& anchor, Operation&& operation) {
    double anchorTotal = 0, operationTotal = 0;
    for (auto _ : state) {
        anchorTotal += secondsOf(anchor);
        double t = secondsOf(operation);
        operationTotal += t;
        state.SetIterationTime(t);
    }
    state.counters["ratio"] = operationTotal > 0 ? anchorTotal / operationTotal : 0;
    state.counters["target"] = target;
}

}  // namespace bench

// Registers a ratio benchmark: manual time, at least 5 repetitions, medians.
#define RATIO_BENCHMARK(fn)                                                           \
    BENCHMARK(fn)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true)->Unit( \
        benchmark::kMillisecond)
