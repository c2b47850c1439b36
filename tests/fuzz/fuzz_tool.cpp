// Every subcommand of tessarin-tool, run in-process: the bytes before the
// first file header are the command line, one argument a line (the
// subcommand's name first); "@@ stdin" is standard input; the stage,
// answer and completion files are the folder DIR. Each folder argument of
// `author` and `check` is taken inside DIR (".." refused), and the budgets
// of `author`, `solve` and `difficulty` are capped so an input stays quick.
//
// Invariants: the exit status is one the command documents; what a command
// prints on success is well formed (a deal and the board of `three` hold
// each tile once, every answer of `solve` clears its stage by the pairs
// command's rule); `check` changes no file and `author` only appends,
// and nothing when it fails.
#include "fuzz_support.h"
#include "stages/lines.h"
#include "tool/tool.h"

#include <sanitizer/common_interface_defs.h>

#include <fcntl.h>
#include <sys/mman.h>

#include <iostream>
#include <sstream>

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

int savedStdout = -1, savedStderr = -1, devNull = -1, capture = -1;

std::set<std::string> inputNames() {
    std::set<std::string> names{"stdin", "maptwo.map", "anstwo.map", "cmptwo.map"};
    for (int d = 0; d <= 9; ++d) {
        names.insert("maptwo" + std::to_string(d) + ".map");
        names.insert("anstwo" + std::to_string(d) + ".map");
    }
    return names;
}

fs::path dirPath() { return scratchDir() / "dir"; }

struct Run {
    int status = 0;
    std::string out;
};

// Runs a command line with `in` as standard input; its standard output is
// kept, its standard error dropped.
Run runQuietly(const std::vector<std::string>& args, const std::string& in) {
    std::istringstream input(in);
    std::streambuf* const cinBuf = std::cin.rdbuf(input.rdbuf());
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(capture, 1);
    dup2(devNull, 2);
    Run r;
    r.status = tool::runTool(args);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedStdout, 1);
    dup2(savedStderr, 2);
    std::cin.rdbuf(cinBuf);
    std::cin.clear();
    const off_t n = lseek(capture, 0, SEEK_CUR);
    r.out.resize(static_cast<std::size_t>(n));
    check(pread(capture, r.out.data(), r.out.size(), 0) == n, "cannot read the captured output");
    check(ftruncate(capture, 0) == 0 && lseek(capture, 0, SEEK_SET) == 0, "cannot reset the captured output");
    return r;
}

std::vector<std::string> outLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream s(out);
    for (std::string l; std::getline(s, l);) lines.push_back(l);
    return lines;
}

bool isNumber(const std::string& s) {
    return !s.empty() && s.size() <= 13 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Caps the number after each of `caps`' options, adds the options missing
// with their cap, and takes every folder argument inside DIR. False for an
// input not to run (a folder argument leaving DIR).
bool tame(std::vector<std::string>& args, const std::map<std::string, long long>& caps, bool folders) {
    std::set<std::string> seen;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string& a = args[i];
        if (a.size() >= 2 && a[0] == '-') {
            seen.insert(a);
            const auto cap = caps.find(a);
            if (i + 1 < args.size()) {
                std::string& v = args[++i];
                if (cap != caps.end() && isNumber(v) && std::stoll(v) > cap->second) v = std::to_string(cap->second);
            }
        } else if (folders) {
            if (a.find("..") != std::string::npos) return false;
            a = dirPath().string() + "/" + a;
        }
    }
    for (const auto& [name, cap] : caps) {
        if (!seen.count(name) && name != "--from" && name != "--count") {
            args.push_back(name);
            args.push_back(std::to_string(cap));
        }
    }
    return true;
}

// True when the answer (cell codes after the stage number) clears the stage
// by the rule of `tessarin-tool pairs`: every pair legal, none left over.
bool answerClears(const std::string& stageLine, const std::string& answer) {
    const Run r = runQuietly({"pairs", stageLine, answer.substr(std::min<std::size_t>(5, answer.size()))}, {});
    return r.status == 0 && r.out.empty() && answer.substr(0, 5) == stageLine.substr(0, 5);
}

void checkStageLineOut(const std::string& line, const std::string& what) {
    StageLine s;
    std::string error;
    check(parseStageLine(line, s, error), what + " is no stage line: " + error);
}

void checkSolveOut(const std::vector<std::string>& inputs, const std::string& out, int status) {
    const std::vector<std::string> lines = outLines(out);
    check(lines.size() == inputs.size(), "solve: not one result line per stage line");
    bool error = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.starts_with("error: ")) {
            error = true;
            continue;
        }
        if (l == "unsolvable" || l == "undecided") continue;
        std::string stage = inputs[i];
        if (!stage.empty() && stage.back() == '\r') stage.pop_back();
        check(answerClears(stage, l), "solve: the answer does not clear its stage: " + l);
    }
    check(error == (status == 2), "solve: the status does not tell of the malformed lines");
}

void checkThreeOut(const std::string& out) {
    const std::vector<std::string> lines = outLines(out);
    check(lines.size() == 2 && lines[1].size() == 4 * kTiles, "three: not two lines of the documented form");
    int rest = -1, moves = -1, done = -1;
    check(std::sscanf(lines[0].c_str(), "%d %d %d", &rest, &moves, &done) == 3 && rest >= 0 && rest <= kTiles &&
              moves >= 0 && done >= 0,
          "three: counters " + lines[0]);
    std::set<int> tiles;
    int live = 0;
    for (int j = 0; j < kTiles; ++j) {
        const std::string cell = lines[1].substr(4 * static_cast<std::size_t>(j), 4);
        check(isNumber(cell) && cell[3] <= '2', "three: cell " + cell);
        tiles.insert(std::stoi(cell.substr(0, 3)));
        live += cell[3] == '0';
    }
    check(tiles.size() == kTiles && *tiles.begin() == 1 && *tiles.rbegin() == kTiles, "three: a tile twice");
    check(live == rest, "three: the tiles left are not the live tiles");
}

void checkAuthored(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
                   int status) {
    for (const auto& [name, bytes] : before) {
        const auto it = after.find(name);
        check(it != after.end() && it->second.starts_with(bytes), "author: " + name + " lost what it held");
    }
    for (const auto& [name, bytes] : after) {
        check(before.count(name) || name == "anstwo.map" || name == "maptwo.map", "author: made " + name);
    }
    if (status == 2) {
        check(before == after, "author: a refusal changed the folder");
        return;
    }
    // Each stage kept appends its answer line and its stage line.
    const auto added = [&](const std::string& name) {
        const auto b = before.find(name);
        const auto a = after.find(name);
        return fileLines(a == after.end() ? "" : a->second.substr(b == before.end() ? 0 : b->second.size()));
    };
    const std::vector<std::string> answers = added("anstwo.map");
    const std::vector<std::string> stages = added("maptwo.map");
    check(answers.size() == stages.size(), "author: answers and stages differ in number");
    for (std::size_t i = 0; i < stages.size(); ++i) {
        checkStageLineOut(stages[i], "author: a stage written");
        check(answerClears(stages[i], answers[i]), "author: an answer written does not clear its stage");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    savedStdout = dup(1);
    savedStderr = dup(2);
    devNull = open("/dev/null", O_WRONLY);
    capture = memfd_create("tessarin-fuzz-stdout", 0);
    check(savedStdout >= 0 && savedStderr >= 0 && devNull >= 0 && capture >= 0, "cannot set up the output");
    // Sanitizer reports must not go where the tool's messages go.
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(savedStderr)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const InputFiles files = splitInput(data, size, inputNames());
    std::vector<std::string> args;
    const std::string& line = files.at("").bytes;
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = std::min(line.find('\n', start), line.size());
        args.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (args.size() > 64) return -1;
    const std::string command = args.empty() ? "" : args[0];
    bool run = true;
    if (command == "author") run = tame(args, {{"--from", 99999}, {"--count", 2}, {"--budget-ms", 20}}, true);
    else if (command == "check") run = tame(args, {}, true);
    else if (command == "solve") run = tame(args, {{"--budget-ms", 20}, {"--node-budget", 20000}}, false);
    else if (command == "difficulty") run = tame(args, {{"--plays", 5}}, false);
    if (!run) return -1;
    if (command == "author") {
        // Few numbers left to deal, so a run tries few boards.
        for (std::size_t i = 1; i + 1 < args.size(); ++i)
            if (args[i] == "--from" && isNumber(args[i + 1])) args[i + 1] = std::to_string(99990 + std::stoll(args[i + 1]) % 10);
    }

    fs::remove_all(dirPath());
    fs::create_directory(dirPath());
    InputFiles dirFiles = files;
    dirFiles.erase("stdin");
    writeInputFiles(dirPath(), dirFiles);
    const auto before = folderContents(dirPath());
    const std::string in = files.count("stdin") ? files.at("stdin").bytes : std::string();

    const Run r = runQuietly(args, in);
    const std::map<std::string, std::set<int>> statuses = {
        {"author", {0, 1, 2}}, {"check", {0, 1, 2}}, {"deal", {0, 2}},  {"difficulty", {0, 2}},
        {"pairs", {0, 2}},     {"solve", {0, 1, 2, 3}}, {"three", {0, 2}}};
    const auto allowed = statuses.find(command);
    check(allowed == statuses.end() ? r.status == 2 : allowed->second.count(r.status) == 1,
          "'" + command + "' ended with status " + std::to_string(r.status));

    const auto after = folderContents(dirPath());
    if (command == "author") checkAuthored(before, after, r.status);
    else check(before == after, "'" + command + "' changed the folder");
    // A refused command line prints nothing; `solve` and `difficulty` go on
    // past malformed lines of their input.
    if (r.status == 2 && r.out.empty()) return 0;

    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i].size() >= 2 && args[i][0] == '-') ++i;
        else positional.push_back(args[i]);
    }
    if (command == "deal") {
        check(r.out.size() == kStageLineLength + 1 && r.out.back() == '\n', "deal: not one line");
        checkStageLineOut(r.out.substr(0, kStageLineLength), "deal");
        check(std::stoi(r.out.substr(0, 5)) == std::stoi(args[1]), "deal: the stage number is not the seed");
    } else if (command == "pairs") {
        for (const std::string& l : outLines(r.out)) {
            check(l.size() == 6 && isNumber(l), "pairs: " + l);
            const int a = std::stoi(l.substr(0, 3)), b = std::stoi(l.substr(3));
            check(a != b && onField(codeX(a), codeY(a)) && onField(codeX(b), codeY(b)), "pairs: " + l);
        }
    } else if (command == "three") {
        checkThreeOut(r.out);
    } else if (command == "solve") {
        checkSolveOut(positional.empty() ? outLines(in) : positional, r.out, r.status);
    } else if (command == "difficulty" && r.status == 0) {
        for (const std::string& l : outLines(r.out)) {
            char no[6] = {};
            double cleared = -1, taken = -1;
            check(std::sscanf(l.c_str(), "%5s %lf %lf", no, &cleared, &taken) == 3 && cleared >= 0 &&
                      cleared <= 100 && taken >= 0 && taken <= kTiles,
                  "difficulty: " + l);
        }
    }
    return 0;
}
