// The TwoCorner solver: answers replayed with nothing but the rule, verdicts
// checked on boards made to be stuck and against an exhaustive search, a
// budget that runs out gives "undecided", and searches on several threads
// at once answer as one alone.
#include "solver/bitboard.h"
#include "solver/playout.h"
#include "solver/solver.h"
#include "solver_support.h"

#include <atomic>
#include <thread>

namespace tessarin::test {
namespace {

constexpr SolveBudget kNoLimit{0, 0, 200};
constexpr SolveBudget kThoroughOnly{0, 0, 0};

void removeTiles(Position& pos, int first, int last) {
    for (int t = first; t <= last; ++t) pos.setState(t, kRemoved);
}

TEST(SolverRule, JoinsExactlyWhereTheConnectionRuleDoes) {
    // The solver's mask version of the rule against canConnect, with both
    // tested tiles on the board, over positions from full to nearly empty;
    // the path it names crosses free cells and the frame only, and a set of
    // cells meets the path exactly when one of them lies on it.
    Pcg32 rng;
    rng.seed(5);
    int joined = 0, apart = 0;
    for (int n = 0; n < 300; ++n) {
        Position b = dealt(n);
        const double gone = rng.nextUnit();
        for (int t = 1; t <= kTiles; ++t)
            if (rng.nextUnit() < gone) b.setState(t, kRemoved);
        const solver::Layout layout = solver::Bitboard::layoutOf(b);
        for (int k = 0; k < 40; ++k) {
            const int a = static_cast<int>(rng.nextUnit() * kTiles), c = static_cast<int>(rng.nextUnit() * kTiles);
            if (a == c) continue;
            Position ends = b;
            ends.setState(a + 1, kOnBoard);
            ends.setState(c + 1, kOnBoard);
            const solver::Bitboard p = solver::Bitboard::of(layout, ends);
            const int ax = layout.x[static_cast<std::size_t>(a)], ay = layout.y[static_cast<std::size_t>(a)];
            const int cx = layout.x[static_cast<std::size_t>(c)], cy = layout.y[static_cast<std::size_t>(c)];
            const bool rule = canConnect(ends, ax, ay, cx, cy);
            ASSERT_EQ(p.joinable(a, c), rule) << "deal " << n << " tiles " << a + 1 << " and " << c + 1;
            ASSERT_EQ(p.joinable(c, a), rule);
            ++(rule ? joined : apart);
            if (!rule) continue;
            const int route = p.route(a, c);
            const int x = static_cast<int>(rng.nextUnit() * kBoardW), y = static_cast<int>(rng.nextUnit() * kBoardH);
            solver::CellSet one;
            one.add(x, y);
            const bool end = (x == ax && y == ay) || (x == cx && y == cy);
            ASSERT_EQ(p.routeMeets(a, c, route, one), !end && p.onRoute(a, c, route, x, y)) << x << "," << y;
            int cells = 0;
            for (int yy = 0; yy < kBoardH; ++yy)
                for (int xx = 0; xx < kBoardW; ++xx) {
                    ASSERT_EQ(p.onRoute(a, c, route, xx, yy), p.onRoute(c, a, route, xx, yy));
                    if (!p.onRoute(a, c, route, xx, yy)) continue;
                    ++cells;
                    const bool isEnd = (xx == ax && yy == ay) || (xx == cx && yy == cy);
                    ASSERT_TRUE(isEnd || !onField(xx, yy) || ends.stateAt(xx, yy) == kRemoved)
                        << "route " << route << " crosses " << xx << "," << yy;
                }
            ASSERT_GE(cells, 2);
        }
    }
    EXPECT_GT(std::min(joined, apart), 1000);
}

TEST(Solver, AnswersReplayOnAFreshBoard) {
    // Full deals and positions part way through a game, with the quick and
    // the thorough searches; a picked tile is a tile on the board.
    Pcg32 rng;
    rng.seed(11);
    int solved = 0;
    std::vector<int> unsolvableDeals;
    for (int n = 1; n <= 60; ++n) {
        Position b = n <= 30 ? dealt(n) : midGame(n, 40 + 2 * (n % 30), rng);
        for (int t = 1; t <= kTiles && n % 7 == 0; ++t)
            if (b.tile(t).state == kOnBoard) {
                b.setState(t, kPicked);
                break;
            }
        for (const SolveBudget& budget : {kNoLimit, kThoroughOnly}) {
            const SolveResult r = solvePosition(b, budget);
            ASSERT_NE(r.verdict, Verdict::Undecided) << "board " << n;
            if (r.verdict == Verdict::Unsolvable && n <= 30) unsolvableDeals.push_back(n);
            if (r.verdict != Verdict::Solvable) continue;
            ++solved;
            EXPECT_TRUE(clears(b, r.cells)) << "board " << n;
        }
    }
    EXPECT_GT(solved, 80);
    // Of the first 30 deals these three have no way through; the thorough
    // searches alone find the same.
    EXPECT_EQ(unsolvableDeals, (std::vector<int>{16, 16, 20, 20, 22, 22}));

    // Nothing left to take: solved by no move at all.
    Position empty = dealt(3);
    removeTiles(empty, 1, kTiles);
    const SolveResult none = solvePosition(empty, kNoLimit);
    EXPECT_EQ((std::pair(none.verdict, none.cells.size())), std::pair(Verdict::Solvable, std::size_t{0}));

    // A board that lost a tile is not a position: nothing is claimed.
    Position broken = dealt(3);
    broken.place(1, 1, broken.tileAt(2, 1), false);
    EXPECT_EQ(solvePosition(broken, kNoLimit).verdict, Verdict::Undecided);
}

// The tiles 1..16 placed by `block` (one letter per kind, a = kind 1) from
// cell (x0, y0), every other tile in the order of the deal of seed 7.
Position withBlock(const std::vector<std::string>& block, int x0, int y0) {
    std::vector<Placed> fixed;
    std::array<int, 5> used{};
    for (std::size_t r = 0; r < block.size(); ++r)
        for (std::size_t c = 0; c < block[r].size(); ++c) {
            const int kind = block[r][c] - 'a' + 1;
            fixed.push_back({(kind - 1) * 4 + ++used[static_cast<std::size_t>(kind)], x0 + static_cast<int>(c),
                             y0 + static_cast<int>(r)});
        }
    return withTiles(fixed, 7);
}

TEST(Solver, ProvesBoardsMadeToBeStuckUnsolvable) {
    // Four kinds in a closed block: each kind has one tile facing each side
    // and one inside, no two of a kind touch, and two tiles of a kind never
    // face the same side. With every other tile gone not one pair of the
    // block can be joined, and taking tiles off only frees cells, so the
    // block stays for good whatever is played around it.
    const Position block = withBlock({"acdb", "baba", "dcdc", "cabd"}, 7, 3);
    Position bare = block;
    removeTiles(bare, 17, kTiles);
    ASSERT_TRUE(findPairs(bare).empty());
    // Quick, thorough, and with one position only: the bound sees it at once.
    for (const SolveBudget& budget : {kNoLimit, kThoroughOnly, SolveBudget{0, 1, 200}})
        EXPECT_EQ(solvePosition(block, budget).verdict, Verdict::Unsolvable);

    // A cross of the last two tiles of two kinds in an inner column pair
    // (a b over b a), among other tiles that can be taken: each tile of the
    // cross is cut off from its partner by the two of the other kind.
    Position cross = withBlock({"ab", "ba"}, 8, 4);
    for (const int t : {3, 4, 7, 8}) cross.setState(t, kRemoved);
    removeTiles(cross, 41, kTiles);
    ASSERT_FALSE(findPairs(cross).empty());
    Position crossAlone = cross;
    removeTiles(crossAlone, 9, kTiles);
    ASSERT_TRUE(findPairs(crossAlone).empty());
    EXPECT_EQ(solvePosition(cross, kNoLimit).verdict, Verdict::Unsolvable);

    // An odd number of tiles of a kind can never be cleared.
    Position odd = dealt(12);
    odd.setState(1, kRemoved);
    EXPECT_EQ(solvePosition(odd, kNoLimit).verdict, Verdict::Unsolvable);
}

TEST(Solver, AgreesWithExhaustiveSearchOnSmallPositions) {
    // The ends of random games, small enough to try every line of play.
    // Both searches must give the same verdict on each.
    Pcg32 rng;
    rng.seed(3);
    int yes = 0, no = 0;
    for (int n = 0; n < 240; ++n) {
        const Position b = midGame(1000 + n, 16 + 2 * (n % 7), rng);
        const bool truth = clearable(b);
        for (const SolveBudget& budget : {kNoLimit, kThoroughOnly}) {
            const SolveResult r = solvePosition(b, budget);
            ASSERT_EQ(r.verdict, truth ? Verdict::Solvable : Verdict::Unsolvable) << "position " << n;
        }
        ++(truth ? yes : no);
    }
    EXPECT_GT(std::min(yes, no), 50);
}

TEST(Solver, BudgetRunsOutAsUndecidedNeverAsAWrongVerdict) {
    // Deals 99 and 524 are unsolvable, 134 and 696 solvable, each only after
    // some hundreds of positions; any smaller budget may stop the search,
    // but what it answers must then be "undecided" or the true verdict.
    for (const auto& [seed, truth] : {std::pair{99, Verdict::Unsolvable}, std::pair{524, Verdict::Unsolvable},
                                      std::pair{134, Verdict::Solvable}, std::pair{696, Verdict::Solvable}}) {
        const Position b = dealt(seed);
        const SolveResult full = solvePosition(b, kNoLimit);
        ASSERT_EQ(full.verdict, truth) << "deal " << seed;
        EXPECT_GT(full.nodes, 150);
        for (const int64_t nodes : std::vector<int64_t>{1, 5, 100, 199, 200, 201, 300, full.nodes / 2, full.nodes - 1}) {
            const SolveResult r = solvePosition(b, {0, nodes, 200});
            EXPECT_TRUE(r.verdict == Verdict::Undecided || r.verdict == truth) << "deal " << seed << " budget " << nodes;
            EXPECT_LE(r.nodes, nodes + 1);
            if (r.verdict == Verdict::Solvable) {
                EXPECT_TRUE(clears(b, r.cells)) << "deal " << seed;
            }
        }
    }
    // A time budget, and a search stopped from outside before it starts.
    const Position hard = dealt(524);
    const SolveResult timed = solvePosition(hard, {1, 0, 200});
    EXPECT_EQ(timed.verdict, Verdict::Undecided);
    EXPECT_LT(timed.ms, 100.0);
    const std::atomic<bool> stop{true};
    SolveBudget stopped = kNoLimit;
    stopped.stop = &stop;
    EXPECT_EQ(solvePosition(hard, stopped).verdict, Verdict::Undecided);
}

TEST(Solver, SearchesOnSeveralThreadsAnswerAsOneAlone) {
    // Hard deals and positions from random play, solved on four threads at
    // once and each again alone: the same verdicts and the same answers.
    Pcg32 rng;
    rng.seed(17);
    std::vector<Position> boards;
    for (const int seed : {16, 524, 696, 1313, 2180, 4003}) boards.push_back(dealt(seed));
    for (int n = 0; n < 10; ++n) boards.push_back(midGame(3000 + n, 30 + 8 * n, rng));
    std::vector<SolveResult> together(boards.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&] {
            for (std::size_t k; (k = next++) < boards.size();) together[k] = solvePosition(boards[k], kNoLimit);
        });
    for (std::thread& t : threads) t.join();
    for (std::size_t k = 0; k < boards.size(); ++k) {
        const SolveResult alone = solvePosition(boards[k], kNoLimit);
        EXPECT_EQ((std::pair(together[k].verdict, together[k].cells)), (std::pair(alone.verdict, alone.cells)))
            << "board " << k;
    }
}

TEST(RandomPlays, ReproducibleAndTellGentleFromStuck) {
    const Position b = dealt(12);
    const RandomPlays first = playRandomly(b, 50, 1), again = playRandomly(b, 50, 1);
    EXPECT_EQ((std::tuple(first.plays, first.cleared, first.meanTaken)), std::tuple(50, again.cleared, again.meanTaken));
    EXPECT_GT(first.meanTaken, 0.0);

    // Four pairs side by side on an empty board: every play clears it.
    Position gentle = withBlock({"aabb", "ccdd"}, 3, 3);
    for (const int t : {3, 4, 7, 8, 11, 12, 15, 16}) gentle.setState(t, kRemoved);
    removeTiles(gentle, 17, kTiles);
    const RandomPlays easy = playRandomly(gentle, 20, 1);
    EXPECT_DOUBLE_EQ(easy.clearedShare(), 1.0);
    EXPECT_DOUBLE_EQ(easy.meanTaken, 8.0);

    // The closed block never clears.
    const RandomPlays none = playRandomly(withBlock({"acdb", "baba", "dcdc", "cabd"}, 7, 3), 20, 1);
    EXPECT_EQ(none.cleared, 0);
    EXPECT_LE(none.meanTaken, 120.0);
}

}  // namespace
}  // namespace tessarin::test
