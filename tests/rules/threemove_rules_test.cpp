// The ThreeMove rules on small boards drawn as text: where a clicked tile
// slides, what slides with it, and what clears afterwards.
#include "stages/deal.h"
#include "support/threemove_board.h"

#include <cstdlib>
#include <random>

namespace tessarin::test {
namespace {

using namespace tessarin::three;
using Rows = std::vector<std::string>;

int choices(const ThreeBoard& b, int x, int y) {
    int bits = -1;
    const bool any = moveChoices(b.map, b.tbl, x, y, bits);
    EXPECT_EQ(any, bits != 0) << x << "," << y;
    return bits;
}

// Plays a click; false when the tile does not move.
bool slide(ThreeBoard& b, int x, int y, bool leftButton, Move* made = nullptr) {
    Move m;
    if (!planMove(b.map, b.tbl, x, y, leftButton, m)) return false;
    shiftRun(b.map, b.tbl, m);
    if (made) *made = m;
    return true;
}

TEST(ThreeMoveRules, ATileSlidesTowardsAHoleWhenSomethingIsBehindIt) {
    const ThreeBoard b = drawThree({".....", ".ab..", ".c..."});
    // a: a hole above with c below it, a hole to the left with b right of it.
    // The right button takes the vertical way, the left button the other.
    EXPECT_EQ(choices(b, 2, 2), kUpBit | kLeftBit);
    EXPECT_EQ(pickDirection(kUpBit | kLeftBit, false), kUp);
    EXPECT_EQ(pickDirection(kUpBit | kLeftBit, true), kLeft);
    // With one axis open, either button takes it.
    EXPECT_EQ(choices(b, 3, 2), kRightBit);
    EXPECT_EQ(pickDirection(kRightBit, false), kRight);
    EXPECT_EQ(choices(b, 2, 3), kDownBit);
    EXPECT_EQ(pickDirection(kDownBit, true), kDown);
    // Holes, cells off the field, and tiles with only the edge behind them
    // never move.
    EXPECT_EQ(choices(b, 1, 1) | choices(b, 0, 2), 0);
    const ThreeBoard corners = drawThree({"a...............b", ".", ".", ".", ".", ".", ".", "c...............d"});
    for (auto [x, y] : {std::pair{1, 1}, {17, 1}, {1, 8}, {17, 8}}) EXPECT_EQ(choices(corners, x, y), 0);
}

TEST(ThreeMoveRules, TheRunSlidesUntilItsFrontMeetsAnOccupiedCellStonesIncluded) {
    // Holes in rows 1 and 2, then a tile, a stone and a tile, then a hole.
    ThreeBoard b = drawThree({".", ".", "a", "#", "b", ".", "c"});
    const BoardMap before = b.map;
    Move m;
    ASSERT_TRUE(slide(b, 1, 3, false, &m));
    EXPECT_EQ(m, (Move{kUp, 1, 3, 1, 1, 1, 5}));
    EXPECT_EQ(showThree(b.map, b.tbl, 1, 7), (Rows{"a", "#", "b", ".", ".", ".", "c"}));
    // The holes passed lie behind the run in their former order.
    EXPECT_EQ((std::pair(b.map.at(1, 4), b.map.at(1, 5))), std::pair(before.at(1, 1), before.at(1, 2)));
    // Clicked at its lower end, the run goes back down to the c.
    ASSERT_TRUE(slide(b, 1, 3, false, &m));
    EXPECT_EQ(m, (Move{kDown, 1, 3, 1, 6, 1, 1}));
    EXPECT_EQ(showThree(b.map, b.tbl, 1, 7), (Rows{".", ".", ".", "a", "#", "b", "c"}));
    EXPECT_TRUE(boardIsConsistent(b.map, b.tbl));

    // Sideways, a stone at the front pushes like a tile.
    ThreeBoard row = drawThree({"..#ab..d"});
    ASSERT_TRUE(slide(row, 3, 1, true, &m));
    EXPECT_EQ(m, (Move{kLeft, 3, 1, 1, 1, 5, 1}));
    EXPECT_EQ(showThree(row.map, row.tbl, 8, 1), (Rows{"#ab....d"}));
    ASSERT_TRUE(slide(row, 3, 1, true, &m));
    EXPECT_EQ(m, (Move{kRight, 3, 1, 7, 1, 1, 1}));
    EXPECT_EQ(showThree(row.map, row.tbl, 8, 1), (Rows{"....#abd"}));
    EXPECT_TRUE(boardIsConsistent(row.map, row.tbl));
}

TEST(ThreeMoveRules, TouchingTilesOfOneKindClearInReadingOrder) {
    ThreeBoard b = drawThree({"aa.AA....", "bbb..G#..", ".........", "cc..c....", "c........"});
    std::vector<std::pair<int, int>> shown;
    const int cleared = clearGroups(b.map, b.tbl, [&](int x, int y) {
        EXPECT_EQ(b.tbl[static_cast<std::size_t>(b.map.at(x, y))].state, kRemoved);
        shown.emplace_back(x, y);
    });
    // A pair; honours leave stones; three in a line lose only the first two;
    // the L-shaped trio takes the far fourth c with it. A live G beside a
    // stone of its own kind stays.
    EXPECT_EQ(showThree(b.map, b.tbl, 9, 5), (Rows{"...##....", "..b..G#..", ".........", ".........", "........."}));
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{
                         {1, 1}, {2, 1}, {4, 1}, {5, 1}, {1, 2}, {2, 2}, {1, 4}, {2, 4}, {1, 5}, {5, 4}}));
    EXPECT_EQ((std::tuple(cleared, countPai3(b.map, b.tbl), clearGroups(b.map, b.tbl))), std::tuple(10, 2, 0));
    // Three moves per pair; halves (never met in play) go to the even side.
    EXPECT_EQ((std::pair(movesEarned(10), movesEarned(3))), std::pair(15, 4));
}

TEST(ThreeMoveRules, SlidesOnDealtBoardsMoveExactlyTheirRun) {
    std::mt19937 rng(7);
    int moves = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        ThreeBoard b;
        fillPaiTbl(b.tbl);
        const auto order = dealOrderForSeed(seed);
        for (int k = 1; k <= kTiles; ++k)
            placePai(b.map, b.tbl, (k - 1) % kCols + 1, (k - 1) / kCols + 1, order[static_cast<std::size_t>(k)], true);
        clearGroups(b.map, b.tbl);
        for (int step = 0; step < 60; ++step) {
            const int x = static_cast<int>(rng() % kCols) + 1, y = static_cast<int>(rng() % kRows) + 1;
            const BoardMap before = b.map;
            Move m;
            if (!slide(b, x, y, rng() % 2 == 0, &m)) continue;
            ++moves;
            ASSERT_TRUE(boardIsConsistent(b.map, b.tbl));
            // The run, two cells or more, lands with its front on the
            // destination; nothing off its line changes.
            const int dx = (m.toX > x) - (m.toX < x), dy = (m.toY > y) - (m.toY < y);
            const int len = std::abs(m.tailX - x) + std::abs(m.tailY - y) + 1;
            EXPECT_GE(len, 2);
            for (int i = 0; i < len; ++i)
                EXPECT_EQ(b.map.at(m.toX - i * dx, m.toY - i * dy), before.at(x - i * dx, y - i * dy));
            for (int cy = 1; cy <= kRows; ++cy)
                for (int cx = 1; cx <= kCols; ++cx) {
                    const bool offLine = dx != 0 ? cy != y : cx != x;
                    ASSERT_TRUE(!offLine || b.map.at(cx, cy) == before.at(cx, cy)) << cx << "," << cy;
                }
            clearGroups(b.map, b.tbl);
        }
    }
    EXPECT_GT(moves, 200);
}

}  // namespace
}  // namespace tessarin::test
