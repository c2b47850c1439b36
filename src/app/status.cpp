// The status strip below the field: three areas, each message erasing its
// own area and printing there in bold 14 pt.
#include "app/mjanmodule.h"
#include "stages/text.h"

namespace tessarin {

namespace {

constexpr double kStripPointSize = 14.0;

// Right-aligns a count in three characters: 8 gives "  8".
QString rightAligned3(int n) { return (QStringLiteral("   ") + QString::number(n)).right(3); }

}  // namespace

void MjanModule::printStrip(int fromX, int toX, int textX, const QString& text) {
    fillBox(fromX, kStripTop, toX, kSurfaceH - 1, kBoardGreen);
    // Areas: left 0..249, middle 250..599, right 600..; erasing from 0 takes
    // the middle area with it.
    if (fromX < 250) stripText[0] = text;
    if (fromX < 600 && toX >= 250) stripText[1] = fromX < 250 ? QString() : text;
    if (toX >= 600) stripText[2] = text;
    if (!text.isEmpty()) printText(textX, kStripTop, text, kStripPointSize, true);
    refreshSurface(QRect(QPoint(fromX, kStripTop), QPoint(toX, kSurfaceH - 1)));
}

void MjanModule::showEasyMsg() {
    QString text;
    if (gameKind == TwoCorner)
        text = easyMode ? QStringLiteral("楽々モード 動作中") : QStringLiteral("楽々モード 停止中");
    printStrip(0, 599, 10, text);
    if (stageMode) showStageMsg();
}

void MjanModule::showSearchMsg() {
    const QString text = searchMode
        ? QStringLiteral("検索モード 動作中 [%1箇所]").arg(searchCount)
        : QString();
    printStrip(250, 599, 250, text);
}

void MjanModule::showStageMsg() {
    printStrip(250, 599, 250, QStringLiteral("規定マップ挑戦中 [%1]").arg(trimSpaces(stageNo)));
}

void MjanModule::showMovesMsg() {
    printStrip(250, 599, 250, QStringLiteral("残り手数 [%1]手").arg(restMoves));
}

void MjanModule::showRestMsg() {
    printStrip(600, kSurfaceW - 1, 600, QStringLiteral("残り【%1】牌").arg(rightAligned3(restPai)));
}

void MjanModule::showRest3Msg() {
    printStrip(600, kSurfaceW - 1, 600, QStringLiteral("残り【%1】牌").arg(rightAligned3(restPai3)));
    if (restPai3 == 0) showSuccess();
}

}  // namespace tessarin
