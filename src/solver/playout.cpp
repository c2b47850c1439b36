#include "solver/playout.h"

#include "solver/position.h"
#include "stages/deal.h"

#include <array>

namespace tessarin {

RandomPlays playRandomly(const BoardMap& map, const PaiTbl& tbl, int plays, uint32_t seed) {
    using namespace solver;
    PaiTbl plain = tbl;
    for (int t = 1; t <= kTiles; ++t) {
        PaiRec& r = plain[static_cast<std::size_t>(t)];
        if (r.state == kPicked) r.state = kOnBoard;
    }
    const Layout layout = Position::layoutOf(map);
    const Position start = Position::of(layout, plain);
    Joinable startPairs;
    refreshJoinable(start, startPairs);

    Pcg32 rng;
    rng.seed(seed);
    RandomPlays result;
    long taken = 0;
    std::array<int, kPairIds> choices{};
    for (int play = 0; play < plays; ++play) {
        Position p = start;
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
