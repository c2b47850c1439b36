#include "solver/playout.h"

#include "solver/bitboard.h"
#include "stages/deal.h"

#include <array>

namespace tessarin {

RandomPlays playRandomly(const Position& pos, int plays, uint32_t seed) {
    using solver::Bitboard;
    using solver::Joinable;
    using solver::kPairIds;
    using solver::Layout;
    using solver::pairTileA;
    using solver::pairTileB;
    Position plain = pos;  // a picked tile is simply a tile on the board
    for (int t = 1; t <= kTiles; ++t)
        if (plain.tile(t).state == kPicked) plain.setState(t, kOnBoard);
    const Layout layout = Bitboard::layoutOf(plain);
    const Bitboard start = Bitboard::of(layout, plain);
    Joinable startPairs;
    refreshJoinable(start, startPairs);

    Pcg32 rng;
    rng.seed(seed);
    RandomPlays result;
    long taken = 0;
    std::array<int, kPairIds> choices{};
    for (int play = 0; play < plays; ++play) {
        Bitboard p = start;
        Joinable j = startPairs;
        for (;;) {
            refreshJoinable(p, j);
            int n = 0;
            for (int id = 0; id < kPairIds; ++id) {
                if (j.pairs.has(id)) choices[static_cast<std::size_t>(n++)] = id;
            }
            if (n == 0) break;
            const int id = choices[static_cast<std::size_t>(rng.nextUnit() * n)];
            for (const int t : {pairTileA(id), pairTileB(id)}) {
                p.remove(t);
                j.taken(layout, t);
            }
        }
        ++result.plays;
        if (p.tilesLeft() == 0) ++result.cleared;
        taken += start.tilesLeft() - p.tilesLeft();
    }
    result.meanTaken = plays > 0 ? static_cast<double>(taken) / plays : 0.0;
    return result;
}

}  // namespace tessarin
