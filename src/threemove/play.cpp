// ThreeMove play: the board click, one move with its status report, the
// clearing shown cell by cell, and the start of a game.
#include "app/mjanmodule.h"
#include "threemove/rules.h"

namespace tessarin {

namespace {

constexpr int kClearPauseMs = 100;  // between a cleared cell's flash and its final picture
constexpr int kCrowded = 130;       // a start leaving this many tiles is dealt again
constexpr int kDealSerialMax = 32767;

// Sets a flag for a scope and puts back what it was.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

// The first clearing of a freshly filled board. It is never paced: the
// surface is hidden meanwhile, and moves of an earlier game must not slow it.
void firstClearing(MjanModule& g) {
    g.drawBoardThree();
    g.clearGroups(0);
    g.restPai3 = three::countPai3(g.boardMap, g.paiTbl);
}

void grantStartMoves(MjanModule& g) {
    g.showRest3Msg();
    g.restMoves = three::kStartMoves;
    g.showMovesMsg();
    g.ui.setSurfaceVisible(true);
    g.backWriteWarned = false;
}

}  // namespace

void MjanModule::clickThree(int col, int row, int button) {
    if (!onField(col, row)) return;
    lblmsg = QStringLiteral("%1:%2:%3:%4").arg(col).arg(row).arg(button).arg(moveCount);
    dispatchClick(col, row, button);
}

void MjanModule::tryMoveThree(int col, int row, int button) {
    three::Move m;
    if (!three::planMove(boardMap, paiTbl, col, row, button == kLeftButton, m) || restMoves < 1) return;

    saveBack3();
    backRestMoves = restMoves;
    --restMoves;
    showMovesMsg();

    moveDir = m.dir;
    fromX = m.fromX;
    fromY = m.fromY;
    toX = m.toX;
    toY = m.toY;
    lblmsg = QStringLiteral("移動方向　%1\r\n").arg(moveDir);
    lblmsg += QStringLiteral("指示座標　　X=%1 :Y=%2\r\n").arg(fromX).arg(fromY);
    lblmsg += QStringLiteral("移動先座標　X=%1 :Y=%2\r\n").arg(toX).arg(toY);
    tailX = m.tailX;
    tailY = m.tailY;
    lblmsg += QStringLiteral("移動範囲　　X=%1 :Y=%2\r\n").arg(tailX).arg(tailY);

    setBlitRect();
    animateMove();
    three::shiftRun(boardMap, paiTbl, m);

    backDoneMoves = doneMoves;
    ++doneMoves;
    backRestPai3 = restPai3;

    // A move's clearing is always paced, so the player sees each tile go.
    const int cleared = clearGroups(kClearPauseMs);
    if (cleared > 0) {
        restPai3 = three::countPai3(boardMap, paiTbl);
        showRest3Msg();  // the success display when the field is empty
        restMoves += three::movesEarned(cleared);
        showMovesMsg();
    }
}

void MjanModule::startThree() {
    // Pending window events run between deals; a click or a command among
    // them must wait until the board is complete.
    const FlagScope guard(busy);
    ui.setSurfaceVisible(false);
    firstClearing(*this);
    ui.processPendingEvents();
    while (restPai3 >= kCrowded) {
        dealRandomThree();
        resetGameState();
        firstClearing(*this);
        // The next deal's seed takes another second; the count wraps
        // instead of overflowing its 16 bits.
        dealSerial = dealSerial >= kDealSerialMax ? 0 : dealSerial + 1;
        ui.processPendingEvents();
    }
    grantStartMoves(*this);
}

void MjanModule::startThreeOnBoard() {
    if (gameKind != ThreeMove) return;
    stageMode = false;
    clearSurface();
    ui.setSurfaceVisible(false);
    firstClearing(*this);
    resetGameState();
    grantStartMoves(*this);
    setMenusForGame(true);
    // A board the first clearing empties is already won.
    gameActive = restPai3 > 0;
}

int MjanModule::clearGroups(int pauseMs) {
    return three::clearGroups(boardMap, paiTbl,
                              [this, pauseMs](int col, int row) { markCleared(col, row, pauseMs); });
}

void MjanModule::markCleared(int col, int row, int pauseMs) {
    const int t = boardMap.at(col, row);
    setCell(col, row);
    if (paiTbl[static_cast<std::size_t>(t)].cover == three::kStone) {
        drawPai(kFlashPai, QStringLiteral("COPY"));
        waitMs(pauseMs);
        drawPai(kBlankPai, QStringLiteral("COPY"));
    } else {
        drawPai(t, QStringLiteral("NOT"));
        waitMs(pauseMs);
        drawPai(kHolePai, QStringLiteral("COPY"));
    }
}

}  // namespace tessarin
