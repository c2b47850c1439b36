#include "threemove/rules.h"

namespace tessarin::three {

namespace {

const PaiRec& recAt(const BoardMap& map, const PaiTbl& tbl, int x, int y) {
    return tbl[static_cast<std::size_t>(map.at(x, y))];
}

bool isOccupied(const BoardMap& map, const PaiTbl& tbl, int x, int y) { return !isEmpty(map, tbl, x, y); }

// A neighbour that would clear with the group: same kind, showing its face.
bool isLiveKind(const BoardMap& map, const PaiTbl& tbl, int x, int y, int kind) {
    const PaiRec& r = recAt(map, tbl, x, y);
    return r.kind == kind && r.cover == kFace;
}

void swapCells(BoardMap& map, int x1, int y1, int x2, int y2) {
    const int16_t t = map.at(x1, y1);
    map.at(x1, y1) = map.at(x2, y2);
    map.at(x2, y2) = t;
}

}  // namespace

bool moveChoices(const BoardMap& map, const PaiTbl& tbl, int col, int row, int& bits) {
    bits = 0;
    if (!onField(col, row) || isEmpty(map, tbl, col, row)) return false;
    if (row != 1 && row != kRows && isEmpty(map, tbl, col, row - 1) && isOccupied(map, tbl, col, row + 1))
        bits |= kUpBit;
    if (row != kRows && row != 1 && isEmpty(map, tbl, col, row + 1) && isOccupied(map, tbl, col, row - 1))
        bits |= kDownBit;
    if (col != 1 && col != kCols && isEmpty(map, tbl, col - 1, row) && isOccupied(map, tbl, col + 1, row))
        bits |= kLeftBit;
    if (col != kCols && col != 1 && isEmpty(map, tbl, col + 1, row) && isOccupied(map, tbl, col - 1, row))
        bits |= kRightBit;
    return bits != 0;
}

int pickDirection(int bits, bool leftButton) {
    const bool vertical = (bits & (kUpBit | kDownBit)) != 0;
    const bool horizontal = (bits & (kLeftBit | kRightBit)) != 0;
    if (!leftButton && vertical) return (bits & kUpBit) ? kUp : kDown;
    if (leftButton && horizontal) return (bits & kLeftBit) ? kLeft : kRight;
    // Only the other axis is open: the last set bit in the order up, down,
    // left, right decides.
    int dir = 0;
    if (bits & kUpBit) dir = kUp;
    if (bits & kDownBit) dir = kDown;
    if (bits & kLeftBit) dir = kLeft;
    if (bits & kRightBit) dir = kRight;
    return dir;
}

void findDest(const BoardMap& map, const PaiTbl& tbl, Move& m) {
    m.toX = m.fromX;
    m.toY = m.fromY;
    switch (m.dir) {
    case kUp:
        for (int y = m.fromY - 1; y >= 1 && isEmpty(map, tbl, m.fromX, y); --y) m.toY = y;
        break;
    case kDown:
        for (int y = m.fromY + 1; y <= kRows && isEmpty(map, tbl, m.fromX, y); ++y) m.toY = y;
        break;
    case kLeft:
        for (int x = m.fromX - 1; x >= 1 && isEmpty(map, tbl, x, m.fromY); --x) m.toX = x;
        break;
    case kRight:
        for (int x = m.fromX + 1; x <= kCols && isEmpty(map, tbl, x, m.fromY); ++x) m.toX = x;
        break;
    default: break;
    }
}

void findTail(const BoardMap& map, const PaiTbl& tbl, Move& m) {
    m.tailX = m.fromX;
    m.tailY = m.fromY;
    switch (m.dir) {
    case kUp:
        for (int y = m.fromY; y <= kRows && isOccupied(map, tbl, m.fromX, y); ++y) m.tailY = y;
        break;
    case kDown:
        for (int y = m.fromY; y >= 1 && isOccupied(map, tbl, m.fromX, y); --y) m.tailY = y;
        break;
    case kLeft:
        for (int x = m.fromX; x <= kCols && isOccupied(map, tbl, x, m.fromY); ++x) m.tailX = x;
        break;
    case kRight:
        for (int x = m.fromX; x >= 1 && isOccupied(map, tbl, x, m.fromY); --x) m.tailX = x;
        break;
    default: break;
    }
}

bool planMove(const BoardMap& map, const PaiTbl& tbl, int col, int row, bool leftButton, Move& m) {
    int bits = 0;
    if (!moveChoices(map, tbl, col, row, bits)) return false;
    m = Move{};
    m.dir = pickDirection(bits, leftButton);
    m.fromX = col;
    m.fromY = row;
    findDest(map, tbl, m);
    findTail(map, tbl, m);
    return true;
}

void shiftRun(BoardMap& map, PaiTbl& tbl, const Move& m) {
    // Each pass moves the whole run one cell forward and the hole in front
    // of it to just behind it.
    switch (m.dir) {
    case kUp:
        for (int k = m.fromY - 1; k >= m.toY; --k)
            for (int j = 0; j <= m.tailY - m.fromY; ++j) swapCells(map, m.fromX, k + j, m.fromX, k + j + 1);
        break;
    case kDown:
        for (int k = m.fromY + 1; k <= m.toY; ++k)
            for (int j = 0; j <= m.fromY - m.tailY; ++j) swapCells(map, m.fromX, k - j, m.fromX, k - j - 1);
        break;
    case kLeft:
        for (int k = m.fromX - 1; k >= m.toX; --k)
            for (int j = 0; j <= m.tailX - m.fromX; ++j) swapCells(map, k + j, m.fromY, k + j + 1, m.fromY);
        break;
    case kRight:
        for (int k = m.fromX + 1; k <= m.toX; ++k)
            for (int j = 0; j <= m.fromX - m.tailX; ++j) swapCells(map, k - j, m.fromY, k - j - 1, m.fromY);
        break;
    default: return;
    }
    if (m.dir == kUp || m.dir == kDown) {
        for (int y = 1; y <= kRows; ++y)
            tbl[static_cast<std::size_t>(map.at(m.fromX, y))].boardY = static_cast<int16_t>(y);
    } else {
        for (int x = 1; x <= kCols; ++x)
            tbl[static_cast<std::size_t>(map.at(x, m.fromY))].boardX = static_cast<int16_t>(x);
    }
}

int findNeighbours(const BoardMap& map, const PaiTbl& tbl, Group& g) {
    const int col = g[0].col;
    const int row = g[0].row;
    const int kind = g[0].kind;
    int n = 0;
    auto take = [&](int x, int y) {
        if (!isLiveKind(map, tbl, x, y, kind) || n >= 3) return;
        ++n;
        g[static_cast<std::size_t>(n)] = GroupCell{static_cast<int16_t>(x), static_cast<int16_t>(y),
                                                   static_cast<int16_t>(kind), map.at(x, y)};
    };
    if (row != 1) take(col, row - 1);
    if (col != kCols) take(col + 1, row);
    if (row != kRows) take(col, row + 1);
    if (col != 1) take(col - 1, row);
    return n;
}

bool findFourth(const BoardMap& map, const PaiTbl& tbl, Group& g) {
    auto inGroup = [&g](int x, int y) {
        for (int i = 0; i < 3; ++i)
            if (g[static_cast<std::size_t>(i)].col == x && g[static_cast<std::size_t>(i)].row == y) return true;
        return false;
    };
    bool found = false;
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            if (inGroup(x, y) || !isLiveKind(map, tbl, x, y, g[0].kind)) continue;
            g[3] = GroupCell{static_cast<int16_t>(x), static_cast<int16_t>(y), g[0].kind, map.at(x, y)};
            found = true;
            break;  // the first of this column; a later column replaces it
        }
    }
    return found;
}

void clearTile(PaiTbl& tbl, int pai) {
    PaiRec& r = tbl[static_cast<std::size_t>(pai)];
    r.state = kRemoved;
    r.cover = isHonourKind(r.kind) ? kStone : kHole;
}

int countPai3(const BoardMap& map, const PaiTbl& tbl) {
    int n = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x)
            if (recAt(map, tbl, x, y).state == kOnBoard) ++n;
    return n;
}

int movesEarned(int cleared) {
    const int twice = 3 * cleared;  // twice the exact gain
    int gain = twice / 2;
    if (twice % 2 != 0 && gain % 2 != 0) ++gain;  // a half goes to the even neighbour
    return gain;
}

}  // namespace tessarin::three
