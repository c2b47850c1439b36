// Random plays of a TwoCorner position: at each step one of the pairs that
// can be taken is chosen, each with the same chance, until the board is
// clear or no pair is left. How often such plays clear a board measures how
// forgiving the board is: a gentle board lets almost any order through, a
// hard one needs the right pairs at the right moments.
#pragma once

#include "board/position.h"

#include <cstdint>

namespace tessarin {

struct RandomPlays {
    int plays = 0;
    int cleared = 0;          // plays that cleared the board
    double meanTaken = 0;     // tiles taken per play, on average

    // The share of plays that cleared the board, 0 to 1.
    double clearedShare() const { return plays > 0 ? static_cast<double>(cleared) / plays : 0.0; }
};

// Plays the position `plays` times (tiles in state 2 are off, all others
// on the board). The choices come from the deal's generator seeded with
// `seed`, so the same arguments always give the same result.
RandomPlays playRandomly(const Position& pos, int plays, uint32_t seed);

}  // namespace tessarin
