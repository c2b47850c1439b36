// Taking a TwoCorner pair off the board: the one rule that the game's picks,
// the tool's `pairs` and `check`, and the solver's check of its own answers
// all go by. A pair may go when its two cells are different, both tiles are
// still on the board (a picked tile is), they are of one kind, and a path of
// at most two bends joins them.
#pragma once

#include "board/position.h"

#include <string>
#include <string_view>

namespace tessarin {

enum class PairFault { None, SameCell, FirstTaken, SecondTaken, KindsDiffer, NotJoinable };

// What stands in the way of taking the tiles of two field cells as a pair.
PairFault checkPair(const Position& pos, int x1, int y1, int x2, int y2);

// Takes the pair off: both tiles are removed, their numbers stay in their cells.
void takePair(Position& pos, int x1, int y1, int x2, int y2);

// Takes the pairs of a text of three-digit cell codes (column two digits,
// row one; two codes a pair) off in turn. False at the first pair that is
// not a legal removal, with the reason in `error` naming the pair counted
// from 1, e.g. "pair 3 (011 021): the two tiles differ in kind"; the pairs
// before it have been taken.
bool takePairs(Position& pos, std::string_view codes, std::string& error);

}  // namespace tessarin
