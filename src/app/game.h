// The game: every subsystem's state, held privately, and the commands that
// reach it. The window hands it a command (the id of the menu item chosen),
// a press of a mouse button on the board surface, or a key press; the game
// draws on its board surface and asks for every effect on the window
// (menus, caption, message boxes, pauses, pending events, cursor) through
// GameUi. What the player sees and the state of each subsystem can be read
// through the const accessors.
#pragma once

#include "app/folders.h"
#include "app/gameui.h"
#include "app/shell.h"
#include "board/position.h"
#include "board/surface.h"
#include "stages/session.h"
#include "threemove/play.h"
#include "twocorner/play.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

namespace tessarin {

// Mouse buttons as the game sees them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// Everything the game holds, as one value: two snapshots are equal when the
// game is in the same state and shows the same picture.
struct GameSnapshot {
    Position position;
    ShellState shell;
    TwoCornerState twoCorner;
    ThreeMoveState threeMove;
    StageSessionState session;
    QImage picture;
    std::array<QString, 3> strip;

    friend bool operator==(const GameSnapshot&, const GameSnapshot&) = default;
};

class Game {
public:
    // The game reads its data files (the tile sheet, the stage, answer and
    // completion files, the manual) from folders.data and writes (the undo
    // files, the save slot, the authoring stores, the kept game, the cleared
    // stages, the settings) to folders.player.
    Game(GameFolders folders, GameUi& ui, bool authorMode = false);
    // A game with one folder for both, which keeps nothing across starts.
    Game(const QString& folder, GameUi& ui, bool authorMode = false)
        : Game(GameFolders{folder, folder, false}, ui, authorMode) {}
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Loads the tile sheet, prepares the menus and caption, takes up the
    // player's settings and the game kept at the last exit. False when the
    // sheet cannot be loaded; startUpError() says why.
    bool startUp();
    const QString& startUpError() const { return startUpError_; }

    // A menu command (ignored while its item is disabled where the command
    // checks that), a mouse press at a pixel of the board surface, a key
    // press in the main window.
    void command(MenuId id);
    void pressBoard(int button, int x, int y);
    void pressKey(int key, Qt::KeyboardModifiers modifiers);

    // The scale the board surface is drawn at: the device pixel ratio of
    // the window's screen times its zoom. The window sets it.
    void setSurfaceScale(qreal scale) { surface_.setScale(scale); }

    // The local clock that numbers deals; tests fix it.
    void setClock(std::function<QDateTime()> clock) { session_.clock = std::move(clock); }

    // Keeps the game in play in the player's folder (written only when it
    // changed since it was last kept), or removes the kept game when none is
    // in play. The game does this after every command, click and key; the
    // window once more at exit.
    void keepGame();

    const GameFolders& folders() const { return folders_; }
    const Shell& shell() const { return shell_; }
    const MenuTable& menus() const { return shell_.menus(); }
    const MenuState& menu(MenuId id) const { return shell_.menu(id); }
    const QString& caption() const { return shell_.caption(); }
    const Surface& surface() const { return surface_; }
    const QImage& picture() const { return surface_.picture(); }
    const Position& position() const { return position_; }
    const TwoCornerState& twoCorner() const { return twoCorner_.state(); }
    const ThreeMoveState& threeMove() const { return threeMove_.state(); }
    const StageSessionState& session() const { return session_.state(); }
    GameSnapshot snapshot() const;

    // What is wrong with the board and the counters, empty when they agree:
    // each tile in one cell, and in a game in play the tiles left, the move
    // record and the pick (TwoCorner) or the live tiles (ThreeMove) as the
    // tiles' states say.
    QString consistencyProblem() const;
    // With TESSARIN_SELFCHECK=1 in the environment, stops the program with
    // the problem, naming the event `after`, when there is one.
    void selfCheck(const char* after) const;

private:
    // Commands.
    void selectGame(GameKind kind);
    void startRandomDeal();
    void chooseStage();
    void undo();
    void toggleSearch();
    void toggleEasyMode();
    void replayAnswer();
    void startExchange();
    void saveToSlot();
    void loadFromSlot();
    void openManual();
    void chooseZoom(int percent);
    void showHint();
    void toggleOption(MenuId id);
    // After a pair is taken: whether the board can still be cleared, decided
    // away from the player's input; a proved dead end is told at once.
    void checkForDeadEnd();
    void tellDeadEnd(int pairsBack);
    void applyZoom();
    void moveCursor(int dx, int dy);
    // A click on the cursor's cell, as the mouse would give it.
    void clickAtCursor(int button);
    void click(int button, int x, int y);

    // Board clicks of each game type.
    void pressTwoCorner(int x, int y, int button);

    // Starting games, by game type.
    void startDealtGame();
    void resetGameState();
    void setMenusForGame(bool enable);
    void startStage(const QString& number);
    void endReplay();
    void boardCleared();
    void showEasyMode();
    void showStageLabelIfFixed();

    // Kept games, cleared stages and settings (keep.cpp).
    void readSettings();
    bool resumeKeptGame();
    void redrawResumedGame();
    void recordClearedStage();
    void writeSettings();

    const GameFolders folders_;
    GameUi& ui_;
    Shell shell_;
    Surface surface_;
    Position position_;
    TwoCornerPlay twoCorner_;
    ThreeMovePlay threeMove_;
    StageSession session_;
    bool cursorFlip_ = false;
    QString startUpError_;
    std::string lastKept_;  // the kept game as last written ("" none)
    // Counts the positions the dead-end check has been asked about; an
    // answer about an earlier one is dropped.
    int deadEndQuestion_ = 0;
    // Set when the game goes: a check still running stops early.
    std::shared_ptr<std::atomic<bool>> stopChecks_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace tessarin
