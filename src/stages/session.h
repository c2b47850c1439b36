// The stage session: which board is in play (its stage number, and whether
// it is a stored stage), the deals that number boards, the stage files and
// the selection window "面選択", the model-answer replay, and the authoring
// build's stores of solved boards.
#pragma once

#include "app/shell.h"
#include "board/position.h"
#include "board/surface.h"
#include "formats/saveslot.h"
#include "stages/stagegrid.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace tessarin {

// A model answer shown pair by pair: the replay only draws; the board, its
// tiles and the game's record stay as the stage starts.
struct Replay {
    bool on = false;
    int clicks = 0;     // clicks made: each pair is outlined, then blanked
    int tilesLeft = 0;  // the count the strip shows
    QString answer;     // the cell codes of the answer line, after its stage number

    friend bool operator==(const Replay&, const Replay&) = default;
};

struct StageSessionState {
    QString stageNo;          // five digits, six for a deal numbered by the clock
    bool fixedStage = false;  // a stored stage is in play ("規定マップ挑戦中")
    Replay replay;

    friend bool operator==(const StageSessionState&, const StageSessionState&) = default;
};

class StageSession {
public:
    // Stage, answer and completion files are read from `dataFolder`; the
    // authoring stores and the record of cleared stages are written to
    // `playerFolder`, and read from there first.
    StageSession(QString dataFolder, QString playerFolder, Position& pos, Surface& surface, Shell& shell);

    const StageSessionState& state() const { return s_; }
    const QString& stageNo() const { return s_.stageNo; }
    bool fixedStage() const { return s_.fixedStage; }
    bool replaying() const { return s_.replay.on; }
    void setFixedStage(bool fixed) { s_.fixedStage = fixed; }
    // The number of a saved game taken up again.
    void setStageNo(const QString& stageNo) { s_.stageNo = stageNo; }

    // The local clock, which numbers deals; replaceable by tests.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    // Random deals onto the position, numbered by their seed: a TwoCorner
    // deal from the clock (the authoring build: the next free number of
    // "maptwo.map" when there is one), a ThreeMove deal from the clock plus
    // `extraSeconds`.
    void dealTwoCorner();
    // With solvable deals only, a TwoCorner deal the solver proves
    // unclearable is passed over for the next number.
    void setSolvableDealsOnly(bool on) { solvableDealsOnly_ = on; }
    void dealThreeMove(int extraSeconds);

    // The stage files. Each says "ゲームデータが見つかりません" when the
    // files cannot be read and returns -1 or false.
    int countStages();
    // Lists every stage line into the grid's cells, five to a row.
    bool listStages(StageGrid& grid);
    // Puts the first stage of that number on the position and makes it the
    // stage in play; anything else (no such stage, a damaged line) leaves
    // the position and the number as they were.
    bool loadStage(const QString& number);
    // The grid of "面選択": every stage, solved ones marked (those the
    // completion file "cmptwo.map" lists, and those the player has cleared).
    bool prepareSelection(StageGrid& grid);
    void markCompletions(StageGrid& grid);

    // The replay of the stage's model answer: loadAnswer finds it (false:
    // none), beginReplay starts showing it, replayStep takes a click (true
    // when the replay is to end: a right click, or the last pair shown), and
    // stopReplay ends it.
    bool loadAnswer();
    void beginReplay();
    bool replayStep(int button);
    void stopReplay() { s_.replay = Replay{}; }

    // The authoring build's stores: the next free stage number of
    // "maptwo.map" (-1 when there is none to be had), and a solved board —
    // its answer to "anstwo.map", then its stage line to "maptwo.map".
    int nextStageNo();
    void storeSolvedBoard(const MoveRecord& moves);

    // The player's record of the stages cleared by play ("cleared.map", one
    // stage number a line): the stage in play is added unless already there.
    void recordCleared();

    // A game taken up again: its stage number and whether it is a stored stage.
    void restore(const QString& stageNo, bool fixedStage) {
        s_ = StageSessionState{};
        s_.stageNo = stageNo;
        s_.fixedStage = fixedStage;
    }

private:
    std::string folder() const;
    std::string playerFolder() const;
    // A file the player or author may write: the player's copy when there is
    // one, else the shipped one; empty when neither exists.
    std::string writableFilePath(const std::string& name) const;
    // Appends a line to a file of the player's folder; false when it fails.
    bool appendToPlayerFile(const std::string& name, const std::string& line);

    const QString dataFolder_;
    const QString playerFolder_;
    Position& pos_;
    Surface& surface_;
    Shell& shell_;
    StageSessionState s_;
    bool solvableDealsOnly_ = false;
};

}  // namespace tessarin
