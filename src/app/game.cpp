// Start-up, the starts of games of each kind, and the board and key input.
#include "app/game.h"

#include "formats/datafile.h"

#include <QFile>

#include <algorithm>

namespace tessarin {

Game::Game(GameFolders folders, GameUi& ui, bool authorMode)
    : folders_(std::move(folders)),
      ui_(ui),
      shell_(ui, authorMode),
      surface_(ui),
      twoCorner_(position_, surface_, shell_),
      threeMove_(position_, surface_, shell_, folders_.player),
      session_(folders_.data, folders_.player, position_, surface_, shell_) {}

Game::~Game() { *stopChecks_ = true; }

bool Game::startUp() {
    if (!surface_.loadSheets(folders_.data, startUpError_)) return false;
    shell_.setKind(GameKind::TwoCorner);
    setMenusForGame(false);
    shell_.setMenuEnabled(MenuId::GameFour, false);
    shell_.setCaption(QStringLiteral("二角取り"));
    if (folders_.keep) {
        readSettings();
        resumeKeptGame();
    }
    applyZoom();
    surface_.refresh();
    return true;
}

GameSnapshot Game::snapshot() const {
    return GameSnapshot{position_,          shell_.state(),      twoCorner_.state(), threeMove_.state(),
                        session_.state(),   surface_.picture(),  surface_.stripTexts()};
}

void Game::pressKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape) {
        ui_.exitProgram();
    } else if (held == Qt::ControlModifier) {
        // Ctrl+F, Ctrl+Z and Ctrl+H (and nothing else held): the search,
        // the undo and the hint.
        if (key == Qt::Key_F) command(MenuId::Search);
        else if (key == Qt::Key_Z) command(MenuId::Undo);
        else if (key == Qt::Key_H) command(MenuId::Hint);
    } else if (held == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Left: moveCursor(-1, 0); break;
        case Qt::Key_Right: moveCursor(1, 0); break;
        case Qt::Key_Up: moveCursor(0, -1); break;
        case Qt::Key_Down: moveCursor(0, 1); break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: clickAtCursor(kLeftButton); break;
        case Qt::Key_Backspace: clickAtCursor(kRightButton); break;
        default: break;
        }
    }
}

void Game::moveCursor(int dx, int dy) {
    if (!shell_.inPlay() || shell_.busy()) return;
    KeyboardCursor c = shell_.cursor();
    // The first arrow key shows the cursor where it is; the next ones move
    // it a cell, no further than the edges of the field.
    if (c.shown) {
        c.x = std::clamp(c.x + dx, 1, kCols);
        c.y = std::clamp(c.y + dy, 1, kRows);
    }
    c.shown = true;
    shell_.setCursor(c);
}

void Game::clickAtCursor(int button) {
    const KeyboardCursor& c = shell_.cursor();
    if (!c.shown) return;
    click(button, cellPixelX(c.x) + kTileW / 2, cellPixelY(c.y) + kTileH / 2);
}

void Game::pressBoard(int button, int x, int y) {
    // A mouse player never sees the keyboard's cursor.
    if (shell_.inPlay() && !shell_.busy()) shell_.setCursor(KeyboardCursor{false, shell_.cursor().x, shell_.cursor().y});
    click(button, x, y);
}

void Game::click(int button, int x, int y) {
    if (!shell_.inPlay() || shell_.busy()) return;
    cursorFlip_ = !cursorFlip_;
    const QPoint before = ui_.cursorPos();
    ui_.setBusyCursor(true);

    const int col = pixelToCol(x);
    const int row = pixelToRow(y);
    if (shell_.kind() == GameKind::TwoCorner) pressTwoCorner(col, row, button);
    else if (shell_.kind() == GameKind::ThreeMove) threeMove_.press(col, row, button);

    ui_.processPendingEvents();
    ui_.setBusyCursor(false);

    // Nudge the pointer 3 pixels sideways, alternately left and right, when
    // it has not moved since the click.
    const QPoint after = ui_.cursorPos();
    if (after.x() == before.x() || after.y() == before.y())
        ui_.setCursorPos(QPoint(cursorFlip_ ? after.x() - 3 : after.x() + 3, after.y()));
    keepGame();
}

void Game::pressTwoCorner(int x, int y, int button) {
    // A hint's outline lasts until the next click.
    twoCorner_.clearHint();
    // While the search shows its pairs, clicks step through them instead.
    if (twoCorner_.state().search.shown) {
        if (twoCorner_.stepSearch(button)) showStageLabelIfFixed();
        return;
    }
    // A right click stops the replay wherever it lands; other clicks (and a
    // right click that drops a pick) count only on the field.
    if (button != kRightButton && !onField(x, y)) return;
    if (session_.replaying()) {
        if (session_.replayStep(button)) endReplay();
        return;
    }
    const int before = twoCorner_.state().tilesLeft;
    if (twoCorner_.press(x, y, button) == TwoCornerPlay::Outcome::BoardCleared) boardCleared();
    else if (twoCorner_.state().tilesLeft < before) checkForDeadEnd();
}

void Game::boardCleared() {
    // The authoring build keeps every cleared board: the answer first, then
    // the stage it solves. A stored stage cleared by play is the player's.
    if (shell_.authorMode()) session_.storeSolvedBoard(twoCorner_.state().moves);
    if (session_.fixedStage()) recordClearedStage();
    surface_.showSuccess();
    shell_.setMenuEnabled(MenuId::Undo, false);
    setMenusForGame(false);
    shell_.setInPlay(false);
}

void Game::startDealtGame() {
    if (shell_.kind() == GameKind::TwoCorner) {
        surface_.drawTwoCornerBoard(position_);
    } else if (shell_.kind() == GameKind::ThreeMove) {
        threeMove_.start([this] {
            session_.dealThreeMove(threeMove_.state().dealSerial);
            resetGameState();
        });
    }
}

void Game::resetGameState() {
    // Whatever the game type, the TwoCorner search and exchange choice name
    // cells of the board just replaced; the keyboard's cursor starts again.
    twoCorner_.forgetBoardMarks();
    shell_.setCursor(KeyboardCursor{});
    if (shell_.kind() == GameKind::TwoCorner) {
        twoCorner_.newGame();
        shell_.setMenuEnabled(MenuId::GameType, true);
        shell_.setMenuEnabled(MenuId::Start, true);
        shell_.setMenuEnabled(MenuId::Options, true);
        surface_.showTilesLeft(twoCorner_.state().tilesLeft);
        showEasyMode();
    } else if (shell_.kind() == GameKind::ThreeMove) {
        threeMove_.newGame();
    }
}

void Game::setMenusForGame(bool enable) { shell_.setMenusForGame(enable, session_.fixedStage()); }

void Game::showEasyMode() {
    surface_.showEasyMode(shell_.kind() == GameKind::TwoCorner, twoCorner_.state().easyMode);
    showStageLabelIfFixed();
}

void Game::showStageLabelIfFixed() {
    if (session_.fixedStage()) surface_.showStageLabel(session_.stageNo());
}

void Game::startStage(const QString& number) {
    // A stage that cannot be loaded has been reported; the game on hand goes
    // on as it was.
    if (!session_.loadStage(number)) return;
    surface_.clear();
    startDealtGame();
    resetGameState();
    session_.setFixedStage(true);
    setMenusForGame(true);
    shell_.setInPlay(true);
    surface_.showStageLabel(session_.stageNo());
}

void Game::endReplay() {
    // The replay only drew, so the position in memory is still the stage's
    // start: should the files no longer give the stage (reported by
    // loadStage), play starts from that.
    session_.loadStage(session_.stageNo());
    surface_.clear();
    startDealtGame();
    resetGameState();
    session_.stopReplay();
    session_.setFixedStage(true);
    setMenusForGame(true);
    shell_.setInPlay(true);
}

}  // namespace tessarin
