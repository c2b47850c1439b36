// The TwoCorner connection rule: small boards drawn as text for the rules a
// player sees, and a cross-check of the four scans against a plain path
// search on many random positions and on every pair of cells.
#include "board/model.h"
#include "twocorner/connect.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {
namespace {

struct Position {
    BoardMap map;
    PaiTbl tbl;

    int16_t& stateAt(int x, int y) { return tbl[static_cast<std::size_t>(map.at(x, y))].state; }
    int16_t stateAt(int x, int y) const { return tbl[static_cast<std::size_t>(map.at(x, y))].state; }
};

// A board drawn as rows of cells from the top: '#' a tile on the board, '.' a
// removed tile, 'A' and 'B' the two tiles under test, 'a' tile A picked. Rows
// not drawn and cells past a row's end hold `fill`. Tiles are numbered in
// reading order, so A and B differ in kind unless within four cells.
struct Drawn {
    Position pos;
    int ax = 0, ay = 0, bx = 0, by = 0;
};

Drawn draw(char fill, const std::vector<std::string_view>& rows) {
    Drawn d;
    fillPaiTbl(d.pos.tbl);
    for (int y = 1, t = 0; y <= kRows; ++y) {
        const std::string_view row = y <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(y - 1)] : "";
        for (int x = 1; x <= kCols; ++x) {
            const char c = x <= static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x - 1)] : fill;
            placePai(d.pos.map, d.pos.tbl, x, y, ++t, false);
            if (c == '.') d.pos.stateAt(x, y) = kRemoved;
            if (c == 'a') d.pos.stateAt(x, y) = kPicked;
            if (c == 'A' || c == 'a') d.ax = x, d.ay = y;
            if (c == 'B') d.bx = x, d.by = y;
        }
    }
    EXPECT_TRUE(d.ax != 0 && d.bx != 0) << "the board must show A and B";
    return d;
}

// The answer for A and B; asking with the roles exchanged must give the same.
bool joinable(const Drawn& d) {
    const bool ab = canConnect(d.pos.map, d.pos.tbl, d.ax, d.ay, d.bx, d.by);
    EXPECT_EQ(ab, canConnect(d.pos.map, d.pos.tbl, d.bx, d.by, d.ax, d.ay)) << "the answer changed with the order";
    return ab;
}

TEST(ConnectionRule, DrawnBoardsJoinExactlyByPathsOfAtMostTwoBends) {
    struct Case {
        const char* what;
        char fill;
        std::vector<std::string_view> rows;
        bool joins;
    };
    const std::vector<Case> cases = {
        {"neighbours in a row", '#', {"", "", "", "######AB"}, true},
        {"neighbours in a column", '#', {"", "", "#########A", "#########B"}, true},
        {"both on the left edge column", '#', {"", "A", "", "", "", "", "B"}, true},
        {"both on the right edge column", '#', {"################A", "", "", "", "", "", "", "################B"},
         true},
        {"both on the top row", '#', {"##A##########B"}, true},
        {"both on the bottom row", '#', {"", "", "", "", "", "", "", "B##############A"}, true},
        {"inner column, a tile between, walled in", '.',
         {"", ".......###", ".......#A#", ".......###", ".......#B#", ".......###"}, false},
        {"inner column, the cell between free", '.',
         {"", ".......###", ".......#A#", ".......#.#", ".......#B#", ".......###"}, true},
        {"through the frame above", '#', {"###A######.", "##########.", "##########.", "##########B"}, true},
        {"one tile in the way to the frame above", '#', {"###A######.", "", "##########B"}, false},
        {"through the frame below", '#',
         {"", "", "", "#####A", "#####.", "#####.######B", "#####.######.", "#####.######."}, true},
        {"through the frame on the left", '#', {"", "....A", "", "", "", "", "..B"}, true},
        {"through the frame on the right", '#', {"", "", "################A", "", "", "#########B......."}, true},
        {"one bend inside the field", '#', {"", "", "####A....", "########.", "########B"}, true},
        {"two bends inside the field", '#', {"", "", "####A..", "######.", "######....B"}, true},
        {"three bends around an obstacle", '#', {"", "", "####A..", "######.", "######....", "#########B"}, false},
        {"two bends from the picked tile", '#', {"", "", "####a..", "######.", "######....B"}, true},
        {"three bends from the picked tile", '#', {"", "", "####a..", "######.", "######....", "#########B"}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(joinable(draw(c.fill, c.rows)), c.joins) << c.what;

    // Kinds are not looked at, and a tile is never joined with itself.
    const Drawn d = draw('#', {"", "", "", "##A", "##.", "##......B"});
    const auto kindAt = [&](int x, int y) { return d.pos.tbl[static_cast<std::size_t>(d.pos.map.at(x, y))].kind; };
    EXPECT_NE(kindAt(d.ax, d.ay), kindAt(d.bx, d.by));
    EXPECT_TRUE(joinable(d));
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

// A random deal of tiles 1..136 over the field with about `percent` removed.
void randomPosition(Position& pos, Rng& rng, int percent) {
    std::array<int, kTiles> order{};
    for (int i = 0; i < kTiles; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    for (int i = kTiles - 1; i > 0; --i)
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(rng.below(i + 1))]);
    for (int y = 1, i = 0; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            placePai(pos.map, pos.tbl, x, y, order[static_cast<std::size_t>(i++)], false);
            if (rng.below(100) < percent) pos.stateAt(x, y) = kRemoved;
        }
}

constexpr int kDirs = 4;
constexpr std::array<int, kDirs> kDx{1, -1, 0, 0};
constexpr std::array<int, kDirs> kDy{0, 0, 1, -1};
constexpr int kNoPath = 3;  // more than two bends

// Fewest bends to reach each cell of the board, frame included, from field
// cell (ax, ay): breadth-first over (cell, heading), a turn costing one bend.
// Only frame cells and removed tiles can be crossed; any cell can be an end.
std::array<int, kMapW * kMapH> bendsFrom(const Position& pos, int ax, int ay) {
    std::array<int, kMapW * kMapH> reach{};
    reach.fill(kNoPath);
    std::array<int, kMapW * kMapH * kDirs> best{};
    best.fill(kNoPath);
    std::deque<int> queue;  // state = cell * 4 + heading, cheaper states in front
    const auto enter = [&](int x, int y, int dir, int bends, bool front) {
        if (x < 0 || x >= kMapW || y < 0 || y >= kMapH || bends >= kNoPath) return;
        const int cell = y * kMapW + x;
        reach[static_cast<std::size_t>(cell)] = std::min(reach[static_cast<std::size_t>(cell)], bends);
        if (onField(x, y) && pos.stateAt(x, y) != kRemoved) return;
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
        const int x = cell % kMapW, y = cell / kMapW;
        for (int d = 0; d < kDirs; ++d) {
            if (kDx[d] == -kDx[dir] && kDy[d] == -kDy[dir]) continue;  // turning back
            enter(x + kDx[d], y + kDy[d], d, best[static_cast<std::size_t>(state)] + (d == dir ? 0 : 1), d == dir);
        }
    }
    return reach;
}

// Compares every scan and canConnect in both orders with the path search for
// pairs of present tiles, and counts which scan answered first.
struct CrossCheck {
    long pairs = 0, joinable = 0;
    std::array<long, 4> firstStage{};
    int reported = 0;

    // Tile A at (ax, ay) in state stateA against each B that `targets` names.
    template <class Targets>
    void from(Position& pos, int ax, int ay, int16_t stateA, Targets&& targets) {
        const int16_t oldA = pos.stateAt(ax, ay);
        pos.stateAt(ax, ay) = stateA;
        const auto reach = bendsFrom(pos, ax, ay);
        targets([&](int bx, int by) {
            const int16_t oldB = pos.stateAt(bx, by);
            pos.stateAt(bx, by) = kOnBoard;
            compare(pos, ax, ay, bx, by, reach[static_cast<std::size_t>(by * kMapW + bx)] < kNoPath);
            pos.stateAt(bx, by) = oldB;
        });
        pos.stateAt(ax, ay) = oldA;
    }

    void compare(const Position& pos, int ax, int ay, int bx, int by, bool path) {
        using Stage = bool (*)(const BoardMap&, const PaiTbl&, int, int, int, int);
        static constexpr std::array<Stage, 4> stages{connectStraight, connectViaBorder, connectInBox, connectAround};
        static constexpr std::array<const char*, 4> names{"connectStraight", "connectViaBorder", "connectInBox",
                                                          "connectAround"};
        ++pairs;
        joinable += path;
        bool any = false;
        for (std::size_t s = 0; s < stages.size(); ++s)
            for (const bool swapped : {false, true}) {
                const bool said = swapped ? stages[s](pos.map, pos.tbl, bx, by, ax, ay)
                                          : stages[s](pos.map, pos.tbl, ax, ay, bx, by);
                if (said && !any && !swapped) ++firstStage[s];
                any = any || said;
                if (said && !path) report(pos, ax, ay, bx, by, names[s], swapped, true);
            }
        if (any != path) report(pos, ax, ay, bx, by, "all four scans", false, any);
        const bool ab = canConnect(pos.map, pos.tbl, ax, ay, bx, by), ba = canConnect(pos.map, pos.tbl, bx, by, ax, ay);
        if (ab != path) report(pos, ax, ay, bx, by, "canConnect", false, ab);
        if (ba != path) report(pos, ax, ay, bx, by, "canConnect", true, ba);
    }

    // The first few cases, with the board drawn: '#' present, '.' removed,
    // 'p' picked, A (a when picked) and B the pair.
    void report(const Position& pos, int ax, int ay, int bx, int by, const char* who, bool swapped, bool said) {
        if (++reported > 5) return;
        std::string board;
        for (int y = 1; y <= kRows; ++y, board += '\n')
            for (int x = 1; x <= kCols; ++x) {
                const int st = pos.stateAt(x, y);
                board += x == ax && y == ay ? (st == kPicked ? 'a' : 'A')
                       : x == bx && y == by ? 'B'
                                            : (st == kRemoved ? '.' : st == kPicked ? 'p' : '#');
            }
        ADD_FAILURE() << who << (swapped ? " with B first" : "") << " answered " << (said ? "true" : "false")
                      << " but a path with at most two bends " << (said ? "does not exist" : "exists") << " for A("
                      << ax << "," << ay << ") B(" << bx << "," << by << "):\n"
                      << board;
    }

    void expectEveryScanUsed() const {
        for (std::size_t s = 0; s < firstStage.size(); ++s)
            EXPECT_GT(firstStage[s], 0) << "scan " << s + 1 << " never decided a case";
        std::printf("  compared %ld pairs, %ld joinable; decided by scan 1..4: %ld %ld %ld %ld\n", pairs, joinable,
                    firstStage[0], firstStage[1], firstStage[2], firstStage[3]);
    }
};

TEST(ConnectionRule, AgreesWithPathSearchOnRandomPositions) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kPositions = 40'000;  // the sanitizers slow every scan down
#else
    constexpr int kPositions = 120'000;
#endif
    Rng rng{20240611};
    Position pos;
    fillPaiTbl(pos.tbl);
    CrossCheck check;
    for (int p = 0; p < kPositions; ++p) {
        randomPosition(pos, rng, p % 96);  // 0% .. 95% of the tiles removed
        const int ax = 1 + rng.below(kCols), ay = 1 + rng.below(kRows);
        check.from(pos, ax, ay, rng.below(4) == 0 ? kPicked : kOnBoard, [&](auto&& with) {
            for (int k = 0; k < 6; ++k) {
                int bx = 0, by = 0;
                do bx = 1 + rng.below(kCols), by = 1 + rng.below(kRows);
                while (bx == ax && by == ay);
                with(bx, by);
            }
        });
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
        for (int ay = 1; ay <= kRows; ++ay)
            for (int ax = 1; ax <= kCols; ++ax)
                check.from(pos, ax, ay, p % 2 ? kPicked : kOnBoard, [&](auto&& with) {
                    for (int by = 1; by <= kRows; ++by)
                        for (int bx = 1; bx <= kCols; ++bx)
                            if (bx != ax || by != ay) with(bx, by);
                });
    }
    check.expectEveryScanUsed();
}

}  // namespace
}  // namespace tessarin
