// Shared by the fuzz targets: failing with a clear message, the fuzz input
// split into named files, a scratch program folder, and the whole state of
// a game as one value to restore before and compare after each input.
//
// Input format of the file-reading targets: "@@ NAME" on a line of its own
// starts the file NAME (one of the names the target knows; "@@ NAME/" makes
// a folder of that name instead); the file holds the bytes up to the line
// end before the next header, or to the end of the input. Any other line is
// content, so file contents may be binary.
#pragma once

#include "app/mjanmodule.h"
#include "support/fakeui.h"
#include "twocorner/search.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin::fuzz {

namespace fs = std::filesystem;

// Ends the run with `what` on stderr: libFuzzer keeps the input that did it.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** fuzz invariant violated: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool ok, const std::string& what) {
    if (!ok) fail(what);
}

inline std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out), "cannot write " + p.string());
}

// ---- Input as named files ----

struct InputFile {
    std::string bytes;
    bool folder = false;
};
using InputFiles = std::map<std::string, InputFile>;

// Splits the input at the headers of the known names. Bytes before the first
// header belong to the name "" (a target may give them a meaning); a name's
// first header wins.
inline InputFiles splitInput(const uint8_t* data, std::size_t size, const std::set<std::string>& names) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    struct Header {
        std::size_t at, content;
        std::string name;
        bool folder;
    };
    std::vector<Header> headers;
    for (std::size_t line = 0; line < in.size(); line = in.find('\n', line) + 1) {
        const std::size_t eol = std::min(in.find('\n', line), in.size());
        if (in.substr(line, 3) == "@@ ") {
            std::string name(in.substr(line + 3, eol - line - 3));
            const bool folder = !name.empty() && name.back() == '/';
            if (folder) name.pop_back();
            if (names.count(name)) headers.push_back({line, std::min(eol + 1, in.size()), name, folder});
        }
        if (eol == in.size()) break;
    }
    InputFiles files;
    const std::size_t first = headers.empty() ? in.size() : headers[0].at == 0 ? 0 : headers[0].at - 1;
    files[""] = {std::string(in.substr(0, first)), false};
    for (std::size_t k = 0; k < headers.size(); ++k) {
        const Header& h = headers[k];
        // The line end before the next header belongs to the header.
        const std::size_t end = k + 1 < headers.size() ? headers[k + 1].at - 1 : in.size();
        const std::string bytes(in.substr(h.content, end > h.content ? end - h.content : 0));
        files.emplace(h.name, InputFile{bytes, h.folder});
    }
    return files;
}

// Writes the named entries into dir (never the "" entry).
inline void writeInputFiles(const fs::path& dir, const InputFiles& files) {
    for (const auto& [name, f] : files) {
        if (name.empty()) continue;
        if (f.folder) fs::create_directory(dir / name);
        else writeBytes(dir / name, f.bytes);
    }
}

// Removes everything from dir but the names in `keep`.
inline void clearFolder(const fs::path& dir, const std::set<std::string>& keep) {
    for (const auto& e : fs::directory_iterator(dir)) {
        if (!keep.count(e.path().filename().string())) fs::remove_all(e.path());
    }
}

// Every plain file of dir with its bytes (folders as "/").
inline std::map<std::string, std::string> folderContents(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        out[e.path().filename().string()] = e.is_regular_file() ? readBytes(e.path()) : std::string("/");
    return out;
}

// The lines of a text file: CR LF, LF and a lone CR each end a line.
inline std::vector<std::string> fileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// The first line of the files stem0.map .. stem9.map of the input (in that
// order) that starts with key; none when no file has one. A line's leading
// UTF-8 byte-order mark is no part of its text, as for the game's reader.
inline std::optional<std::string> firstLineWith(const InputFiles& files, const std::string& stem, const std::string& key) {
    for (int d = 0; d <= 9; ++d) {
        const auto it = files.find(stem + std::to_string(d) + ".map");
        if (it == files.end() || it->second.folder) continue;
        for (std::string line : fileLines(it->second.bytes)) {
            if (line.starts_with("\xef\xbb\xbf")) line.erase(0, 3);
            if (line.starts_with(key)) return line;
        }
    }
    return std::nullopt;
}

// ---- The process ----

// A scratch folder for the whole run, removed at exit: in TMPDIR when set,
// else in memory where the system offers it (every input rewrites files).
inline const fs::path& scratchDir() {
    static const QString base = qEnvironmentVariableIsEmpty("TMPDIR") && access("/dev/shm", W_OK) == 0
        ? QStringLiteral("/dev/shm")
        : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/tessarin-fuzz-XXXXXX"));
    static const fs::path path = dir.path().toStdString();
    check(dir.isValid(), "cannot make a scratch folder");
    return path;
}

inline fs::path sourcePath(const char* relative) { return fs::path(TESSARIN_SOURCE_DIR) / relative; }

// The offscreen application the game's pictures and fonts need; Qt's own
// messages (an image plugin's complaints about a damaged file) are dropped.
inline void startQt() {
    static int argc = 1;
    static char name[] = "tessarin-fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(argc, argv);
}

// ---- The game's state as a value ----

#define TESSARIN_FUZZ_STATE(X)                                                                                    \
    X(boardMap) X(paiTbl) X(dealOrder) X(gameKind) X(gameActive) X(stageMode) X(stageNo) X(easyMode) X(authorMode) \
    X(dealSerial) X(restPai) X(moveHist) X(moveCount) X(selX) X(selY) X(selKind) X(tgtX) X(tgtY) X(tgtKind)         \
    X(searchMode) X(searchCount) X(exchangeMode) X(replayMode) X(restPai3) X(restMoves) X(doneMoves) X(cellX)       \
    X(cellY) X(lblmsg) X(stripText) X(cursorFlip) X(busy) X(picdest) X(picsrc) X(sheetError) X(partnerList)         \
    X(partnerCount) X(hintList) X(hintPos) X(hintX1) X(hintY1) X(hintX2) X(hintY2) X(workMap) X(workTbl)           \
    X(exchCount) X(exchX) X(exchY) X(exchKind) X(exchPai) X(msGrid) X(answerText) X(replayClicks) X(moveDir)       \
    X(fromX) X(fromY) X(toX) X(toY) X(tailX) X(tailY) X(backRestMoves) X(backDoneMoves) X(backRestPai3) X(blitX)    \
    X(blitY) X(blitFarX) X(blitFarY) X(blitToX) X(blitToY) X(backWriteWarned)

template <typename T>
bool sameValue(const T& a, const T& b) {
    // Plain values without padding bytes compare as bytes (hintList has no ==).
    if constexpr (std::has_unique_object_representations_v<T>) return std::memcmp(&a, &b, sizeof(T)) == 0;
    else return a == b;
}

template <typename T>
void putValue(T& to, const T& from) {
    to = from;
}

// A picture is copied into the game's own buffer: sharing it with the
// snapshot would cost a full copy at the game's next drawing.
inline void putValue(QImage& to, const QImage& from) {
    if (to.size() != from.size() || to.format() != from.format() || from.isNull()) {
        to = from;
        return;
    }
    std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
}

inline bool sameMenus(const MenuTable& a, const MenuTable& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        const MenuState& x = a[i];
        const MenuState& y = b[i];
        if (x.caption != y.caption || x.enabled != y.enabled || x.visible != y.visible || x.checked != y.checked)
            return false;
    }
    return true;
}

struct GameState {
    using Game = MjanModule;
#define TESSARIN_FUZZ_MEMBER(f) std::remove_cvref_t<decltype(std::declval<Game&>().f)> f{};
    TESSARIN_FUZZ_STATE(TESSARIN_FUZZ_MEMBER)
#undef TESSARIN_FUZZ_MEMBER
    MenuTable menus;
    QString caption;

    // Without the pictures, the state kept while the game draws on: a kept
    // picture would cost a full copy at the game's next drawing.
    static GameState of(const Game& g, bool pictures = true) {
        GameState s;
#define TESSARIN_FUZZ_TAKE(f) s.f = g.f;
        TESSARIN_FUZZ_STATE(TESSARIN_FUZZ_TAKE)
#undef TESSARIN_FUZZ_TAKE
        if (!pictures) s.picdest = s.picsrc = QImage();
        s.menus = g.menus();
        s.caption = g.caption();
        return s;
    }

    void restore(Game& g) const {
#define TESSARIN_FUZZ_PUT(f) putValue(g.f, f);
        TESSARIN_FUZZ_STATE(TESSARIN_FUZZ_PUT)
#undef TESSARIN_FUZZ_PUT
        for (int i = 0; i < kMenuCount; ++i) {
            const auto id = static_cast<MenuId>(i);
            const MenuState& m = menus[static_cast<std::size_t>(i)];
            g.setMenuCaption(id, m.caption);
            g.setMenuEnabled(id, m.enabled);
            g.setMenuVisible(id, m.visible);
            g.setMenuChecked(id, m.checked);
        }
        g.setCaption(caption);
    }

    // The names of the parts that differ from `other`, but those in `allowed`.
    std::string diff(const GameState& other, const std::set<std::string>& allowed = {}) const {
        std::string out;
#define TESSARIN_FUZZ_CMP(f) \
    if (!allowed.count(#f) && !sameValue(f, other.f)) out += " " #f;
        TESSARIN_FUZZ_STATE(TESSARIN_FUZZ_CMP)
#undef TESSARIN_FUZZ_CMP
        if (!allowed.count("menus") && !sameMenus(menus, other.menus)) out += " menus";
        if (!allowed.count("caption") && caption != other.caption) out += " caption";
        return out;
    }
};

// Aborts unless the game is as `before` was, but for the parts in `allowed`.
inline void checkUnchanged(const GameState& before, const MjanModule& g, const std::string& what,
                           const std::set<std::string>& allowed = {}) {
    const std::string d = before.diff(GameState::of(g), allowed);
    check(d.empty(), what + " changed the game:" + d);
}

// ---- Invariants of a game ----

// The parts of the tile table that never change: picture positions and kinds.
inline std::string fixedTableProblem(const PaiTbl& tbl) {
    PaiTbl fixed{};
    fillPaiTbl(fixed);
    for (int t = 0; t < kTblSize; ++t) {
        const PaiRec& r = tbl[static_cast<std::size_t>(t)];
        const PaiRec& f = fixed[static_cast<std::size_t>(t)];
        if (r.srcX != f.srcX || r.srcY != f.srcY || r.kind != f.kind)
            return "tile " + std::to_string(t) + " has another picture or kind";
        if (r.boardX < 0 || r.boardX >= kMapW || r.boardY < 0 || r.boardY >= kMapH)
            return "tile " + std::to_string(t) + " stands off the board at " + std::to_string(r.boardX) + "," +
                   std::to_string(r.boardY);
        if (r.state < kOnBoard || r.state > kRemoved || r.cover < 0 || r.cover > 2)
            return "tile " + std::to_string(t) + " has state " + std::to_string(r.state) + " cover " +
                   std::to_string(r.cover);
    }
    return {};
}

// A board the game can play on: each tile once, positions recorded, the
// table's fixed parts intact.
inline void checkBoard(const MjanModule& g, const std::string& what) {
    check(boardIsConsistent(g.boardMap, g.paiTbl), what + ": the board does not hold each tile 1 to 136 once");
    const std::string p = fixedTableProblem(g.paiTbl);
    check(p.empty(), what + ": " + p);
}

// The state of a TwoCorner game: the move record names the taken and the
// picked tiles, pairs of one kind, and the counters agree with it.
inline void checkTwoCorner(const MjanModule& g, const std::string& what) {
    checkBoard(g, what);
    check(g.moveCount >= 0 && g.moveCount <= kTiles, what + ": moveCount " + std::to_string(g.moveCount));
    const int pairs = g.moveCount / 2;
    check(g.restPai == kTiles - 2 * pairs, what + ": restPai " + std::to_string(g.restPai) + " after " +
                                                std::to_string(pairs) + " pairs");
    std::array<int, 3> inState{};
    for (int t = 1; t <= kTiles; ++t) ++inState[static_cast<std::size_t>(g.paiTbl[static_cast<std::size_t>(t)].state)];
    check(inState[kRemoved] == 2 * pairs && inState[kPicked] == g.moveCount % 2,
          what + ": the tiles' states do not match the move record");
    for (int i = 1; i <= g.moveCount; ++i) {
        const int code = g.moveHist[static_cast<std::size_t>(i)];
        check(onField(codeX(code), codeY(code)), what + ": move " + std::to_string(i) + " names no field cell");
        const PaiRec& r = g.paiTbl[static_cast<std::size_t>(g.boardMap.at(codeX(code), codeY(code)))];
        check(r.state == (i <= 2 * pairs ? kRemoved : kPicked), what + ": move " + std::to_string(i) +
                                                                   " names a tile in the wrong state");
        if (i % 2 == 0) {
            const int c1 = g.moveHist[static_cast<std::size_t>(i - 1)];
            check(g.paiTbl[static_cast<std::size_t>(g.boardMap.at(codeX(c1), codeY(c1)))].kind == r.kind,
                  what + ": pair " + std::to_string(i / 2) + " is not of one kind");
        }
    }
}

// ---- The game in the scratch folder ----

// One game for the whole run in the scratch folder, with the shipped tile
// sheet. Each input starts from `start`, the state a target set up once.
struct GameFixture {
    test::FakeUi ui;
    std::unique_ptr<MjanModule> game;
    GameState start;
    std::set<std::string> keep{"paidat.dat"};  // files that stay between inputs

    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;
    explicit GameFixture(bool authorMode = false) {
        startQt();
        fs::copy_file(sourcePath("data/paidat.dat"), scratchDir() / "paidat.dat", fs::copy_options::overwrite_existing);
        game = std::make_unique<MjanModule>(QString::fromStdString(scratchDir().string()), ui, authorMode);
        check(game->startUp(), "the shipped tile sheet does not load");
        game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); };
    }

    // Keeps the state set up so far as the start of every input.
    void setStart() { start = GameState::of(*game); }

    // Back to the start, with the input's files in the folder; returns the
    // start.
    const GameState& begin(const InputFiles& files) {
        clearFolder(scratchDir(), keep);
        writeInputFiles(scratchDir(), files);
        start.restore(*game);
        ui = test::FakeUi();
        return start;
    }

    // A board click in the middle of a cell.
    void click(int x, int y, int button) { game->picdest_MouseDown(button, cellPixelX(x) + 22, cellPixelY(y) + 27); }

    // Takes `pairs` removable pairs off the TwoCorner board, then picks a
    // tile when `pick` is set: a game in the middle of play.
    void playTwoCorner(int pairs, bool pick) {
        for (int k = 0; k < pairs; ++k) {
            const HintList hints = findPairs(game->boardMap, game->paiTbl);
            check(!hints.empty(), "no pair to take in the set-up game");
            click(hints[0].xL, hints[0].yL, kLeftButton);
            click(hints[0].xR, hints[0].yR, kLeftButton);
        }
        if (pick) {
            const HintList hints = findPairs(game->boardMap, game->paiTbl);
            click(hints[0].xL, hints[0].yL, kLeftButton);
        }
        check(game->moveCount == 2 * pairs + (pick ? 1 : 0), "the set-up game did not take its moves");
    }
};

}  // namespace tessarin::fuzz
