// ThreeMove as the player plays it: a click slides a tile and the line
// behind it into the gap in front, with the slide shown frame by frame;
// touching tiles of one kind then clear themselves, each shown as it goes.
// Every move costs one of the moves left and every cleared pair earns
// three. The one-step undo keeps the position before each move in two
// files. ThreeMovePlay holds the counters of a game and does its own
// drawing on the board surface.
#pragma once

#include "app/shell.h"
#include "board/position.h"
#include "board/surface.h"
#include "threemove/rules.h"

#include <QString>

#include <functional>

namespace tessarin {

struct ThreeMoveState {
    three::Score score;
    // The player has been told in this game that moves cannot be taken back.
    bool undoWriteWarned = false;
    // Raised by each deal made again at a start; the next deal's clock seed
    // takes that many seconds more.
    int dealSerial = 0;

    friend bool operator==(const ThreeMoveState&, const ThreeMoveState&) = default;
};

class ThreeMovePlay {
public:
    // Keeps the undo files in `undoFolder`.
    ThreeMovePlay(Position& pos, Surface& surface, Shell& shell, QString undoFolder);

    const ThreeMoveState& state() const { return s_; }
    const three::Counters& counters() const { return s_.score.now; }

    // The counters of a new game: no move made, nothing to take back.
    void newGame();
    // Starts a game on the board just dealt: the first clearing, unseen and
    // never paced, and new deals (dealAgain) while 130 or more tiles are
    // left; then the counts and 3 moves. Pending window events run between
    // the deals, so input waits (busy) until the board is complete.
    void start(const std::function<void()>& dealAgain);
    // A kept game taken up again, as the last exit left it.
    void restore(const ThreeMoveState& state) { s_ = state; }
    // A click on field cell (col, row) of a game in play.
    void press(int col, int row, int button);
    // "一手戻す(&B)": the position and counters before the last move, from
    // the undo files; a refusal leaves everything as it was.
    void undo();

private:
    void firstClearing();
    int clearShown(int pauseMs);
    void showTilesLeft();
    // The slide of a run on the screen (animation.cpp).
    void animate(const three::Move& move);
    void saveUndo();

    Position& pos_;
    Surface& surface_;
    Shell& shell_;
    const QString undoFolder_;
    ThreeMoveState s_;
};

}  // namespace tessarin
