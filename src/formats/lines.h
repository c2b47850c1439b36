// The text lines of the data files, read and written without Qt: stage
// lines (a stage number, then 136 tile numbers column by column) and cell
// code sequences (answer lines, move records).
#pragma once

#include "board/position.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

inline constexpr std::size_t kStageLineLength = 5 + 3 * kTiles;  // 413

struct StageLine {
    std::string stageNo;                  // the first five characters
    std::array<int16_t, kTiles> tiles{};  // cell j = column j / 8 + 1, row j % 8 + 1
    std::size_t trailing = 0;             // characters after the 413th, ignored

    // The stage's start: every tile on the board.
    Position position() const { return Position::byColumns(tiles); }
};

// Reads a stage line: 413 digits, each tile number 1..136 once. Characters
// after the 413th (a trailing space, a comment) are ignored and counted in
// `trailing`, unless `strict`, which refuses them as the tool's arguments
// do. On failure returns false and says why in error (English, for tools).
bool parseStageLine(std::string_view line, StageLine& out, std::string& error, bool strict = false);

// Writes the line for a stage number and the field of a position.
std::string formatStageLine(std::string_view stageNo, const Position& pos);

// Reads a sequence of three-digit cell codes (column two digits, row one).
// Every code must name a field cell. On failure returns false with error
// and leaves codes as they were.
bool parseCellCodes(std::string_view text, std::vector<int>& codes, std::string& error);

// An answer line: the stage number, then the cell codes in three digits
// each, two per pair in the order the pairs are taken.
std::string answerLine(std::string_view stageNo, const std::vector<int>& cells);

// Three-digit decimal text of a number 0..999.
std::string threeDigits(int n);

}  // namespace tessarin
