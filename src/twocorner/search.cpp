#include "twocorner/search.h"

#include "twocorner/connect.h"

#include <algorithm>

namespace tessarin {

namespace {

char digit(int v) { return static_cast<char>('0' + v); }

// The search proper, on a table without a picked tile.
PairList scanBoard(const Position& pos) {
    // listed[t] has bit k set once the pair of t with the k-th tile of its
    // kind is in the list. Every pair would be met again from its second
    // tile with the same code; asking the rule a second time is saved.
    std::array<uint8_t, kTableSize> listed{};
    PairList pairs;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            const int t = pos.tileAt(x, y);
            if (t < 1 || t > kTiles || pos.tile(t).state == kRemoved) continue;
            // The four tiles of a kind carry four consecutive numbers; the
            // partners are tried in number order.
            const int first = (kindOfTile(t) - 1) * 4 + 1;
            for (int u = first; u < first + 4; ++u) {
                const TileRecord& partner = pos.tile(u);
                if (u == t || partner.state == kRemoved) continue;
                const auto tBit = static_cast<uint8_t>(1u << (t - first));
                const auto uBit = static_cast<uint8_t>(1u << (u - first));
                if (listed[static_cast<std::size_t>(t)] & uBit) continue;
                if (!canConnect(pos, x, y, partner.boardX, partner.boardY)) continue;
                const OrderedPair p = orderPair(x, y, partner.boardX, partner.boardY);
                pairs.push({static_cast<int8_t>(p.xL), static_cast<int8_t>(p.yL),
                            static_cast<int8_t>(p.xR), static_cast<int8_t>(p.yR)});
                listed[static_cast<std::size_t>(t)] |= uBit;
                listed[static_cast<std::size_t>(u)] |= tBit;
            }
        }
    }
    return pairs;
}

}  // namespace

std::array<char, 7> CellPair::code() const {
    return {digit(xL / 10), digit(xL % 10), digit(yL), digit(xR / 10), digit(xR % 10), digit(yR),
            '\0'};
}

PairList findPairs(const Position& pos) {
    // The rule lets a picked tile through in its first scans, which holds only
    // while the picked tile is one of the pair under test. The search asks
    // about every pair, so a pick is set back to an ordinary tile first, on a
    // copy: the caller's position stays as it is.
    for (int t = 1; t <= kTiles; ++t) {
        if (pos.tile(t).state != kPicked) continue;
        Position unpicked = pos;
        for (int u = t; u <= kTiles; ++u)
            if (unpicked.tile(u).state == kPicked) unpicked.setState(u, kOnBoard);
        return scanBoard(unpicked);
    }
    return scanBoard(pos);
}

}  // namespace tessarin
