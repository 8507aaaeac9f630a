// The benchmark program: Google Benchmark's usual run and output, then one
// summary table of every figure against its goal, and the waits of the
// whole-canvas actions beside one frame. Benchmarks report; they never fail.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// One median: its label says what it measures.
struct Figure {
    std::string what;
    double goal = 0, value = 0;
    bool ratio = true;   // false: a rate with a goal of its own unit
    double waitMs = -1;  // a whole-canvas action: its time, beside one frame
    std::string error;
};

double millisecondsOf(const benchmark::BenchmarkReporter::Run& run) {
    static const double perUnit[] = {1e-6, 1e-3, 1, 1e3};  // ns, us, ms, s
    return run.GetAdjustedRealTime() * perUnit[run.time_unit];
}

// Shows everything as the default display does and keeps the medians.
class SummaryReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override {
        display_->SetOutputStream(&GetOutputStream());
        display_->SetErrorStream(&GetErrorStream());
        return display_->ReportContext(context);
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        display_->ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                // Once for a benchmark, however many repetitions failed.
                const std::string what =
                    run.report_label.empty() ? run.run_name.function_name : run.report_label;
                if (figures_.empty() || figures_.back().what != what) {
                    figures_.push_back({what, 0, 0, true, -1, run.error_message});
                }
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                figures_.push_back(figureOf(run));
            }
        }
    }

    void Finalize() override { display_->Finalize(); }

    void printSummary() const {
        std::printf(
            "\nSummary: medians of this run. A ratio is the anchor's time over the "
            "operation's, both timed in the same iterations (1.00: as fast as the "
            "anchor).\n%-66s %8s %8s\n",
            "figure", "goal", "measured");
        for (const Figure& f : figures_) {
            if (f.waitMs >= 0) continue;
            if (!f.error.empty()) {
                std::printf("%-66s %8s %8s   not measured: %s\n", f.what.c_str(), "", "",
                            f.error.c_str());
                continue;
            }
            std::printf(f.ratio ? "%-66s %8.2f %8.2f%s\n" : "%-66s %8.0f %8.0f%s\n", f.what.c_str(),
                        f.goal, f.value, f.value < f.goal ? "   SHORT" : "");
        }
        std::printf(
            "\nWhole-canvas actions on an 8192 x 8192 canvas (256 MiB), "
            "beside one 60 Hz frame (%.1f ms):\n%-66s %8s %8s\n",
            kFrameMs, "action", "ms", "frames");
        for (const Figure& f : figures_) {
            if (f.waitMs < 0) continue;
            std::printf("%-66s %8.0f %8.1f%s\n", f.what.c_str(), f.waitMs, f.waitMs / kFrameMs,
                        f.waitMs > kFrameMs ? "   longer than a frame" : "");
        }
    }

private:
    static constexpr double kFrameMs = 1000.0 / 60.0;

    static Figure figureOf(const Run& run) {
        Figure f;
        f.what = run.report_label.empty() ? run.run_name.str() : run.report_label;
        const auto& c = run.counters;
        auto value = [&](const char* name) {
            const auto it = c.find(name);
            return it == c.end() ? 0.0 : static_cast<double>(it->second);
        };
        if (c.count("waits_for_user")) {
            f.waitMs = millisecondsOf(run);
        } else if (c.count("target_Mpx_per_s")) {
            f.ratio = false;
            f.goal = value("target_Mpx_per_s");
            f.value = value("Mpx_per_s");
        } else {
            f.goal = value("target");
            f.value = value("ratio");
        }
        return f;
    }

    // The library keeps the default display for the whole run.
    BenchmarkReporter* display_ = benchmark::CreateDefaultDisplayReporter();
    std::vector<Figure> figures_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
