#include "twocorner/connect.h"

#include <algorithm>
#include <cstdlib>

namespace tessarin {

namespace {

// Two readings of "free". The first two scans run before anything else and
// let a picked tile through: the only picked tile is one of the pair, and the
// straight scan has already answered for every line that runs over it. The
// last two scans let only removed tiles through.
enum class Free { NotOnBoard, Removed };

bool isFree(const BoardMap& map, const PaiTbl& tbl, int x, int y, Free free) {
    const int16_t state = tbl[static_cast<std::size_t>(map.at(x, y))].state;
    return free == Free::Removed ? state == kRemoved : state != kOnBoard;
}

// Cells (x, y) for x = x0..x1 are all free; an empty range (x0 > x1) is free.
bool rowFree(const BoardMap& map, const PaiTbl& tbl, int y, int x0, int x1, Free free) {
    for (int x = x0; x <= x1; ++x) {
        if (!isFree(map, tbl, x, y, free)) return false;
    }
    return true;
}

// Cells (x, y) for y = y0..y1 are all free; an empty range (y0 > y1) is free.
bool colFree(const BoardMap& map, const PaiTbl& tbl, int x, int y0, int y1, Free free) {
    for (int y = y0; y <= y1; ++y) {
        if (!isFree(map, tbl, x, y, free)) return false;
    }
    return true;
}

}  // namespace

OrderedPair orderPair(int x1, int y1, int x2, int y2) {
    if (x1 < x2 || (x1 == x2 && y1 <= y2)) return {x1, y1, x2, y2};
    return {x2, y2, x1, y1};
}

int freeRun(const BoardMap& map, const PaiTbl& tbl, Dir dir, int x, int y, int limit,
            bool examineStart) {
    const bool alongRow = dir == Dir::X || dir == Dir::MinusX;
    const int step = (dir == Dir::X || dir == Dir::Y) ? 1 : -1;
    int pos = (alongRow ? x : y) + (examineStart ? 0 : step);
    int last = 0;
    while (step > 0 ? pos <= limit : pos >= limit) {
        if (!isFree(map, tbl, alongRow ? pos : x, alongRow ? y : pos, Free::Removed)) break;
        last = pos;
        pos += step;
    }
    return last;
}

bool connectStraight(const BoardMap& map, const PaiTbl& tbl, int selX, int selY, int tgtX,
                     int tgtY) {
    const Free free = Free::NotOnBoard;
    if (selX == tgtX) {
        if (std::abs(selY - tgtY) == 1) return true;  // vertical neighbours
        // Both on the left or both on the right edge column: out into the
        // frame column, along it and back in.
        if (selX == 1 || selX == kCols) return true;
        return colFree(map, tbl, selX, std::min(selY, tgtY) + 1, std::max(selY, tgtY) - 1, free);
    }
    if (selY == tgtY) {
        if (std::abs(selX - tgtX) == 1) return true;  // side by side
        // Both on the top or both on the bottom edge row, through the frame.
        if (selY == 1 || selY == kRows) return true;
        return rowFree(map, tbl, selY, std::min(selX, tgtX) + 1, std::max(selX, tgtX) - 1, free);
    }
    return false;
}

bool connectViaBorder(const BoardMap& map, const PaiTbl& tbl, int selX, int selY, int tgtX,
                      int tgtY) {
    // A tile sees a side of the frame when nothing stands between it and the
    // field edge on that side; a tile on that edge sees it directly. When both
    // tiles see the same side the path runs out to the frame, along it and
    // back in.
    const Free free = Free::NotOnBoard;
    const auto seesUp = [&](int x, int y) { return colFree(map, tbl, x, 1, y - 1, free); };
    const auto seesRight = [&](int x, int y) { return rowFree(map, tbl, y, x + 1, kCols, free); };
    const auto seesDown = [&](int x, int y) { return colFree(map, tbl, x, y + 1, kRows, free); };
    const auto seesLeft = [&](int x, int y) { return rowFree(map, tbl, y, 1, x - 1, free); };
    return (seesUp(selX, selY) && seesUp(tgtX, tgtY)) ||
           (seesRight(selX, selY) && seesRight(tgtX, tgtY)) ||
           (seesDown(selX, selY) && seesDown(tgtX, tgtY)) ||
           (seesLeft(selX, selY) && seesLeft(tgtX, tgtY));
}

bool connectInBox(const BoardMap& map, const PaiTbl& tbl, int selX, int selY, int tgtX,
                  int tgtY) {
    const Free free = Free::Removed;
    const auto [xL, yL, xR, yR] = orderPair(selX, selY, tgtX, tgtY);
    const bool down = yL < yR;  // R lies below L on screen

    // One bend, at the corner below or above L in R's row, then at the corner
    // beside L in R's column; the corner itself must be free.
    if (down) {
        if (colFree(map, tbl, xL, yL + 1, yR, free) && rowFree(map, tbl, yR, xL + 1, xR - 1, free))
            return true;
        if (rowFree(map, tbl, yL, xL + 1, xR, free) && colFree(map, tbl, xR, yL + 1, yR - 1, free))
            return true;
    } else {
        if (colFree(map, tbl, xL, yR, yL - 1, free) && rowFree(map, tbl, yR, xL + 1, xR - 1, free))
            return true;
        if (rowFree(map, tbl, yL, xL + 1, xR, free) && colFree(map, tbl, xR, yR + 1, yL - 1, free))
            return true;
    }

    // Two bends with the middle segment along a row between the two: L goes
    // straight toward R's row as far as it is free, and from each row it
    // reaches, nearest first, the row across to R's column and the rest of
    // that column down (or up) to R must be free.
    if (down) {
        const int end = freeRun(map, tbl, Dir::Y, xL, yL + 1, yR, true);
        for (int i = yL + 1; end != 0 && i <= end; ++i) {
            if (rowFree(map, tbl, i, xL + 1, xR, free) && colFree(map, tbl, xR, i + 1, yR - 1, free))
                return true;
        }
    } else {
        const int end = freeRun(map, tbl, Dir::MinusY, xL, yL - 1, yR, true);
        for (int i = yL - 1; end != 0 && i >= end; --i) {
            if (rowFree(map, tbl, i, xL + 1, xR, free) && colFree(map, tbl, xR, yR + 1, i - 1, free))
                return true;
        }
    }

    // Two bends with the middle segment along a column between the two: L
    // goes right along its row as far as it is free, and from each column it
    // reaches, left to right, that column over to R's row and the rest of R's
    // row up to R must be free.
    const int end = freeRun(map, tbl, Dir::X, xL + 1, yL, xR, true);
    for (int j = xL + 1; end != 0 && j <= end; ++j) {
        if (colFree(map, tbl, j, std::min(yL, yR), std::max(yL, yR), free) &&
            rowFree(map, tbl, yR, j + 1, xR - 1, free))
            return true;
    }
    return false;
}

bool connectAround(const BoardMap& map, const PaiTbl& tbl, int selX, int selY, int tgtX,
                   int tgtY) {
    // Both tiles go out of the box they span on the same side, inside the
    // field, and a free line across joins the two runs. The frame is left to
    // connectViaBorder.
    const auto [xL, yL, xR, yR] = orderPair(selX, selY, tgtX, tgtY);
    const int yMin = std::min(yL, yR);
    const int yMax = std::max(yL, yR);
    const int xMin = xL;
    const int xMax = xR;

    // Above the box: both columns free beyond the upper tile's row; try the
    // rows from the box outward up to where the shorter run ends.
    const int topL = freeRun(map, tbl, Dir::MinusY, xL, yL, 1, false);
    const int topR = freeRun(map, tbl, Dir::MinusY, xR, yR, 1, false);
    if (topL != 0 && topR != 0 && topL < yMin && topR < yMin) {
        for (int i = yMin - 1; i >= std::max(topL, topR); --i) {
            if (freeRun(map, tbl, Dir::X, xL, i, xR, false) == xR) return true;
        }
    }

    // Below the box.
    const int bottomL = freeRun(map, tbl, Dir::Y, xL, yL, kRows, false);
    const int bottomR = freeRun(map, tbl, Dir::Y, xR, yR, kRows, false);
    if (bottomL != 0 && bottomR != 0 && bottomL > yMax && bottomR > yMax) {
        for (int i = yMax + 1; i <= std::min(bottomL, bottomR); ++i) {
            if (freeRun(map, tbl, Dir::X, xL, i, xR, false) == xR) return true;
        }
    }

    // Left of the box: both rows free beyond the left tile's column.
    const int leftL = freeRun(map, tbl, Dir::MinusX, xL, yL, 1, false);
    const int leftR = freeRun(map, tbl, Dir::MinusX, xR, yR, 1, false);
    if (leftL != 0 && leftR != 0 && leftL < xMin && leftR < xMin) {
        for (int j = xMin - 1; j >= std::max(leftL, leftR); --j) {
            if (freeRun(map, tbl, Dir::Y, j, yMin, yMax, false) == yMax) return true;
        }
    }

    // Right of the box.
    const int rightL = freeRun(map, tbl, Dir::X, xL, yL, kCols, false);
    const int rightR = freeRun(map, tbl, Dir::X, xR, yR, kCols, false);
    if (rightL != 0 && rightR != 0 && rightL > xMax && rightR > xMax) {
        for (int j = xMax + 1; j <= std::min(rightL, rightR); ++j) {
            if (freeRun(map, tbl, Dir::Y, j, yMin, yMax, false) == yMax) return true;
        }
    }
    return false;
}

bool canConnect(const BoardMap& map, const PaiTbl& tbl, int selX, int selY, int tgtX, int tgtY) {
    if (selX == tgtX && selY == tgtY) return false;  // a tile never pairs with itself
    return connectStraight(map, tbl, selX, selY, tgtX, tgtY) ||
           connectViaBorder(map, tbl, selX, selY, tgtX, tgtY) ||
           connectInBox(map, tbl, selX, selY, tgtX, tgtY) ||
           connectAround(map, tbl, selX, selY, tgtX, tgtY);
}

}  // namespace tessarin
