// "一手戻す(&B)" in TwoCorner: the last pair taken off comes back, one pair a
// use, back to the start of the game.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::undoTwo() {
    // Only the board of a game in play can be taken back: after a switch of
    // the game type the board in memory is no longer this game's.
    if (!gameActive) return;
    if (restPai >= kTiles || moveCount < 2) return;  // nothing taken off yet
    // The pairs the search is showing belong to the position before the undo.
    if (searchMode) endSearch();
    if (moveCount % 2 == 1) dropPick();

    // A removed tile never left its cell: drawing it again and setting it on
    // the board restores it. Second tile first, then the first.
    for (int k = 0; k < 2; ++k) {
        int x = 0, y = 0;
        const int t = lastMove(x, y);
        setCell(x, y);
        drawPai(t, QStringLiteral("COPY"));
        paiTbl[static_cast<std::size_t>(t)].state = kOnBoard;
        --moveCount;
    }
    restPai += 2;
    showRestMsg();
}

}  // namespace tessarin
