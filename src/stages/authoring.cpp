// The authoring build's writers: deals numbered in sequence after the
// highest stage in "maptwo.map", and every cleared board stored there with
// its answer in "anstwo.map", in the line formats the game reads.
#include "stages/session.h"

#include "formats/datafile.h"
#include "formats/lines.h"
#include "formats/writefile.h"

namespace tessarin {

namespace {

const std::string kStageStore = "maptwo.map";
const std::string kAnswerStore = "anstwo.map";

// Stage numbers are written with five digits.
constexpr int kLastStageNo = 99999;

// The value of the leading decimal digits of a text (none: 0).
int leadingNumber(const std::string& text) {
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

int StageSession::nextStageNo() {
    std::string bytes;
    const std::string store = writableFilePath(kStageStore);
    if (store.empty() || !readDataFile(store, bytes)) {
        shell_.ui().messageBox(QStringLiteral("File Open Error"), QString());
        return -1;
    }
    // The highest number in text order: every stage number has five digits.
    QString highest;
    for (const std::string& raw : textLines(bytes)) {
        const QString number = QString::fromUtf8(raw).left(5);
        if (number > highest) highest = number;
    }
    const int next = leadingNumber(highest.toStdString()) + 1;
    if (next > kLastStageNo) {
        shell_.ui().messageBox(QStringLiteral("面番号が 99999 を超えるため、番号は時刻から付けます"), QString());
        return -1;
    }
    return next;
}

void StageSession::storeSolvedBoard(const MoveRecord& moves) {
    if (shell_.kind() != GameKind::TwoCorner) return;
    // A deal numbered by the clock can have six digits, which no stage line
    // holds: the game could never load such a stage, so it is not stored.
    if (s_.stageNo.size() != 5) {
        shell_.ui().messageBox(
            QStringLiteral("面番号 %1 は 5 桁ではないため、この面と回答は保存しません").arg(s_.stageNo), QString());
        return;
    }
    const std::string stageNo = s_.stageNo.toStdString();
    const auto append = [this](const std::string& name, const std::string& line) {
        if (!appendToPlayerFile(name, line))
            shell_.ui().messageBox(QStringLiteral("%1 に書き込めませんでした").arg(QString::fromStdString(name)), QString());
    };
    // The answer first, then the board it solves as it was played (tile
    // exchanges included: a removed tile keeps its number in its cell).
    std::vector<int> cells(moves.cells.begin() + 1, moves.cells.begin() + 1 + kTiles);
    append(kAnswerStore, answerLine(stageNo, cells));
    append(kStageStore, formatStageLine(stageNo, pos_));
}

bool StageSession::appendToPlayerFile(const std::string& name, const std::string& line) {
    // The player's copy of the file grows; the first line written there
    // follows the lines of the shipped file, so none of those is lost.
    const std::string target = folderPath(playerFolder(), name);
    std::string error;
    const std::string base = writableFilePath(name);
    if (!base.empty() && base != target) {
        std::string bytes;
        if (!readDataFile(base, bytes) || !replaceFile(target, bytes, error)) return false;
    }
    return appendLine(target, line, error);
}

void StageSession::recordCleared() {
    const std::string name = "cleared.map";
    const std::string path = folderPath(playerFolder(), name);
    std::string bytes;
    if (existsInFolder(playerFolder(), name) && readDataFile(path, bytes)) {
        for (const std::string& line : textLines(bytes))
            if (QString::fromStdString(line).trimmed() == s_.stageNo) return;
    }
    // The record only informs: a write that fails loses a mark, never a game.
    std::string error;
    appendLine(path, s_.stageNo.toStdString(), error);
}

}  // namespace tessarin
