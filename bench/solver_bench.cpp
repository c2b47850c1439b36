// The TwoCorner solver over the game's own deals: the boards of seeds 1 to
// 10,000, each with a budget of one second, run once. Counters: the shares
// proven solvable, proven unsolvable and left undecided, and the median,
// 90th and 99th percentile and largest time per deal in milliseconds.
#include "solver/solver.h"
#include "stages/deal.h"
#include "stages/lines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tessarin {
namespace {

constexpr int kFirstSeed = 1;
constexpr int kLastSeed = 10000;

void BM_SolveDeals(benchmark::State& state) {
    std::vector<StageLine> stages;
    for (int seed = kFirstSeed; seed <= kLastSeed; ++seed) {
        StageLine s;
        std::string error;
        if (!parseStageLine(dealStageLine(seed), s, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        stages.push_back(s);
    }
    std::vector<double> ms;
    int solvable = 0, unsolvable = 0, undecided = 0;
    for (auto _ : state) {
        ms.clear();
        solvable = unsolvable = undecided = 0;
        for (const StageLine& s : stages) {
            const SolveResult r = solveStage(s, SolveBudget{1000, 0, 200});
            ms.push_back(r.ms);
            switch (r.verdict) {
            case Verdict::Solvable: ++solvable; break;
            case Verdict::Unsolvable: ++unsolvable; break;
            case Verdict::Undecided: ++undecided; break;
            }
        }
    }
    std::sort(ms.begin(), ms.end());
    const auto percentile = [&](double p) {
        const auto i = static_cast<std::size_t>(p * static_cast<double>(ms.size() - 1) + 0.5);
        return ms[std::min(i, ms.size() - 1)];
    };
    const double n = static_cast<double>(stages.size());
    state.counters["solvable_share"] = solvable / n;
    state.counters["unsolvable_share"] = unsolvable / n;
    state.counters["undecided_share"] = undecided / n;
    state.counters["median_ms"] = percentile(0.5);
    state.counters["p90_ms"] = percentile(0.9);
    state.counters["p99_ms"] = percentile(0.99);
    state.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_SolveDeals)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tessarin
