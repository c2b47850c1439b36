// The solver at the player's side: a hint that keeps the board clearable,
// and how far back the last clearable position of a game lies. Plain C++;
// the game runs the dead-end check on a worker thread.
#pragma once

#include "board/position.h"
#include "formats/saveslot.h"
#include "twocorner/search.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace tessarin {

struct DeadEnd {
    // The position can no longer be cleared (proved).
    bool proved = false;
    // Pairs to take back to reach the last position that could still be
    // cleared; 0 when not even the start could be.
    int pairsBack = 0;
};

// Whether the position after the pairs of `moves` (its record, no pick
// pending) can no longer be cleared, and if so how many of those pairs
// must be taken back. A position the solver cannot decide within
// `budgetMs` counts as clearable.
// `stop`, when given, is looked at between the positions decided: once it
// is set the answer is "not proved". With `knownDead` the position itself
// has been proved unclearable already and is not decided again.
DeadEnd findDeadEnd(const Position& pos, const MoveRecord& moves, int64_t budgetMs,
                    const std::atomic<bool>* stop = nullptr, bool knownDead = false);

enum class HintResult { Found, DeadEnd, Undecided };
// A pair whose removal keeps the position clearable: the first pair of a
// solution of it.
HintResult findHint(const Position& pos, int64_t budgetMs, CellPair& pair);

}  // namespace tessarin
