// The text lines of the data files, read and written without Qt: stage
// lines (a stage number, then 136 tile numbers column by column) and cell
// code sequences (answer lines, move records).
#pragma once

#include "board/model.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

inline constexpr std::size_t kStageLineLength = 5 + 3 * kTiles;  // 413

struct StageLine {
    std::string stageNo;                // the first five characters
    std::array<int16_t, kTiles> tiles{};  // cell j = column j / 8 + 1, row j % 8 + 1
};

// Reads a stage line: exactly 413 characters, all digits, each tile number
// 1..136 once. On failure returns false and says why in error (English, for
// tools and logs).
bool parseStageLine(std::string_view line, StageLine& out, std::string& error);

// Writes the line for a stage number and a board's play field.
std::string formatStageLine(std::string_view stageNo, const BoardMap& map);

// Places a parsed stage on a board: every tile on the field, state 0, its
// position recorded; cover reset when asked (ThreeMove boards).
void placeStage(const StageLine& stage, BoardMap& map, PaiTbl& tbl, bool resetCover);

// Reads a sequence of three-digit cell codes (column two digits, row one).
// Every code must name a field cell. On failure returns false with error
// and leaves codes as they were.
bool parseCellCodes(std::string_view text, std::vector<int>& codes, std::string& error);

// Three-digit decimal text of a number 0..999.
std::string threeDigits(int n);

}  // namespace tessarin
