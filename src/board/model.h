// The board and tile model shared by every game type: tile numbers and kinds,
// the tile table, the board with its border, cell geometry and cell codes.
// Plain C++ without Qt, so the rules, the tool and the benchmarks link it.
#pragma once

#include <array>
#include <cstdint>

namespace tessarin {

// Field size: 17 columns by 8 rows, framed by a border of one cell.
inline constexpr int kCols = 17;
inline constexpr int kRows = 8;
inline constexpr int kMapW = kCols + 2;  // columns 0..18
inline constexpr int kMapH = kRows + 2;  // rows 0..9
inline constexpr int kTiles = 136;       // playing tiles 1..136
inline constexpr int kTblSize = 139;     // entries 0..138

// Image-only entries of the tile table.
inline constexpr int16_t kFlashPai = 0;   // flash shown while a tile vanishes
inline constexpr int16_t kBlankPai = 137; // removed TwoCorner tile / ThreeMove stone
inline constexpr int16_t kHolePai = 138;  // emptied ThreeMove cell

// Tile states.
inline constexpr int16_t kOnBoard = 0;
inline constexpr int16_t kPicked = 1;
inline constexpr int16_t kRemoved = 2;

// Cell geometry on the board surface: a 44 x 54 image per cell, pitch 45 x 55.
inline constexpr int kPaiW = 44;
inline constexpr int kPaiH = 54;
inline constexpr int kPitchX = 45;
inline constexpr int kPitchY = 55;

// One record per tile number; the field order and widths are also the layout
// of the tile table work file, so they must not change.
struct PaiRec {
    int16_t boardX = 0;  // column of the tile's cell, 0 for image-only entries
    int16_t boardY = 0;  // row of the tile's cell
    int32_t srcX = 0;    // image position in the tile sheet
    int32_t srcY = 0;
    int16_t kind = 0;    // 1..34; 200/201/202 for entries 138/137/0
    int16_t state = 0;   // kOnBoard, kPicked or kRemoved
    int16_t cover = 0;   // ThreeMove: 0 own face, 1 stone (137), 2 hole (138)

    friend bool operator==(const PaiRec&, const PaiRec&) = default;
};

using PaiTbl = std::array<PaiRec, kTblSize>;

// The board including its border: cell (x, y) is element y * 19 + x.
struct BoardMap {
    std::array<int16_t, kMapW * kMapH> cells{};

    int16_t& at(int x, int y) { return cells[static_cast<std::size_t>(y * kMapW + x)]; }
    int16_t at(int x, int y) const { return cells[static_cast<std::size_t>(y * kMapW + x)]; }

    friend bool operator==(const BoardMap&, const BoardMap&) = default;
};

constexpr bool onField(int x, int y) { return x >= 1 && x <= kCols && y >= 1 && y <= kRows; }

// Kind of a playing tile number (1..136): four consecutive numbers per kind.
constexpr int kindOfPai(int pai) { return (pai + 3) / 4; }

// Honour kinds (winds and dragons) are 1..7.
constexpr bool isHonourKind(int kind) { return kind >= 1 && kind <= 7; }

// Cell code: column * 10 + row, written with three digits ("011" .. "178").
constexpr int cellCode(int x, int y) { return x * 10 + y; }
constexpr int codeX(int code) { return code / 10; }
constexpr int codeY(int code) { return code % 10; }

// Top-left pixel of a cell on the board surface (column 0 / row 0 lie off it).
constexpr int cellPixelX(int x) { return (x - 1) * kPitchX; }
constexpr int cellPixelY(int y) { return (y - 1) * kPitchY; }

// Cell under a pixel of the board surface (pixels are never negative here).
constexpr int pixelToCol(int px) { return px / kPitchX + 1; }
constexpr int pixelToRow(int py) { return py / kPitchY + 1; }

// Puts tile t on the board at (x, y): the cell holds it, its record names
// the cell and says it is on the board; a ThreeMove deal also shows its face.
inline void placePai(BoardMap& map, PaiTbl& tbl, int x, int y, int t, bool resetCover) {
    map.at(x, y) = static_cast<int16_t>(t);
    PaiRec& r = tbl[static_cast<std::size_t>(t)];
    r.boardX = static_cast<int16_t>(x);
    r.boardY = static_cast<int16_t>(y);
    r.state = kOnBoard;
    if (resetCover) r.cover = 0;
}

// Fills every record of the tile table: sheet positions and kinds of the 136
// tiles and of the three image-only entries; positions and states cleared.
void fillPaiTbl(PaiTbl& tbl);

// True when the play field holds each tile 1..136 exactly once, every tile's
// boardX/boardY name its cell and the border holds only 0.
bool boardIsConsistent(const BoardMap& map, const PaiTbl& tbl);

}  // namespace tessarin
