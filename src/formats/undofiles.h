// The ThreeMove undo files: before every move the tile table and the board
// are written beside the game, and the undo reads them back.
//
// "workthree1.dat": 139 tile records (tile numbers 0 to 138), 18 bytes each:
//   boardX i16, boardY i16, srcX i32, srcY i32, kind i16, state i16, cover i16
// "workthree2.dat": the board with its border, 190 cells of i16, row by row
//   from row 0, each row from column 0 to 18.
// Little-endian, no header, no gaps.
//
// Each file is replaced through a temporary file and a rename, so a file is
// always a whole snapshot. A crash between the two renames can still leave
// a new tile table beside an old board; the reader catches that pair because
// the tiles' positions no longer match the board.
#pragma once

#include "board/position.h"

#include <string>

namespace tessarin {

inline constexpr const char* kUndoTilesFile = "workthree1.dat";
inline constexpr const char* kUndoBoardFile = "workthree2.dat";

std::string encodeTileTable(const TileTable& tiles);  // 2502 bytes
std::string encodeBoardCells(const BoardCells& cells);  // 380 bytes

// Writes both files of a position into a folder. False when one cannot be
// written, with its name in `failedName` and the system's reason in `error`.
bool writeUndoFiles(const std::string& dir, const Position& pos, std::string& failedName, std::string& error);

// True when a tile table is one a ThreeMove game can hold: every picture
// position and kind as the sheet has it, positions within the board,
// playing tiles live, stones of honours, holes of the others, each kind
// cleared by pairs. Otherwise the reason (Japanese).
bool checkThreeMoveTiles(const TileTable& tiles, std::string& problem);

// Reads both files back and checks them in full: the tile table one a
// ThreeMove game can hold (every picture position and kind as the sheet has
// it, playing tiles live, stones of honours, holes of the others, each kind
// cleared by pairs), the board each tile once with an empty border, the two
// agreeing, and `liveTiles` tiles live (the count the game had before its
// last move). False with the reason (Japanese, for the player) otherwise.
bool readUndoFiles(const std::string& dir, int liveTiles, Position& out, std::string& problem);

}  // namespace tessarin
