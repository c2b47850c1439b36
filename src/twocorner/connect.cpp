#include "twocorner/connect.h"

#include <algorithm>
#include <bit>

namespace tessarin {

namespace {

// Only removed tiles let a path through. A picked tile (state 1) is always
// one of the two tiles under test, and no scan crosses one of those, so the
// scans need no second reading of "free" for it.
inline bool isFree(const Position& pos, int x, int y) {
    return pos.stateAt(x, y) == kRemoved;
}

// Cells (x, y) for x = x0..x1 are all free; an empty range (x0 > x1) is free.
bool rowFree(const Position& pos, int y, int x0, int x1) {
    for (int x = x0; x <= x1; ++x) {
        if (!isFree(pos, x, y)) return false;
    }
    return true;
}

// Cells (x, y) for y = y0..y1 are all free; an empty range (y0 > y1) is free.
bool colFree(const Position& pos, int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y) {
        if (!isFree(pos, x, y)) return false;
    }
    return true;
}

// How far a tile sees along its row and its column through free cells, the
// frame included: the farthest column (row) it can reach in each direction,
// 0 or 18 (0 or 9) when the way is open to the frame, its own coordinate
// when its neighbour there is not free.
struct Sight {
    int x, y;
    int up = 0, down = 0, left = 0, right = 0;

    Sight(int cx, int cy) : x(cx), y(cy) {}
    Sight(const Position& pos, int cx, int cy) : x(cx), y(cy) {
        lookAlongColumn(pos);
        lookAlongRow(pos);
    }

    void lookAlongColumn(const Position& pos) {
        // The column is short: read all of it without branching, then find
        // the run of free cells around the tile. Bits 0 and 9 are the frame.
        unsigned free = 1u | (1u << (kRows + 1)) | (1u << y);
        for (int r = 1; r <= kRows; ++r) free |= static_cast<unsigned>(isFree(pos, x, r)) << r;
        down = y + std::countr_one(free >> y) - 1;
        up = y - std::countl_one(free << (31 - y)) + 1;
    }

    void lookAlongRow(const Position& pos) {
        left = right = x;
        while (left > 1 && isFree(pos, left - 1, y)) --left;
        while (right < kCols && isFree(pos, right + 1, y)) ++right;
        if (left == 1) left = 0;
        if (right == kCols) right = kCols + 1;
    }
};

// Every path with at most two bends is one of two shapes: along A's row to
// some column, down (or up) that column to B's row and along it to B; or the
// same with rows and columns exchanged. A segment may have no length, which
// covers the straight line and the single bend. The turning column must be
// one that both tiles see in their rows, and the column between the two rows
// must be free; a frame column always is.
//
// Row-column-row paths whose turning column lies in c0..c1.
bool turnInColumn(const Position& pos, const Sight& a, const Sight& b, int c0, int c1) {
    const int lo = std::max({a.left, b.left, c0});
    const int hi = std::min({a.right, b.right, c1});
    const int y0 = std::min(a.y, b.y) + 1, y1 = std::max(a.y, b.y) - 1;
    for (int c = lo; c <= hi; ++c) {
        if (c == 0 || c == kCols + 1 || colFree(pos, c, y0, y1)) return true;
    }
    return false;
}

// Column-row-column paths whose turning row lies in r0..r1.
bool turnInRow(const Position& pos, const Sight& a, const Sight& b, int r0, int r1) {
    const int lo = std::max({a.up, b.up, r0});
    const int hi = std::min({a.down, b.down, r1});
    const int x0 = std::min(a.x, b.x) + 1, x1 = std::max(a.x, b.x) - 1;
    for (int r = lo; r <= hi; ++r) {
        if (r == 0 || r == kRows + 1 || rowFree(pos, r, x0, x1)) return true;
    }
    return false;
}

// The four scans split the paths by where they turn: on the tiles' own line
// (straight), in the frame (viaBorder), inside the box the two cells span
// (inBox), or outside it within the field (around).
//
// One straight line, or both tiles on the same edge row or column: out into
// the frame, along it and back in.
bool straight(const Position& pos, int x1, int y1, int x2, int y2) {
    if (x1 == x2)
        return x1 == 1 || x1 == kCols || colFree(pos, x1, std::min(y1, y2) + 1, std::max(y1, y2) - 1);
    if (y1 == y2)
        return y1 == 1 || y1 == kRows || rowFree(pos, y1, std::min(x1, x2) + 1, std::max(x1, x2) - 1);
    return false;
}

bool viaBorder(const Sight& a, const Sight& b) {
    return (a.up == 0 && b.up == 0) || (a.right == kCols + 1 && b.right == kCols + 1) ||
           (a.down == kRows + 1 && b.down == kRows + 1) || (a.left == 0 && b.left == 0);
}

bool inBox(const Position& pos, const Sight& a, const Sight& b) {
    return turnInColumn(pos, a, b, std::min(a.x, b.x), std::max(a.x, b.x)) ||
           turnInRow(pos, a, b, std::min(a.y, b.y), std::max(a.y, b.y));
}

bool around(const Position& pos, const Sight& a, const Sight& b) {
    const int xMin = std::min(a.x, b.x), xMax = std::max(a.x, b.x);
    const int yMin = std::min(a.y, b.y), yMax = std::max(a.y, b.y);
    return turnInRow(pos, a, b, 1, yMin - 1) || turnInRow(pos, a, b, yMax + 1, kRows) ||
           turnInColumn(pos, a, b, 1, xMin - 1) || turnInColumn(pos, a, b, xMax + 1, kCols);
}

// A tile inside the field whose four neighbours are all still there cannot
// start a path, except straight into a neighbour.
bool boxedIn(const Position& pos, int x, int y) {
    if (x == 1 || x == kCols || y == 1 || y == kRows) return false;
    return !(isFree(pos, x, y - 1) || isFree(pos, x, y + 1) || isFree(pos, x - 1, y) ||
             isFree(pos, x + 1, y));
}

}  // namespace

OrderedPair orderPair(int x1, int y1, int x2, int y2) {
    if (x1 < x2 || (x1 == x2 && y1 <= y2)) return {x1, y1, x2, y2};
    return {x2, y2, x1, y1};
}

bool connectStraight(const Position& pos, int x1, int y1, int x2,
                     int y2) {
    return straight(pos, x1, y1, x2, y2);
}

bool connectViaBorder(const Position& pos, int x1, int y1, int x2,
                      int y2) {
    return viaBorder(Sight(pos, x1, y1), Sight(pos, x2, y2));
}

bool connectInBox(const Position& pos, int x1, int y1, int x2,
                  int y2) {
    return inBox(pos, Sight(pos, x1, y1), Sight(pos, x2, y2));
}

bool connectAround(const Position& pos, int x1, int y1, int x2,
                   int y2) {
    return around(pos, Sight(pos, x1, y1), Sight(pos, x2, y2));
}

bool canConnect(const Position& pos, int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return false;  // a tile never pairs with itself
    if (straight(pos, x1, y1, x2, y2)) return true;
    // Any other path leaves both tiles through a free neighbour or the frame.
    if (boxedIn(pos, x1, y1) || boxedIn(pos, x2, y2)) return false;
    // The sight lines of both tiles are read once and shared by the other
    // scans; the columns first, since on an open board both tiles mostly see
    // the frame above or below and the rows are not needed.
    Sight a(x1, y1), b(x2, y2);
    a.lookAlongColumn(pos);
    b.lookAlongColumn(pos);
    if ((a.up == 0 && b.up == 0) || (a.down == kRows + 1 && b.down == kRows + 1)) return true;
    a.lookAlongRow(pos);
    b.lookAlongRow(pos);
    return viaBorder(a, b) || inBox(pos, a, b) || around(pos, a, b);
}

}  // namespace tessarin
