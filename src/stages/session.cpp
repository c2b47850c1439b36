// Deals, and the stage files maptwo0.map .. maptwo9.map as the game uses
// them: counting the stages, listing them into the selection grid, and
// loading one onto the board.
#include "stages/session.h"

#include "formats/datafile.h"
#include "formats/lines.h"
#include "formats/stagefiles.h"
#include "solver/solver.h"
#include "stages/deal.h"

#include <QFile>

namespace tessarin {

namespace {

int clockSeedNow(const QDateTime& now, int extraSeconds) {
    const QDate d = now.date();
    const QTime t = now.time();
    return clockSeed(d.month(), d.day(), t.hour(), t.minute(), t.second() + extraSeconds);
}

void reportNoGameData(GameUi& ui) { ui.messageBox(QStringLiteral("ゲームデータが見つかりません"), QString()); }

}  // namespace

StageSession::StageSession(QString dataFolder, QString playerFolder, Position& pos, Surface& surface, Shell& shell)
    : dataFolder_(std::move(dataFolder)),
      playerFolder_(std::move(playerFolder)),
      pos_(pos),
      surface_(surface),
      shell_(shell) {}

std::string StageSession::folder() const { return QFile::encodeName(dataFolder_).toStdString(); }

std::string StageSession::playerFolder() const { return QFile::encodeName(playerFolder_).toStdString(); }

std::string StageSession::writableFilePath(const std::string& name) const {
    if (existsInFolder(playerFolder(), name)) return folderPath(playerFolder(), name);
    if (existsInFolder(folder(), name)) return folderPath(folder(), name);
    return {};
}

void StageSession::dealTwoCorner() {
    // The authoring build numbers its deals in sequence after the stages it
    // has stored; without a number from there the clock names the deal.
    int seed = shell_.authorMode() ? nextStageNo() : -1;
    if (seed < 0) seed = clockSeedNow(clock(), 0);
    if (solvableDealsOnly_) {
        // A deal the solver cannot decide in a second counts as solvable.
        SolveBudget budget;
        budget.ms = 1000;
        for (int tries = 0; tries < 1000; ++tries, ++seed) {
            StageLine stage;
            std::string error;
            parseStageLine(dealStageLine(seed), stage, error);
            if (solveStage(stage, budget).verdict != Verdict::Unsolvable) break;
        }
    }
    s_.stageNo = QString::fromStdString(stageNoText(seed));
    pos_.fillByRows(dealOrderForSeed(seed), false);
}

void StageSession::dealThreeMove(int extraSeconds) {
    const int seed = clockSeedNow(clock(), extraSeconds);
    s_.stageNo = QString::fromStdString(stageNoText(seed));
    pos_.fillByRows(dealOrderForSeed(seed), true);
}

int StageSession::countStages() {
    int count = 0;
    const StageWalk walk = walkStageLines(folder(), [&count](int number, const std::string&) {
        count = number;
        return true;
    });
    if (walk != StageWalk::Finished) {
        reportNoGameData(shell_.ui());
        return -1;
    }
    return count;
}

bool StageSession::listStages(StageGrid& grid) {
    const StageWalk walk = walkStageLines(folder(), [&grid](int number, const std::string& line) {
        grid.addStage(number, QString::fromUtf8(line).left(5));
        return true;
    });
    if (walk != StageWalk::Finished) {
        reportNoGameData(shell_.ui());
        return false;
    }
    return true;
}

bool StageSession::loadStage(const QString& number) {
    // The first line with the number is the stage; a damaged one is not
    // replaced by a later copy. The whole line is checked before the first
    // cell is written, so a damaged stage never leaves a half-filled board.
    bool loaded = false;
    const StageWalk walk = walkStageLines(folder(), [&](int, const std::string& raw) {
        const QString line = QString::fromUtf8(raw);
        if (line.left(5) != number) return true;
        StageLine stage;
        std::string error;
        if (parseStageLine(line.toStdString(), stage, error)) {
            pos_.fillByColumns(stage.tiles, false);
            s_.stageNo = number;
            loaded = true;
        }
        return false;
    });
    // A number no file holds fails too: the callers would otherwise restart
    // the board on hand as if it were that stage.
    if (walk != StageWalk::Stopped || !loaded) {
        reportNoGameData(shell_.ui());
        return false;
    }
    return true;
}

}  // namespace tessarin
