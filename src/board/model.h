// The board and tile model shared by every game type: tile numbers and kinds,
// the tile records, the cells of the board with its border, cell geometry
// and cell codes. Plain C++ without Qt, so the rules, the file formats, the
// solver and the tool link it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessarin {

// Field size: 17 columns by 8 rows, framed by a border of one cell.
inline constexpr int kCols = 17;
inline constexpr int kRows = 8;
inline constexpr int kBoardW = kCols + 2;  // columns 0..18
inline constexpr int kBoardH = kRows + 2;  // rows 0..9
inline constexpr int kTiles = 136;         // playing tiles 1..136
inline constexpr int kTableSize = 139;     // tile numbers 0..138
inline constexpr int kKinds = kTiles / 4;  // 34

// Image-only tile numbers: pictures that stand on no cell of their own.
inline constexpr int16_t kFlashImage = 0;   // flash shown while a tile vanishes
inline constexpr int16_t kBlankImage = 137; // removed TwoCorner tile / ThreeMove stone
inline constexpr int16_t kHoleImage = 138;  // emptied ThreeMove cell

// Tile states.
inline constexpr int16_t kOnBoard = 0;
inline constexpr int16_t kPicked = 1;
inline constexpr int16_t kRemoved = 2;

// Cell geometry on the board surface: a 44 x 54 picture per cell, pitch 45 x 55.
inline constexpr int kTileW = 44;
inline constexpr int kTileH = 54;
inline constexpr int kPitchX = 45;
inline constexpr int kPitchY = 55;

// The record of one tile number. The field order and widths are also the
// byte layout of the ThreeMove undo file, so they must not change.
struct TileRecord {
    int16_t boardX = 0;  // column of the tile's cell, 0 for image-only entries
    int16_t boardY = 0;  // row of the tile's cell
    int32_t srcX = 0;    // picture position in the tile sheet
    int32_t srcY = 0;
    int16_t kind = 0;    // 1..34; 200/201/202 for entries 138/137/0
    int16_t state = 0;   // kOnBoard, kPicked or kRemoved
    int16_t cover = 0;   // ThreeMove: 0 own face, 1 stone (137), 2 hole (138)

    friend bool operator==(const TileRecord&, const TileRecord&) = default;
};

using TileTable = std::array<TileRecord, kTableSize>;

// The cells of the board including its border: cell (x, y) is element
// y * 19 + x and holds a tile number (0: no tile). Also the byte layout of
// the second undo file.
struct BoardCells {
    std::array<int16_t, kBoardW * kBoardH> cells{};

    int16_t& at(int x, int y) { return cells[static_cast<std::size_t>(y * kBoardW + x)]; }
    int16_t at(int x, int y) const { return cells[static_cast<std::size_t>(y * kBoardW + x)]; }

    friend bool operator==(const BoardCells&, const BoardCells&) = default;
};

constexpr bool onField(int x, int y) { return x >= 1 && x <= kCols && y >= 1 && y <= kRows; }

// Kind of a playing tile number (1..136): four consecutive numbers per kind.
constexpr int kindOfTile(int tile) { return (tile + 3) / 4; }

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

// Every record of the tile table as the sheet lays the pictures out: sheet
// positions and kinds of the 136 tiles and of the three image-only entries;
// cells, states and covers cleared.
void fillTileTable(TileTable& table);

// The table fillTileTable gives, made once.
const TileTable& sheetLayout();

}  // namespace tessarin
