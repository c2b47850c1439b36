// The driver of the fuzz targets: one executable fuzz_KIND per kind of fuzz_targets.cpp, picked by its name. Each
// input starts in an empty scratch program folder, where the kind sets a game up, puts the input's files, gives its
// commands and checks its invariants; a broken one aborts with a message. Input: "@@ NAME" on a line of its own
// starts the file NAME, up to the line end before the next header (a name's first header counts); the bytes before
// the first header are the entry "" (clicks, arguments).
#pragma once

#include "app/game.h"
#include "formats/datafile.h"
#include "support/fakeui.h"
#include "twocorner/search.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tessarin::fuzz {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

inline void check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "\n*** fuzz invariant violated: %s\n", what.c_str());
    std::abort();
}

inline Files splitInput(std::string_view input) {
    const std::string in = "@@ \n" + std::string(input);  // the entry "" first
    Files files;
    for (std::size_t at = 0, next = 0; at < in.size(); at = next + 1) {
        const std::size_t eol = std::min(in.find('\n', at), in.size()), body = std::min(eol + 1, in.size());
        next = std::min(in.find("\n@@ ", eol), in.size());  // the line end before a header is the header's
        const std::string name = in.substr(at + 3, eol - at - 3);
        const bool fileName = !name.starts_with('.') && name.find_first_of(std::string("/\0", 2)) == std::string::npos;
        if (name.empty() == (at == 0) && fileName) files.emplace(name, in.substr(body, std::max(next, body) - body));
    }
    return files;
}

inline const fs::path& scratch() {  // the program folder, in TMPDIR (scripts/run-fuzz.sh puts it in memory)
    static const QTemporaryDir dir;
    static const fs::path path = dir.path().toStdString();
    return path;
}

inline Files folderBytes() {
    Files out;
    for (const auto& e : fs::directory_iterator(scratch())) readDataFile(e.path(), out[e.path().filename()]);
    return out;
}

// The folder as the input has it, but for the tile sheet, `keep` and the tool's "stdin".
inline void putInput(const Files& files, const std::string& keep = "") {
    for (const auto& e : fs::directory_iterator(scratch()))
        if (e.path().filename() != "paidat.dat" && e.path().filename() != keep) fs::remove_all(e);
    for (const auto& [name, bytes] : files)
        if (!name.empty() && name != "stdin" && name != "paidat.dat") std::ofstream(scratch() / name) << bytes;
}

// The lines of the input's files stem0.map .. stem9.map, in that order.
inline std::vector<std::string> numberedLines(const Files& files, const std::string& stem) {
    std::vector<std::string> lines;
    for (char d = '0'; d <= '9'; ++d)
        for (const std::string& l : textLines(files.count(stem + d + ".map") ? files.at(stem + d + ".map") : ""))
            lines.push_back(l);
    return lines;
}

// A game in the scratch folder: the shipped tile sheet unless one is there, a fixed clock (TwoCorner deal 33763),
// a recording window.
struct Play {
    explicit Play(bool author = false, bool start = true) : game(QString::fromStdString(scratch()), ui, author) {
        fs::copy_file(TESSARIN_SOURCE_DIR "/data/paidat.dat", scratch() / "paidat.dat", fs::copy_options::skip_existing);
        game.setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); });
        check(!start || game.startUp(), "the shipped tile sheet does not load");
    }
    void put(const Files& files, const std::string& keep = "") { putInput(files, keep), ui = test::FakeUi(); }
    void click(int x, int y, int button = kLeftButton) { game.pressBoard(button, cellPixelX(x) + 9, cellPixelY(y) + 9); }
    // Takes the first pair the search lists `pairs` times, then picks a tile if asked.
    void takePairs(int pairs, bool pick) {
        for (int k = 0; k < pairs + pick; ++k) {
            const PairList found = findPairs(game.position());
            check(!found.empty(), "no pair to take in the set-up game");
            click(found[0].xL, found[0].yL);
            if (k < pairs) click(found[0].xR, found[0].yR);
        }
    }
    test::FakeUi ui;
    Game game;
};

using State = std::pair<GameSnapshot, Files>;  // the game and the folder
inline State stateOf(const Game& g) { return {g.snapshot(), folderBytes()}; }
inline void checkUnchanged(const State& before, const Game& g, const std::string& what) {
    const State now = stateOf(g);
    check(now.second == before.second, what + " changed a file");
    check(now.first == before.first, what + " changed the game");
}

// A game the rules go on with: the game's own check of board and counters, the tiles' kinds as the sheet has
// them, each recorded pair of one kind.
inline void checkGame(const Game& g, const std::string& what) {
    const QString problem = g.consistencyProblem();
    check(problem.isEmpty() && g.position().isConsistent(), what + ": " + problem.toStdString());
    for (int t = 0; t < kTableSize; ++t)
        check(g.position().tile(t).kind == sheetLayout()[static_cast<std::size_t>(t)].kind, what + ": a kind changed");
    const MoveRecord& m = g.twoCorner().moves;
    const auto kind = [&](int i) { return g.position().kindAt(codeX(m.cells[i]), codeY(m.cells[i])); };
    for (int i = 2; g.shell().kind() == GameKind::TwoCorner && i <= m.count; i += 2)
        check(kind(i - 1) == kind(i), what + ": a recorded pair of two kinds");
}

struct Kind {
    std::string name;
    void (*run)(const Files&);
};
extern const std::vector<Kind> kinds;
inline const Kind* kind = nullptr;

}  // namespace tessarin::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
    using namespace tessarin::fuzz;
    for (const Kind& k : kinds) kind = fs::path((*argv)[0]).filename() == "fuzz_" + k.name ? &k : kind;
    check(kind, std::string("no fuzz target kind is named by ") + (*argv)[0]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});  // a bad picture's complaints
    static int argc = 1;
    static QGuiApplication app(argc, *argv);  // for the pictures and fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessarin::fuzz;
    for (const auto& e : fs::directory_iterator(scratch())) fs::remove_all(e);
    kind->run(splitInput({reinterpret_cast<const char*>(data), size}));
    return 0;
}
