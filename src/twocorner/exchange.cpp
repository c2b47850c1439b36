// The tile exchange of the authoring build ("牌交換(&R)"): two clicks choose
// two tiles on the board, which then change places. Nothing else of the game
// changes: no move is recorded and the count of tiles left stays.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::menuPaiChange_Click() {
    if (busy || exchangeMode) return;
    // A pending pick would be moved away from under its record: drop it first.
    if (gameKind == TwoCorner && gameActive && moveCount % 2 == 1) dropPick();
    exchangeMode = true;
    exchCount = 0;
    exchX = exchY = exchKind = exchPai = 0;
    ui.focusSurface();
    setMenuCaption(MenuId::PaiChange, QStringLiteral("動作中"));
}

void MjanModule::exchangeClick(int x, int y, int button) {
    if (button == kRightButton) {
        // Withdraw the first choice; the next click chooses again.
        if (exchCount == 1) {
            setCell(exchX, exchY);
            drawPai(exchPai, QStringLiteral("COPY"));
            exchCount = 0;
            exchX = exchY = exchKind = exchPai = 0;
        }
        return;
    }

    const int t = boardMap.at(x, y);
    // Only tiles on the board take part: an emptied cell has nothing to give,
    // and moving a removed tile back would bring it onto the board uncounted.
    if (t < 1 || t > kTiles || paiTbl[static_cast<std::size_t>(t)].state != kOnBoard) return;
    const int k = paiTbl[static_cast<std::size_t>(t)].kind;

    if (exchCount == 0) {
        exchCount = 1;
        setCell(x, y);
        drawPai(t, QStringLiteral("NOT"));
        exchX = x;
        exchY = y;
        exchPai = t;
        exchKind = k;
        return;
    }

    // Second choice: the two tiles change cells. Choosing the first cell
    // again puts its tile back where it was.
    const auto place = [this](int tile, int cx, int cy) {
        boardMap.at(cx, cy) = static_cast<int16_t>(tile);
        PaiRec& r = paiTbl[static_cast<std::size_t>(tile)];
        r.boardX = static_cast<int16_t>(cx);
        r.boardY = static_cast<int16_t>(cy);
        r.state = kOnBoard;
        setCell(cx, cy);
        drawPai(tile, QStringLiteral("COPY"));
    };
    place(t, exchX, exchY);
    place(exchPai, x, y);
    exchCount = 0;
    exchX = exchY = exchKind = exchPai = 0;
    exchangeMode = false;
    setMenuCaption(MenuId::PaiChange, QStringLiteral("牌交換(&H)"));
}

}  // namespace tessarin
