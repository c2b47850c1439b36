// The TwoCorner pair search: which pairs it lists and in which order.
#include "board/model.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {
namespace {

struct Position {
    BoardMap map;
    PaiTbl tbl;
};

// A board drawn as 8 rows of 17 cells:
//   '.'      a removed tile;
//   'a'..'z' present tiles, one kind per letter, numbered in reading order;
//            the capital letter is a picked tile of that kind;
//   '1'..'4' the four tiles of one more kind, the digit giving the order of
//            their numbers;
//   '#'      a present tile that is the only one of its kind left.
// Every tile not drawn lies removed in a '.' cell.
Position draw(const std::array<std::string_view, kRows>& rows) {
    Position pos;
    fillPaiTbl(pos.tbl);
    std::array<bool, kTblSize> used{};
    std::map<char, int> kindOfMark;  // letter or '1' -> kind
    std::map<char, int> seen;        // letter -> tiles of it drawn so far
    int nextKind = 1;
    const auto put = [&](int t, int x, int y, int16_t state) {
        pos.map.at(x, y) = static_cast<int16_t>(t);
        PaiRec& r = pos.tbl[static_cast<std::size_t>(t)];
        r.boardX = static_cast<int16_t>(x);
        r.boardY = static_cast<int16_t>(y);
        r.state = state;
        used[static_cast<std::size_t>(t)] = true;
    };
    for (int y = 1; y <= kRows; ++y) {
        const std::string_view row = rows[static_cast<std::size_t>(y - 1)];
        EXPECT_EQ(row.size(), static_cast<std::size_t>(kCols)) << "row " << y;
        for (int x = 1; x <= kCols; ++x) {
            const char c = row[static_cast<std::size_t>(x - 1)];
            if (c == '.') continue;
            const bool digitKind = c >= '1' && c <= '4';
            const bool capital = c >= 'A' && c <= 'Z';
            const char mark = digitKind ? '1' : capital ? static_cast<char>(c - 'A' + 'a') : c;
            int kind = 0;
            if (mark == '#') {
                kind = nextKind++;
            } else {
                auto [it, fresh] = kindOfMark.try_emplace(mark, nextKind);
                if (fresh) ++nextKind;
                kind = it->second;
            }
            const int rank = digitKind ? c - '0' : mark == '#' ? 1 : ++seen[mark];
            EXPECT_LE(kind, 34) << "too many kinds drawn";
            EXPECT_LE(rank, 4) << "more than four tiles of '" << mark << "'";
            put((kind - 1) * 4 + rank, x, y, capital ? kPicked : kOnBoard);
        }
    }
    int t = 1;
    for (int y = 1; y <= kRows; ++y) {
        const std::string_view row = rows[static_cast<std::size_t>(y - 1)];
        for (int x = 1; x <= kCols; ++x) {
            if (row[static_cast<std::size_t>(x - 1)] != '.') continue;
            while (used[static_cast<std::size_t>(t)]) ++t;
            put(t, x, y, kRemoved);
        }
    }
    EXPECT_TRUE(boardIsConsistent(pos.map, pos.tbl));
    return pos;
}

std::vector<std::string> codes(const HintList& hints) {
    std::vector<std::string> out;
    for (const PairHint& h : hints) out.push_back(pairCodeText(h));
    return out;
}

TEST(PairSearch, ListsEachPairOnceByFirstTileMetThenPartnerNumber) {
    // Tile 1 of the digit kind is met first and pairs with 2, 3 and 4 in that
    // order though 4 lies nearest; tile 4 is met next and adds its pairs with
    // 2 and 3 (its pair with 1 is already listed); the b pair is met at its
    // upper tile, the a pair at its left one, and tile 3 adds the last
    // digit pair. Every pair is listed once.
    const Position pos = draw({"..1..............",
                               ".................",
                               ".....4......b....",
                               ".................",
                               "..a.....3........",
                               ".................",
                               "..........2...b.a",
                               "................."});
    const HintList hints = findPairs(pos.map, pos.tbl);
    EXPECT_EQ(codes(hints), (std::vector<std::string>{"031117", "031095", "031063", "063117",
                                                      "063095", "133157", "035177", "095117"}));

    // The same pair code as four numbers, left cell first.
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints[0], (PairHint{3, 1, 11, 7}));
}

TEST(PairSearch, OnlyJoinablePairsOfOneKindAreListed) {
    // The a pair is joinable; each b tile is walled in on its own; the two c
    // tiles share a row with one tile between them and nothing free around.
    const Position some = draw({".................",
                                "..a..........a...",
                                ".................",
                                ".###.......###...",
                                ".#b#.......#b#...",
                                ".###.#####.###...",
                                ".....#c#c#.......",
                                ".....#####......."});
    EXPECT_EQ(codes(findPairs(some.map, some.tbl)), std::vector<std::string>{"032142"});

    // Nothing joinable at all: an empty list.
    const Position stuck = draw({".................",
                                 ".###.........###.",
                                 ".#a#.........#a#.",
                                 ".###.........###.",
                                 ".................",
                                 ".###.........###.",
                                 ".#b#.........#b#.",
                                 ".###.........###."});
    EXPECT_TRUE(findPairs(stuck.map, stuck.tbl).empty());

    // A picked tile is an ordinary tile to the search: it still stands
    // between the two a tiles, and its own pair with b is listed.
    const Position picked = draw({".................",
                                  ".................",
                                  "....##b##........",
                                  "....#aBa#........",
                                  "....#####........",
                                  ".................",
                                  ".................",
                                  "................."});
    EXPECT_EQ(codes(findPairs(picked.map, picked.tbl)), std::vector<std::string>{"073074"});
}

TEST(PairSearch, AuthoredBoardInNumberOrderListsAllItsPairs) {
    // Tiles 1..136 laid out row by row: far more joinable pairs than a dealt
    // board usually has, and every one of them is listed.
    Position pos;
    fillPaiTbl(pos.tbl);
    int t = 0;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            ++t;
            pos.map.at(x, y) = static_cast<int16_t>(t);
            pos.tbl[static_cast<std::size_t>(t)].boardX = static_cast<int16_t>(x);
            pos.tbl[static_cast<std::size_t>(t)].boardY = static_cast<int16_t>(y);
        }
    }
    const std::vector<std::string> list = codes(findPairs(pos.map, pos.tbl));
    ASSERT_EQ(list.size(), 120u);
    // Tile 1 in the corner pairs along the top row with 2, 3 and 4.
    EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 3),
              (std::vector<std::string>{"011021", "011031", "011041"}));
}

}  // namespace
}  // namespace tessarin
