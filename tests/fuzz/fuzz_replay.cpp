// The answer files anstwo0.map .. anstwo9.map, as "模範回答" reads and
// replays them, on a stage of the shipped files played part of the way.
// The bytes before the first file header are the clicks of the replay: L
// left, M middle, R right (other bytes skipped); without any, four left
// clicks and a right one.
//
// Invariants: without an answer nothing changes; with one, the replay
// starts from the stage's start position with the first answer line of the
// files for it, its clicks only draw (board, tiles and move record stay)
// while the tiles left count down by pairs, and leaving it gives a fresh
// game of the stage.
#include "fuzz_support.h"
#include "stages/lines.h"

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

GameFixture* fx = nullptr;
StageLine stage;  // the stage played, the first of the shipped files

std::set<std::string> inputNames() {
    std::set<std::string> names;
    for (int d = 0; d <= 9; ++d) names.insert("anstwo" + std::to_string(d) + ".map");
    return names;
}

// The stage's start position, as a fresh game of it shows it.
void checkStageStart(const MjanModule& game, const std::string& what) {
    BoardMap map;
    PaiTbl tbl{};
    fillPaiTbl(tbl);
    placeStage(stage, map, tbl, false);
    checkTwoCorner(game, what);
    check(game.boardMap == map && game.moveCount == 0, what + ": not the stage's start position");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fx = new GameFixture();
    const std::string line = fileLines(readBytes(sourcePath("data/maptwo0.map"))).at(0);
    std::string error;
    check(parseStageLine(line, stage, error), "the shipped stage: " + error);
    writeBytes(scratchDir() / "maptwo0.map", line + "\r\n");
    fx->keep.insert("maptwo0.map");
    QString key = QString::fromStdString(stage.stageNo);
    check(fx->game->loadStage(key), "the shipped stage does not load");
    fx->game->startDealtGame();
    fx->game->resetGameState();
    fx->game->stageMode = true;
    fx->game->setMenusForGame(true);
    fx->game->gameActive = true;
    fx->playTwoCorner(1, true);
    fx->setStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const InputFiles files = splitInput(data, size, inputNames());
    const GameState& before = fx->begin(files);
    MjanModule& game = *fx->game;

    game.menuOption2Ans_Click();
    const std::optional<std::string> answer = firstLineWith(files, "anstwo", stage.stageNo);
    if (!game.replayMode) {
        check(!answer, "an answer line for the stage, but no replay");
        checkUnchanged(before, game, "a missing answer");
        return 0;
    }
    check(answer && game.answerText == QString::fromUtf8(*answer).mid(5),
          "the replay does not show the first answer line of the files");
    checkStageStart(game, "the replay's start");
    const GameState start = GameState::of(game, false);

    std::string clicks;
    for (char c : files.at("").bytes) {
        if (c == 'L' || c == 'M' || c == 'R') clicks += c;
    }
    if (clicks.empty()) clicks = "LLLLR";
    int steps = 0;
    for (char c : clicks) {
        if (!game.replayMode) break;
        fx->click(1, 1, c == 'L' ? kLeftButton : c == 'M' ? kMiddleButton : kRightButton);
        if (!game.replayMode) break;
        ++steps;
        checkUnchanged(start, game, "a replay step",
                       {"picdest", "picsrc", "restPai", "replayClicks", "cellX", "cellY", "stripText", "cursorFlip"});
        check(game.restPai == kTiles - 2 * (steps / 2), "the tiles left do not count down by pairs");
    }
    if (!game.replayMode) {
        checkStageStart(game, "the stage after the replay");
        check(game.stageMode && game.gameActive && game.menu(MenuId::Option2Ans).enabled,
              "the stage is not playable after the replay");
    }
    return 0;
}
