#include "board/position.h"

namespace tessarin {

Position::Position() : tiles_(sheetLayout()) {}

Position Position::byColumns(const std::array<int16_t, kTiles>& tiles) {
    Position p;
    p.fillByColumns(tiles, false);
    return p;
}

bool Position::isConsistent() const {
    std::array<bool, kTableSize> seen{};
    for (int y = 0; y < kBoardH; ++y) {
        for (int x = 0; x < kBoardW; ++x) {
            const int t = cells_.at(x, y);
            if (!onField(x, y)) {
                if (t != 0) return false;
                continue;
            }
            if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) return false;
            seen[static_cast<std::size_t>(t)] = true;
            const TileRecord& r = tile(t);
            if (r.boardX != x || r.boardY != y) return false;
        }
    }
    return true;
}

void Position::place(int x, int y, int t, bool resetCover) {
    cells_.at(x, y) = static_cast<int16_t>(t);
    TileRecord& r = tiles_[static_cast<std::size_t>(t)];
    r.boardX = static_cast<int16_t>(x);
    r.boardY = static_cast<int16_t>(y);
    r.state = kOnBoard;
    if (resetCover) r.cover = 0;
}

void Position::fillByColumns(const std::array<int16_t, kTiles>& tiles, bool resetCover) {
    for (int j = 0; j < kTiles; ++j) place(j / kRows + 1, j % kRows + 1, tiles[static_cast<std::size_t>(j)], resetCover);
}

void Position::fillByRows(const std::array<int16_t, kTiles + 1>& order, bool resetCover) {
    int k = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) place(x, y, order[static_cast<std::size_t>(++k)], resetCover);
}

void Position::swapCells(int x1, int y1, int x2, int y2) {
    const int16_t a = cells_.at(x1, y1);
    const int16_t b = cells_.at(x2, y2);
    cells_.at(x1, y1) = b;
    cells_.at(x2, y2) = a;
    TileRecord& ra = tiles_[static_cast<std::size_t>(a)];
    TileRecord& rb = tiles_[static_cast<std::size_t>(b)];
    rb.boardX = static_cast<int16_t>(x1);
    rb.boardY = static_cast<int16_t>(y1);
    ra.boardX = static_cast<int16_t>(x2);
    ra.boardY = static_cast<int16_t>(y2);
}

}  // namespace tessarin
