// "模範回答": the model answer of the stage on the board, shown pair by pair.
// The stage is put back in its start position; a left (or middle) click
// outlines the next pair in red, the following click blanks it, a right
// click leaves. The replay only draws: the board, the tiles and the move
// record stay as the stage starts.
#include "app/mjanmodule.h"

namespace tessarin {

namespace {

const QString kNoAnswer = QStringLiteral("回答データが見つかりません");
const QString kReplayText = QStringLiteral("模範回答作動中「次=左クリック」「終了=右クリック」");

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

QString answerFileName(int digit) { return QStringLiteral("anstwo%1.map").arg(digit); }

}  // namespace

void MjanModule::menuOption2Ans_Click() {
    if (busy || replayMode || gameKind != TwoCorner) return;
    startReplay();
}

void MjanModule::startReplay() {
    if (!loadAnswer()) {
        ui.messageBox(kNoAnswer, QString());
        return;
    }
    QString key = stageNo;
    if (!loadStage(key)) {
        ui.messageBox(kNoAnswer, QString());
        return;
    }
    clearSurface();
    startDealtGame();
    resetGameState();  // this also ends a search that was showing its pairs
    stageMode = true;
    setMenusForGame(true);

    // No other command while the replay runs: it is left by a board click.
    setMenuCaption(MenuId::Srh, QStringLiteral("検索(&S)"));
    setMenuEnabled(MenuId::PaiBack, false);
    setMenuEnabled(MenuId::Srh, false);
    setMenuEnabled(MenuId::Game, false);
    setMenuEnabled(MenuId::Start, false);
    setMenuEnabled(MenuId::Option, false);

    replayMode = true;
    replayClicks = 0;
    gameActive = true;
    printStrip(0, 599, 0, kReplayText);
}

bool MjanModule::loadAnswer() {
    for (int d = 0; d <= 9; ++d) {
        const QString name = answerFileName(d);
        if (existsInAppDir(name) && readAnswerFile(appDirPath(name))) return true;
    }
    return false;
}

bool MjanModule::readAnswerFile(const QString& path) {
    QByteArray bytes;
    // An answer file that cannot be read holds no answer; the later files
    // are still searched.
    if (!readDataFile(path, bytes)) return false;
    for (const QByteArray& raw : textLines(bytes)) {
        const QString line = QString::fromUtf8(raw);
        if (line.left(5) == stageNo) {
            answerText = line.mid(5);
            return true;
        }
    }
    return false;
}

void MjanModule::replayStep(int button) {
    if (button == kRightButton) {
        endReplay();
        return;
    }
    const int step = replayClicks++;
    const int pair = step / 2;
    const bool outline = step % 2 == 0;
    for (int k = 0; k < 2; ++k) {
        int x = 0, y = 0;
        if (!answerCell(answerText, 2 * pair + k, x, y)) continue;
        setCell(x, y);
        if (outline) drawCellFrame();
        else drawPai(kBlankPai, QStringLiteral("COPY"));
    }
    if (outline) return;
    restPai -= 2;
    if (restPai <= 0) endReplay();
    else showRestMsg();
}

void MjanModule::endReplay() {
    QString key = stageNo;
    // The replay only drew, so the board in memory is still the stage's
    // start position: should the files no longer give the stage (reported
    // by loadStage), play starts from that.
    loadStage(key);
    clearSurface();
    startDealtGame();
    resetGameState();
    replayMode = false;
    stageMode = true;
    setMenusForGame(true);
    gameActive = true;
}

}  // namespace tessarin
