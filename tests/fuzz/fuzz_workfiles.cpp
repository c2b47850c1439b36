// The ThreeMove undo files "workthree1.dat" (tile table) and
// "workthree2.dat" (board), read by "一手戻す" after a move of a running
// game. The bytes before the first file header are clicks to play on
// after an accepted undo: two bytes a click, column and row (row byte's
// high bit: right button).
//
// Invariants: refused files leave the game as it was; accepted ones give
// the counters from before the move and a board the rules can play: each
// tile once, only live tiles, honour stones and other holes, as many tiles
// left as the counter says, and so it stays while play goes on.
#include "fuzz_support.h"
#include "threemove/rules.h"

using namespace tessarin;
using namespace tessarin::fuzz;

namespace {

GameFixture* fx = nullptr;

void checkThreeMove(const MjanModule& game, const std::string& what) {
    checkBoard(game, what);
    for (int t = 1; t <= kTiles; ++t) {
        const PaiRec& r = game.paiTbl[static_cast<std::size_t>(t)];
        const bool live = r.state == kOnBoard && r.cover == three::kFace;
        const bool stone = r.state == kRemoved && r.cover == three::kStone && isHonourKind(r.kind);
        const bool hole = r.state == kRemoved && r.cover == three::kHole && !isHonourKind(r.kind);
        check(live || stone || hole, what + ": tile " + std::to_string(t) + " is neither live, a stone nor a hole");
    }
    check(game.restPai3 == three::countPai3(game.boardMap, game.paiTbl), what + ": restPai3 is not the tiles left");
    check(game.restMoves >= 0 && game.doneMoves >= 0, what + ": negative move counters");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fx = new GameFixture();
    MjanModule& game = *fx->game;
    game.menuGame3_Click();
    game.menuStartRnd_Click();
    for (int x = 1; x <= kCols && game.doneMoves == 0; ++x)
        for (int y = 1; y <= kRows && game.doneMoves == 0; ++y) fx->click(x, y, kLeftButton);
    check(game.doneMoves == 1 && game.menu(MenuId::PaiBack).enabled, "no move to take back in the set-up game");
    fx->setStart();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const InputFiles files = splitInput(data, size, {"workthree1.dat", "workthree2.dat"});
    const GameState& before = fx->begin(files);
    MjanModule& game = *fx->game;

    game.menuPaiBack_Click();
    if (!fx->ui.boxes.empty()) {
        checkUnchanged(before, game, "refused work files");
        return 0;
    }
    checkThreeMove(game, "the board taken back");
    check(game.restPai3 == before.backRestPai3 && game.restMoves == before.backRestMoves &&
              game.doneMoves == before.backDoneMoves && !game.menu(MenuId::PaiBack).enabled,
          "the counters taken back are not those from before the move");

    const std::string& clicks = files.at("").bytes;
    for (std::size_t i = 0; i + 1 < clicks.size() && i < 16; i += 2) {
        const auto row = static_cast<unsigned char>(clicks[i + 1]);
        fx->click(static_cast<unsigned char>(clicks[i]) % kCols + 1, row % kRows + 1,
                  row & 0x80 ? kRightButton : kLeftButton);
        checkThreeMove(game, "play after the undo");
    }
    return 0;
}
