// A position of the game: which tile lies in each cell and the record of
// every tile number (its cell, kind, state and ThreeMove cover). One value
// holds it all, so a position can be copied, kept and compared whole.
#pragma once

#include "board/model.h"

namespace tessarin {

class Position {
public:
    // No tile on the board; every record as the sheet lays it out.
    Position();
    Position(const BoardCells& cells, const TileTable& tiles) : cells_(cells), tiles_(tiles) {}

    // A fresh position: the 136 tiles listed column by column (cell j is
    // column j / 8 + 1, row j % 8 + 1), every tile on the board.
    static Position byColumns(const std::array<int16_t, kTiles>& tiles);

    int tileAt(int x, int y) const { return cells_.at(x, y); }
    const TileRecord& tile(int t) const { return tiles_[static_cast<std::size_t>(t)]; }
    const TileRecord& recordAt(int x, int y) const { return tile(tileAt(x, y)); }
    int kindAt(int x, int y) const { return recordAt(x, y).kind; }
    int stateAt(int x, int y) const { return recordAt(x, y).state; }
    const BoardCells& cells() const { return cells_; }
    const TileTable& tiles() const { return tiles_; }

    // True before the first deal: no cell holds a tile.
    bool isEmpty() const { return cells_ == BoardCells{}; }
    // True when the field holds each tile 1..136 exactly once, every tile's
    // record names its cell and the border holds no tile.
    bool isConsistent() const;

    // Puts tile t in cell (x, y), on the board; a ThreeMove deal also shows
    // its face again (resetCover).
    void place(int x, int y, int t, bool resetCover);
    // Fills the field from the 136 tiles listed column by column, or (the
    // random deal) row by row from entry 1 of `order`.
    void fillByColumns(const std::array<int16_t, kTiles>& tiles, bool resetCover);
    void fillByRows(const std::array<int16_t, kTiles + 1>& order, bool resetCover);

    void setState(int t, int16_t state) { tiles_[static_cast<std::size_t>(t)].state = state; }
    void setCover(int t, int16_t cover) { tiles_[static_cast<std::size_t>(t)].cover = cover; }
    // The tiles of two cells change places; their records follow them.
    void swapCells(int x1, int y1, int x2, int y2);

    friend bool operator==(const Position&, const Position&) = default;

private:
    BoardCells cells_;
    TileTable tiles_{};
};

}  // namespace tessarin
