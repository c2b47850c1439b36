// The TwoCorner solver: answers replayed with the game's own rule on a fresh
// board, "unsolvable" checked on boards made to be stuck and against an
// exhaustive search, and a budget that runs out gives "undecided".
#include "board/model.h"
#include "solver/playout.h"
#include "solver/position.h"
#include "solver/solver.h"
#include "stages/deal.h"
#include "stages/lines.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tessarin {
namespace {

struct Board {
    BoardMap map;
    PaiTbl tbl;

    PaiRec& rec(int t) { return tbl[static_cast<std::size_t>(t)]; }
    PaiRec& at(int x, int y) { return rec(map.at(x, y)); }
    // Takes tiles first..last off the board.
    void remove(int first, int last) {
        for (int t = first; t <= last; ++t) rec(t).state = kRemoved;
    }
};

Board dealt(int seed) {
    Board b;
    fillPaiTbl(b.tbl);
    StageLine stage;
    std::string error;
    EXPECT_TRUE(parseStageLine(dealStageLine(seed), stage, error)) << error;
    placeStage(stage, b.map, b.tbl, false);
    return b;
}

void takeOff(Board& b, const PairHint& h) { b.at(h.xL, h.yL).state = b.at(h.xR, h.yR).state = kRemoved; }

// A deal played on at random, by legal moves, until `left` tiles remain or
// no pair can be taken.
Board midGame(int seed, int left, Pcg32& rng) {
    Board b = dealt(seed);
    for (int onBoard = kTiles; onBoard > left; onBoard -= 2) {
        const HintList hints = findPairs(b.map, b.tbl);
        if (hints.empty()) break;
        takeOff(b, hints[static_cast<int>(rng.nextUnit() * hints.size())]);
    }
    return b;
}

// Plays the answer on a copy of the board with nothing but the game's rule:
// every step two tiles of one kind, both on the board, joinable at that
// moment; at the end no tile is left.
::testing::AssertionResult replaysLegally(Board b, const std::vector<int>& cells) {
    const auto fail = [](std::size_t i, const char* what) {
        return ::testing::AssertionFailure() << "step " << i / 2 << " " << what;
    };
    if (cells.size() % 2 != 0) return ::testing::AssertionFailure() << "odd number of cell codes";
    for (PaiRec& r : b.tbl)
        if (r.state == kPicked) r.state = kOnBoard;  // as the pair search sees it
    for (std::size_t i = 0; i < cells.size(); i += 2) {
        const int x1 = codeX(cells[i]), y1 = codeY(cells[i]), x2 = codeX(cells[i + 1]), y2 = codeY(cells[i + 1]);
        if (!onField(x1, y1) || !onField(x2, y2)) return fail(i, "lies off the field");
        PaiRec &a = b.at(x1, y1), &c = b.at(x2, y2);
        if (a.state == kRemoved || c.state == kRemoved) return fail(i, "takes a tile already gone");
        if (a.kind != c.kind) return fail(i, "pairs two kinds");
        if (!canConnect(b.map, b.tbl, x1, y1, x2, y2)) return fail(i, "is not joinable");
        a.state = c.state = kRemoved;
    }
    for (int t = 1; t <= kTiles; ++t)
        if (b.rec(t).state != kRemoved) return ::testing::AssertionFailure() << "tile " << t << " is left";
    return ::testing::AssertionSuccess();
}

// Exhaustive search over every legal move, remembering lost positions.
bool clearable(Board& b, std::set<std::array<uint64_t, 3>>& lost) {
    std::array<uint64_t, 3> key{};
    bool empty = true;
    for (int t = 1; t <= kTiles; ++t) {
        if (b.rec(t).state == kRemoved) key[static_cast<std::size_t>((t - 1) / 64)] |= uint64_t{1} << ((t - 1) % 64);
        else empty = false;
    }
    if (empty) return true;
    if (lost.count(key) != 0) return false;
    for (const PairHint& h : findPairs(b.map, b.tbl)) {
        Board next = b;
        takeOff(next, h);
        if (clearable(next, lost)) return true;
    }
    lost.insert(key);
    return false;
}

constexpr SolveBudget kNoLimit{0, 0, 200};
constexpr SolveBudget kThoroughOnly{0, 0, 0};

TEST(SolverRule, JoinsExactlyWhereTheConnectionRuleDoes) {
    // The solver's mask version of the rule against canConnect, with both
    // tested tiles on the board, over positions from full to nearly empty.
    Pcg32 rng;
    rng.seed(5);
    int joined = 0, apart = 0;
    for (int n = 0; n < 300; ++n) {
        Board b = dealt(n);
        const double gone = rng.nextUnit();
        for (int t = 1; t <= kTiles; ++t)
            if (rng.nextUnit() < gone) b.rec(t).state = kRemoved;
        const solver::Layout layout = solver::Position::layoutOf(b.map);
        for (int k = 0; k < 40; ++k) {
            const int a = static_cast<int>(rng.nextUnit() * kTiles), c = static_cast<int>(rng.nextUnit() * kTiles);
            if (a == c) continue;
            Board ends = b;
            ends.rec(a + 1).state = ends.rec(c + 1).state = kOnBoard;
            const solver::Position p = solver::Position::of(layout, ends.tbl);
            const int ax = layout.x[static_cast<std::size_t>(a)], ay = layout.y[static_cast<std::size_t>(a)];
            const int cx = layout.x[static_cast<std::size_t>(c)], cy = layout.y[static_cast<std::size_t>(c)];
            const bool rule = canConnect(ends.map, ends.tbl, ax, ay, cx, cy);
            ASSERT_EQ(p.joinable(a, c), rule) << "deal " << n << " tiles " << a + 1 << " and " << c + 1;
            ASSERT_EQ(p.joinable(c, a), rule);
            ++(rule ? joined : apart);
            if (!rule) continue;
            // The path it names runs through free cells and the frame only,
            // the same cells read either way round.
            const int route = p.route(a, c);
            int cells = 0;
            for (int y = 0; y < kMapH; ++y)
                for (int x = 0; x < kMapW; ++x) {
                    ASSERT_EQ(p.onRoute(a, c, route, x, y), p.onRoute(c, a, route, x, y));
                    if (!p.onRoute(a, c, route, x, y)) continue;
                    ++cells;
                    const bool end = (x == ax && y == ay) || (x == cx && y == cy);
                    ASSERT_TRUE(end || !onField(x, y) || ends.at(x, y).state == kRemoved)
                        << "route " << route << " crosses " << x << "," << y;
                }
            ASSERT_GE(cells, 2);
        }
    }
    EXPECT_GT(std::min(joined, apart), 1000);
}

TEST(Solver, AnswersReplayOnAFreshBoard) {
    // Full deals and positions part way through a game, with the quick and the
    // thorough search; a picked tile is a tile on the board.
    Pcg32 rng;
    rng.seed(11);
    int solved = 0;
    std::vector<int> unsolvableDeals;
    for (int n = 1; n <= 60; ++n) {
        Board b = n <= 30 ? dealt(n) : midGame(n, 40 + 2 * (n % 30), rng);
        for (int t = 1; t <= kTiles && n % 7 == 0; ++t)
            if (b.rec(t).state == kOnBoard) {
                b.rec(t).state = kPicked;
                break;
            }
        for (const SolveBudget& budget : {kNoLimit, kThoroughOnly}) {
            const SolveResult r = solvePosition(b.map, b.tbl, budget);
            ASSERT_NE(r.verdict, Verdict::Undecided) << "board " << n;
            if (r.verdict == Verdict::Unsolvable && n <= 30) unsolvableDeals.push_back(n);
            if (r.verdict != Verdict::Solvable) continue;
            ++solved;
            EXPECT_TRUE(replaysLegally(b, r.cells)) << "board " << n;
        }
    }
    EXPECT_GT(solved, 80);
    // Of the first 30 deals these three have no way through; the thorough
    // search alone finds the same.
    EXPECT_EQ(unsolvableDeals, (std::vector<int>{16, 16, 20, 20, 22, 22}));

    // Nothing left to take: solved by no move at all.
    Board empty = dealt(3);
    empty.remove(1, kTiles);
    const SolveResult none = solvePosition(empty.map, empty.tbl, kNoLimit);
    EXPECT_EQ((std::pair(none.verdict, none.cells.size())), std::pair(Verdict::Solvable, std::size_t{0}));

    // A board that lost a tile is not a position: nothing is claimed.
    Board broken = dealt(3);
    broken.map.at(1, 1) = broken.map.at(2, 1);
    EXPECT_EQ(solvePosition(broken.map, broken.tbl, kNoLimit).verdict, Verdict::Undecided);
}

// Every other tile of the board, after the tiles 1..16 placed by `block`
// (one letter per kind, a = kind 1) from cell (x0, y0), in the order of the
// deal of a seed.
Board withBlock(const std::vector<std::string>& block, int x0, int y0) {
    Board b;
    fillPaiTbl(b.tbl);
    std::array<int, 5> used{};
    std::array<bool, kTiles + 1> placed{};
    const auto put = [&](int t, int x, int y) {
        placePai(b.map, b.tbl, x, y, t, false);
        placed[static_cast<std::size_t>(t)] = true;
    };
    for (std::size_t r = 0; r < block.size(); ++r)
        for (std::size_t c = 0; c < block[r].size(); ++c) {
            const int kind = block[r][c] - 'a' + 1;
            const int t = (kind - 1) * 4 + ++used[static_cast<std::size_t>(kind)];
            put(t, x0 + static_cast<int>(c), y0 + static_cast<int>(r));
        }
    const auto order = dealOrderForSeed(7);
    for (int y = 1, k = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            if (b.map.at(x, y) != 0) continue;
            while (placed[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])]) ++k;
            put(order[static_cast<std::size_t>(k)], x, y);
        }
    EXPECT_TRUE(boardIsConsistent(b.map, b.tbl));
    return b;
}

TEST(Solver, ProvesBoardsMadeToBeStuckUnsolvable) {
    // Four kinds in a closed block: each kind has one tile facing each side
    // and one inside, no two of a kind touch, and two tiles of a kind never
    // face the same side. With every other tile gone not one pair of the
    // block can be joined, and taking tiles off only frees cells, so the
    // block stays for good whatever is played around it.
    Board block = withBlock({"acdb", "baba", "dcdc", "cabd"}, 7, 3);
    Board bare = block;
    bare.remove(17, kTiles);
    ASSERT_TRUE(findPairs(bare.map, bare.tbl).empty());
    // Quick, thorough, and with one position only: the bound sees it at once.
    for (const SolveBudget& budget : {kNoLimit, kThoroughOnly, SolveBudget{0, 1, 200}})
        EXPECT_EQ(solvePosition(block.map, block.tbl, budget).verdict, Verdict::Unsolvable);

    // A cross of the last two tiles of two kinds in an inner column pair
    // (a b over b a), among other tiles that can be taken: each tile of the
    // cross is cut off from its partner by the two of the other kind.
    Board cross = withBlock({"ab", "ba"}, 8, 4);
    for (const int t : {3, 4, 7, 8}) cross.rec(t).state = kRemoved;
    cross.remove(41, kTiles);
    ASSERT_FALSE(findPairs(cross.map, cross.tbl).empty());
    Board crossAlone = cross;
    crossAlone.remove(9, kTiles);
    ASSERT_TRUE(findPairs(crossAlone.map, crossAlone.tbl).empty());
    EXPECT_EQ(solvePosition(cross.map, cross.tbl, kNoLimit).verdict, Verdict::Unsolvable);

    // An odd number of tiles of a kind can never be cleared.
    Board odd = dealt(12);
    odd.rec(1).state = kRemoved;
    EXPECT_EQ(solvePosition(odd.map, odd.tbl, kNoLimit).verdict, Verdict::Unsolvable);
}

TEST(Solver, AgreesWithExhaustiveSearchOnSmallPositions) {
    // The ends of random games, small enough to try every line of play.
    // Both searches must give the same verdict on each.
    Pcg32 rng;
    rng.seed(3);
    int yes = 0, no = 0;
    for (int n = 0; n < 240; ++n) {
        const Board b = midGame(1000 + n, 16 + 2 * (n % 7), rng);
        Board copy = b;
        std::set<std::array<uint64_t, 3>> lost;
        const bool truth = clearable(copy, lost);
        for (const SolveBudget& budget : {kNoLimit, kThoroughOnly}) {
            const SolveResult r = solvePosition(b.map, b.tbl, budget);
            ASSERT_EQ(r.verdict, truth ? Verdict::Solvable : Verdict::Unsolvable) << "position " << n;
        }
        ++(truth ? yes : no);
    }
    EXPECT_GT(std::min(yes, no), 50);
}

TEST(Solver, BudgetRunsOutAsUndecidedNeverAsAWrongVerdict) {
    // Deal 99 is unsolvable and 134 solvable, each only after some hundreds
    // of positions; any smaller budget may stop the search, but what it
    // answers must then be "undecided" or the true verdict.
    for (const auto& [seed, truth] : {std::pair{99, Verdict::Unsolvable}, std::pair{134, Verdict::Solvable}}) {
        const Board b = dealt(seed);
        const SolveResult full = solvePosition(b.map, b.tbl, kNoLimit);
        ASSERT_EQ(full.verdict, truth) << "deal " << seed;
        EXPECT_GT(full.nodes, 150);
        EXPECT_EQ(solvePosition(b.map, b.tbl, {0, 1, 200}).verdict, Verdict::Undecided);
        for (const int64_t nodes : std::vector<int64_t>{2, 5, 20, 100, 199, 200, 201, 300, full.nodes - 1}) {
            const SolveResult r = solvePosition(b.map, b.tbl, {0, nodes, 200});
            EXPECT_TRUE(r.verdict == Verdict::Undecided || r.verdict == truth)
                << "deal " << seed << " budget " << nodes;
            EXPECT_LE(r.nodes, nodes + 1);
            if (r.verdict == Verdict::Solvable) {
                EXPECT_TRUE(replaysLegally(b, r.cells)) << "deal " << seed;
            }
        }
    }
    // A time budget: deal 524 takes far longer than a millisecond.
    const Board hard = dealt(524);
    const SolveResult r = solvePosition(hard.map, hard.tbl, {1, 0, 200});
    EXPECT_EQ(r.verdict, Verdict::Undecided);
    EXPECT_LT(r.ms, 500.0);
}

TEST(RandomPlays, ReproducibleAndTellGentleFromStuck) {
    const Board b = dealt(12);
    const RandomPlays first = playRandomly(b.map, b.tbl, 50, 1), again = playRandomly(b.map, b.tbl, 50, 1);
    EXPECT_EQ((std::tuple(first.plays, first.cleared, first.meanTaken)),
              std::tuple(50, again.cleared, again.meanTaken));
    EXPECT_GT(first.meanTaken, 0.0);

    // Four pairs side by side on an empty board: every play clears it.
    Board gentle = withBlock({"aabb", "ccdd"}, 3, 3);
    for (const int t : {3, 4, 7, 8, 11, 12, 15, 16}) gentle.rec(t).state = kRemoved;
    gentle.remove(17, kTiles);
    const RandomPlays easy = playRandomly(gentle.map, gentle.tbl, 20, 1);
    EXPECT_DOUBLE_EQ(easy.clearedShare(), 1.0);
    EXPECT_DOUBLE_EQ(easy.meanTaken, 8.0);

    // The closed block never clears.
    const Board stuck = withBlock({"acdb", "baba", "dcdc", "cabd"}, 7, 3);
    const RandomPlays none = playRandomly(stuck.map, stuck.tbl, 20, 1);
    EXPECT_EQ(none.cleared, 0);
    EXPECT_LE(none.meanTaken, 120.0);
}

}  // namespace
}  // namespace tessarin
