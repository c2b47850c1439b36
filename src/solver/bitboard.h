// The solver's own picture of a TwoCorner position: where every tile lies,
// which tiles are gone, and the free cells of the field and its frame as bit
// masks per row and per column, so that the connection rule becomes a few
// mask tests instead of cell-by-cell scans.
//
// Tiles are indexed 0..135 (tile number - 1); the four tiles of kind k are
// 4k..4k+3. The six pairs of a kind are numbered 0..5 (slots 01 02 03 12 13
// 23) and pair p of kind k has the id 6k + p.
#pragma once

#include "board/position.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace tessarin::solver {

inline constexpr int kKinds = kTiles / 4;      // 34
inline constexpr int kPairsPerKind = 6;
inline constexpr int kPairIds = kKinds * kPairsPerKind;  // 204

struct SlotPair {
    uint8_t a;
    uint8_t b;
};
inline constexpr std::array<SlotPair, kPairsPerKind> kSlotPairs{
    {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}}};

// The three pairs of a kind that hold the tile in slot s.
inline constexpr std::array<std::array<uint8_t, 3>, 4> kPairsOfSlot{{{0, 1, 2}, {0, 3, 4}, {1, 3, 5}, {2, 4, 5}}};

// Pair p and pair 5 - p of a kind together hold all four of its tiles.
constexpr int complementPair(int p) { return kPairsPerKind - 1 - p; }
constexpr int pairTileA(int id) {
    return (id / kPairsPerKind) * 4 + kSlotPairs[static_cast<std::size_t>(id % kPairsPerKind)].a;
}
constexpr int pairTileB(int id) {
    return (id / kPairsPerKind) * 4 + kSlotPairs[static_cast<std::size_t>(id % kPairsPerKind)].b;
}

// The pair id of two different tiles of one kind.
constexpr int pairIdOf(int t, int u) {
    const int lo = std::min(t, u) % 4;
    const int hi = std::max(t, u) % 4;
    // slots 01 02 03 12 13 23 -> 0..5
    const int q = lo == 0 ? hi - 1 : lo == 1 ? hi + 1 : 5;
    return (t / 4) * kPairsPerKind + q;
}

namespace detail {

// Set bits of a word. Written out, as the baseline x86-64 target has no
// popcount instruction and std::popcount becomes a library call.
constexpr int bitCount(uint64_t v) {
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((v * 0x0101010101010101ull) >> 56);
}

}  // namespace detail

// A set of up to 256 small numbers (tiles or pair ids).
struct Bits256 {
    std::array<uint64_t, 4> w{};

    bool has(int i) const { return (w[static_cast<std::size_t>(i >> 6)] >> (i & 63)) & 1u; }
    void set(int i) { w[static_cast<std::size_t>(i >> 6)] |= uint64_t{1} << (i & 63); }
    void clear(int i) { w[static_cast<std::size_t>(i >> 6)] &= ~(uint64_t{1} << (i & 63)); }
    int count() const {
        return detail::bitCount(w[0]) + detail::bitCount(w[1]) + detail::bitCount(w[2]) + detail::bitCount(w[3]);
    }
    friend bool operator==(const Bits256&, const Bits256&) = default;
};

// Calls f(i) for every i in `a` and not in `b`, in increasing order. The
// sets themselves are read word by word as the walk goes, so an element of
// a word not yet reached that leaves `a` or joins `b` meanwhile is skipped.
template <class F>
void forEachIn(const Bits256& a, const Bits256& b, F f) {
    for (std::size_t w = 0; w < a.w.size(); ++w) {
        for (uint64_t bits = a.w[w] & ~b.w[w]; bits != 0; bits &= bits - 1) {
            f(static_cast<int>(w * 64) + std::countr_zero(bits));
        }
    }
}

// Where the tiles lie; fixed for a whole search and shared by its positions.
struct Layout {
    std::array<uint8_t, kTiles> x{};  // column 1..17
    std::array<uint8_t, kTiles> y{};  // row 1..8
};

// A set of field cells as bit masks per row and per column.
struct CellSet {
    std::array<uint32_t, kBoardH> rows{};  // bit x of row y
    std::array<uint32_t, kBoardW> cols{};  // bit y of column x

    void add(int x, int y) {
        rows[static_cast<std::size_t>(y)] |= 1u << x;
        cols[static_cast<std::size_t>(x)] |= 1u << y;
    }
};

class Bitboard {
public:
    // The layout of a board, and the position on it: tiles in state 2 are
    // gone, every other tile (on the board or picked) is present.
    static Layout layoutOf(const tessarin::Position& pos);
    static Bitboard of(const Layout& layout, const tessarin::Position& pos);

    const Layout& layout() const { return *layout_; }
    bool present(int tile) const { return !removed_.has(tile); }
    const Bits256& removed() const { return removed_; }
    // The pairs whose two tiles are both present.
    const Bits256& pairsPresent() const { return pairsPresent_; }
    int left(int kind) const { return left_[static_cast<std::size_t>(kind)]; }
    int tilesLeft() const { return tilesLeft_; }

    // Free cells: bit x of row r, bit y of column c (frame included).
    uint32_t rowFree(int r) const { return rowFree_[static_cast<std::size_t>(r)]; }
    uint32_t colFree(int c) const { return colFree_[static_cast<std::size_t>(c)]; }

    // Takes a present tile off: its cell becomes free.
    void remove(int tile);

    // Whether the cells of tiles a and b (two different tiles, present or
    // not) are joined by a path of at most two bends through free cells and
    // the frame in this position. Same answer as canConnect.
    bool joinable(int a, int b) const { return route(a, b) >= 0; }

    // A path that joins a and b, or -1: kVerticalFirst + r for the path
    // along a's column to row r, across to b's column and along it to b;
    // kHorizontalFirst + c for the path along a's row to column c, down or
    // up to b's row and along it to b. Read from b to a, the same number
    // names the same cells.
    int route(int a, int b) const;
    static constexpr int kVerticalFirst = 0;
    static constexpr int kHorizontalFirst = 32;

    // Whether cell (x, y) lies on the path `route` from a to b.
    bool onRoute(int a, int b, int route, int x, int y) const;
    // Whether a cell of the set other than the two ends lies on the path
    // `route` from a to b.
    bool routeMeets(int a, int b, int route, const CellSet& cells) const;

private:
    const Layout* layout_ = nullptr;
    // Free cells with the frame: row r (0..9) has bit x (0..18) set for a
    // free cell, column c (0..18) bit y (0..9). The frame is always free.
    std::array<uint32_t, kBoardH> rowFree_{};
    std::array<uint32_t, kBoardW> colFree_{};
    Bits256 removed_{};
    Bits256 pairsPresent_{};
    std::array<uint8_t, kKinds> left_{};
    int tilesLeft_ = 0;
};

inline void Bitboard::remove(int tile) {
    const int x = layout_->x[static_cast<std::size_t>(tile)];
    const int y = layout_->y[static_cast<std::size_t>(tile)];
    removed_.set(tile);
    for (const uint8_t q : kPairsOfSlot[static_cast<std::size_t>(tile % 4)])
        pairsPresent_.clear(tile / 4 * kPairsPerKind + q);
    rowFree_[static_cast<std::size_t>(y)] |= 1u << x;
    colFree_[static_cast<std::size_t>(x)] |= 1u << y;
    --left_[static_cast<std::size_t>(tile / 4)];
    --tilesLeft_;
}

namespace detail {

// Lowest and highest bit of the run of set bits of m that holds bit i
// (bit i must be set; bit 31 must be clear).
// The complemented words are never zero (bit 31 of m << (31 - i) is set
// and bit 31 of m >> i is clear), so the counts need no test for zero.
inline int runLow(uint32_t m, int i) { return i + 1 - __builtin_clz(~(m << (31 - i))); }
inline int runHigh(uint32_t m, int i) { return i - 1 + __builtin_ctz(~(m >> i)); }
// Bits lo..hi set.
inline uint32_t span(int lo, int hi) { return ((2u << hi) - 1u) & ~((1u << lo) - 1u); }

// The first line t where a path leaves a (on line la, at position pa) along
// its line to position t, crosses to line lb over lines free at t, and goes
// along line lb to b (at pb); -1 when there is none. `lines` holds each
// line's free positions as bits: columns (positions are rows) for a path
// that starts vertically, rows for one that starts horizontally.
template <std::size_t N>
inline int firstTurn(const std::array<uint32_t, N>& lines, int la, int pa, int lb, int pb) {
    uint32_t a = lines[static_cast<std::size_t>(la)] | 1u << pa;
    uint32_t b = lines[static_cast<std::size_t>(lb)] | 1u << pb;
    if (la == lb) b = a |= b;
    const int lo = std::max(runLow(a, pa), runLow(b, pb));
    const int hi = std::min(runHigh(a, pa), runHigh(b, pb));
    if (lo > hi) return -1;
    uint32_t turns = span(lo, hi);
    for (int l = std::min(la, lb) + 1; l < std::max(la, lb) && turns != 0; ++l)
        turns &= lines[static_cast<std::size_t>(l)];
    return turns != 0 ? __builtin_ctz(turns) : -1;
}

}  // namespace detail

inline int Bitboard::route(int a, int b) const {
    const int ax = layout_->x[static_cast<std::size_t>(a)];
    const int ay = layout_->y[static_cast<std::size_t>(a)];
    const int bx = layout_->x[static_cast<std::size_t>(b)];
    const int by = layout_->y[static_cast<std::size_t>(b)];
    // Every path of at most two bends runs vertical-horizontal-vertical or
    // horizontal-vertical-horizontal, some segments possibly empty. The two
    // end cells count as free: a path that ran through one of them would
    // contain a shorter path with no more bends that stops there.
    //
    // Vertical first: a goes along its column to row r, across to b's
    // column, and along it to b. Row r must lie in the free runs of both
    // columns, and the cells of row r strictly between the two columns must
    // be free: the rows free in every column between them. Horizontal first
    // is the same with rows and columns exchanged.
    const int vertical = detail::firstTurn(colFree_, ax, ay, bx, by);
    if (vertical >= 0) return kVerticalFirst + vertical;
    const int horizontal = detail::firstTurn(rowFree_, ay, ax, by, bx);
    if (horizontal >= 0) return kHorizontalFirst + horizontal;
    return -1;
}

inline bool Bitboard::onRoute(int a, int b, int route, int x, int y) const {
    const int ax = layout_->x[static_cast<std::size_t>(a)];
    const int ay = layout_->y[static_cast<std::size_t>(a)];
    const int bx = layout_->x[static_cast<std::size_t>(b)];
    const int by = layout_->y[static_cast<std::size_t>(b)];
    const auto within = [](int v, int e1, int e2) { return v >= std::min(e1, e2) && v <= std::max(e1, e2); };
    if (route >= kHorizontalFirst) {
        const int c = route - kHorizontalFirst;
        return (y == ay && within(x, ax, c)) || (x == c && within(y, ay, by)) || (y == by && within(x, c, bx));
    }
    const int r = route - kVerticalFirst;
    return (x == ax && within(y, ay, r)) || (y == r && within(x, ax, bx)) || (x == bx && within(y, r, by));
}

inline bool Bitboard::routeMeets(int a, int b, int route, const CellSet& cells) const {
    const int ax = layout_->x[static_cast<std::size_t>(a)];
    const int ay = layout_->y[static_cast<std::size_t>(a)];
    const int bx = layout_->x[static_cast<std::size_t>(b)];
    const int by = layout_->y[static_cast<std::size_t>(b)];
    const auto between = [](int e1, int e2) { return detail::span(std::min(e1, e2), std::max(e1, e2)); };
    // The cells of the set on a stretch of one row or one column, without
    // the two end cells.
    const auto inRow = [&](int y, int x1, int x2) {
        uint32_t m = cells.rows[static_cast<std::size_t>(y)] & between(x1, x2);
        if (y == ay) m &= ~(1u << ax);
        if (y == by) m &= ~(1u << bx);
        return m;
    };
    const auto inCol = [&](int x, int y1, int y2) {
        uint32_t m = cells.cols[static_cast<std::size_t>(x)] & between(y1, y2);
        if (x == ax) m &= ~(1u << ay);
        if (x == bx) m &= ~(1u << by);
        return m;
    };
    if (route >= kHorizontalFirst) {
        const int c = route - kHorizontalFirst;
        return (inRow(ay, ax, c) | inCol(c, ay, by) | inRow(by, c, bx)) != 0;
    }
    const int r = route - kVerticalFirst;
    return (inCol(ax, ay, r) | inRow(r, ax, bx) | inCol(bx, r, by)) != 0;
}

// The pairs of a position known to be joinable, and the rows and columns of
// the cells freed since that was last brought up to date.
struct Joinable {
    Bits256 pairs;
    uint32_t freedRows = ~0u;  // at first every pair is to be asked
    uint32_t freedCols = ~0u;

    // Notes a tile taken off the position: its pairs go, its cell is freed.
    void taken(const Layout& layout, int tile);
};

// Adds every pair of the position that has become joinable. Pairs once
// joinable stay so while both tiles are on the board, so only the others
// are asked again, and of those only the ones a freed cell can help: every
// path of at most two bends between a and b keeps to the columns between
// them (vertical ends) or to the rows between them (horizontal ends), so a
// pair whose column range and row range hold no freed cell is no more
// joinable than before.
void refreshJoinable(const Bitboard& p, Joinable& j);

}  // namespace tessarin::solver
