// tessarin-tool check DIR: checks the data files of a game folder before
// they are shipped. Every stage line must be a whole board, stage numbers
// unique over the numbered stage files, every answer must clear its stage
// under the game's own rule, and every completion mark must name a stored
// stage. The files are read by the game's own readers. One line per
// problem, "FILE:LINE: what is wrong"; exit 1 when there is any, 0 with a
// summary when there is none, 2 for bad arguments. A stage line with
// characters after its board loads in the game; it gets a warning, which
// is no problem.
#include "formats/completions.h"
#include "formats/datafile.h"
#include "formats/lines.h"
#include "formats/stagefiles.h"
#include "tool/tool.h"
#include "twocorner/pairs.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tessarin::tool {

namespace {

constexpr std::size_t kAnswerLineLength = 5 + 3 * kTiles;

struct Report {
    int problems = 0;
    void operator()(const std::string& file, int line, const std::string& what) {
        std::printf("%s:%d: %s\n", file.c_str(), line, what.c_str());
        ++problems;
    }
    static void warn(const std::string& file, int line, const std::string& what) {
        std::printf("%s:%d: warning: %s\n", file.c_str(), line, what.c_str());
    }
};

// The lines of a data file as the game reads them. False, after the report,
// when a file of that name is there but cannot be read; a file that is not
// there gives `present` false.
bool readLines(const std::string& dir, const std::string& name, std::vector<std::string>& lines, bool& present,
               Report& report) {
    lines.clear();
    present = existsInFolder(dir, name);
    if (!present) return true;
    std::string bytes;
    ReadFault fault = ReadFault::None;
    if (!readDataFile(folderPath(dir, name), bytes, &fault)) {
        report(name, 0, fault == ReadFault::NotAFile ? "not an ordinary file the game can read"
                        : fault == ReadFault::TooBig ? "the file is larger than the 64 MB the game reads"
                                                     : "the file cannot be read");
        return false;
    }
    // Each line as the game reads it: a byte order mark at its start is no part of it.
    lines = textLines(bytes);
    for (std::string& line : lines) line = std::string(withoutByteOrderMark(line));
    return true;
}

struct Stored {
    std::string where;  // FILE:LINE
    StageLine stage;
};
using StageIndex = std::map<std::string, Stored>;

bool allDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The numbered files 0..9, then the authoring build's unnumbered one.
std::string fileName(int k, const char* stem) {
    return std::string(stem) + (k < 10 ? std::to_string(k) : "") + ".map";
}

int runCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("check takes one argument: DIR, the game folder");
    const std::string& dir = args[0];
    if (!isFolder(dir)) return usageError("DIR is not a folder: '" + dir + "'");

    Report report;
    std::vector<std::string> lines;
    bool present = false;

    // Stage files: numbers must be unique over the numbered set.
    StageIndex numbered;
    StageIndex authored;
    int stageCount = 0;
    int lineNo = 0;
    for (int k = 0; k <= 10; ++k) {
        const std::string name = fileName(k, "maptwo");
        if (!readLines(dir, name, lines, present, report) || !present) continue;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i) + 1;
            if (k < 10 && ++lineNo == kMaxStageLines + 1)
                report(name, line, "the game numbers at most 32767 stage lines and stops reading here");
            StageLine stage;
            std::string why;
            if (!parseStageLine(lines[i], stage, why)) {
                report(name, line, why);
                continue;
            }
            if (stage.trailing > 0)
                Report::warn(name, line, std::to_string(stage.trailing) + " characters after the board are ignored");
            ++stageCount;
            StageIndex& index = k < 10 ? numbered : authored;
            const std::string where = name + ":" + std::to_string(line);
            const auto [it, added] = index.emplace(stage.stageNo, Stored{where, stage});
            if (!added && k < 10) report(name, line, "stage " + stage.stageNo + " is already stored at " + it->second.where);
        }
    }

    // Answers: each for a stored stage, and each clearing it.
    int answerCount = 0;
    for (int k = 0; k <= 10; ++k) {
        const std::string name = fileName(k, "anstwo");
        if (!readLines(dir, name, lines, present, report) || !present) continue;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i) + 1;
            const std::string& text = lines[i];
            if (text.size() != kAnswerLineLength) {
                report(name, line, "an answer line has " + std::to_string(kAnswerLineLength) + " characters, this one " +
                                       std::to_string(text.size()));
                continue;
            }
            if (!allDigits(text)) {
                report(name, line, "an answer line holds only digits");
                continue;
            }
            const std::string stageNo = text.substr(0, 5);
            // The authoring build writes a stage and its answer together.
            const Stored* stored = nullptr;
            if (k == 10) {
                const auto it = authored.find(stageNo);
                if (it != authored.end()) stored = &it->second;
            }
            if (!stored) {
                const auto it = numbered.find(stageNo);
                if (it != numbered.end()) stored = &it->second;
            }
            if (!stored) {
                report(name, line, "no stored stage " + stageNo + " for this answer");
                continue;
            }
            Position pos = stored->stage.position();
            std::string why;
            if (!takePairs(pos, std::string_view(text).substr(5), why)) {
                report(name, line, why + " (stage " + stored->where + ")");
                continue;
            }
            ++answerCount;
        }
    }

    // Completion marks: a line of five characters once trimmed names a stage.
    int markCount = 0;
    const std::string marks = "cmptwo.map";
    if (readLines(dir, marks, lines, present, report) && present) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::vector<std::u32string> kept = completionMarks(lines[i]);
            if (kept.empty()) continue;
            std::string stageNo;
            for (char32_t c : kept.front()) stageNo += c >= U'0' && c <= U'9' ? static_cast<char>(c) : '?';
            if (numbered.count(stageNo) == 0) {
                report(marks, static_cast<int>(i) + 1, "marks " + stageNo + ", which no stage file stores");
                continue;
            }
            ++markCount;
        }
    }

    if (report.problems > 0) return 1;
    std::printf("%d stages, %d answers, %d completion marks: no problems\n", stageCount, answerCount, markCount);
    return 0;
}

}  // namespace

extern const CommandInfo checkCommand{"check", "check DIR", runCheck};

}  // namespace tessarin::tool
