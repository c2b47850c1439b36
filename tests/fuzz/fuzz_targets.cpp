// The fuzz targets: one executable fuzz_KIND per kind below, picked by its name. Each input starts in an empty
// scratch program folder, where the kind sets a game up, puts the input's files, gives its commands and checks its
// invariants; a broken one aborts with a message. Input: "@@ NAME" on a line of its own starts the file NAME, up to
// the line end before the next header (a name's first header counts); the bytes before the first header are the
// entry "" (clicks, arguments).
#include "app/game.h"
#include "formats/completions.h"
#include "formats/datafile.h"
#include "formats/keptgame.h"
#include "formats/lines.h"
#include "formats/settings.h"
#include "support/fakeui.h"
#include "threemove/rules.h"
#include "tool/tool.h"
#include "twocorner/pairs.h"
#include "twocorner/search.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace tessarin::fuzz {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

void check(bool ok, const std::string& what) {
    if (!ok) std::fprintf(stderr, "\n*** fuzz invariant violated: %s\n", what.c_str()), std::abort();
}
std::string entry(const Files& files, const std::string& name) { return files.count(name) ? files.at(name) : ""; }

Files splitInput(std::string_view input) {
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

// The program folder, in TMPDIR (scripts/run-fuzz.sh puts it in memory); its files; the input's files put in it but
// for the tile sheet and the tool's "stdin".
fs::path scratch() {
    static const QTemporaryDir dir;
    return dir.path().toStdString();
}
Files folderBytes() {
    Files out;
    for (const auto& e : fs::directory_iterator(scratch())) readDataFile(e.path(), out[e.path().filename()]);
    return out;
}
void putInput(const Files& files) {
    for (const auto& e : fs::directory_iterator(scratch()))
        if (e.path().filename() != "paidat.dat") fs::remove_all(e);
    for (const auto& [name, bytes] : files)
        if (!name.empty() && name != "stdin" && name != "paidat.dat") std::ofstream(scratch() / name) << bytes;
}

std::vector<std::string> numberedLines(const Files& files, const std::string& stem) {  // of stem0.map .. stem9.map
    std::vector<std::string> lines;
    for (char d = '0'; d <= '9'; ++d) std::ranges::copy(textLines(entry(files, stem + d + ".map")), back_inserter(lines));
    return lines;
}

// A game in the scratch folder, keeping its game and settings there when asked: the shipped tile sheet unless one is
// there, a fixed clock (TwoCorner deal 33763), a recording window.
struct Play {
    explicit Play(bool author = false, bool keep = false, bool start = true)
        : game(GameFolders{QString::fromStdString(scratch()), QString::fromStdString(scratch()), keep}, ui, author) {
        fs::copy_file(TESSARIN_SOURCE_DIR "/data/paidat.dat", scratch() / "paidat.dat", fs::copy_options::skip_existing);
        game.setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); });
        check(!start || game.startUp(), "the shipped tile sheet does not load");
    }
    void put(const Files& files) { putInput(files), ui = test::FakeUi(); }
    void click(int x, int y, int button = kLeftButton) { game.pressBoard(button, cellPixelX(x) + 9, cellPixelY(y) + 9); }
    // Takes the first pair the search lists `pairs` times, then picks a tile if asked (while there is a pair).
    void takePairs(int pairs, bool pick) {
        for (int k = 0; k < pairs + pick && !findPairs(game.position()).empty(); ++k) {
            const CellPair c = findPairs(game.position())[0];
            click(c.xL, c.yL);
            if (k < pairs) click(c.xR, c.yR);
        }
    }
    // Plays the bytes two at a time: with `commands` and a first byte of 0xF0 or more the command the second names
    // (but the hint, which may think for seconds), else a click (column, row; the row's high bit: right); `after`
    // checks the game after each.
    void playOn(std::string_view bytes, bool commands, const std::function<void()>& after) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2, after()) {
            const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
            if (commands && a >= 0xF0 && b % kMenuCount != static_cast<int>(MenuId::Hint))
                game.command(static_cast<MenuId>(b % kMenuCount));
            else click(a % kCols + 1, b % kRows + 1, b > 127 ? kRightButton : kLeftButton);
        }
    }
    test::FakeUi ui;
    Game game;
};

using State = std::pair<GameSnapshot, Files>;  // the game and the folder
State stateOf(const Game& g) { return {g.snapshot(), folderBytes()}; }
void checkUnchanged(const State& before, const Game& g, const std::string& what) {
    check(stateOf(g) == before, what + " changed the game or a file");
}

// A game the rules go on with (or none before the first deal): the game's own check of board and counters, the tiles'
// kinds as the sheet has them; in TwoCorner each recorded pair of one kind, in ThreeMove live tiles, stones of honours
// and holes of the others.
void checkGame(const Game& g, const std::string& what) {
    const QString problem = g.consistencyProblem();
    check(problem.isEmpty(), what + ": " + problem.toStdString());
    const bool threeMove = g.shell().kind() == GameKind::ThreeMove && g.shell().inPlay();
    for (int t = 0; t < kTableSize; ++t) {
        const TileRecord& r = g.position().tile(t);
        const int cover = r.state == kOnBoard ? three::kFace : isHonourKind(r.kind) ? three::kStone : three::kHole;
        check(r.kind == sheetLayout()[static_cast<std::size_t>(t)].kind && (!threeMove || r.kind > kKinds || r.cover == cover),
              what + ": a kind changed, or a tile neither live, a stone nor a hole");
    }
    const MoveRecord& m = g.twoCorner().moves;
    const auto kind = [&](int i) { return g.position().kindAt(codeX(m.cells[i]), codeY(m.cells[i])); };
    for (int i = 2; g.shell().kind() == GameKind::TwoCorner && i <= m.count; i += 2)
        check(kind(i - 1) == kind(i), what + ": a recorded pair of two kinds");
}

// The board of a stage line the strict reader takes; and whether an answer line clears it by the pair rule.
std::optional<Position> board(const std::string& line) {
    StageLine stage;
    std::string error;
    return parseStageLine(line, stage, error, true) ? std::optional(stage.position()) : std::nullopt;
}
bool clears(const std::string& line, const std::string& answer) {
    std::optional<Position> pos = board(line);
    std::string error;
    return pos && answer.size() == 413 && answer.compare(0, 5, line, 0, 5) == 0 && takePairs(*pos, answer.substr(5), error);
}

// lines: the input as a stage line and as cell codes. Accepted: a whole board or field cells, written back byte for
// byte (a stage line's characters after the 413th ignored, but when strict); refused: a reason, no output.
void lines(const Files& files) {
    const std::string& text = files.at("");
    StageLine stage, head;
    std::string error, ignored;
    const bool ok = parseStageLine(text, stage, error);
    check(ok ? formatStageLine(stage.stageNo, stage.position()) == text.substr(0, 413) && stage.position().isConsistent() &&
                   stage.trailing == text.size() - 413
             : !error.empty() && stage.stageNo.empty(),
          "a stage line not written back as read, or refused without a reason");
    check(board(text).has_value() == (ok && !stage.trailing), "the strict reader takes other lines");
    check(text.size() <= 413 || (parseStageLine(text.substr(0, 413), head, ignored) == ok && (!ok || head.tiles == stage.tiles)),
          "a stage line does not read as its first 413 characters");
    std::vector<int> codes{-1};
    check(parseCellCodes(text, codes, error = "")
              ? answerLine("", codes) == text && std::ranges::all_of(codes, [](int c) { return onField(c / 10, c % 10); })
              : !error.empty() && codes == std::vector<int>{-1},
          "cell codes not written back as read, or refused without a reason");
}

// stages: maptwo0..9.map, cmptwo.map and the player's cleared.map through "面選択" mid-game, "pick" the cell
// double-clicked ("ROW COL"); then anstwo0..9.map through "模範回答" after a pair and a pick, with the clicks before
// the first header (L, M, R; LLLLR if none). The grid lists every line of the ten files in order, plain or marked
// (cyan, red text), a number's cells marked as often as the two records list it. The stage picked is its number's
// first line, fresh, if that reads; else nothing changes. Without an answer line for it (a leading byte order mark no
// part of it): a message, no change; else the replay shows the first such line from the stage's start, its clicks
// only draw while the count drops by pairs, and leaving it gives a fresh game.
void stages(const Files& files) {
    Play p;
    p.game.command(MenuId::RandomDeal);
    p.takePairs(2, true);
    p.put(files);
    State before = stateOf(p.game);
    const std::vector<std::string> lines = numberedLines(files, "maptwo");
    std::map<QString, int> marks, cells, marked;  // per number
    for (const char* name : {"cmptwo.map", "cleared.map"})
        for (const std::u32string& m : completionMarks(entry(files, name))) ++marks[QString::fromStdU32String(m)];
    int row = 1, col = 1;
    std::sscanf(entry(files, "pick").c_str(), "%d %d", &row, &col);
    QString picked;
    std::string clicks;
    p.ui.onStageSelection = [&](StageGrid& grid) {
        const int count = static_cast<int>(lines.size());
        check(grid.rows == (count + 4) / 5 + 1 + (count == 0) && grid.at(0, 5).text == "GAME NO", "the grid's size");
        for (int n = 0; n < (grid.rows - 1) * 5; ++n) {
            const StageGrid::Cell& cell = grid.at(n / 5 + 1, n % 5 + 1);
            const QString number = n < count ? QString::fromUtf8(lines[static_cast<std::size_t>(n)]).left(5) : QString();
            const bool mark = n < count && cell.text == number + " 成功";
            check(mark ? cell.back == StageGrid::kDoneBack && cell.fore == StageGrid::kDoneText
                       : cell.text == (n < count ? number + " \u3000\u3000" : "") && cell.back == StageGrid::kPlainBack,
                  "grid cell " + std::to_string(n + 1) + " does not show its stage");
            marked[number] += mark, cells[number] += n < count;
        }
        for (const auto& [number, n] : cells)
            check(marked[number] == std::min(n, marks[number]), "the marks of " + number.toStdString());
        if (grid.doubleClick(row, col)) picked = grid.at(row, col).text.left(5);
    };
    p.game.command(MenuId::ChooseStage);
    std::string line, error;
    for (std::size_t i = 0; i < lines.size() && line.empty(); ++i)
        if (QString::fromUtf8(lines[i]).left(5) == picked) line = QString::fromUtf8(lines[i]).toStdString();
    StageLine stage;
    if (picked.isEmpty() || !parseStageLine(line, stage, error))
        return check(picked.isEmpty() || !p.ui.boxes.empty(), "no message"), checkUnchanged(before, p.game, "no stage");
    checkGame(p.game, "a loaded stage");
    const TwoCornerState& tc = p.game.twoCorner();
    check(tc.moves.count == 0 && p.game.session().fixedStage && p.game.session().stageNo == picked &&
              p.game.position() == stage.position(), "the stage loaded is not its number's first line, fresh");
    p.takePairs(1, true);
    p.ui = test::FakeUi(), before = stateOf(p.game);
    std::optional<QString> answer;
    for (const std::string& raw : numberedLines(files, "anstwo"))
        if (const QString l = QString::fromUtf8(withoutByteOrderMark(raw)); !answer && l.left(5) == picked) answer = l.mid(5);
    p.game.command(MenuId::ModelAnswer);
    if (!answer) return check(!p.ui.boxes.empty(), "no message"), checkUnchanged(before, p.game, "no answer");
    const GameSnapshot start = p.game.snapshot();
    check(start.session.replay.answer == *answer && start.position == stage.position(), "not the answer, or its stage");
    for (const char c : files.at("") + (files.at("").find_first_of("LMR") + 1 ? "" : "LLLLR"))
        if (c == 'L' || c == 'M' || c == 'R') clicks += c;
    for (int steps = 1; steps <= static_cast<int>(clicks.size()) && p.game.session().replay.on; ++steps) {
        const char c = clicks[static_cast<std::size_t>(steps - 1)];
        p.click(1, 1, c == 'L' ? kLeftButton : c == 'M' ? kMiddleButton : kRightButton);
        const GameSnapshot now = p.game.snapshot();
        check(!now.session.replay.on || (now.position == start.position && now.twoCorner == start.twoCorner &&
                                         now.shell == start.shell && now.session.replay.clicks == steps &&
                                         now.session.replay.tilesLeft == kTiles - steps / 2 * 2),
              "a replay click did more than draw, or miscounted");
    }
    checkGame(p.game, "the stage after the replay");
    check(p.game.session().replay.on || (p.game.position() == stage.position() && tc.moves.count == 0 &&
                                         p.game.shell().inPlay() && p.game.menu(MenuId::ModelAnswer).enabled),
          "no fresh game of the stage after the replay");
}

// savegame: testdat.txt (the input, or "@@ testdat.txt") through "Load" of the authoring build mid-game with the
// search shown. Refused: a message, no change. Accepted: a game the rules go on with, its pick selected, the search
// ended, that saving and loading leaves as it is and undoing every pair takes back to the full board.
void savegame(const Files& files) {
    Play p(true);
    p.game.command(MenuId::RandomDeal);
    p.takePairs(3, true);
    p.game.command(MenuId::Search);
    p.put(files);
    if (!files.count("testdat.txt")) std::ofstream(scratch() / "testdat.txt") << files.at("");
    const State before = stateOf(p.game);
    const TwoCornerState& tc = p.game.twoCorner();
    p.game.command(MenuId::Load);
    if (!p.ui.boxes.empty()) return checkUnchanged(before, p.game, "a refused save file");
    checkGame(p.game, "a loaded save file");
    const int last = tc.moves.cells[static_cast<std::size_t>(tc.moves.count)];
    check(QRegularExpression("^[0-9]{5,6}$").match(p.game.session().stageNo).hasMatch() && p.game.shell().inPlay() &&
              before.first.twoCorner.search.shown && !tc.search.shown &&
              p.game.menu(MenuId::Search).caption == "検索(&S)" &&
              (tc.moves.count % 2 == 0 || (tc.pickX == codeX(last) && tc.pickY == codeY(last))),
          "a loaded game: its number, the search left on, or a pick not selected");
    const GameSnapshot loaded = p.game.snapshot();
    p.game.command(MenuId::Save);
    p.game.command(MenuId::Load);
    check(p.ui.boxes.empty() && p.game.snapshot() == loaded, "saving a loaded game and loading it gives another game");
    for (int moves = tc.moves.count; moves >= 2; moves = tc.moves.count)
        check((p.game.command(MenuId::Undo), tc.moves.count == moves - 2 - moves % 2), "an undo took back no pair");
    p.click(1, 1, kRightButton);
    checkGame(p.game, "a loaded game taken back");
    check(tc.moves.count == 0 && tc.tilesLeft == kTiles, "a loaded game cannot be taken back to its start");
}

// workfiles: workthree1.dat and workthree2.dat through "一手戻す" after the first move of a ThreeMove game; the bytes
// before the first header are clicks after it (Play::playOn, eight at most). Refused: a message, no change. Accepted:
// the counters from before the move, the undo spent, and a board the rules play on.
void workfiles(const Files& files) {
    Play p;
    p.game.command(MenuId::ThreeMoveGame);
    p.game.command(MenuId::RandomDeal);
    three::Move m;
    for (int j = 0; j < kTiles && !p.game.menu(MenuId::Undo).enabled; ++j)
        if (three::planMove(p.game.position(), j / kRows + 1, j % kRows + 1, true, m)) p.click(m.fromX, m.fromY);
    p.put(files);
    const State before = stateOf(p.game);
    p.game.command(MenuId::Undo);
    if (!p.ui.boxes.empty()) return checkUnchanged(before, p.game, "refused undo files");
    check(p.game.threeMove().score.now == before.first.threeMove.score.beforeLastMove &&
              before.first.shell.menus[static_cast<std::size_t>(MenuId::Undo)].enabled && !p.game.menu(MenuId::Undo).enabled,
          "the counters taken back, or the undo not spent");
    const auto played = [&] { checkGame(p.game, "the board taken back and played on"); };
    played();
    p.playOn(files.at("").substr(0, 16), false, played);
}

// kept: keptgame.txt and settings.txt (and any other file) in the player's folder at the start of a game that keeps;
// the bytes before the first header are clicks and commands (Play::playOn). A damaged setting loses only its own line,
// and the game shows the settings read. A refused kept game starts as none would, without a message; one taken up is
// the file's board, plays on consistently, and keeping it and starting again gives the same game.
void kept(const Files& files) {
    const std::string settings = entry(files, kSettingsFile);
    const Settings read = parseSettings(settings), sound{true, 150, true, false};
    check(parseSettings(settings + "\n" + formatSettings(sound)) == sound && parseSettings(formatSettings(read)) == read,
          "a damaged setting spoils the lines after it, or settings do not read back");
    putInput({{kSettingsFile, settings}});
    const GameSnapshot fresh = Play(false, true).game.snapshot();
    putInput(files);
    Play p(false, true);
    const Game& g = p.game;
    const auto checked = [&](MenuId id) { return g.menu(id).checked; };
    const Settings shown{checked(MenuId::EasyMode), g.shell().zoom(), checked(MenuId::SolvableDeals),
                         checked(MenuId::DeadEndWarning)};
    check(shown == read && g.twoCorner().easyMode == read.easyMode, "the settings in play are not the file's");
    KeptGame file;
    std::string why;
    const bool taken = parseKeptGame(entry(files, kKeptGameFile), file, why);
    check(p.ui.boxes.empty() && (g.shell().inPlay() ? taken && g.position() == file.position : g.snapshot() == fresh),
          "a kept game refused unlike a fresh start, or taken up unlike its file");
    const auto played = [&] { checkGame(g, "a kept game played on"); };
    played();
    p.playOn(files.at("").substr(0, 16), true, played);
    p.game.keepGame();
    check(fs::exists(scratch() / kKeptGameFile) == g.shell().inPlay(), "a game in play not kept, or one over kept");
    // Alike but for what a kept game leaves out: the other kind's state, a stale pick or search, a slide's bands.
    const auto resumed = [](GameSnapshot s) {
        TwoCornerState& two = s.twoCorner;
        if (!two.pickPending()) two.pickX = two.pickY = two.pickKind = 0;
        if (!two.search.shown) two.search = SearchView();
        if (s.shell.kind == GameKind::TwoCorner) s.threeMove = ThreeMoveState{{}, false, s.threeMove.dealSerial};
        else s.picture = QImage(), two = TwoCornerState{.exchange = {two.exchange.waiting}, .easyMode = two.easyMode};
        return s;
    };
    check(!g.shell().inPlay() || g.session().replay.on ||
              resumed(Play(false, true).game.snapshot()) == resumed(g.snapshot()), "a kept game starts again as another");
}

// sheet: paidat.dat (the input) at the start of a fresh game. Refused: a message, game and folder as built.
// Accepted: it covers the grid of pictures, the start is the shipped sheet's, and a game dealt with it plays.
void sheet(const Files& files) {
    static const GameSnapshot shipped = Play().game.snapshot();
    std::ofstream(scratch() / "paidat.dat", std::ios::trunc) << files.at("");
    Play p(false, false, false);
    const State built = stateOf(p.game);
    if (!p.game.startUp())
        return check(!p.game.startUpError().isEmpty(), "no message"), checkUnchanged(built, p.game, "a refused sheet");
    check(p.game.snapshot() == shipped && p.game.surface().sheet().width() >= 9 * kTileW &&
              p.game.surface().sheet().height() >= 5 * kTileH, "an accepted sheet is small, or starts another game");
    p.game.command(MenuId::RandomDeal);
    p.takePairs(1, true);
    checkGame(p.game, "a game with an accepted sheet");
}

// tool: tessarin-tool in-process. The bytes before the first header are its arguments, one a line, "@@ stdin" its
// input, the files lie in DIR (taken by `author` and `check`); budgets are capped. The status is a documented one;
// `author` only appends stages whose answers clear them, the others change no file; a deal is the seed's number and
// a whole board; answers of `solve` clear their stages; `check` fails exactly when it reports a problem.
std::pair<int, std::vector<std::string>> runTool(const std::vector<std::string>& args, const std::string& in) {
    char* out = nullptr;
    std::size_t size = 0;
    std::istringstream input(in);
    std::streambuf* const cinBuf = std::cin.rdbuf(input.rdbuf());
    FILE* const saved[] = {std::exchange(stdout, open_memstream(&out, &size)),
                           std::exchange(stderr, std::fopen("/dev/null", "w"))};
    const int status = tool::runTool(args);
    std::fclose(stdout), std::fclose(stderr), std::cin.rdbuf(cinBuf), std::cin.clear();
    stdout = saved[0], stderr = saved[1];
    const std::string text(out, size);
    std::free(out);
    check(text.empty() || text.back() == '\n', "the tool's last line is not ended");
    return {status, textLines(text)};
}
void tool(const Files& files) {
    std::vector<std::string> args = textLines(files.at("")), inputs;
    const std::string command = args.empty() ? "" : args[0], in = entry(files, "stdin");
    const std::map<std::string, std::string> statuses = {{"author", "012"}, {"check", "012"}, {"deal", "02"},
        {"difficulty", "02"}, {"pairs", "02"}, {"solve", "0123"}, {"three", "02"}};  // as documented
    const std::map<std::string, std::vector<std::string>> budgets = {{"author", {"--budget-ms", "20"}},
        {"solve", {"--budget-ms", "20", "--node-budget", "20000"}}, {"difficulty", {"--plays", "5"}}};
    for (std::size_t i = 1; i < args.size(); ++i) {
        // The budgets are the fuzzer's; `author` tries ten boards at most (numbers from 99990 on).
        const std::string &a = args[i], next = i + 1 < args.size() ? args[i + 1] : "";
        if (a == "--budget-ms" || a == "--node-budget" || a == "--plays" ||
            (a == "--from" && next.find_first_not_of("0123456789") == std::string::npos && (next < "99990" || next.size() > 5)))
            return;
        if (a.size() >= 2 && a[0] == '-') ++i;
        else if (command != "author" && command != "check") inputs.push_back(a);
        else if (a.find("..") != std::string::npos) return;
        else args[i] = scratch() / a;
    }
    if (budgets.count(command)) args.insert(args.end(), budgets.at(command).begin(), budgets.at(command).end());
    if (args.size() > 64) return;
    putInput(files);
    const Files before = folderBytes();
    const auto [status, out] = runTool(args, in);
    const Files after = folderBytes();
    check(std::string(statuses.count(command) ? statuses.at(command) : "2").find(char('0' + status)) != std::string::npos,
          command + " ended with status " + std::to_string(status));
    const bool authored = command == "author" && status != 2;
    for (const auto& [name, bytes] : after)
        check(before.count(name) ? (authored ? bytes.starts_with(before.at(name)) : bytes == before.at(name))
                                 : authored && (name == "anstwo.map" || name == "maptwo.map"),
              command + " changed " + name);
    const auto added = [&](const char* name) { return textLines(entry(after, name).substr(entry(before, name).size())); };
    const std::vector<std::string> answers = added("anstwo.map"), stored = added("maptwo.map");
    check(before.size() <= after.size() && answers.size() == stored.size(), command + " removed a file, or an answer");
    for (std::size_t i = 0; i < stored.size(); ++i) check(clears(stored[i], answers[i]), "author: a stage, an answer");
    if (status == 2 && out.empty()) return;  // a refused command line; `solve` and `difficulty` go past bad lines
    char number[8];  // the seed, five digits at least
    const std::size_t size = std::snprintf(number, sizeof number, "%05d", command == "deal" ? std::stoi(args.at(1)) : 0);
    check(command != "deal" || (out.size() == 1 && out[0].size() == size + 408 && out[0].starts_with(number) &&
                                board(out[0].substr(size - 5))),
          "deal: not the seed's number and a whole board");
    std::istringstream lines(inputs.empty() ? in : "");  // the tool's own reading of its input lines
    for (std::string l; std::getline(lines, l);) inputs.push_back(l.substr(0, l.size() - l.ends_with('\r')));
    for (std::size_t i = 0; command == "solve" && i < out.size(); ++i)
        check(out.size() == inputs.size() && (out[i].starts_with("error: ") || out[i] == "unsolvable" ||
                                              out[i] == "undecided" || clears(inputs[i], out[i])),
              "solve: not a line for each stage, or an answer that does not clear its stage: " + out[i]);
    const auto problem = [](const std::string& l) { return l.find(": warning: ") == std::string::npos; };
    const bool none =
        !out.empty() && out.back().ends_with(": no problems") && std::none_of(out.begin(), out.end() - 1, problem);
    check(command != "check" || (none == (status == 0) && (none || std::ranges::any_of(out, problem))),
          "check: the status does not tell of the problems");
}

const std::map<std::string, void (*)(const Files&)> kinds = {{"lines", lines}, {"stages", stages},
    {"savegame", savegame}, {"workfiles", workfiles}, {"kept", kept}, {"sheet", sheet}, {"tool", tool}};
void (*kind)(const Files&) = nullptr;

}  // namespace
}  // namespace tessarin::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
    using namespace tessarin::fuzz;
    const std::string name = fs::path((*argv)[0]).filename();
    check(name.starts_with("fuzz_") && kinds.count(name.substr(5)), "no fuzz target kind is named by " + name);
    kind = kinds.at(name.substr(5));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});  // a bad picture's complaints
    static int argc = 1;
    static QGuiApplication app(argc, *argv);  // for the pictures and fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessarin::fuzz;
    for (const auto& e : fs::directory_iterator(scratch())) fs::remove_all(e);
    kind(splitInput({reinterpret_cast<const char*>(data), size}));
    return 0;
}
