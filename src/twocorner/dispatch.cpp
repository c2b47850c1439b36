// Where a board click and the undo command go, by game type and mode.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::dispatchClick(int x, int y, int button) {
    if (gameKind == TwoCorner) {
        if (replayMode) replayStep(button);
        else pickPai(x, y, button);
    } else if (gameKind == ThreeMove) {
        tryMoveThree(x, y, button);
    }
}

void MjanModule::menuPaiBack_Click() {
    if (busy || !menu(MenuId::PaiBack).enabled) return;
    undoMove();
}

void MjanModule::undoMove() {
    if (gameKind == TwoCorner) undoTwo();
    else if (gameKind == ThreeMove) paiBack3();
}

}  // namespace tessarin
