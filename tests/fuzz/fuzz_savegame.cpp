// The save file "testdat.txt", loaded by "Load" of the authoring build into
// a game in the middle of play; and the authoring build's stage store
// "maptwo.map", from which its next deal takes its number. The input is the
// save file, or holds it and the store as files "@@ testdat.txt" and
// "@@ maptwo.map".
//
// Invariants: a refused file leaves the game as it was; an accepted one is
// a TwoCorner game whose move record tells its story (checkTwoCorner), with
// the pick it was saved with; saving it and loading that gives the same
// game; and taking every recorded pair back gives the full board. A deal
// numbered from the store is a fresh game with a stage number of five
// digits.
#include "fuzz_support.h"

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

GameFixture* fx = nullptr;

// The next deal, numbered from the store when it gives a number; the game
// is then as a fresh deal leaves it, so the load below starts from there.
void dealNumbered(MjanModule& game) {
    game.menuStartRnd_Click();
    checkTwoCorner(game, "a numbered deal");
    bool digits = game.stageNo.size() == 5;
    for (QChar c : game.stageNo) digits = digits && c.isDigit();
    check(digits && game.moveCount == 0 && game.gameActive, "a numbered deal: stage number or play");
    fx->ui.boxes.clear();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fx = new GameFixture(true);
    fx->game->menuStartRnd_Click();
    fx->playTwoCorner(3, true);
    fx->setStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    InputFiles files = splitInput(data, size, {"testdat.txt", "maptwo.map"});
    if (!files.count("testdat.txt")) files["testdat.txt"] = files.at("");
    const GameState& before = fx->begin(files);
    MjanModule& game = *fx->game;
    std::vector<test::FakeUi::Box>& boxes = fx->ui.boxes;
    if (files.count("maptwo.map")) dealNumbered(game);

    const GameState loadedInto = files.count("maptwo.map") ? GameState::of(game) : before;
    game.menuLoad_Click();
    if (!boxes.empty()) {
        checkUnchanged(loadedInto, game, "a refused save file");
        return 0;
    }
    checkTwoCorner(game, "a loaded save file");
    bool digits = game.stageNo.size() == 5 || game.stageNo.size() == 6;
    for (QChar c : game.stageNo) digits = digits && c.isDigit();
    check(digits && game.gameActive, "a loaded save file: stage number or play");
    if (game.moveCount % 2 == 1) {
        const int code = game.moveHist[static_cast<std::size_t>(game.moveCount)];
        check(game.selX == codeX(code) && game.selY == codeY(code), "a loaded pick is not the selection");
    }

    const GameState loaded = GameState::of(game);
    game.menuSave_Click();
    game.menuLoad_Click();
    check(boxes.empty(), "a loaded game cannot be saved and loaded again");
    checkUnchanged(loaded, game, "saving a loaded game and loading it again");

    while (game.moveCount >= 2) {
        const int moves = game.moveCount;
        game.menuPaiBack_Click();
        check(game.moveCount == moves - 2 - moves % 2, "one undo did not take back one pair");
    }
    if (game.moveCount == 1) fx->click(1, 1, kRightButton);
    checkTwoCorner(game, "a loaded game taken back to its start");
    check(game.moveCount == 0, "a loaded game cannot be taken back to its start");
    return 0;
}
