// tessarin-tool pairs STAGE_LINE [MOVES]: the pairs the in-game search would
// list for a position, one pair code per line in the search's order. The
// position is the stage's start with the pairs of MOVES (cell codes in the
// answer-line format, two per pair) taken off in turn; every pair must be a
// legal removal. The same rule and search as the game decide, so the two
// cannot disagree.
#include "board/model.h"
#include "stages/lines.h"
#include "tool/tool.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <cstdio>
#include <string>
#include <utility>

namespace tessarin::tool {

namespace {

// Takes the pairs of `moves` off the board. On a refusal returns false with
// the reason, naming the pair counted from 1.
bool takePairs(const std::string& moves, BoardMap& map, PaiTbl& tbl, std::string& error) {
    if (moves.size() % 3 != 0) {
        error = "three-digit cell codes expected, but the length " + std::to_string(moves.size()) +
                " is not a multiple of 3";
        return false;
    }
    const std::size_t codes = moves.size() / 3;
    for (std::size_t i = 0; i < codes; i += 2) {
        const std::string pairName = "pair " + std::to_string(i / 2 + 1);
        if (i + 1 == codes) {
            error = pairName + " (" + moves.substr(3 * i, 3) + ") has no second cell: the number of codes is odd";
            return false;
        }
        const std::string a = moves.substr(3 * i, 3);
        const std::string b = moves.substr(3 * i + 3, 3);
        const std::string cells = pairName + " (" + a + " " + b + ")";
        int xy[2][2] = {};
        for (int k = 0; k < 2; ++k) {
            const std::string& c = k == 0 ? a : b;
            for (char ch : c) {
                if (ch < '0' || ch > '9') {
                    error = cells + ": '" + c + "' is not a three-digit cell code";
                    return false;
                }
            }
            const int code = std::stoi(c);
            xy[k][0] = codeX(code);
            xy[k][1] = codeY(code);
            if (!onField(xy[k][0], xy[k][1])) {
                error = cells + ": " + c + " names no cell of the field";
                return false;
            }
        }
        if (a == b) {
            error = cells + ": both codes name the same cell";
            return false;
        }
        const int t1 = map.at(xy[0][0], xy[0][1]);
        const int t2 = map.at(xy[1][0], xy[1][1]);
        for (const auto& [t, c] : {std::pair{t1, a}, std::pair{t2, b}}) {
            if (tbl[static_cast<std::size_t>(t)].state == kRemoved) {
                error = cells + ": the tile at " + c + " has already been taken off";
                return false;
            }
        }
        if (tbl[static_cast<std::size_t>(t1)].kind != tbl[static_cast<std::size_t>(t2)].kind) {
            error = cells + ": the two tiles differ in kind";
            return false;
        }
        if (!canConnect(map, tbl, xy[0][0], xy[0][1], xy[1][0], xy[1][1])) {
            error = cells + ": no path with at most two bends joins the two tiles";
            return false;
        }
        tbl[static_cast<std::size_t>(t1)].state = kRemoved;
        tbl[static_cast<std::size_t>(t2)].state = kRemoved;
    }
    return true;
}

int runPairs(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) return usageError("pairs takes STAGE_LINE and optionally MOVES");
    StageLine stage;
    std::string error;
    if (!parseStageLine(args[0], stage, error)) return usageError("STAGE_LINE: " + error);
    BoardMap map;
    PaiTbl tbl;
    fillPaiTbl(tbl);
    placeStage(stage, map, tbl, false);
    if (args.size() == 2 && !takePairs(args[1], map, tbl, error)) return usageError("MOVES: " + error);
    for (const PairHint& h : findPairs(map, tbl)) std::printf("%s\n", h.code().data());
    return 0;
}

}  // namespace

extern const CommandInfo pairsCommand{"pairs", "pairs STAGE_LINE [MOVES]", runPairs};

}  // namespace tessarin::tool
