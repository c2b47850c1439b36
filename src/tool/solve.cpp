// tessarin-tool solve [--budget-ms N] [--node-budget N] [STAGE_LINE]: decides
// a stage. With a stage line: its answer line (the stage number and the 136
// cell codes of the pairs in the order they are taken) and status 0,
// "unsolvable" and status 1, or "undecided" and status 3 when the budget
// ran out. Without one: every line of standard input is a stage line and
// gets one result line, in order; a malformed line gets "error: ..." and
// makes the status 2 at the end.
#include "solver/solver.h"
#include "formats/lines.h"
#include "tool/options.h"
#include "tool/tool.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace tessarin::tool {

namespace {

const char* const kUsage = "solve [--budget-ms N] [--node-budget N] [STAGE_LINE]";

// The result line for a stage line, and its status.
int solveLine(const std::string& text, const SolveBudget& budget, std::string& out, std::string& error) {
    StageLine stage;
    if (!parseStageLine(text, stage, error, true)) return 2;
    const SolveResult r = solveStage(stage, budget);
    switch (r.verdict) {
    case Verdict::Solvable:
        out = answerLine(stage.stageNo, r.cells);
        return 0;
    case Verdict::Unsolvable:
        out = "unsolvable";
        return 1;
    case Verdict::Undecided:
        break;
    }
    out = "undecided";
    return 3;
}

int runSolve(const std::vector<std::string>& args) {
    SolveBudget budget;
    std::vector<std::string> rest;
    std::string error;
    OptionTable options;
    options.numbers = {{"--budget-ms", {1, kMaxBudgetMs, &budget.ms}}, {"--node-budget", {1, kMaxNodes, &budget.nodes}}};
    if (!parseOptions(args, options, rest, error)) return usageError(error + "; usage: " + kUsage);
    if (rest.size() > 1) return usageError(std::string("solve takes at most one stage line; usage: ") + kUsage);

    std::string out;
    if (rest.size() == 1) {
        const int status = solveLine(rest[0], budget, out, error);
        if (status == 2) return usageError("STAGE_LINE: " + error);
        std::printf("%s\n", out.c_str());
        return status;
    }
    int status = 0;
    std::string line;
    for (long n = 1; std::getline(std::cin, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (solveLine(line, budget, out, error) == 2) {
            std::printf("error: line %ld: %s\n", n, error.c_str());
            std::fprintf(stderr, "tessarin-tool: line %ld: %s\n", n, error.c_str());
            status = 2;
        } else {
            std::printf("%s\n", out.c_str());
        }
        std::fflush(stdout);
    }
    return status;
}

}  // namespace

extern const CommandInfo solveCommand{"solve", kUsage, runSolve};

}  // namespace tessarin::tool
