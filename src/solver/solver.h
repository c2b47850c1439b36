// The TwoCorner solver: for a board and the tiles already taken off, either
// a sequence of pairs that clears the board or a proof that none exists,
// within a budget of time and of positions examined.
//
// Everything rests on one property of the connection rule: taking tiles off
// only frees cells, so a pair that can be joined stays joinable while both
// its tiles are on the board, and a move that is legal now stays legal after
// any other moves. From it follow the reductions the search uses:
//
// - Safe moves. When a kind's last two tiles can be joined, or all four of
//   its tiles can go now (one joinable pair, then the other two), those
//   pairs are taken without trying anything else: any clearing sequence
//   takes the kind's tiles in some steps, and moving them to the front
//   keeps every step legal.
// - Refuted moves. Once a move has been shown to lose at a position, every
//   line below that position that plays it later only reaches positions
//   reachable from the losing one, so it is banned there; with four tiles
//   of the kind left, so is the pair of the other two, which would have to
//   follow. A kind whose pairings are all banned but one has its pairs of
//   that pairing taken as safe moves.
// - The reachability bound. Tiles are struck off over and over when another
//   present tile of their kind can be joined to them by an unbanned pair
//   with the struck tiles counted as free. This over-estimates what any
//   winning line could ever take off, so a tile that is never struck proves
//   the position lost.
// - Pairing tests (on hard boards). The same bound with a kind's tiles held
//   on the board shows pairings of the kind that no line can complete; they
//   are banned, and a kind left without a pairing loses.
// - Lost positions are remembered by their exact set of removed tiles.
//
// Each bound is a fixpoint computed afresh, but it starts by repeating the
// strikes of the same bound one position up the search, which mostly still
// hold and need no question to the connection rule.
//
// Two searches share the work and the lost positions. The plain one tries
// the moves in the order of the pairs they make joinable and tests every
// kind everywhere; its answers are the ones the stage files were made with,
// and the answer given is its own unless the budget ends before it finds
// one. The learning one tries first the moves of the kinds that lately stood
// in the way of a failed pairing test, and tests fewer kinds at a new
// position; it proves hard boards lost much sooner. Their verdicts agree, so
// either may give one; see decide() in solver.cpp.
//
// A verdict is never a guess: Unsolvable is returned only when every way on
// has been refuted, and an answer is replayed with the game's pair rule before it is
// returned. When the budget runs out the verdict is Undecided.
//
// A search keeps all its state to itself, so any number of searches may run
// at once on different threads.
#pragma once

#include "board/model.h"
#include "formats/lines.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

enum class Verdict { Solvable, Unsolvable, Undecided };

// "solvable", "unsolvable" or "undecided".
const char* verdictName(Verdict v);

struct SolveBudget {
    int64_t ms = 1000;  // wall-clock limit in milliseconds; 0 or less: none
    int64_t nodes = 0;  // limit on positions examined; 0 or less: none
    // Positions the quick search may examine before the thorough search
    // takes over (see solver.cpp); a tuning knob, the verdicts are the same.
    int64_t quickNodes = 200;
    // When given, another thread may set it to end the search early (the
    // player moved on, the answer is no longer wanted): Undecided.
    const std::atomic<bool>* stop = nullptr;
};

struct SolveResult {
    Verdict verdict = Verdict::Undecided;
    // Solvable: the cell codes (column * 10 + row) of the tiles still on the
    // board, two per pair, in the order the pairs are taken.
    std::vector<int> cells;
    int64_t nodes = 0;   // positions examined
    double ms = 0;       // time taken
};

// Solves the position of a board: tiles in state 2 are off, all others (on
// the board or picked) are still to be taken. A board that does not hold
// each tile 1..136 once with its position recorded (boardIsConsistent) is
// not looked at: Undecided. A kind with an odd number of tiles left can
// never be cleared: Unsolvable.
SolveResult solvePosition(const Position& pos, const SolveBudget& budget);

// Solves a stage from its start position.
SolveResult solveStage(const StageLine& stage, const SolveBudget& budget);


}  // namespace tessarin
