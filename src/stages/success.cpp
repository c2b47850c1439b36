// The success display: the surface is wiped and the congratulation grows
// from 10 to 32 points, centred, in its upper part. The authoring build
// stores the solved board first.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::showSuccess() {
    // The authoring build keeps every cleared board: the answer first, then
    // the stage it solves.
    if (authorMode) {
        storeAnswer();
        storeSolvedStage();
    }
    clearSurface();
    const QString text = QStringLiteral("成功おめでとうございます");
    for (int size = 10; size <= 32; ++size) {
        picdest.fill(kBoardGreen);
        const int w = textWidth(text, size, true);
        printText(kSurfaceW / 2 - w / 2, 200, text, size, true);
        refreshSurface();
        waitMs(20);
    }
    setMenuEnabled(MenuId::PaiBack, false);
    gameActive = false;
}

}  // namespace tessarin
