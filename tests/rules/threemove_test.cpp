// The ThreeMove rules as a player meets them, on small boards drawn as text,
// and `tessarin-tool three` against the rules played on dealt boards.
#include "support.h"
#include "threemove/rules.h"

namespace tessarin::test {
namespace {

using Rows = std::vector<std::string>;

// A board drawn from the top-left cell: 'A'..'G' live honours (kinds 1..7), 'a'..'z' live tiles of
// kinds 8..33, '#' a stone, '.' a hole; the cells not drawn hold the tiles left over, as holes.
Position drawThree(const Rows& rows) {
    Position pos;
    std::array<bool, kTableSize> used{};
    const auto put = [&](int x, int y, int first, int step, int16_t cover) {  // the first unused tile from `first`
        int t = first;
        while (used[t]) t += step;
        used[t] = true;
        pos.place(x, y, t, true);
        pos.setCover(t, cover);
        pos.setState(t, cover == three::kFace ? kOnBoard : kRemoved);
    };
    for (const bool rest : {false, true})
        for (int c = 0; c < kTiles; ++c) {
            const int x = c % kCols + 1, y = c / kCols + 1;
            const char ch = y <= int(rows.size()) && x <= int(rows[y - 1].size()) ? rows[y - 1][x - 1] : '.';
            const int kind = ch >= 'A' && ch <= 'G' ? ch - 'A' + 1 : ch >= 'a' && ch <= 'z' ? ch - 'a' + 8 : 0;
            if (!rest && kind) put(x, y, 4 * kind - 3, 1, three::kFace);
            if (!rest && ch == '#') put(x, y, 28, -1, three::kStone);
            if (rest && pos.tileAt(x, y) == 0) put(x, y, 1, 1, three::kHole);
        }
    return pos;
}

// The cells of the board in the shape of `like`, drawn as drawThree reads them.
Rows shown(const Position& pos, Rows like) {
    for (int y = 1; y <= int(like.size()); ++y)
        for (int x = 1; x <= int(like[y - 1].size()); ++x) {
            const TileRecord& r = pos.recordAt(x, y);
            like[y - 1][x - 1] = r.cover == three::kStone ? '#' : r.cover == three::kHole ? '.'
                               : r.kind <= 7 ? char('A' + r.kind - 1) : char('a' + r.kind - 8);
        }
    return like;
}

TEST(ThreeMoveRules, ClicksSlideClearAndScoreAsDrawn) {
    const Rows abc = {".....", ".ab.#", ".c..."};
    const struct {  // `after` empty: the click does nothing; counters: tiles left, moves left, moves made
        const char* what; Rows before; int x, y; bool left; Rows after; three::Counters counters; int movesLeft = 3;
    } cases[] = {
        {"right button: up or down first", abc, 2, 2, false, {".a...", ".cb.#", "....."}, {3, 2, 1}},
        {"left button: sideways first", abc, 2, 2, true, {".....", "ab..#", ".c..."}, {3, 2, 1}},
        {"only one axis open: either button", abc, 3, 2, false, {".....", "..ab#", ".c..."}, {3, 2, 1}},
        {"a hole", abc, 1, 1, true, {}, {3, 3, 0}},
        {"no move left", abc, 2, 2, true, {}, {3, 0, 0}, 0},
        {"nothing behind the tile", {"...", ".a.", "..."}, 2, 2, true, {}, {1, 3, 0}},
        {"the edge is not behind a tile", {"a.", "b."}, 1, 1, true, {}, {2, 3, 0}},
        {"a run with a stone, to the far end of the gap", {".", ".", "a", "#", "b", ".", "c"}, 1, 3, false,
         {"a", "#", "b", ".", ".", ".", "c"}, {3, 2, 1}},
        {"a stone at the front", {"..#ab..d"}, 3, 1, true, {"#ab....d"}, {3, 2, 1}},
        {"three in a line clear two", {"#a.aa"}, 2, 1, true, {".#..a"}, {1, 5, 1}},
        {"an L of three clears the fourth", {"aa...", ".a#..", ".....", "....a"}, 2, 2, true,
         {".....", ".#...", ".....", "....."}, {0, 8, 1}},
        {"honours leave stones; stones never clear", {"A.A#", "G#.."}, 3, 1, true, {"###.", "G#.."}, {1, 5, 1}},
    };
    for (const auto& c : cases) {
        Position pos = drawThree(c.before);
        three::Score score{three::startCounters(pos), {}};
        score.now.movesLeft = c.movesLeft;
        const three::Counters start = score.now;
        EXPECT_EQ(three::playMove(pos, score, c.x, c.y, c.left), !c.after.empty()) << c.what;
        EXPECT_EQ(shown(pos, c.before), c.after.empty() ? c.before : c.after) << c.what;
        EXPECT_EQ(score.now, c.counters) << c.what;
        EXPECT_EQ(score.beforeLastMove, c.after.empty() ? three::Counters{} : start) << c.what;
    }
}

TEST(ThreeTool, PlaysClicksAsTheRulesDo) {
    std::mt19937 rng(2024);
    int moves = 0;
    for (int seed = 100; seed < 112; ++seed) {
        std::vector<std::string> args = {"three", dealStageLine(seed)};
        Position pos = dealt(seed);
        three::clearGroups(pos);
        three::Score score{three::startCounters(pos), {}};
        for (int i = 0; i < 5000 && args.size() < 42; ++i) {  // mostly tiles that could slide either way
            int x = below(rng, 20), y = below(rng, 11), bits = 0, button = std::array{1, 2, 4}[below(rng, 3)];
            if (!(three::moveChoices(pos, x, y, bits) && bits & 3 && bits & 12) && below(rng, 20)) continue;
            moves += score.now.tilesLeft > 0 && three::playMove(pos, score, x, y, button == 1);
            args.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(button));
        }
        std::string expected = std::to_string(score.now.tilesLeft) + " " + std::to_string(score.now.movesLeft) + " " +
                               std::to_string(score.now.movesDone) + "\n";
        for (int c = 0; c < kTiles; ++c) {  // column by column
            const int x = c / kRows + 1, y = c % kRows + 1;
            expected += threeDigits(pos.tileAt(x, y)) + char('0' + pos.recordAt(x, y).cover);
        }
        EXPECT_EQ(runTool(args).out, expected + "\n") << "deal " << seed;
    }
    EXPECT_GT(moves, 30);
}

}  // namespace
}  // namespace tessarin::test
