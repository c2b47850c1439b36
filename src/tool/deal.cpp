// tessarin-tool deal SEED: the stage line of the TwoCorner deal for a seed:
// its number (five digits, six for the clock's six-digit seeds, as the save
// slot writes it), then the board.
#include "stages/deal.h"
#include "tool/tool.h"

#include <cstdio>

namespace tessarin::tool {

namespace {

// A deal number: one to six decimal digits, nothing else.
bool parseSeed(const std::string& s, int& seed) {
    if (s.empty() || s.size() > 6) return false;
    seed = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        seed = seed * 10 + (c - '0');
    }
    return true;
}

int runDeal(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("deal takes one argument: SEED (0 to 999999)");
    int seed = 0;
    if (!parseSeed(args[0], seed)) return usageError("SEED must be a number from 0 to 999999: '" + args[0] + "'");
    std::printf("%s\n", dealStageLine(seed).c_str());
    return 0;
}

}  // namespace

extern const CommandInfo dealCommand{"deal", "deal SEED", runDeal};

}  // namespace tessarin::tool
