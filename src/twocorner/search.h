// The TwoCorner pair search: every pair of equal tiles that can be taken off
// the board in the current position, each listed once, in the order the
// player steps through them.
#pragma once

#include "board/position.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessarin {

// Two cells of a pair in orderPair order: left cell first, or the upper one
// when both share a column.
struct CellPair {
    int8_t xL = 0;
    int8_t yL = 0;
    int8_t xR = 0;
    int8_t yR = 0;

    // The pair code "xxyxxy": column (two digits) and row (one digit) of the
    // left cell, then the same for the right cell; NUL-terminated.
    std::array<char, 7> code() const;

    friend bool operator==(const CellPair&, const CellPair&) = default;
};

// A fixed-capacity list of pairs. Each tile has at most three partners of its
// kind, so a board never has more than 136 * 3 / 2 = 204 removable pairs.
class PairList {
public:
    static constexpr int kCapacity = kTiles * 3 / 2;

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const CellPair& operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
    const CellPair* begin() const { return items_.data(); }
    const CellPair* end() const { return items_.data() + count_; }

    // Appends a pair; a full list ignores it (a board cannot fill it).
    void push(const CellPair& pair) {
        if (count_ < kCapacity) items_[static_cast<std::size_t>(count_++)] = pair;
    }

    friend bool operator==(const PairList& a, const PairList& b) {
        return a.count_ == b.count_ && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    std::array<CellPair, kCapacity> items_{};
    int count_ = 0;
};

// Every removable pair of the position, each once. The field is read row by
// row (top row first, left to right); each tile still present is tried with
// the other present tiles of its kind in tile-number order, and a pair is
// listed where it is first found. So the list runs by the pair's first tile
// met in that reading, then by the partner's tile number.
//
// A picked tile (state 1) counts as an ordinary tile on the board. Nothing
// is changed and nothing is allocated.
PairList findPairs(const Position& pos);

}  // namespace tessarin
