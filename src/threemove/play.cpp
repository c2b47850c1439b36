#include "threemove/play.h"

#include "formats/datafile.h"
#include "formats/undofiles.h"

#include <QFile>

namespace tessarin {

namespace {

constexpr int kClearPauseMs = 100;  // between a cleared cell's flash and its final picture
constexpr int kCrowded = 130;       // a start leaving this many tiles is dealt again
constexpr int kDealSerialMax = 32767;
const QString kUndoTitle = QStringLiteral("一手戻す");

}  // namespace

ThreeMovePlay::ThreeMovePlay(Position& pos, Surface& surface, Shell& shell, QString undoFolder)
    : pos_(pos), surface_(surface), shell_(shell), undoFolder_(std::move(undoFolder)) {}

void ThreeMovePlay::newGame() {
    s_.score.now.movesDone = 0;
    shell_.setMenuEnabled(MenuId::Undo, false);
}

void ThreeMovePlay::firstClearing() {
    // Never paced: the surface is hidden meanwhile.
    surface_.drawThreeMoveBoard(pos_);
    clearShown(0);
    s_.score.now.tilesLeft = three::countLiveTiles(pos_);
}

void ThreeMovePlay::start(const std::function<void()>& dealAgain) {
    const Shell::BusyScope busy(shell_);
    GameUi& ui = shell_.ui();
    ui.setSurfaceVisible(false);
    firstClearing();
    ui.processPendingEvents();
    while (s_.score.now.tilesLeft >= kCrowded) {
        dealAgain();
        firstClearing();
        // The next deal's seed takes another second; the count wraps
        // instead of overflowing its 16 bits.
        s_.dealSerial = s_.dealSerial >= kDealSerialMax ? 0 : s_.dealSerial + 1;
        ui.processPendingEvents();
    }
    s_.score.now = three::startCounters(pos_);
    showTilesLeft();
    surface_.showMovesLeft(s_.score.now.movesLeft);
    ui.setSurfaceVisible(true);
    s_.undoWriteWarned = false;
}

void ThreeMovePlay::showTilesLeft() {
    surface_.showTilesLeft(s_.score.now.tilesLeft);
    if (s_.score.now.tilesLeft != 0) return;
    // The board is clear.
    surface_.showSuccess();
    shell_.setMenuEnabled(MenuId::Undo, false);
    shell_.setInPlay(false);
}

int ThreeMovePlay::clearShown(int pauseMs) {
    // Each cleared cell: the flash (honours) or the inverted face, the pause,
    // then the stone or the hole.
    return three::clearGroups(pos_, [this, pauseMs](int col, int row) {
        const int t = pos_.tileAt(col, row);
        if (pos_.tile(t).cover == three::kStone) {
            surface_.drawTile(col, row, kFlashImage);
            surface_.pause(pauseMs);
            surface_.drawTile(col, row, kBlankImage);
        } else {
            surface_.drawTile(col, row, t, DrawMode::Inverted);
            surface_.pause(pauseMs);
            surface_.drawTile(col, row, kHoleImage);
        }
    });
}

void ThreeMovePlay::press(int col, int row, int button) {
    if (!onField(col, row)) return;
    three::Move m;
    if (!three::planMove(pos_, col, row, button == 1, m) || s_.score.now.movesLeft < 1) return;

    saveUndo();
    three::spendMove(s_.score);
    surface_.showMovesLeft(s_.score.now.movesLeft);
    animate(m);
    three::slide(pos_, s_.score, m);

    // A move's clearing is always paced, so the player sees each tile go.
    const int cleared = clearShown(kClearPauseMs);
    if (cleared > 0) {
        three::scoreClearing(pos_, s_.score, cleared);
        showTilesLeft();  // the success display when the field is empty
        surface_.showMovesLeft(s_.score.now.movesLeft);
    }
}

void ThreeMovePlay::saveUndo() {
    std::string failed, error;
    if (writeUndoFiles(QFile::encodeName(undoFolder_).toStdString(), pos_, failed, error)) {
        shell_.setMenuEnabled(MenuId::Undo, true);
        return;
    }
    // The move goes on, but it cannot be taken back: the files on disk are
    // not its snapshot (the earlier move's undo is gone with it).
    shell_.setMenuEnabled(MenuId::Undo, false);
    if (s_.undoWriteWarned) return;
    s_.undoWriteWarned = true;
    const QString path =
        QFile::decodeName(QByteArray::fromStdString(folderPath(QFile::encodeName(undoFolder_).toStdString(), failed)));
    shell_.ui().messageBox(QStringLiteral("一手戻すための作業ファイル %1 を書き込めません（%2）。\n"
                                          "この手は「一手戻す」で戻せません。書き込めない間は、ほかの手も戻せません"
                                          "（このお知らせはゲームごとに一度だけ出します）。")
                               .arg(path, QString::fromStdString(error)),
                           kUndoTitle);
}

void ThreeMovePlay::undo() {
    // Both files are read and checked in full before anything changes.
    Position before;
    std::string problem;
    if (!readUndoFiles(QFile::encodeName(undoFolder_).toStdString(), s_.score.beforeLastMove.tilesLeft, before,
                       problem)) {
        shell_.ui().messageBox(QString::fromStdString(problem) + QStringLiteral("\n一手戻すことはできません。"),
                               kUndoTitle);
        return;
    }
    pos_ = before;
    shell_.setMenuEnabled(MenuId::Undo, false);
    s_.score.now = s_.score.beforeLastMove;
    shell_.ui().setSurfaceVisible(false);
    surface_.drawThreeMoveBoard(pos_);
    shell_.ui().setSurfaceVisible(true);
    showTilesLeft();
    surface_.showMovesLeft(s_.score.now.movesLeft);
}

}  // namespace tessarin
