// TwoCorner as the player plays it with the mouse: pick a tile, pick its
// partner, and a joinable pair vanishes with a short flash. A picked tile is
// shown inverted and the other tiles of its kind still on the board are
// outlined in red. Easy mode takes the partner itself when only one is left.
#include "app/mjanmodule.h"
#include "twocorner/connect.h"

namespace tessarin {

namespace {

const QString kCopy = QStringLiteral("COPY");
const QString kNot = QStringLiteral("NOT");

bool pickPending(int moveCount) { return moveCount % 2 == 1; }

}  // namespace

void MjanModule::clickTwoCorner(int x, int y, int button) {
    // While the search shows its pairs, clicks step through them instead.
    if (searchMode) {
        searchClick(button);
        return;
    }
    // A right click means "drop it" (or "stop" in the replay) wherever it
    // lands; other clicks count only on the field.
    if (button == kRightButton || onField(x, y)) dispatchClick(x, y, button);
}

void MjanModule::pickPai(int x, int y, int button) {
    if (!onField(x, y)) return;
    if (exchangeMode) {
        exchangeClick(x, y, button);
        return;
    }
    if (button == kRightButton) {
        if (pickPending(moveCount)) dropPick();
        return;
    }

    const int t = boardMap.at(x, y);
    if (t < 1 || t > kTiles) return;
    const PaiRec& rec = paiTbl[static_cast<std::size_t>(t)];
    if (rec.state == kPicked) {
        dropPick();
        return;
    }
    if (rec.state != kOnBoard) return;  // an emptied cell

    if (!pickPending(moveCount)) {
        // The first tile of a pair: shown inverted, its partners outlined.
        setCell(x, y);
        drawPai(t, kNot);
        moveHist[static_cast<std::size_t>(++moveCount)] = static_cast<int16_t>(cellCode(x, y));
        markPartners();
        selX = x;
        selY = y;
        selKind = rec.kind;
        paiTbl[static_cast<std::size_t>(t)].state = kPicked;
        if (!easyMode || partnerCount != 1) return;
        // Easy mode: the only partner left is taken at once if it can be.
        tgtX = codeX(partnerList[1]);
        tgtY = codeY(partnerList[1]);
    } else {
        // A second tile: it must be of the picked kind and joinable; if not,
        // the first stays picked.
        if (rec.kind != selKind) return;
        tgtX = x;
        tgtY = y;
    }
    tgtKind = paiTbl[static_cast<std::size_t>(boardMap.at(tgtX, tgtY))].kind;
    if (!canConnect(boardMap, paiTbl, selX, selY, tgtX, tgtY)) return;
    unmarkPartners();
    moveHist[static_cast<std::size_t>(++moveCount)] = static_cast<int16_t>(cellCode(tgtX, tgtY));
    removePair();
}

void MjanModule::dropPick() {
    int x = 0, y = 0;
    const int t = lastMove(x, y);
    setCell(x, y);
    drawPai(t, kCopy);
    unmarkPartners();
    paiTbl[static_cast<std::size_t>(t)].state = kOnBoard;
    selX = 0;
    selY = 0;
    --moveCount;
}

void MjanModule::markPartners() {
    int px = 0, py = 0;
    const int p = lastMove(px, py);
    const int kind = paiTbl[static_cast<std::size_t>(p)].kind;
    partnerCount = 0;
    for (int i = 1; i <= kTiles; ++i) {
        const PaiRec& r = paiTbl[static_cast<std::size_t>(i)];
        if (i == p || r.kind != kind || r.state != kOnBoard) continue;
        // Four tiles of a kind: never more than three partners.
        partnerList[static_cast<std::size_t>(++partnerCount)] =
            static_cast<int16_t>(cellCode(r.boardX, r.boardY));
        setCell(r.boardX, r.boardY);
        drawCellFrame();
    }
}

void MjanModule::unmarkPartners() {
    int px = 0, py = 0;
    const int p = lastMove(px, py);
    const int kind = paiTbl[static_cast<std::size_t>(p)].kind;
    for (int i = 1; i <= kTiles; ++i) {
        const PaiRec& r = paiTbl[static_cast<std::size_t>(i)];
        if (i == p || r.kind != kind || r.state != kOnBoard) continue;
        setCell(r.boardX, r.boardY);
        drawPai(i, kCopy);
    }
}

void MjanModule::removePair() {
    paiTbl[static_cast<std::size_t>(boardMap.at(selX, selY))].state = kRemoved;
    paiTbl[static_cast<std::size_t>(boardMap.at(tgtX, tgtY))].state = kRemoved;

    // Flash on the first tile, on the second, then blank them in turn.
    setCell(selX, selY);
    drawPai(kFlashPai, kCopy);
    waitMs(200);
    setCell(tgtX, tgtY);
    drawPai(kFlashPai, kCopy);
    waitMs(200);
    setCell(selX, selY);
    drawPai(kBlankPai, kCopy);
    waitMs(200);
    setCell(tgtX, tgtY);
    drawPai(kBlankPai, kCopy);

    restPai -= 2;
    if (restPai != 0) {
        showRestMsg();
        return;
    }
    // The board is clear.
    showSuccess();
    setMenusForGame(false);
    gameActive = false;
}

}  // namespace tessarin
