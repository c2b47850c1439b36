// The TwoCorner connection rule: small boards drawn as text for the rules a
// player sees, and a cross-check of the four scans against a plain path
// search on many random positions.
#include "board/model.h"
#include "twocorner/connect.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <string_view>

namespace tessarin {
namespace {

struct Position {
    BoardMap map;
    PaiTbl tbl;

    int16_t& stateAt(int x, int y) { return tbl[static_cast<std::size_t>(map.at(x, y))].state; }
    int16_t stateAt(int x, int y) const { return tbl[static_cast<std::size_t>(map.at(x, y))].state; }
};

// Puts tile t into field cell (x, y) on the board.
void place(Position& pos, int t, int x, int y) {
    pos.map.at(x, y) = static_cast<int16_t>(t);
    PaiRec& r = pos.tbl[static_cast<std::size_t>(t)];
    r.boardX = static_cast<int16_t>(x);
    r.boardY = static_cast<int16_t>(y);
    r.state = kOnBoard;
}

// A board drawn as 8 rows of 17 cells: '#' a tile on the board, '.' a removed
// tile, 'A' and 'B' the two tiles under test, 'a' tile A when it is the
// picked one. Tiles are numbered in reading order, so A and B are of
// different kinds unless they lie within four cells of each other.
struct Drawn {
    Position pos;
    int ax = 0, ay = 0, bx = 0, by = 0;
};

Drawn draw(const std::array<std::string_view, kRows>& rows) {
    Drawn d;
    fillPaiTbl(d.pos.tbl);
    int t = 0;
    for (int y = 1; y <= kRows; ++y) {
        const std::string_view row = rows[static_cast<std::size_t>(y - 1)];
        EXPECT_EQ(row.size(), static_cast<std::size_t>(kCols)) << "row " << y;
        for (int x = 1; x <= kCols; ++x) {
            const char c = row[static_cast<std::size_t>(x - 1)];
            place(d.pos, ++t, x, y);
            if (c == '.') d.pos.stateAt(x, y) = kRemoved;
            if (c == 'a') d.pos.stateAt(x, y) = kPicked;
            if (c == 'A' || c == 'a') {
                d.ax = x;
                d.ay = y;
            }
            if (c == 'B') {
                d.bx = x;
                d.by = y;
            }
        }
    }
    EXPECT_TRUE(d.ax != 0 && d.bx != 0) << "the board must show A and B";
    return d;
}

// The answer for A and B; asking with the roles exchanged must give the same.
bool joinable(const Drawn& d) {
    const bool ab = canConnect(d.pos.map, d.pos.tbl, d.ax, d.ay, d.bx, d.by);
    const bool ba = canConnect(d.pos.map, d.pos.tbl, d.bx, d.by, d.ax, d.ay);
    EXPECT_EQ(ab, ba) << "the answer changed with the order of the two tiles";
    return ab;
}

TEST(ConnectionRule, NeighboursAndEdgeLinesJoinWhateverSurroundsThem) {
    // Neighbours in a row and in a column of a full board.
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "#################",
                               "######AB#########",
                               "#################",
                               "#################",
                               "#################",
                               "#################"})));
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "#########A#######",
                               "#########B#######",
                               "#################",
                               "#################",
                               "#################",
                               "#################"})));
    // Both on one edge column or one edge row: out into the frame and back,
    // though every cell between them is occupied.
    EXPECT_TRUE(joinable(draw({"#################",
                               "A################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "B################",
                               "#################"})));
    EXPECT_TRUE(joinable(draw({"################A",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "################B"})));
    EXPECT_TRUE(joinable(draw({"##A##########B###",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################"})));
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "B##############A#"})));
    // One inner column with an occupied cell between and every other
    // neighbour occupied: no way out.
    EXPECT_FALSE(joinable(draw({".................",
                                ".......###.......",
                                ".......#A#.......",
                                ".......###.......",
                                ".......#B#.......",
                                ".......###.......",
                                ".................",
                                "................."})));
    // Open the cell between them and the line is straight.
    EXPECT_TRUE(joinable(draw({".................",
                               ".......###.......",
                               ".......#A#.......",
                               ".......#.#.......",
                               ".......#B#.......",
                               ".......###.......",
                               ".................",
                               "................."})));
}

TEST(ConnectionRule, PathsThroughTheFrameOnEachSide) {
    // A on the top row, B's column open up to the top row: through the frame
    // above the field.
    EXPECT_TRUE(joinable(draw({"###A######.######",
                               "##########.######",
                               "##########.######",
                               "##########B######",
                               "#################",
                               "#################",
                               "#################",
                               "#################"})));
    // One tile left in B's way closes it.
    EXPECT_FALSE(joinable(draw({"###A######.######",
                                "#################",
                                "##########B######",
                                "#################",
                                "#################",
                                "#################",
                                "#################",
                                "#################"})));
    // Below the field: both columns open to the bottom row.
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "#################",
                               "#####A###########",
                               "#####.###########",
                               "#####.######B####",
                               "#####.######.####",
                               "#####.######.####"})));
    // Left of the field: both rows open to column 1.
    EXPECT_TRUE(joinable(draw({"#################",
                               "....A############",
                               "#################",
                               "#################",
                               "#################",
                               "#################",
                               "..B##############",
                               "#################"})));
    // Right of the field: A on the edge column, B's row open to it.
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "################A",
                               "#################",
                               "#################",
                               "#########B.......",
                               "#################",
                               "#################"})));
}

TEST(ConnectionRule, AtMostTwoBendsAndNeitherRoleNorKindMatters) {
    // One bend and two bends inside the field.
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "####A....########",
                               "########.########",
                               "########B########",
                               "#################",
                               "#################",
                               "#################"})));
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "####A..##########",
                               "######.##########",
                               "######....B######",
                               "#################",
                               "#################",
                               "#################"})));
    // Around two corners of an obstacle takes three bends: refused.
    EXPECT_FALSE(joinable(draw({"#################",
                                "#################",
                                "####A..##########",
                                "######.##########",
                                "######....#######",
                                "#########B#######",
                                "#################",
                                "#################"})));
    // The picked tile may be either of the two; the answers stay the same.
    EXPECT_TRUE(joinable(draw({"#################",
                               "#################",
                               "####a..##########",
                               "######.##########",
                               "######....B######",
                               "#################",
                               "#################",
                               "#################"})));
    EXPECT_FALSE(joinable(draw({"#################",
                                "#################",
                                "####a..##########",
                                "######.##########",
                                "######....#######",
                                "#########B#######",
                                "#################",
                                "#################"})));
    // Kinds are not looked at: tiles of two kinds in joinable cells join.
    const Drawn d = draw({"#################",
                          "#################",
                          "#################",
                          "##A##############",
                          "##.##############",
                          "##......B########",
                          "#################",
                          "#################"});
    EXPECT_NE(d.pos.tbl[static_cast<std::size_t>(d.pos.map.at(d.ax, d.ay))].kind,
              d.pos.tbl[static_cast<std::size_t>(d.pos.map.at(d.bx, d.by))].kind);
    EXPECT_TRUE(joinable(d));
    // A tile is never joined with itself.
    EXPECT_FALSE(canConnect(d.pos.map, d.pos.tbl, d.ax, d.ay, d.ax, d.ay));
}

// ---------------------------------------------------------------------------
// Cross-check against a path search.

// SplitMix64: small, fixed-seed, the same sequence on every platform.
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

// A random deal of tiles 1..136 over the field with about `percent` of them
// removed.
void randomPosition(Position& pos, Rng& rng, int percent) {
    std::array<int, kTiles> order{};
    for (int i = 0; i < kTiles; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    for (int i = kTiles - 1; i > 0; --i) {
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(rng.below(i + 1))]);
    }
    int i = 0;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            place(pos, order[static_cast<std::size_t>(i++)], x, y);
            if (rng.below(100) < percent) pos.stateAt(x, y) = kRemoved;
        }
    }
}

constexpr int kDirs = 4;
constexpr std::array<int, kDirs> kDx{1, -1, 0, 0};
constexpr std::array<int, kDirs> kDy{0, 0, 1, -1};
constexpr int kNoPath = 3;  // more than two bends

// Fewest bends needed to reach each cell of the board, frame included, from
// the field cell (ax, ay): a breadth-first search over (cell, heading) where
// going on in the same heading costs nothing and turning costs one bend. A
// path may pass through frame cells and removed tiles only; any other cell
// can be reached as the end of a path but not crossed.
std::array<int, kMapW * kMapH> bendsFrom(const Position& pos, int ax, int ay) {
    const auto passable = [&](int x, int y) {
        return !onField(x, y) || pos.stateAt(x, y) == kRemoved;
    };
    std::array<int, kMapW * kMapH> reach{};
    reach.fill(kNoPath);
    std::array<int, kMapW * kMapH * kDirs> best{};
    best.fill(kNoPath);
    std::deque<int> queue;  // state = cell * 4 + heading, cheaper states in front

    const auto enter = [&](int x, int y, int dir, int bends, bool front) {
        if (x < 0 || x >= kMapW || y < 0 || y >= kMapH || bends >= kNoPath) return;
        const int cell = y * kMapW + x;
        reach[static_cast<std::size_t>(cell)] = std::min(reach[static_cast<std::size_t>(cell)], bends);
        if (!passable(x, y)) return;
        int& b = best[static_cast<std::size_t>(cell * kDirs + dir)];
        if (bends >= b) return;
        b = bends;
        front ? queue.push_front(cell * kDirs + dir) : queue.push_back(cell * kDirs + dir);
    };
    for (int d = 0; d < kDirs; ++d) enter(ax + kDx[d], ay + kDy[d], d, 0, true);
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        const int cell = state / kDirs, dir = state % kDirs;
        const int bends = best[static_cast<std::size_t>(state)];
        const int x = cell % kMapW, y = cell / kMapW;
        for (int d = 0; d < kDirs; ++d) {
            if (kDx[d] == -kDx[dir] && kDy[d] == -kDy[dir]) continue;  // turning back
            enter(x + kDx[d], y + kDy[d], d, bends + (d == dir ? 0 : 1), d == dir);
        }
    }
    return reach;
}

// The board as text for a failure message: A and B marked, '#' present,
// '.' removed, 'p' a picked tile.
std::string picture(const Position& pos, int ax, int ay, int bx, int by) {
    std::string s;
    for (int y = 1; y <= kRows; ++y) {
        s += "  ";
        for (int x = 1; x <= kCols; ++x) {
            const int st = pos.stateAt(x, y);
            char c = st == kRemoved ? '.' : st == kPicked ? 'p' : '#';
            if (x == ax && y == ay) c = st == kPicked ? 'a' : 'A';
            if (x == bx && y == by) c = 'B';
            s += c;
        }
        s += '\n';
    }
    return s;
}

// Compares every scan and canConnect in both orders with the path search for
// the pair (A, B), both tiles present. Counts which scan answered first.
struct CrossCheck {
    long pairs = 0;
    long joinable = 0;
    std::array<long, 4> firstStage{};
    int reported = 0;

    void compare(const Position& pos, int ax, int ay, int bx, int by, bool pathExists) {
        ++pairs;
        using Stage = bool (*)(const BoardMap&, const PaiTbl&, int, int, int, int);
        static constexpr std::array<Stage, 4> stages{connectStraight, connectViaBorder,
                                                     connectInBox, connectAround};
        static constexpr std::array<const char*, 4> names{"connectStraight", "connectViaBorder",
                                                          "connectInBox", "connectAround"};
        bool any = false;
        for (std::size_t s = 0; s < stages.size(); ++s) {
            for (const bool swapped : {false, true}) {
                const bool said = swapped ? stages[s](pos.map, pos.tbl, bx, by, ax, ay)
                                          : stages[s](pos.map, pos.tbl, ax, ay, bx, by);
                if (said && !any && !swapped) ++firstStage[s];
                any = any || said;
                if (said && !pathExists) report(pos, ax, ay, bx, by, names[s], swapped, true);
            }
        }
        if (pathExists) ++joinable;
        if (any != pathExists) report(pos, ax, ay, bx, by, "all four scans", false, any);
        if (canConnect(pos.map, pos.tbl, ax, ay, bx, by) != pathExists)
            report(pos, ax, ay, bx, by, "canConnect(A, B)", false, !pathExists);
        if (canConnect(pos.map, pos.tbl, bx, by, ax, ay) != pathExists)
            report(pos, ax, ay, bx, by, "canConnect(B, A)", true, !pathExists);
    }

    void report(const Position& pos, int ax, int ay, int bx, int by, const char* who,
                bool swapped, bool said) {
        if (++reported > 5) return;  // the first few cases say enough
        ADD_FAILURE() << who << (swapped ? " with B first" : "") << " answered "
                      << (said ? "true" : "false") << " but a path with at most two bends "
                      << (said ? "does not exist" : "exists") << " for A(" << ax << "," << ay
                      << ") B(" << bx << "," << by << "):\n"
                      << picture(pos, ax, ay, bx, by);
    }

    void expectEveryScanUsed() const {
        for (std::size_t s = 0; s < firstStage.size(); ++s) {
            EXPECT_GT(firstStage[s], 0) << "scan " << s + 1 << " never decided a case";
        }
        std::printf("  compared %ld pairs, %ld joinable; decided by scan 1..4: %ld %ld %ld %ld\n",
                    pairs, joinable, firstStage[0], firstStage[1], firstStage[2], firstStage[3]);
    }
};

// Makes the tile in (x, y) present for the comparison (picked or on the
// board) and gives back its former state.
int16_t makePresent(Position& pos, int x, int y, int16_t state) {
    const int16_t old = pos.stateAt(x, y);
    pos.stateAt(x, y) = state;
    return old;
}

TEST(ConnectionRule, AgreesWithPathSearchOnRandomPositions) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kPositions = 40'000;  // the sanitizers slow every scan down
#else
    constexpr int kPositions = 120'000;
#endif
    constexpr int kTargetsPerPosition = 6;
    Rng rng{20240611};
    Position pos;
    fillPaiTbl(pos.tbl);
    CrossCheck check;
    for (int p = 0; p < kPositions; ++p) {
        randomPosition(pos, rng, p % 96);  // 0% .. 95% of the tiles removed
        const int ax = 1 + rng.below(kCols), ay = 1 + rng.below(kRows);
        const int16_t oldA = makePresent(pos, ax, ay, rng.below(4) == 0 ? kPicked : kOnBoard);
        const auto reach = bendsFrom(pos, ax, ay);
        for (int k = 0; k < kTargetsPerPosition; ++k) {
            int bx = 0, by = 0;
            do {
                bx = 1 + rng.below(kCols);
                by = 1 + rng.below(kRows);
            } while (bx == ax && by == ay);
            const int16_t oldB = makePresent(pos, bx, by, kOnBoard);
            check.compare(pos, ax, ay, bx, by, reach[static_cast<std::size_t>(by * kMapW + bx)] < kNoPath);
            pos.stateAt(bx, by) = oldB;
        }
        pos.stateAt(ax, ay) = oldA;
    }
    check.expectEveryScanUsed();
}

TEST(ConnectionRule, AgreesWithPathSearchOnEveryPairOfSomePositions) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kPositions = 20;
#else
    constexpr int kPositions = 60;
#endif
    Rng rng{77};
    Position pos;
    fillPaiTbl(pos.tbl);
    CrossCheck check;
    for (int p = 0; p < kPositions; ++p) {
        randomPosition(pos, rng, p * 96 / kPositions);
        for (int ay = 1; ay <= kRows; ++ay) {
            for (int ax = 1; ax <= kCols; ++ax) {
                const int16_t oldA = makePresent(pos, ax, ay, p % 2 ? kPicked : kOnBoard);
                const auto reach = bendsFrom(pos, ax, ay);
                for (int by = 1; by <= kRows; ++by) {
                    for (int bx = 1; bx <= kCols; ++bx) {
                        if (bx == ax && by == ay) continue;
                        const int16_t oldB = makePresent(pos, bx, by, kOnBoard);
                        check.compare(pos, ax, ay, bx, by,
                                      reach[static_cast<std::size_t>(by * kMapW + bx)] < kNoPath);
                        pos.stateAt(bx, by) = oldB;
                    }
                }
                pos.stateAt(ax, ay) = oldA;
            }
        }
    }
    check.expectEveryScanUsed();
}

}  // namespace
}  // namespace tessarin
