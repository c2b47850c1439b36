// The save slot "testdat.txt" of the authoring build: a TwoCorner game as
// five text lines (CR LF) — the stage number with the board column by
// column, the tile table, the move record, the tiles left and the number of
// recorded clicks.
#pragma once

#include "board/position.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessarin {

inline constexpr const char* kSaveSlotFile = "testdat.txt";

// Entries 1..count of a TwoCorner game's clicks as cell codes (entry 0 is
// not used); two per pair taken, and a last odd one for a picked tile.
struct MoveRecord {
    std::array<int16_t, 141> cells{};
    int count = 0;

    friend bool operator==(const MoveRecord&, const MoveRecord&) = default;
};

struct SavedGame {
    std::string stageNo;  // five digits, or six for a deal numbered by the clock
    BoardCells cells;     // the field as line 1 gives it, the border empty
    // Per tile number: its cell and state as line 2 gives them, the kind
    // checked against the sheet layout.
    TileTable tiles{};
    MoveRecord moves;
    int tilesLeft = 0;
};

// True when the record and the tiles of a TwoCorner position tell one story:
// the finished pairs' cells hold removed tiles of one kind per pair, an odd
// last click the picked tile, no other tile is off the board or picked, and
// tilesLeft counts the tiles not removed. Otherwise the reason (Japanese).
bool checkTwoCornerRecord(const Position& pos, const MoveRecord& moves, int tilesLeft, std::string& why);

// Reads a save file and checks that it is a position this game can have been
// in: the board each tile once, the records matching it, the move record
// telling the story of the tile states, the counters agreeing. False with the
// reason in `why` (Japanese, for the player) otherwise.
bool parseSaveSlot(std::string_view bytes, SavedGame& out, std::string& why);

// The file for a game: stageNo is written as it is.
std::string formatSaveSlot(const std::string& stageNo, const Position& pos, const MoveRecord& moves, int tilesLeft);

}  // namespace tessarin
