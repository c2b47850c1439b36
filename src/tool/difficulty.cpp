// tessarin-tool difficulty [--plays N] [--jobs N] [STAGE_LINE...]: how forgiving each
// stage is. For every stage line (from the arguments, or else one per line
// of standard input) it prints the stage number, the percentage of random
// plays that clear the board and the tiles such a play takes on average,
// e.g. "00012 63.5 119.3". Each step of a random play takes one of the
// removable pairs, each with the same chance; the plays use a fixed seed,
// so the figures are the same on every run. A higher percentage is a
// gentler stage. A malformed line gets "error: ..." and status 2. The stages
// are measured on --jobs threads (one per core by default), the results
// printed in order, the same for any number of threads.
#include "solver/playout.h"
#include "formats/lines.h"
#include "tool/batch.h"
#include "tool/options.h"
#include "tool/tool.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace tessarin::tool {

namespace {

const char* const kUsage = "difficulty [--plays N] [--jobs N] [STAGE_LINE...]";
constexpr uint32_t kPlaySeed = 1;

struct Measured {
    bool ok = false;
    std::string out;  // the result line, or why the line was refused
};

Measured measure(const std::string& text, int plays) {
    Measured m;
    StageLine stage;
    if (!parseStageLine(text, stage, m.out, true)) return m;
    const RandomPlays r = playRandomly(stage.position(), plays, kPlaySeed);
    char buf[64];
    std::snprintf(buf, sizeof buf, " %.1f %.1f", 100.0 * r.clearedShare(), r.meanTaken);
    m.ok = true;
    m.out = stage.stageNo + buf;
    return m;
}

// Measures the stage lines that `next` gives on `jobs` threads and passes
// the results to `emit` in order.
void measureAll(int jobs, int plays, const std::function<bool(std::string&)>& next,
                const std::function<bool(Measured&)>& emit) {
    runBatch<std::string, Measured>(
        jobs, next, [plays](const std::string& line, const std::atomic<bool>&) { return measure(line, plays); }, emit);
}

int runDifficulty(const std::vector<std::string>& args) {
    int64_t plays = 200;
    int64_t jobs = defaultJobs();
    std::vector<std::string> lines;
    std::string error;
    OptionTable options;
    options.numbers = {{"--plays", {1, 1000000, &plays}}, {"--jobs", {1, kMaxJobs, &jobs}}};
    if (!parseOptions(args, options, lines, error)) return usageError(error + "; usage: " + kUsage);

    if (!lines.empty()) {
        // Every line is checked before any is measured.
        for (std::size_t i = 0; i < lines.size(); ++i) {
            StageLine stage;
            if (!parseStageLine(lines[i], stage, error, true))
                return usageError("STAGE_LINE " + std::to_string(i + 1) + ": " + error);
        }
        std::size_t given = 0;
        measureAll(
            static_cast<int>(jobs), static_cast<int>(plays),
            [&](std::string& line) {
                if (given == lines.size()) return false;
                line = lines[given++];
                return true;
            },
            [](Measured& m) {
                std::printf("%s\n", m.out.c_str());
                std::fflush(stdout);
                return true;
            });
        return 0;
    }
    int status = 0;
    long n = 0;
    measureAll(
        static_cast<int>(jobs), static_cast<int>(plays),
        [](std::string& line) {
            if (!std::getline(std::cin, line)) return false;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        },
        [&](Measured& m) {
            ++n;
            if (m.ok) {
                std::printf("%s\n", m.out.c_str());
            } else {
                std::printf("error: line %ld: %s\n", n, m.out.c_str());
                std::fprintf(stderr, "tessarin-tool: line %ld: %s\n", n, m.out.c_str());
                status = 2;
            }
            std::fflush(stdout);
            return true;
        });
    return status;
}

}  // namespace

extern const CommandInfo difficultyCommand{"difficulty", kUsage, runDifficulty};

}  // namespace tessarin::tool
