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

// A board drawn as rows of cells from the top; rows not drawn and cells past
// a row's end are '.':
//   '.'      a removed tile (every tile not drawn lies removed in one);
//   'a'..'z' present tiles, one kind per letter, numbered in reading order;
//            the capital letter is a picked tile of that kind;
//   '1'..'4' the four tiles of one more kind, the digit giving their order;
//   '#'      a present tile that is the only one of its kind left.
Position draw(const std::vector<std::string_view>& rows) {
    Position pos;
    fillPaiTbl(pos.tbl);
    std::array<bool, kTblSize> used{};
    std::map<char, int> kindOfMark, seen;  // letter or '1' -> kind; letter -> tiles drawn so far
    int nextKind = 1;
    const auto put = [&](int t, int x, int y, int16_t state) {
        placePai(pos.map, pos.tbl, x, y, t, false);
        pos.tbl[static_cast<std::size_t>(t)].state = state;
        used[static_cast<std::size_t>(t)] = true;
    };
    const auto cell = [&](int x, int y) {
        const std::string_view row = y <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(y - 1)] : "";
        return x <= static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x - 1)] : '.';
    };
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            const char c = cell(x, y);
            if (c == '.') continue;
            const bool digitKind = c >= '1' && c <= '4', capital = c >= 'A' && c <= 'Z';
            const char mark = digitKind ? '1' : capital ? static_cast<char>(c - 'A' + 'a') : c;
            int kind = nextKind;
            if (mark == '#') ++nextKind;
            else if (auto [it, fresh] = kindOfMark.try_emplace(mark, nextKind); fresh) ++nextKind;
            else kind = it->second;
            const int rank = digitKind ? c - '0' : mark == '#' ? 1 : ++seen[mark];
            EXPECT_LE(kind, 34) << "too many kinds drawn";
            EXPECT_LE(rank, 4) << "more than four tiles of '" << mark << "'";
            put((kind - 1) * 4 + rank, x, y, capital ? kPicked : kOnBoard);
        }
    for (int y = 1, t = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            if (cell(x, y) != '.') continue;
            while (used[static_cast<std::size_t>(t)]) ++t;
            put(t, x, y, kRemoved);
        }
    EXPECT_TRUE(boardIsConsistent(pos.map, pos.tbl));
    return pos;
}

std::vector<std::string> codes(const Position& pos) {
    std::vector<std::string> out;
    for (const PairHint& h : findPairs(pos.map, pos.tbl)) out.push_back(pairCodeText(h));
    return out;
}

TEST(PairSearch, ListsEachPairOnceByFirstTileMetThenPartnerNumber) {
    // Digit tile 1 is met first and pairs with 2, 3 and 4 in that order though
    // 4 lies nearest; tile 4 adds its pairs with 2 and 3; the b pair is met at
    // its upper tile, the a pair at its left one; tile 3 adds the last pair.
    const Position pos = draw({"..1", "", ".....4......b", "", "..a.....3", "", "..........2...b.a"});
    EXPECT_EQ(codes(pos), (std::vector<std::string>{"031117", "031095", "031063", "063117", "063095", "133157",
                                                    "035177", "095117"}));
    EXPECT_EQ(findPairs(pos.map, pos.tbl)[0], (PairHint{3, 1, 11, 7}));  // the same code, left cell first
}

TEST(PairSearch, OnlyJoinablePairsOfOneKindAreListed) {
    // The a pair is joinable; each b tile is walled in on its own; the two c
    // tiles share a row with one tile between them and nothing free around.
    EXPECT_EQ(codes(draw({"", "..a..........a", "", ".###.......###", ".#b#.......#b#", ".###.#####.###", ".....#c#c#",
                          ".....#####"})),
              std::vector<std::string>{"032142"});
    // Nothing joinable at all: an empty list.
    EXPECT_TRUE(codes(draw({"", ".###.........###", ".#a#.........#a#", ".###.........###", "", ".###.........###",
                            ".#b#.........#b#", ".###.........###"}))
                    .empty());
    // A picked tile is an ordinary tile to the search: it still stands
    // between the two a tiles, and its own pair with b is listed.
    EXPECT_EQ(codes(draw({"", "", "....##b##", "....#aBa#", "....#####"})), std::vector<std::string>{"073074"});
}

}  // namespace
}  // namespace tessarin
