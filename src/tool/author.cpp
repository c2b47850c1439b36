// tessarin-tool author DIR --from N --count K [--budget-ms M] [--jobs J]: makes proven
// stages. Deals the boards numbered N, N+1, ... (up to 99999) exactly as the
// game deals them for those seeds, and keeps the first K that the solver
// proves solvable: for each, its answer line is appended to "anstwo.map" and
// then its stage line to "maptwo.map" in DIR, as the authoring build of the
// game writes them (CR LF line ends; the lines already there are left as
// they are). One line per board tried: number, verdict, time. The boards
// are solved on J threads (one per core by default); the stages kept, the
// lines printed and the files written are the same for any number.
//
// Status 0 when K stages were written, 1 when the numbers ran out first,
// 2 for bad arguments or a DIR that cannot take the files (then nothing is
// written).
#include "solver/solver.h"
#include "stages/deal.h"
#include "formats/lines.h"
#include "formats/writefile.h"
#include "tool/batch.h"
#include "tool/options.h"
#include "tool/tool.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tessarin::tool {

namespace {

namespace fs = std::filesystem;

const char* const kUsage = "author DIR --from N --count K [--budget-ms M] [--jobs J]";
constexpr int64_t kLastStageNo = 99999;

// Appends one line and its CR LF as the game's authoring build does: the
// file holds the whole line afterwards, or is as it was.
bool appendLine(const fs::path& path, const std::string& line) {
    std::string error;
    return tessarin::appendLine(path.string(), line, error);
}

// A file lines will be appended to: an existing one must be a plain file
// that can be written and whose last line is complete (else the first line
// appended would run on from it); a missing one is made, empty, and noted
// in `made`.
bool prepare(const fs::path& path, std::vector<fs::path>& made, std::string& error) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::exists(st)) {
        if (!fs::is_regular_file(st)) {
            error = path.string() + " is not a plain file";
            return false;
        }
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in) {
            error = "cannot read " + path.string();
            return false;
        }
        const std::streamoff size = in.tellg();
        if (size > 0) {
            in.seekg(size - 1);
            char last = 0;
            in.get(last);
            if (last != '\n') {
                error = path.string() + " does not end with a line end";
                return false;
            }
        }
        std::ofstream out(path, std::ios::binary | std::ios::app);
        if (!out) {
            error = "cannot write " + path.string();
            return false;
        }
        return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    made.push_back(path);
    return true;
}

int runAuthor(const std::vector<std::string>& args) {
    int64_t from = -1;
    int64_t count = -1;
    int64_t jobs = defaultJobs();
    SolveBudget budget;
    std::vector<std::string> rest;
    std::string error;
    OptionTable options;
    options.numbers = {{"--from", {0, kLastStageNo, &from}},
                    {"--count", {1, kLastStageNo + 1, &count}},
                    {"--budget-ms", {1, kMaxBudgetMs, &budget.ms}},
                    {"--jobs", {1, kMaxJobs, &jobs}}};
    if (!parseOptions(args, options, rest, error)) return usageError(error + "; usage: " + kUsage);
    if (rest.size() != 1) return usageError(std::string("author takes one folder; usage: ") + kUsage);
    if (from < 0 || count < 0) return usageError(std::string("--from and --count are required; usage: ") + kUsage);

    const fs::path dir(rest[0]);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return usageError("'" + rest[0] + "' is not a folder");
    const fs::path answers = dir / "anstwo.map";
    const fs::path stages = dir / "maptwo.map";
    std::vector<fs::path> made;
    if (!prepare(answers, made, error) || !prepare(stages, made, error)) {
        for (const fs::path& p : made) fs::remove(p, ec);
        return usageError(error);
    }

    // The deals are solved ahead on every thread; the results are taken in
    // the order of the numbers until K stages are kept.
    struct Tried {
        std::string line;
        SolveResult result;
    };
    int64_t kept = 0;
    int64_t nextSeed = from;
    bool writeFailed = false;
    runBatch<int64_t, Tried>(
        static_cast<int>(jobs),
        [&](int64_t& seed) {
            if (nextSeed > kLastStageNo) return false;
            seed = nextSeed++;
            return true;
        },
        [&](const int64_t& seed, const std::atomic<bool>& stop) {
            Tried t{dealStageLine(static_cast<int32_t>(seed)), {}};
            StageLine stage;
            std::string why;
            parseStageLine(t.line, stage, why);
            SolveBudget mine = budget;
            mine.stop = &stop;
            t.result = solveStage(stage, mine);
            return t;
        },
        [&](Tried& t) {
            const std::string stageNo = t.line.substr(0, 5);
            const SolveResult& r = t.result;
            std::printf("%s %s %.1f ms\n", stageNo.c_str(), verdictName(r.verdict), r.ms);
            std::fflush(stdout);
            if (r.verdict != Verdict::Solvable) return true;
            if (!appendLine(answers, answerLine(stageNo, r.cells)) || !appendLine(stages, t.line)) {
                writeFailed = true;
                return false;
            }
            return ++kept < count;
        });
    if (writeFailed) {
        std::fprintf(stderr, "tessarin-tool: cannot write to %s\n", dir.string().c_str());
        return 2;
    }
    if (kept < count) {
        std::fprintf(stderr, "tessarin-tool: %lld of %lld stages found up to %lld\n", static_cast<long long>(kept),
                     static_cast<long long>(count), static_cast<long long>(kLastStageNo));
        return 1;
    }
    return 0;
}

}  // namespace

extern const CommandInfo authorCommand{"author", kUsage, runAuthor};

}  // namespace tessarin::tool
