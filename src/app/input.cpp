// A press of a mouse button on the board surface.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::picdest_MouseDown(int button, int x, int y) {
    if (!gameActive || busy) return;
    cursorFlip = !cursorFlip;
    const QPoint before = ui.cursorPos();
    ui.setBusyCursor(true);

    const int col = pixelToCol(x);
    const int row = pixelToRow(y);
    lblmsg.clear();
    if (gameKind == TwoCorner) clickTwoCorner(col, row, button);
    else if (gameKind == ThreeMove) clickThree(col, row, button);

    ui.processPendingEvents();
    ui.setBusyCursor(false);

    // Nudge the pointer 3 pixels sideways, alternately left and right, when
    // it has not moved since the click.
    const QPoint after = ui.cursorPos();
    if (after.x() == before.x() || after.y() == before.y())
        ui.setCursorPos(QPoint(cursorFlip ? after.x() - 3 : after.x() + 3, after.y()));
}

}  // namespace tessarin
