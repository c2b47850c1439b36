#include "solver/bitboard.h"

namespace tessarin::solver {

namespace {

// The pair tables agree with each other.
constexpr bool pairTablesAgree() {
    for (int id = 0; id < kPairIds; ++id) {
        const int a = pairTileA(id), b = pairTileB(id);
        if (a / 4 != b / 4 || a >= b || pairIdOf(a, b) != id || pairIdOf(b, a) != id) return false;
        if (complementPair(complementPair(id % kPairsPerKind)) != id % kPairsPerKind) return false;
        const int c = pairTileA(id - id % kPairsPerKind + complementPair(id % kPairsPerKind));
        const int d = pairTileB(id - id % kPairsPerKind + complementPair(id % kPairsPerKind));
        if (c == a || c == b || d == a || d == b) return false;
        for (const int t : {a, b}) {
            int holds = 0;
            for (const uint8_t q : kPairsOfSlot[static_cast<std::size_t>(t % 4)]) holds += q == id % kPairsPerKind;
            if (holds != 1) return false;
        }
    }
    return true;
}
static_assert(pairTablesAgree());

}  // namespace

Layout Bitboard::layoutOf(const tessarin::Position& pos) {
    Layout layout;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            const int t = pos.tileAt(x, y);
            if (t < 1 || t > kTiles) continue;
            layout.x[static_cast<std::size_t>(t - 1)] = static_cast<uint8_t>(x);
            layout.y[static_cast<std::size_t>(t - 1)] = static_cast<uint8_t>(y);
        }
    }
    return layout;
}

Bitboard Bitboard::of(const Layout& layout, const tessarin::Position& pos) {
    Bitboard p;
    p.layout_ = &layout;
    // The frame: rows 0 and 9, columns 0 and 18, free from end to end.
    const uint32_t fullRow = (1u << kBoardW) - 1u;
    const uint32_t fullCol = (1u << kBoardH) - 1u;
    for (int r = 0; r < kBoardH; ++r)
        p.rowFree_[static_cast<std::size_t>(r)] = (r == 0 || r == kBoardH - 1) ? fullRow : (1u | 1u << (kBoardW - 1));
    for (int c = 0; c < kBoardW; ++c)
        p.colFree_[static_cast<std::size_t>(c)] = (c == 0 || c == kBoardW - 1) ? fullCol : (1u | 1u << (kBoardH - 1));
    p.left_.fill(4);
    for (int id = 0; id < kPairIds; ++id) p.pairsPresent_.set(id);
    p.tilesLeft_ = kTiles;
    for (int t = 0; t < kTiles; ++t) {
        if (pos.tile(t + 1).state == kRemoved) p.remove(t);
    }
    return p;
}

void Joinable::taken(const Layout& layout, int tile) {
    for (const uint8_t q : kPairsOfSlot[static_cast<std::size_t>(tile % 4)]) pairs.clear(tile / 4 * kPairsPerKind + q);
    freedCols |= 1u << layout.x[static_cast<std::size_t>(tile)];
    freedRows |= 1u << layout.y[static_cast<std::size_t>(tile)];
}

void refreshJoinable(const Bitboard& p, Joinable& j) {
    if (j.freedRows == 0 && j.freedCols == 0) return;
    const Layout& l = p.layout();
    forEachIn(p.pairsPresent(), j.pairs, [&](int id) {
        const int a = pairTileA(id);
        const int b = pairTileB(id);
        const int ax = l.x[static_cast<std::size_t>(a)], ay = l.y[static_cast<std::size_t>(a)];
        const int bx = l.x[static_cast<std::size_t>(b)], by = l.y[static_cast<std::size_t>(b)];
        const uint32_t cols = detail::span(std::min(ax, bx), std::max(ax, bx));
        const uint32_t rows = detail::span(std::min(ay, by), std::max(ay, by));
        if ((j.freedCols & cols) == 0 && (j.freedRows & rows) == 0) return;
        if (p.joinable(a, b)) j.pairs.set(id);
    });
    j.freedRows = 0;
    j.freedCols = 0;
}

}  // namespace tessarin::solver
