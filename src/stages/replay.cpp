// "模範回答": the model answer of the stage on the board, shown pair by pair.
// A left (or middle) click outlines the next pair in red, the following
// click blanks it, a right click leaves.
#include "stages/session.h"

#include "formats/stagefiles.h"

namespace tessarin {

namespace {

constexpr int kRightButton = 2;

// Cell number `index` (from 0) of an answer: three digits, column and row.
// An answer too short, or a code naming no field cell, gives no cell.
bool answerCell(const QString& answer, int index, int& x, int& y) {
    const qsizetype pos = 3 * static_cast<qsizetype>(index);
    if (pos + 3 > answer.size()) return false;
    int code = 0;
    for (qsizetype i = pos; i < pos + 3; ++i) {
        const QChar c = answer[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        code = code * 10 + (c.unicode() - '0');
    }
    x = codeX(code);
    y = codeY(code);
    return onField(x, y);
}

}  // namespace

bool StageSession::loadAnswer() {
    std::string rest;
    if (!findAnswer(folder(), s_.stageNo.toStdString(), rest)) return false;
    s_.replay.answer = QString::fromUtf8(rest);
    return true;
}

void StageSession::beginReplay() {
    s_.replay.on = true;
    s_.replay.clicks = 0;
    s_.replay.tilesLeft = kTiles;
    surface_.showReplayHelp();
}

bool StageSession::replayStep(int button) {
    if (button == kRightButton) return true;
    const int step = s_.replay.clicks++;
    const int pair = step / 2;
    const bool outline = step % 2 == 0;
    for (int k = 0; k < 2; ++k) {
        int x = 0, y = 0;
        if (!answerCell(s_.replay.answer, 2 * pair + k, x, y)) continue;
        if (outline) surface_.outlineCell(x, y);
        else surface_.drawTile(x, y, kBlankImage);
    }
    if (outline) return false;
    s_.replay.tilesLeft -= 2;
    if (s_.replay.tilesLeft <= 0) return true;
    surface_.showTilesLeft(s_.replay.tilesLeft);
    return false;
}

}  // namespace tessarin
