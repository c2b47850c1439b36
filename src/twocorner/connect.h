// The TwoCorner connection rule: may two tiles be taken off as a pair as far
// as their cells go? They may when the cells can be joined by a path of at
// most three straight horizontal or vertical segments (at most two bends)
// that crosses only cells whose tile has been removed and the frame of cells
// around the field. Kinds are not compared here; callers do that first.
//
// The answer comes from four plain row and column scans tried in turn; none
// of them searches, recurses or allocates, so the pair search can run the
// rule for every candidate pair of a board at once.
#pragma once

#include "board/position.h"

namespace tessarin {

// The two cells of a pair, left cell first: the smaller column, or the
// smaller row when both share a column.
struct OrderedPair {
    int xL = 0;
    int yL = 0;
    int xR = 0;
    int yR = 0;

    friend bool operator==(const OrderedPair&, const OrderedPair&) = default;
};

OrderedPair orderPair(int x1, int y1, int x2, int y2);

// True when the cells (x1, y1) and (x2, y2) of the field (columns
// 1..17, rows 1..8) can be joined by a path with at most two bends through
// removed tiles and the frame. Either tile may be the picked one (state 1);
// no other tile may be picked. The answer does not depend on the argument
// order; a cell is never joined with itself.
bool canConnect(const Position& pos, int x1, int y1, int x2, int y2);

// The four scans of canConnect, in the order it tries them. Each answers true
// only for cells that really are joinable; together they find every path.
//
// One straight line, or both tiles on the same edge row or column.
bool connectStraight(const Position& pos, int x1, int y1, int x2, int y2);
// Out to one side of the frame, along it and back in.
bool connectViaBorder(const Position& pos, int x1, int y1, int x2, int y2);
// One or two bends inside the box the two cells span.
bool connectInBox(const Position& pos, int x1, int y1, int x2, int y2);
// Two bends around the box: out on one side of it inside the field and back.
bool connectAround(const Position& pos, int x1, int y1, int x2, int y2);

}  // namespace tessarin
