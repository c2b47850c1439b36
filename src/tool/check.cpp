// tessarin-tool check DIR: checks the data files of a game folder before
// they are shipped. Every stage line must be a whole board, stage numbers
// unique over the numbered stage files, every answer must clear its stage
// under the game's own connection rule, and every completion mark must name
// a stored stage. One line per problem, "FILE:LINE: what is wrong"; exit 1
// when there is any, 0 with a summary when there is none, 2 for bad
// arguments.
#include "board/model.h"
#include "stages/lines.h"
#include "tool/tool.h"
#include "twocorner/connect.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace tessarin::tool {

namespace {

namespace fs = std::filesystem;

// The game numbers stage lines in 16 bits.
constexpr int kMaxStageLines = 32767;
constexpr std::size_t kAnswerLineLength = 5 + 3 * kTiles;

struct Report {
    int problems = 0;
    void operator()(const std::string& file, int line, const std::string& what) {
        std::printf("%s:%d: %s\n", file.c_str(), line, what.c_str());
        ++problems;
    }
};

// The lines of a data file (CR LF, LF or a lone CR end a line). False, after
// the report, when a file of that name is there but cannot be read; a file
// that is not there gives `present` false.
bool readLines(const fs::path& dir, const std::string& name, std::vector<std::string>& lines, bool& present,
               Report& report) {
    lines.clear();
    const fs::path path = dir / name;
    std::error_code ec;
    present = fs::exists(fs::symlink_status(path, ec));
    if (!present) return true;
    if (!fs::is_regular_file(path, ec)) {
        report(name, 0, "not an ordinary file the game can read");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        report(name, 0, "the file cannot be read");
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return true;
}

struct Stored {
    std::string where;  // FILE:LINE
    StageLine stage;
};
using StageIndex = std::map<std::string, Stored>;

std::string threeOf(const std::string& s, std::size_t pos) { return s.substr(pos, 3); }

// Plays an answer (68 pairs of cell codes) on its stage under the game's
// rule. On a refusal returns false with the reason, naming the pair.
bool answerClears(const StageLine& stage, const std::string& moves, std::string& why) {
    BoardMap map;
    PaiTbl tbl;
    fillPaiTbl(tbl);
    placeStage(stage, map, tbl, false);
    for (int k = 0; k < kTiles / 2; ++k) {
        const std::size_t p = 6 * static_cast<std::size_t>(k);
        const std::string a = threeOf(moves, p);
        const std::string b = threeOf(moves, p + 3);
        const std::string pair = "pair " + std::to_string(k + 1) + " (" + a + " " + b + ")";
        const int ca = std::stoi(a);
        const int cb = std::stoi(b);
        for (int c : {ca, cb}) {
            if (!onField(codeX(c), codeY(c))) {
                why = pair + ": " + threeDigits(c) + " names no cell of the field";
                return false;
            }
        }
        if (ca == cb) {
            why = pair + ": both codes name the same cell";
            return false;
        }
        PaiRec& ta = tbl[static_cast<std::size_t>(map.at(codeX(ca), codeY(ca)))];
        PaiRec& tb = tbl[static_cast<std::size_t>(map.at(codeX(cb), codeY(cb)))];
        if (ta.state == kRemoved || tb.state == kRemoved) {
            why = pair + ": the tile at " + (ta.state == kRemoved ? a : b) + " has already been taken off";
            return false;
        }
        if (ta.kind != tb.kind) {
            why = pair + ": the two tiles differ in kind";
            return false;
        }
        if (!canConnect(map, tbl, codeX(ca), codeY(ca), codeX(cb), codeY(cb))) {
            why = pair + ": no path with at most two bends joins the two tiles";
            return false;
        }
        ta.state = kRemoved;
        tb.state = kRemoved;
    }
    return true;
}

bool allDigits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Strict UTF-8: false for any malformed, overlong or surrogate sequence.
bool decodeUtf8(const std::string& raw, std::u32string& out) {
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    out.clear();
    std::size_t i = 0;
    while (i < raw.size()) {
        const auto b = static_cast<unsigned char>(raw[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) extra = 1, cp = b & 0x1Fu;
        else if (b >= 0xE0 && b <= 0xEF) extra = 2, cp = b & 0x0Fu;
        else if (b >= 0xF0 && b <= 0xF4) extra = 3, cp = b & 0x07u;
        else return false;
        if (i + extra >= raw.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(raw[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += 1 + extra;
    }
    return true;
}

// A line of the completion file as characters: UTF-8 when it is valid
// UTF-8, otherwise bytes with the Japanese code page's ideographic space
// (0x81 0x40) as U+3000 — the way the game reads it.
std::u32string completionChars(const std::string& raw) {
    std::u32string out;
    if (decodeUtf8(raw, out)) return out;
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto b = static_cast<unsigned char>(raw[i]);
        if (b == 0x81 && i + 1 < raw.size() && static_cast<unsigned char>(raw[i + 1]) == 0x40) {
            out.push_back(0x3000);
            ++i;
        } else {
            out.push_back(b < 0x80 ? b : 0xFFFD);
        }
    }
    return out;
}

std::u32string trimSpaces(const std::u32string& s) {
    const auto space = [](char32_t c) { return c == 0x20 || c == 0x3000; };
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && space(s[b])) ++b;
    while (e > b && space(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string numberName(int digit, const char* stem) {
    return std::string(stem) + (digit < 0 ? "" : std::to_string(digit)) + ".map";
}

int runCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("check takes one argument: DIR, the game folder");
    const fs::path dir(args[0]);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return usageError("DIR is not a folder: '" + args[0] + "'");

    Report report;
    std::vector<std::string> lines;
    bool present = false;

    // Stage files: the numbered set the game lists, then the authoring
    // build's own file. Numbers must be unique over the numbered set.
    StageIndex numbered;
    StageIndex authored;
    int stageCount = 0;
    int lineNo = 0;
    for (int k = 0; k <= 10; ++k) {
        const int digit = k < 10 ? k : -1;  // 0..9, then the unnumbered file
        const std::string name = numberName(digit, "maptwo");
        if (!readLines(dir, name, lines, present, report) || !present) continue;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i) + 1;
            if (digit >= 0 && ++lineNo == kMaxStageLines + 1)
                report(name, line, "the game numbers at most 32767 stage lines and stops reading here");
            StageLine stage;
            std::string why;
            if (!parseStageLine(lines[i], stage, why)) {
                report(name, line, why);
                continue;
            }
            ++stageCount;
            StageIndex& index = digit >= 0 ? numbered : authored;
            const std::string where = name + ":" + std::to_string(line);
            const auto [it, added] = index.emplace(stage.stageNo, Stored{where, stage});
            if (!added && digit >= 0)
                report(name, line, "stage " + stage.stageNo + " is already stored at " + it->second.where);
        }
    }

    // Answers: each for a stored stage, and each clearing it.
    int answerCount = 0;
    for (int k = 0; k <= 10; ++k) {
        const int digit = k < 10 ? k : -1;
        const std::string name = numberName(digit, "anstwo");
        if (!readLines(dir, name, lines, present, report) || !present) continue;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i) + 1;
            const std::string& text = lines[i];
            if (text.size() != kAnswerLineLength) {
                report(name, line, "an answer line has " + std::to_string(kAnswerLineLength) +
                                       " characters, this one " + std::to_string(text.size()));
                continue;
            }
            if (!allDigits(text)) {
                report(name, line, "an answer line holds only digits");
                continue;
            }
            const std::string stageNo = text.substr(0, 5);
            // The authoring build writes a stage and its answer together.
            const Stored* stored = nullptr;
            if (digit < 0) {
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
            std::string why;
            if (!answerClears(stored->stage, text.substr(5), why)) {
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
            const std::u32string kept = trimSpaces(completionChars(lines[i]));
            if (kept.size() != 5) continue;
            std::string stageNo;
            for (char32_t c : kept) stageNo += c >= U'0' && c <= U'9' ? static_cast<char>(c) : '?';
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
