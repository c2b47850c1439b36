// tessarin-tool difficulty [--plays N] [STAGE_LINE...]: how forgiving each
// stage is. For every stage line (from the arguments, or else one per line
// of standard input) it prints the stage number, the percentage of random
// plays that clear the board and the tiles such a play takes on average,
// e.g. "00012 63.5 119.3". Each step of a random play takes one of the
// removable pairs, each with the same chance; the plays use a fixed seed,
// so the figures are the same on every run. A higher percentage is a
// gentler stage. A malformed line gets "error: ..." and status 2.
#include "solver/playout.h"
#include "formats/lines.h"
#include "tool/options.h"
#include "tool/tool.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace tessarin::tool {

namespace {

const char* const kUsage = "difficulty [--plays N] [STAGE_LINE...]";
constexpr uint32_t kPlaySeed = 1;

bool measure(const std::string& text, int plays, std::string& out, std::string& error) {
    StageLine stage;
    if (!parseStageLine(text, stage, error, true)) return false;
    const RandomPlays r = playRandomly(stage.position(), plays, kPlaySeed);
    char buf[64];
    std::snprintf(buf, sizeof buf, " %.1f %.1f", 100.0 * r.clearedShare(), r.meanTaken);
    out = stage.stageNo + buf;
    return true;
}

int runDifficulty(const std::vector<std::string>& args) {
    int64_t plays = 200;
    std::vector<std::string> lines;
    std::string error;
    OptionTable options;
    options.numbers = {{"--plays", {1, 1000000, &plays}}};
    if (!parseOptions(args, options, lines, error)) return usageError(error + "; usage: " + kUsage);

    std::string out;
    if (!lines.empty()) {
        // Every line is checked before any is measured.
        for (std::size_t i = 0; i < lines.size(); ++i) {
            StageLine stage;
            if (!parseStageLine(lines[i], stage, error, true))
                return usageError("STAGE_LINE " + std::to_string(i + 1) + ": " + error);
        }
        for (const std::string& line : lines) {
            measure(line, static_cast<int>(plays), out, error);
            std::printf("%s\n", out.c_str());
        }
        return 0;
    }
    int status = 0;
    std::string line;
    for (long n = 1; std::getline(std::cin, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (measure(line, static_cast<int>(plays), out, error)) {
            std::printf("%s\n", out.c_str());
        } else {
            std::printf("error: line %ld: %s\n", n, error.c_str());
            std::fprintf(stderr, "tessarin-tool: line %ld: %s\n", n, error.c_str());
            status = 2;
        }
        std::fflush(stdout);
    }
    return status;
}

}  // namespace

extern const CommandInfo difficultyCommand{"difficulty", kUsage, runDifficulty};

}  // namespace tessarin::tool
