// The TwoCorner solver on two sets of 10,000 positions, each solved once
// with a budget of one second, one after the other on one thread:
// - the full boards of the game's deals 1 to 10,000;
// - positions part way through a game: deal n played on by random legal
//   pairs for a random number of steps (1 to 66), the choices drawn from the
//   deal's generator seeded with 1,000,000 + n (not n itself, whose stream
//   dealt the board), so the set is the same on every run.
// Counters: how many positions were proved solvable, proved unsolvable and
// left undecided, and the median, 90th and 99th percentile and largest time
// per position in milliseconds: wall-clock time as the solver reports it,
// and the processor time of the thread (cpu_...), which other programs
// running on the machine disturb much less.
//
// Figures on the 2-core development machine (RelWithDebInfo, one run):
//   deals 1-10,000:       median 0.34 ms, 90th 1.34, 99th 10.1, largest 59.3;
//                         9,228 solvable, 772 unsolvable, 0 undecided
//   positions from play:  median 0.016 ms, 90th 0.27, 99th 2.7, largest 34.6;
//                         5,835 solvable, 4,165 unsolvable, 0 undecided
// (the solver before its bounds repeated their strikes and before the
// learning search: deals median 0.36, 90th 1.77, 99th 15.5, largest 463;
// positions median 0.016, 90th 0.29, 99th 3.8, largest 79).
#include "formats/lines.h"
#include "solver/solver.h"
#include "stages/deal.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
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

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Sorts the times and sets the counters `prefix`median_ms and so on.
void setPercentiles(benchmark::State& state, const std::string& prefix, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto percentile = [&](double p) {
        const auto i = static_cast<std::size_t>(p * static_cast<double>(ms.size() - 1) + 0.5);
        return ms[std::min(i, ms.size() - 1)];
    };
    state.counters[prefix + "median_ms"] = percentile(0.5);
    state.counters[prefix + "p90_ms"] = percentile(0.9);
    state.counters[prefix + "p99_ms"] = percentile(0.99);
    state.counters[prefix + "max_ms"] = ms.back();
}

void solveAll(benchmark::State& state, const std::vector<Position>& positions) {
    std::vector<double> ms, cpu;
    int solvable = 0, unsolvable = 0, undecided = 0;
    for (auto _ : state) {
        ms.clear();
        cpu.clear();
        solvable = unsolvable = undecided = 0;
        for (const Position& pos : positions) {
            const double start = threadCpuMs();
            const SolveResult r = solvePosition(pos, kBudget);
            cpu.push_back(threadCpuMs() - start);
            ms.push_back(r.ms);
            switch (r.verdict) {
            case Verdict::Solvable: ++solvable; break;
            case Verdict::Unsolvable: ++unsolvable; break;
            case Verdict::Undecided: ++undecided; break;
            }
        }
    }
    state.counters["solvable"] = solvable;
    state.counters["unsolvable"] = unsolvable;
    state.counters["undecided"] = undecided;
    setPercentiles(state, "", ms);
    setPercentiles(state, "cpu_", cpu);
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
