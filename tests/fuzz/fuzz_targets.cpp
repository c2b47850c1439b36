// The kinds of fuzz target: what an input holds, and the invariants.
#include "formats/lines.h"
#include "fuzz_driver.h"
#include "threemove/rules.h"
#include "tool/tool.h"
#include "twocorner/pairs.h"

#include <QRegularExpression>

#include <iostream>
#include <sstream>

namespace tessarin::fuzz {

namespace {

std::string entry(const Files& files, const std::string& name) { return files.count(name) ? files.at(name) : ""; }
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

// stages: maptwo0..9.map and cmptwo.map through "面選択" mid-game; "pick" is the cell double-clicked ("ROW COL").
// The grid lists every line of the ten files in order, plain or marked (cyan, red text); the stage picked is its
// number's first line, fresh, if that reads; else nothing changes.
void stages(const Files& files) {
    Play p;
    p.game.command(MenuId::RandomDeal);
    p.takePairs(2, true);
    p.put(files);
    const State before = stateOf(p.game);
    const std::vector<std::string> lines = numberedLines(files, "maptwo");
    int row = 1, col = 1;
    std::sscanf(entry(files, "pick").c_str(), "%d %d", &row, &col);
    QString picked;
    p.ui.onStageSelection = [&](StageGrid& grid) {
        const int count = static_cast<int>(lines.size());
        check(grid.rows == (count + 4) / 5 + 1 + (count == 0) && grid.at(0, 5).text == "GAME NO", "the grid's size");
        for (int n = 0; n < (grid.rows - 1) * 5; ++n) {
            const StageGrid::Cell& cell = grid.at(n / 5 + 1, n % 5 + 1);
            const QString number = n < count ? QString::fromUtf8(lines[static_cast<std::size_t>(n)]).left(5) : QString();
            const bool marked = n < count && cell.text == number + " 成功";
            check(marked ? cell.back == StageGrid::kDoneBack && cell.fore == StageGrid::kDoneText
                         : cell.text == (n < count ? number + " \u3000\u3000" : "") && cell.back == StageGrid::kPlainBack,
                  "grid cell " + std::to_string(n + 1) + " does not show its stage");
        }
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
    check(p.game.twoCorner().moves.count == 0 && p.game.session().fixedStage && p.game.session().stageNo == picked &&
              p.game.position() == stage.position(),
          "the stage loaded is not its number's first line, fresh");
}

// replay: anstwo0..9.map through "模範回答" on the first shipped stage, a pair and a pick into it; the bytes before
// the first header are clicks (L, M, R; LLLLR if none). Without a line for the stage (a leading byte order mark no
// part of it): a message, no change; else the replay starts from the stage's start with the first such line, its
// clicks only draw (board, record, menus stay) while the count drops by pairs, and leaving it gives a fresh game.
void replay(const Files& files) {
    std::string first, clicks;
    readDataFile(TESSARIN_SOURCE_DIR "/data/maptwo0.map", first);
    first = textLines(first).at(0);
    Play p;
    std::ofstream(scratch() / "maptwo0.map") << first << "\r\n";
    p.ui.onStageSelection = [](StageGrid& grid) { grid.doubleClick(1, 1); };
    p.game.command(MenuId::ChooseStage);
    p.takePairs(1, true);
    p.put(files, "maptwo0.map");
    const State before = stateOf(p.game);
    std::optional<QString> answer;
    for (const std::string& raw : numberedLines(files, "anstwo"))
        if (const QString l = QString::fromUtf8(raw); !answer && l.left(5) == first.substr(0, 5).c_str()) answer = l.mid(5);
    p.game.command(MenuId::ModelAnswer);
    if (!answer) return check(!p.ui.boxes.empty(), "no message"), checkUnchanged(before, p.game, "no answer");
    check(p.game.session().replay.answer == *answer && p.game.position() == board(first),
          "the replay shows another answer, or not from the stage's start");
    const GameSnapshot start = p.game.snapshot();
    for (char c : files.at("") + (files.at("").find_first_of("LMR") == std::string::npos ? "LLLLR" : ""))
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
    check(p.game.session().replay.on || (p.game.position() == board(first) && p.game.twoCorner().moves.count == 0 &&
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
    check(p.game.twoCorner().search.shown, "no search shown in the set-up game");
    p.put(files);
    if (!files.count("testdat.txt")) std::ofstream(scratch() / "testdat.txt") << files.at("");
    const State before = stateOf(p.game);
    const TwoCornerState& tc = p.game.twoCorner();
    p.game.command(MenuId::Load);
    if (!p.ui.boxes.empty()) return checkUnchanged(before, p.game, "a refused save file");
    checkGame(p.game, "a loaded save file");
    const int last = tc.moves.cells[static_cast<std::size_t>(tc.moves.count)];
    const QString& number = p.game.session().stageNo;
    check(QRegularExpression("^[0-9]{5,6}$").match(number).hasMatch() && p.game.shell().inPlay() && !tc.search.shown &&
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
// before the first header are clicks after it (column, row; the row's high bit: right). Refused: a message, no
// change. Accepted: the counters from before the move, the undo spent, and a board of live tiles, stones of honours
// and holes of the others that the rules play on.
void workfiles(const Files& files) {
    Play p;
    p.game.command(MenuId::ThreeMoveGame);
    p.game.command(MenuId::RandomDeal);
    three::Move m;
    for (int j = 0; j < kTiles && !p.game.menu(MenuId::Undo).enabled; ++j)
        if (three::planMove(p.game.position(), j / kRows + 1, j % kRows + 1, true, m)) p.click(m.fromX, m.fromY);
    check(p.game.menu(MenuId::Undo).enabled, "no move to take back in the set-up game");
    p.put(files);
    const State before = stateOf(p.game);
    p.game.command(MenuId::Undo);
    if (!p.ui.boxes.empty()) return checkUnchanged(before, p.game, "refused undo files");
    check(p.game.threeMove().score.now == before.first.threeMove.score.beforeLastMove && !p.game.menu(MenuId::Undo).enabled,
          "the counters taken back, or the undo not spent");
    const std::string clicks = files.at("").substr(0, 16);
    for (std::size_t i = 0; i <= clicks.size() / 2; ++i) {
        checkGame(p.game, "the board taken back and played on");
        for (const TileRecord& r : p.game.position().tiles())
            check(r.kind > kKinds || r.cover == (r.state == kOnBoard ? three::kFace : isHonourKind(r.kind) ? three::kStone : three::kHole),
                  "a tile neither live, a stone nor a hole");
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(clicks[k]); };
        if (2 * i + 1 < clicks.size())
            p.click(at(2 * i) % kCols + 1, at(2 * i + 1) % kRows + 1, at(2 * i + 1) > 127 ? kRightButton : kLeftButton);
    }
}

// sheet: paidat.dat (the input) at the start of a fresh game. Refused: a message, game and folder as built.
// Accepted: it covers the grid of pictures, the start is the shipped sheet's, and a game dealt with it plays.
void sheet(const Files& files) {
    static const GameSnapshot shipped = Play().game.snapshot();
    std::ofstream(scratch() / "paidat.dat", std::ios::trunc) << files.at("");
    Play p(false, false);
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
    FILE *const savedOut = stdout, *const savedErr = stderr;
    stdout = open_memstream(&out, &size), stderr = std::fopen("/dev/null", "w");
    const int status = tool::runTool(args);
    std::fclose(stdout), std::fclose(stderr);
    stdout = savedOut, stderr = savedErr;
    std::cin.rdbuf(cinBuf), std::cin.clear();
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
        const std::string& a = args[i];
        const std::string next = i + 1 < args.size() ? args[i + 1] : "";
        // The budgets are the fuzzer's; `author` tries ten boards at most (numbers from 99990 on).
        const bool number = next.find_first_not_of("0123456789") == std::string::npos;
        if (a == "--budget-ms" || a == "--node-budget" || a == "--plays" ||
            (a == "--from" && number && (next < "99990" || next.size() > 5)))
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

}  // namespace

const std::vector<Kind> kinds = {{"lines", lines},         {"stages", stages}, {"replay", replay}, {"savegame", savegame},
                                 {"workfiles", workfiles}, {"sheet", sheet},   {"tool", tool}};

}  // namespace tessarin::fuzz
