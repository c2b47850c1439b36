// tessarin-tool three STAGE_LINE [X,Y,B ...]: plays a ThreeMove board by
// the game's rules and prints the outcome.
//
// The stage line's board is dealt as a fresh ThreeMove board, cleared once
// as the game's start clears it (no redeal) and given 3 moves. Each click
// X,Y,B (column, row, button 1 left, 2 right, 4 middle) is then handled as
// a board click of a running game, without pauses or animation; clicks off
// the field do nothing, and clicks after the board is cleared are ignored.
// Output: tiles left, moves left and moves made, then the 136 cells column by
// column, each as its tile number in three digits and its cover digit.
#include "formats/lines.h"
#include "threemove/rules.h"
#include "tool/tool.h"

#include <cstdio>
#include <limits>
#include <string>

namespace tessarin::tool {

namespace {

struct Click {
    int x = 0, y = 0, button = 0;
};

// An integer: an optional minus sign and at least one digit. Values past
// the range of int saturate; they lie off the field all the same.
bool parseInt(const std::string& s, std::size_t& pos, int& value) {
    const bool negative = pos < s.size() && s[pos] == '-';
    if (negative) ++pos;
    const std::size_t first = pos;
    long long v = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        if (v <= std::numeric_limits<int>::max()) v = v * 10 + (s[pos] - '0');
        ++pos;
    }
    if (pos == first) return false;
    if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
    value = static_cast<int>(negative ? -v : v);
    return true;
}

bool parseClick(const std::string& s, Click& c) {
    std::size_t pos = 0;
    if (!parseInt(s, pos, c.x) || pos >= s.size() || s[pos++] != ',') return false;
    if (!parseInt(s, pos, c.y) || pos >= s.size() || s[pos++] != ',') return false;
    if (!parseInt(s, pos, c.button) || pos != s.size()) return false;
    return c.button == 1 || c.button == 2 || c.button == 4;
}

int runThree(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("three takes a stage line and then clicks X,Y,B");
    StageLine stage;
    std::string error;
    if (!parseStageLine(args[0], stage, error, true)) return usageError("STAGE_LINE: " + error);
    std::vector<Click> clicks;
    for (std::size_t i = 1; i < args.size(); ++i) {
        Click c;
        if (!parseClick(args[i], c))
            return usageError("click " + std::to_string(i) + " must be X,Y,B with integers X and Y and B 1, 2 or 4: '" +
                              args[i] + "'");
        clicks.push_back(c);
    }

    // The board as a ThreeMove start leaves it: cleared once, no redeal.
    Position pos = stage.position();
    three::clearGroups(pos);
    three::Score score;
    score.now = three::startCounters(pos);
    for (const Click& c : clicks) {
        if (score.now.tilesLeft == 0) break;  // won: the board takes no more clicks
        three::playMove(pos, score, c.x, c.y, c.button == 1);
    }

    std::printf("%d %d %d\n", score.now.tilesLeft, score.now.movesLeft, score.now.movesDone);
    std::string cells;
    cells.reserve(4 * kTiles);
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            const int t = pos.tileAt(x, y);
            cells += threeDigits(t);
            cells += static_cast<char>('0' + pos.tile(t).cover);
        }
    }
    std::printf("%s\n", cells.c_str());
    return 0;
}

}  // namespace

extern const CommandInfo threeCommand{"three", "three STAGE_LINE [X,Y,B ...]", runThree};

}  // namespace tessarin::tool
