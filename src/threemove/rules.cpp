#include "threemove/rules.h"

namespace tessarin::three {

namespace {

bool isOccupied(const Position& pos, int x, int y) { return !isEmpty(pos, x, y); }

// A neighbour that would clear with the group: same kind, showing its face.
bool isLiveKind(const Position& pos, int x, int y, int kind) {
    const TileRecord& r = pos.recordAt(x, y);
    return r.kind == kind && r.cover == kFace;
}

}  // namespace

bool moveChoices(const Position& pos, int col, int row, int& bits) {
    bits = 0;
    if (!onField(col, row) || isEmpty(pos, col, row)) return false;
    if (row != 1 && row != kRows && isEmpty(pos, col, row - 1) && isOccupied(pos, col, row + 1))
        bits |= kUpBit;
    if (row != kRows && row != 1 && isEmpty(pos, col, row + 1) && isOccupied(pos, col, row - 1))
        bits |= kDownBit;
    if (col != 1 && col != kCols && isEmpty(pos, col - 1, row) && isOccupied(pos, col + 1, row))
        bits |= kLeftBit;
    if (col != kCols && col != 1 && isEmpty(pos, col + 1, row) && isOccupied(pos, col - 1, row))
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

void findDest(const Position& pos, Move& m) {
    m.toX = m.fromX;
    m.toY = m.fromY;
    switch (m.dir) {
    case kUp:
        for (int y = m.fromY - 1; y >= 1 && isEmpty(pos, m.fromX, y); --y) m.toY = y;
        break;
    case kDown:
        for (int y = m.fromY + 1; y <= kRows && isEmpty(pos, m.fromX, y); ++y) m.toY = y;
        break;
    case kLeft:
        for (int x = m.fromX - 1; x >= 1 && isEmpty(pos, x, m.fromY); --x) m.toX = x;
        break;
    case kRight:
        for (int x = m.fromX + 1; x <= kCols && isEmpty(pos, x, m.fromY); ++x) m.toX = x;
        break;
    default: break;
    }
}

void findTail(const Position& pos, Move& m) {
    m.tailX = m.fromX;
    m.tailY = m.fromY;
    switch (m.dir) {
    case kUp:
        for (int y = m.fromY; y <= kRows && isOccupied(pos, m.fromX, y); ++y) m.tailY = y;
        break;
    case kDown:
        for (int y = m.fromY; y >= 1 && isOccupied(pos, m.fromX, y); --y) m.tailY = y;
        break;
    case kLeft:
        for (int x = m.fromX; x <= kCols && isOccupied(pos, x, m.fromY); ++x) m.tailX = x;
        break;
    case kRight:
        for (int x = m.fromX; x >= 1 && isOccupied(pos, x, m.fromY); --x) m.tailX = x;
        break;
    default: break;
    }
}

bool planMove(const Position& pos, int col, int row, bool leftButton, Move& m) {
    int bits = 0;
    if (!moveChoices(pos, col, row, bits)) return false;
    m = Move{};
    m.dir = pickDirection(bits, leftButton);
    m.fromX = col;
    m.fromY = row;
    findDest(pos, m);
    findTail(pos, m);
    return true;
}

void shiftRun(Position& pos, const Move& m) {
    // Each pass moves the whole run one cell forward and the hole in front
    // of it to just behind it.
    switch (m.dir) {
    case kUp:
        for (int k = m.fromY - 1; k >= m.toY; --k)
            for (int j = 0; j <= m.tailY - m.fromY; ++j) pos.swapCells(m.fromX, k + j, m.fromX, k + j + 1);
        break;
    case kDown:
        for (int k = m.fromY + 1; k <= m.toY; ++k)
            for (int j = 0; j <= m.fromY - m.tailY; ++j) pos.swapCells(m.fromX, k - j, m.fromX, k - j - 1);
        break;
    case kLeft:
        for (int k = m.fromX - 1; k >= m.toX; --k)
            for (int j = 0; j <= m.tailX - m.fromX; ++j) pos.swapCells(k + j, m.fromY, k + j + 1, m.fromY);
        break;
    case kRight:
        for (int k = m.fromX + 1; k <= m.toX; ++k)
            for (int j = 0; j <= m.fromX - m.tailX; ++j) pos.swapCells(k - j, m.fromY, k - j - 1, m.fromY);
        break;
    default: break;
    }
}

int findNeighbours(const Position& pos, Group& g) {
    const int col = g[0].col;
    const int row = g[0].row;
    const int kind = g[0].kind;
    int n = 0;
    auto take = [&](int x, int y) {
        if (!isLiveKind(pos, x, y, kind) || n >= 3) return;
        ++n;
        g[static_cast<std::size_t>(n)] = GroupCell{static_cast<int16_t>(x), static_cast<int16_t>(y),
                                                   static_cast<int16_t>(kind), static_cast<int16_t>(pos.tileAt(x, y))};
    };
    if (row != 1) take(col, row - 1);
    if (col != kCols) take(col + 1, row);
    if (row != kRows) take(col, row + 1);
    if (col != 1) take(col - 1, row);
    return n;
}

bool findFourth(const Position& pos, Group& g) {
    auto inGroup = [&g](int x, int y) {
        for (int i = 0; i < 3; ++i)
            if (g[static_cast<std::size_t>(i)].col == x && g[static_cast<std::size_t>(i)].row == y) return true;
        return false;
    };
    bool found = false;
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            if (inGroup(x, y) || !isLiveKind(pos, x, y, g[0].kind)) continue;
            g[3] = GroupCell{static_cast<int16_t>(x), static_cast<int16_t>(y), g[0].kind, static_cast<int16_t>(pos.tileAt(x, y))};
            found = true;
            break;  // the first of this column; a later column replaces it
        }
    }
    return found;
}

void clearTile(Position& pos, int tile) {
    pos.setState(tile, kRemoved);
    pos.setCover(tile, isHonourKind(pos.tile(tile).kind) ? kStone : kHole);
}

int countLiveTiles(const Position& pos) {
    int n = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x)
            if (pos.stateAt(x, y) == kOnBoard) ++n;
    return n;
}

int movesEarned(int cleared) {
    const int twice = 3 * cleared;  // twice the exact gain
    int gain = twice / 2;
    if (twice % 2 != 0 && gain % 2 != 0) ++gain;  // a half goes to the even neighbour
    return gain;
}

Counters startCounters(const Position& pos) { return Counters{countLiveTiles(pos), kStartMoves, 0}; }

void spendMove(Score& score) {
    score.beforeLastMove.movesLeft = score.now.movesLeft;
    --score.now.movesLeft;
}

void slide(Position& pos, Score& score, const Move& move) {
    shiftRun(pos, move);
    score.beforeLastMove.movesDone = score.now.movesDone;
    ++score.now.movesDone;
    score.beforeLastMove.tilesLeft = score.now.tilesLeft;
}

void scoreClearing(const Position& pos, Score& score, int cleared) {
    if (cleared <= 0) return;
    score.now.tilesLeft = countLiveTiles(pos);
    score.now.movesLeft += movesEarned(cleared);
}

bool playMove(Position& pos, Score& score, int col, int row, bool leftButton) {
    Move m;
    if (!planMove(pos, col, row, leftButton, m) || score.now.movesLeft < 1) return false;
    spendMove(score);
    slide(pos, score, m);
    scoreClearing(pos, score, clearGroups(pos));
    return true;
}

}  // namespace tessarin::three
