// A ThreeMove game in a temporary program folder, set to positions drawn as
// text (threemove_board.h).
#pragma once

#include "support/gametest.h"
#include "support/threemove_board.h"

namespace tessarin::test {

using Rows = std::vector<std::string>;

// A fresh board whose start clears everything but the a's at (1,1) and
// (3,1), with a hole between them and a stone behind (3,1): a left click on
// (3,1) then clears the last pair.
inline const std::vector<std::string_view> kLastPairBoard = {
    "abaAhjlnprtvxzBDF", "dbcAhjlnprtvxzBDF", "eecfhjlnprtvxzBDF", "addfhjlnprtvxzBDF",
    "adcgikmoqsuwy*CEG", "fgcgikmoqsuwy*CEG", "fgeAikmoqsuwy*CEG", "bbeAikmoqsuwy*CEG",
};

class ThreeMoveGame : public GameTest {
protected:
    // A new ThreeMove game at the drawn position with `moves` moves left.
    void setPosition(const std::vector<std::string_view>& rows, int moves) {
        game->menuGame3_Click();
        const ThreeBoard b = drawThree(rows);
        game->boardMap = b.map;
        game->paiTbl = b.tbl;
        game->clearSurface();
        game->drawBoardThree();
        game->restPai3 = three::countPai3(b.map, b.tbl);
        game->restMoves = moves;
        game->doneMoves = 0;
        game->gameActive = true;
        game->backWriteWarned = false;
        ui.waits.clear();
        ui.boxes.clear();
    }
    // A press of a mouse button in the middle of a cell.
    void click(int col, int row, int button) {
        game->picdest_MouseDown(button, cellPixelX(col) + 22, cellPixelY(row) + 27);
    }
    Rows shown(int width, int height) const { return showThree(game->boardMap, game->paiTbl, width, height); }
    int tileAt(int col, int row) const { return game->boardMap.at(col, row); }
};

}  // namespace tessarin::test
