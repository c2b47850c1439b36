// The TwoCorner solver on two sets of 10,000 positions, each solved once
// with a budget of one second:
// - the full boards of the game's deals 1 to 10,000;
// - positions part way through a game: deal n played on by random legal
//   pairs for a random number of steps (1 to 66), the choices drawn from the
//   deal's generator seeded with 1,000,000 + n (not n itself, whose stream
//   dealt the board), so the set is the same on every run.
// Counters: how many positions were proved solvable, proved unsolvable and
// left undecided, and the median, 90th and 99th percentile and largest time
// per position in milliseconds.
#include "formats/lines.h"
#include "solver/solver.h"
#include "stages/deal.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tessarin {
namespace {

constexpr int kPositions = 10000;
constexpr SolveBudget kBudget{1000, 0, 200};

Position dealt(int seed) {
    StageLine s;
    std::string error;
    parseStageLine(dealStageLine(seed), s, error);
    return s.position();
}

Position midGame(int seed) {
    Position pos = dealt(seed);
    Pcg32 rng;
    rng.seed(static_cast<uint32_t>(1000000 + seed));
    const int steps = 1 + static_cast<int>(rng.nextUnit() * 66);
    for (int i = 0; i < steps; ++i) {
        const PairList pairs = findPairs(pos);
        if (pairs.empty()) break;
        const CellPair& p = pairs[static_cast<int>(rng.nextUnit() * pairs.size())];
        takePair(pos, p.xL, p.yL, p.xR, p.yR);
    }
    return pos;
}

void solveAll(benchmark::State& state, const std::vector<Position>& positions) {
    std::vector<double> ms;
    int solvable = 0, unsolvable = 0, undecided = 0;
    for (auto _ : state) {
        ms.clear();
        solvable = unsolvable = undecided = 0;
        for (const Position& pos : positions) {
            const SolveResult r = solvePosition(pos, kBudget);
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
    state.counters["solvable"] = solvable;
    state.counters["unsolvable"] = unsolvable;
    state.counters["undecided"] = undecided;
    state.counters["median_ms"] = percentile(0.5);
    state.counters["p90_ms"] = percentile(0.9);
    state.counters["p99_ms"] = percentile(0.99);
    state.counters["max_ms"] = ms.back();
}

void BM_SolveDeals(benchmark::State& state) {
    std::vector<Position> positions;
    for (int seed = 1; seed <= kPositions; ++seed) positions.push_back(dealt(seed));
    solveAll(state, positions);
}
BENCHMARK(BM_SolveDeals)->Iterations(1)->Unit(benchmark::kSecond);

void BM_SolveMidGame(benchmark::State& state) {
    std::vector<Position> positions;
    for (int seed = 1; seed <= kPositions; ++seed) positions.push_back(midGame(seed));
    solveAll(state, positions);
}
BENCHMARK(BM_SolveMidGame)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tessarin
