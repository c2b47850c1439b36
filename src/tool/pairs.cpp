// tessarin-tool pairs STAGE_LINE [MOVES]: the pairs the in-game search would
// list for a position, one pair code per line in the search's order. The
// position is the stage's start with the pairs of MOVES (cell codes in the
// answer-line format, two per pair) taken off in turn; every pair must be a
// legal removal. The same rule and search as the game decide, so the two
// cannot disagree.
#include "formats/lines.h"
#include "tool/tool.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <cstdio>
#include <string>

namespace tessarin::tool {

namespace {

int runPairs(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) return usageError("pairs takes STAGE_LINE and optionally MOVES");
    StageLine stage;
    std::string error;
    if (!parseStageLine(args[0], stage, error, true)) return usageError("STAGE_LINE: " + error);
    Position pos = stage.position();
    if (args.size() == 2 && !takePairs(pos, args[1], error)) return usageError("MOVES: " + error);
    for (const CellPair& p : findPairs(pos)) std::printf("%s\n", p.code().data());
    return 0;
}

}  // namespace

extern const CommandInfo pairsCommand{"pairs", "pairs STAGE_LINE [MOVES]", runPairs};

}  // namespace tessarin::tool
