// The tile sheet "paidat.dat" (the whole input), loaded by the game's start
// (startUp, through initPaiTbl) in a fresh game: one game for the run, put
// back as it was built before each input.
//
// Invariants: a refused sheet gives a message and leaves the game as it
// was built; an accepted one gives exactly the start of the shipped sheet
// but for the picture itself, which covers the whole grid of pictures, and
// a game dealt with it draws and plays.
#include "fuzz_support.h"

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

QString folder() { return QString::fromStdString(scratchDir().string()); }

test::FakeUi* theUi = nullptr;
MjanModule* theGame = nullptr;
GameState built;    // the game before its start
GameState started;  // the game after the start with the shipped sheet

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startQt();
    fs::copy_file(sourcePath("data/paidat.dat"), scratchDir() / "paidat.dat", fs::copy_options::overwrite_existing);
    theUi = new test::FakeUi();
    theGame = new MjanModule(folder(), *theUi);
    built = GameState::of(*theGame);
    check(theGame->startUp(), "the shipped tile sheet does not load");
    started = GameState::of(*theGame);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    writeBytes(scratchDir() / "paidat.dat", std::string_view(reinterpret_cast<const char*>(data), size));
    built.restore(*theGame);
    *theUi = test::FakeUi();
    MjanModule& game = *theGame;
    if (!game.startUp()) {
        check(!game.sheetError.isEmpty(), "a refused sheet without a message");
        checkUnchanged(built, game, "a refused sheet", {"sheetError"});
        return 0;
    }
    checkUnchanged(started, game, "an accepted sheet", {"picsrc"});
    check(game.picsrc.format() == QImage::Format_RGB32 && game.picsrc.width() >= 9 * kPaiW &&
              game.picsrc.height() >= 5 * kPaiH,
          "an accepted sheet does not cover the grid of pictures");

    game.clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); };
    game.menuStartRnd_Click();
    const HintList hints = findPairs(game.boardMap, game.paiTbl);
    if (!hints.empty()) {
        game.picdest_MouseDown(kLeftButton, cellPixelX(hints[0].xL) + 22, cellPixelY(hints[0].yL) + 27);
        game.picdest_MouseDown(kLeftButton, cellPixelX(hints[0].xR) + 22, cellPixelY(hints[0].yR) + 27);
    }
    checkTwoCorner(game, "a game with an accepted sheet");
    return 0;
}
