// Cost of the TwoCorner connection rule and of the pair search.
#include "board/position.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

// SplitMix64 with a fixed seed: the same boards on every run.
struct Rng {
    uint64_t s;
    uint64_t next() {
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
};

// A random full deal.
Position deal(Rng& rng) {
    Position pos;
    std::array<int, kTiles> order{};
    for (int i = 0; i < kTiles; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    for (int i = kTiles - 1; i > 0; --i) {
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(rng.below(i + 1))]);
    }
    int i = 0;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            pos.place(x, y, order[static_cast<std::size_t>(i++)], false);
        }
    }
    return pos;
}

// Takes off `pairs` random pairs of equal tiles, as play would.
void removePairs(Position& pos, Rng& rng, int pairs) {
    std::array<int, kTiles / 2> pairFirst{};  // tiles 2k+1 and 2k+2 share a kind
    for (int k = 0; k < kTiles / 2; ++k) pairFirst[static_cast<std::size_t>(k)] = 2 * k + 1;
    for (int k = kTiles / 2 - 1; k > 0; --k) {
        std::swap(pairFirst[static_cast<std::size_t>(k)], pairFirst[static_cast<std::size_t>(rng.below(k + 1))]);
    }
    for (int k = 0; k < pairs; ++k) {
        const int t = pairFirst[static_cast<std::size_t>(k)];
        pos.setState(t, kRemoved);
        pos.setState(t + 1, kRemoved);
    }
}

struct Sample {
    int pos;
    int x1, y1, x2, y2;
};

// canConnect over 64 positions from full to nearly empty, 64 pairs of
// present tiles each, taken in turn.
void BM_CanConnect(benchmark::State& state) {
    Rng rng{1};
    std::vector<Position> positions;
    std::vector<Sample> samples;
    for (int p = 0; p < 64; ++p) {
        positions.push_back(deal(rng));
        Position& pos = positions.back();
        removePairs(pos, rng, p);  // 0 .. 63 of the 68 pairs taken off
        std::vector<std::pair<int, int>> present;
        for (int y = 1; y <= kRows; ++y) {
            for (int x = 1; x <= kCols; ++x) {
                if (pos.stateAt(x, y) != kRemoved)
                    present.emplace_back(x, y);
            }
        }
        for (int k = 0; k < 64; ++k) {
            const int n = static_cast<int>(present.size());
            const auto a = present[static_cast<std::size_t>(rng.below(n))];
            auto b = present[static_cast<std::size_t>(rng.below(n))];
            while (b == a) b = present[static_cast<std::size_t>(rng.below(n))];
            samples.push_back({p, a.first, a.second, b.first, b.second});
        }
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const Sample& s = samples[i];
        const Position& pos = positions[static_cast<std::size_t>(s.pos)];
        benchmark::DoNotOptimize(canConnect(pos, s.x1, s.y1, s.x2, s.y2));
        i = (i + 1) % samples.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CanConnect);

void findPairsOn(benchmark::State& state, int removedPairs) {
    Rng rng{2};
    std::vector<Position> positions;
    for (int p = 0; p < 16; ++p) {
        positions.push_back(deal(rng));
        removePairs(positions.back(), rng, removedPairs);
    }
    std::size_t i = 0;
    long found = 0;
    for (auto _ : state) {
        const PairList pairs = findPairs(positions[i]);
        benchmark::DoNotOptimize(pairs);
        found += pairs.size();
        i = (i + 1) % positions.size();
    }
    state.counters["pairs"] =
        benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}

// A fresh deal: all 136 tiles on the board.
void BM_FindPairsFullBoard(benchmark::State& state) { findPairsOn(state, 0); }
BENCHMARK(BM_FindPairsFullBoard);

// Half the tiles taken off in pairs.
void BM_FindPairsHalfCleared(benchmark::State& state) { findPairsOn(state, kTiles / 4); }
BENCHMARK(BM_FindPairsHalfCleared);

}  // namespace
}  // namespace tessarin
