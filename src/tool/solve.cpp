// tessarin-tool solve [--budget-ms N] [--node-budget N] [--hint] [--jobs N]
// [STAGE_LINE [MOVES]]: decides a position. The position is the stage's
// start with the pairs of MOVES taken off in turn (three-digit cell codes,
// two per pair, as `pairs` takes them); every pair must be a legal removal.
//
// With a stage line: the stage number followed by the cell codes of the
// pairs that clear the rest of the board, in the order they are taken, and
// status 0 (without MOVES this is the stage's answer line; with MOVES,
// stage number, MOVES and the rest together are one); "unsolvable" and
// status 1; or "undecided" and status 3 when the budget ran out. --hint
// prints only the first pair of such an answer as its two cell codes
// ("011021"), or an empty line when no tile is left. Malformed input or an
// illegal pair in MOVES: the reason on stderr and status 2.
//
// Without one: every line of standard input is "STAGE_LINE" or "STAGE_LINE
// MOVES" (one space between) and gets one result line, in order; a line that
// is malformed or takes an illegal pair gets "error: line N: ..." and makes
// the status 2 at the end. The lines are solved on --jobs threads (one per
// core by default); the output is the same for any number.
#include "formats/lines.h"
#include "solver/solver.h"
#include "tool/batch.h"
#include "tool/options.h"
#include "tool/tool.h"
#include "twocorner/pairs.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace tessarin::tool {

namespace {

const char* const kUsage = "solve [--budget-ms N] [--node-budget N] [--hint] [--jobs N] [STAGE_LINE [MOVES]]";

struct Settings {
    SolveBudget budget;
    bool hint = false;
};

struct Outcome {
    int status = 0;           // 0 solvable, 1 unsolvable, 3 undecided, 2 refused
    std::string out;          // the result line, or why the input was refused
    bool movesRefused = false;  // refused for a pair of MOVES, not the stage line
};

// The result for a stage line and the moves played on it.
Outcome solveText(std::string_view stageText, std::string_view moves, const Settings& settings,
                  const std::atomic<bool>* stop = nullptr) {
    Outcome o;
    StageLine stage;
    if (!parseStageLine(stageText, stage, o.out, true)) {
        o.status = 2;
        return o;
    }
    Position pos = stage.position();
    std::string error;
    if (!takePairs(pos, moves, error)) {
        o.status = 2;
        o.out = "MOVES: " + error;
        o.movesRefused = true;
        return o;
    }
    SolveBudget budget = settings.budget;
    budget.stop = stop;
    const SolveResult r = solvePosition(pos, budget);
    switch (r.verdict) {
    case Verdict::Solvable:
        if (settings.hint) {
            o.out = r.cells.empty() ? std::string() : threeDigits(r.cells[0]) + threeDigits(r.cells[1]);
        } else {
            o.out = answerLine(stage.stageNo, r.cells);
        }
        return o;
    case Verdict::Unsolvable:
        o.status = 1;
        o.out = verdictName(r.verdict);
        return o;
    case Verdict::Undecided:
        break;
    }
    o.status = 3;
    o.out = verdictName(r.verdict);
    return o;
}

// A line of standard input: the stage line, then MOVES after one space.
Outcome solveInputLine(const std::string& line, const Settings& settings, const std::atomic<bool>& stop) {
    if (line.size() > kStageLineLength && line[kStageLineLength] == ' ') {
        const std::string_view text(line);
        if (line.size() == kStageLineLength + 1) return {2, "a space after the stage line must be followed by MOVES", true};
        return solveText(text.substr(0, kStageLineLength), text.substr(kStageLineLength + 1), settings, &stop);
    }
    return solveText(line, {}, settings, &stop);
}

int runSolve(const std::vector<std::string>& args) {
    Settings settings;
    int64_t jobs = defaultJobs();
    std::vector<std::string> rest;
    std::string error;
    OptionTable options;
    options.numbers = {{"--budget-ms", {1, kMaxBudgetMs, &settings.budget.ms}},
                       {"--node-budget", {1, kMaxNodes, &settings.budget.nodes}},
                       {"--jobs", {1, kMaxJobs, &jobs}}};
    options.flags = {{"--hint", &settings.hint}};
    if (!parseOptions(args, options, rest, error)) return usageError(error + "; usage: " + kUsage);
    if (rest.size() > 2) return usageError(std::string("solve takes a stage line and optionally MOVES; usage: ") + kUsage);

    if (!rest.empty()) {
        const Outcome o = solveText(rest[0], rest.size() == 2 ? rest[1] : std::string(), settings);
        if (o.status == 2) return usageError(o.movesRefused ? o.out : "STAGE_LINE: " + o.out);
        std::printf("%s\n", o.out.c_str());
        return o.status;
    }

    int status = 0;
    long lineNo = 0;
    runBatch<std::string, Outcome>(
        static_cast<int>(jobs),
        [](std::string& line) {
            if (!std::getline(std::cin, line)) return false;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        },
        [&](const std::string& line, const std::atomic<bool>& stop) { return solveInputLine(line, settings, stop); },
        [&](Outcome& o) {
            ++lineNo;
            if (o.status == 2) {
                std::printf("error: line %ld: %s\n", lineNo, o.out.c_str());
                std::fprintf(stderr, "tessarin-tool: line %ld: %s\n", lineNo, o.out.c_str());
                status = 2;
            } else {
                std::printf("%s\n", o.out.c_str());
            }
            std::fflush(stdout);
            return true;
        });
    return status;
}

}  // namespace

extern const CommandInfo solveCommand{"solve", kUsage, runSolve};

}  // namespace tessarin::tool
