#include "twocorner/search.h"

#include "twocorner/connect.h"

#include <algorithm>

namespace tessarin {

namespace {

char digit(int v) { return static_cast<char>('0' + v); }

// The search proper, on a table without a picked tile.
HintList scanBoard(const BoardMap& map, const PaiTbl& tbl) {
    // listed[t] has bit k set once the pair of t with the k-th tile of its
    // kind is in the list. Every pair would be met again from its second
    // tile with the same code; asking the rule a second time is saved.
    std::array<uint8_t, kTblSize> listed{};
    HintList hints;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            const int t = map.at(x, y);
            if (t < 1 || t > kTiles || tbl[static_cast<std::size_t>(t)].state == kRemoved) continue;
            // The four tiles of a kind carry four consecutive numbers; the
            // partners are tried in number order.
            const int first = (kindOfPai(t) - 1) * 4 + 1;
            for (int u = first; u < first + 4; ++u) {
                const PaiRec& partner = tbl[static_cast<std::size_t>(u)];
                if (u == t || partner.state == kRemoved) continue;
                const auto tBit = static_cast<uint8_t>(1u << (t - first));
                const auto uBit = static_cast<uint8_t>(1u << (u - first));
                if (listed[static_cast<std::size_t>(t)] & uBit) continue;
                if (!canConnect(map, tbl, x, y, partner.boardX, partner.boardY)) continue;
                const OrderedPair p = orderPair(x, y, partner.boardX, partner.boardY);
                hints.push({static_cast<int8_t>(p.xL), static_cast<int8_t>(p.yL),
                            static_cast<int8_t>(p.xR), static_cast<int8_t>(p.yR)});
                listed[static_cast<std::size_t>(t)] |= uBit;
                listed[static_cast<std::size_t>(u)] |= tBit;
            }
        }
    }
    return hints;
}

}  // namespace

std::array<char, 7> PairHint::code() const {
    return {digit(xL / 10), digit(xL % 10), digit(yL), digit(xR / 10), digit(xR % 10), digit(yR),
            '\0'};
}

std::string pairCodeText(const PairHint& hint) { return hint.code().data(); }

HintList findPairs(const BoardMap& map, const PaiTbl& tbl) {
    // The rule lets a picked tile through in its first scans, which holds only
    // while the picked tile is one of the pair under test. The search asks
    // about every pair, so a pick is set back to an ordinary tile first, on a
    // copy: the caller's table stays as it is.
    const bool picked =
        std::any_of(tbl.begin(), tbl.end(), [](const PaiRec& r) { return r.state == kPicked; });
    if (!picked) return scanBoard(map, tbl);
    PaiTbl unpicked = tbl;
    for (PaiRec& r : unpicked) {
        if (r.state == kPicked) r.state = kOnBoard;
    }
    return scanBoard(map, unpicked);
}

}  // namespace tessarin
