// ThreeMove boards drawn as text, for tests of the rules and of the game:
// 'A'..'G' live honour tiles (kinds 1..7), 'a'..'z' and '*' live tiles of
// kinds 8..34, '#' a stone, '.' a hole. The picture sits in the top-left
// corner; the cells it leaves out hold the unused tiles as holes, and the
// spare honours as stones in the far bottom-right corner. When every letter
// appears 2 or 4 times the board is one a game can reach.
#pragma once

#include "board/model.h"
#include "threemove/rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessarin::test {

struct ThreeBoard {
    BoardMap map;
    PaiTbl tbl{};
};

inline int kindOfLetter(char c) {
    if (c >= 'A' && c <= 'G') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 8;
    return c == '*' ? 34 : 0;
}

inline ThreeBoard drawThree(const std::vector<std::string_view>& rows) {
    ThreeBoard b;
    fillPaiTbl(b.tbl);
    std::array<bool, kTblSize> used{};
    // The next unused tile from first towards last.
    auto take = [&](int first, int last) {
        const int step = first <= last ? 1 : -1;
        for (int t = first; t != last + step; t += step)
            if (!used[static_cast<std::size_t>(t)]) return used[static_cast<std::size_t>(t)] = true, t;
        return 0;
    };
    auto put = [&](int x, int y, int t, int16_t cover) {
        EXPECT_NE(t, 0) << "the picture needs more tiles than there are at " << x << "," << y;
        b.map.at(x, y) = static_cast<int16_t>(t);
        PaiRec& r = b.tbl[static_cast<std::size_t>(t)];
        r.boardX = static_cast<int16_t>(x);
        r.boardY = static_cast<int16_t>(y);
        r.cover = cover;
        r.state = cover == three::kFace ? kOnBoard : kRemoved;
    };
    std::vector<std::pair<int, int>> holes, rest;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            const char c = y <= static_cast<int>(rows.size()) && x <= static_cast<int>(rows[y - 1].size())
                               ? rows[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)]
                               : ' ';
            if (const int k = kindOfLetter(c)) put(x, y, take(4 * k - 3, 4 * k), three::kFace);
            else if (c == '#') put(x, y, take(28, 1), three::kStone);
            else if (c == '.') holes.emplace_back(x, y);
            else rest.emplace_back(x, y);
        }
    std::stable_sort(rest.begin(), rest.end(), [](auto p, auto q) { return p.first + p.second > q.first + q.second; });
    for (auto [x, y] : rest) {
        if (const int t = take(28, 1)) put(x, y, t, three::kStone);
        else holes.emplace_back(x, y);
    }
    for (auto [x, y] : holes) {
        const int t = take(29, kTiles);
        put(x, y, t ? t : take(28, 1), three::kHole);
    }
    return b;
}

// The top-left width x height cells of a board, drawn as drawThree reads them.
inline std::vector<std::string> showThree(const BoardMap& map, const PaiTbl& tbl, int width, int height) {
    std::vector<std::string> rows;
    for (int y = 1; y <= height; ++y) {
        std::string row;
        for (int x = 1; x <= width; ++x) {
            const PaiRec& r = tbl[static_cast<std::size_t>(map.at(x, y))];
            const int k = r.kind;
            row += r.cover == three::kStone ? '#'
                 : r.cover == three::kHole  ? '.'
                 : k <= 7                   ? static_cast<char>('A' + k - 1)
                 : k <= 33                  ? static_cast<char>('a' + k - 8)
                                            : '*';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace tessarin::test
