// The pair search as the player uses it ("検索開始(&S)", Ctrl+F): every pair
// that can be taken off now is listed, the first one is outlined on the
// board, left clicks step through the list and a right click (or the command
// again) leaves it. Nothing is removed and the board does not change.
#include "app/mjanmodule.h"
#include "twocorner/search.h"

namespace tessarin {

namespace {

const QString kSearchIdle = QStringLiteral("検索(&S)");

QString codeText(int code) { return QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0')); }

// Draws the two outlined tiles again, which takes their outlines away.
void redrawHintCells(MjanModule& m) {
    if (m.hintX1 == 0) return;
    m.setCell(m.hintX1, m.hintY1);
    m.drawPai(m.boardMap.at(m.hintX1, m.hintY1), QStringLiteral("COPY"));
    m.setCell(m.hintX2, m.hintY2);
    m.drawPai(m.boardMap.at(m.hintX2, m.hintY2), QStringLiteral("COPY"));
}

}  // namespace

void MjanModule::menuSrh_Click() {
    // Ctrl+F arrives here even when the command is not offered.
    if (busy || !menu(MenuId::Srh).enabled) return;
    // Only a TwoCorner game in play has a board to search.
    if (gameKind != TwoCorner || !gameActive) return;

    if (searchMode) {
        endSearch();
        return;
    }

    // A picked tile would be listed as an ordinary one; drop the pick first.
    if (moveCount % 2 == 1) dropPick();
    searchMode = true;
    hintPos = 1;
    copyWorkMap();
    findPairs();
    if (searchCount != 0) {
        setMenuCaption(MenuId::Srh, QStringLiteral("検索動作中"));
        showSearchMsg();
        hintPos = 1;
        showHint();
        return;
    }

    ui.messageBox(QStringLiteral("手詰まりです"), caption());
    searchMode = false;
    setMenuCaption(MenuId::Srh, kSearchIdle);
    showSearchMsg();
    if (stageMode) showStageMsg();
}

void MjanModule::copyWorkMap() {
    if (gameKind != TwoCorner) return;
    // The search works on a copy of the position: the board with its removed
    // tiles lifted off (their cells hold 0, no tile) and the tile table, in
    // which "no tile" is a free cell and a pick is an ordinary tile. The live
    // board and table stay untouched while the pairs are listed.
    workMap = BoardMap{};
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            const int t = boardMap.at(x, y);
            workMap.at(x, y) = paiTbl[static_cast<std::size_t>(t)].state == kRemoved ? 0 : static_cast<int16_t>(t);
        }
    }
    workTbl = paiTbl;
    workTbl[0].state = kRemoved;
    for (PaiRec& r : workTbl) {
        if (r.state == kPicked) r.state = kOnBoard;
    }
}

void MjanModule::findPairs() {
    if (gameKind != TwoCorner) return;
    searchCount = 0;
    hintList.fill(PairCells{});
    // One pass over the work position: for each tile, row by row, its
    // partners of the same kind (findSameKind) are asked whether they can be
    // joined; a joinable pair is added under its left cell first (addHint),
    // once only, since the second find of a pair is skipped (dedupHints).
    for (const PairHint& h : tessarin::findPairs(workMap, workTbl)) {
        hintList[static_cast<std::size_t>(++searchCount)] = {static_cast<int16_t>(cellCode(h.xL, h.yL)),
                                                             static_cast<int16_t>(cellCode(h.xR, h.yR))};
    }
}

QString MjanModule::hintCode(int pos) const {
    const PairCells& p = hintList[static_cast<std::size_t>(pos)];
    return codeText(p.left) + codeText(p.right);
}

void MjanModule::showHint() {
    const PairCells& p = hintList[static_cast<std::size_t>(hintPos)];
    hintX1 = codeX(p.left);
    hintY1 = codeY(p.left);
    hintX2 = codeX(p.right);
    hintY2 = codeY(p.right);
    setCell(hintX1, hintY1);
    drawCellFrame();
    setCell(hintX2, hintY2);
    drawCellFrame();
}

void MjanModule::searchClick(int button) {
    if (button == kRightButton) {
        endSearch();
        return;
    }
    // Next pair, round to the first after the last.
    redrawHintCells(*this);
    if (++hintPos > searchCount) hintPos = 1;
    lblmsg = hintCode(hintPos) + QLatin1Char(':') + QString::number(hintPos);
    showHint();
    ui.focusSurface();
}

void MjanModule::endSearch() {
    redrawHintCells(*this);
    hintX1 = hintY1 = hintX2 = hintY2 = 0;
    searchMode = false;
    setMenuCaption(MenuId::Srh, kSearchIdle);
    showSearchMsg();
    if (stageMode) showStageMsg();
}

}  // namespace tessarin
