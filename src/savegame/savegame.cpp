// The save slot of the authoring build, "testdat.txt": a TwoCorner game as
// five text lines (CR LF) — the stage number with the board column by
// column, the tile table, the move record, the tiles left and the number of
// recorded clicks.
//
// A save replaces the file through a temporary file, so an interrupted save
// leaves the earlier one whole. A load reads and checks the whole file
// before it touches the game: a file that is not a position this game can
// have been in is refused with a message and the game goes on unchanged.
#include "app/mjanmodule.h"
#include "stages/lines.h"
#include "stages/writefile.h"

#include <QFile>

#include <algorithm>
#include <initializer_list>

namespace tessarin {

namespace {

const QString kSaveFile = QStringLiteral("testdat.txt");

constexpr int kBoardChars = 3 * kTiles;   // 408
constexpr int kRecordChars = 7;           // boardX 2, boardY 1, kind 3, state 1
constexpr int kTableChars = kTblSize * kRecordChars;  // 973
constexpr int kHistEntries = 141;
constexpr int kHistChars = kHistEntries * 3;          // 423

QString digits(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

bool allDigits(const QByteArray& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The number in `width` digits at pos (the caller has checked they are digits).
int numberAt(const QByteArray& s, qsizetype pos, int width) {
    int n = 0;
    for (qsizetype i = pos; i < pos + width; ++i) n = n * 10 + (s[i] - '0');
    return n;
}

// What a save file holds, read and checked.
struct SavedGame {
    QString boardLine;  // line 1 as it stands
    QString stageNo;
    BoardMap map;
    PaiTbl tbl{};  // boardX, boardY, kind and state from the file
    std::array<int16_t, kHistEntries> hist{};
    int restPai = 0;
    int moveCount = 0;
};

// Reads the five lines of a save file into `out`; on a refusal `why` says
// what is wrong, for the player.
bool parseSave(const QByteArray& bytes, SavedGame& out, QString& why) {
    const QList<QByteArray> lines = MjanModule::textLines(bytes);
    if (lines.size() < 5) {
        why = QStringLiteral("%1 行しかありません（5 行のはず）").arg(lines.size());
        return false;
    }
    const auto checkLine = [&why](const QByteArray& line, int no, std::initializer_list<int> lengths) {
        if (std::find(lengths.begin(), lengths.end(), line.size()) == lengths.end()) {
            why = QStringLiteral("%1 行目が %2 文字です（%3 文字のはず）")
                      .arg(no)
                      .arg(line.size())
                      .arg(*lengths.begin());
            return false;
        }
        if (!allDigits(line)) {
            why = QStringLiteral("%1 行目に数字でない文字があります").arg(no);
            return false;
        }
        return true;
    };

    // Line 1: the stage number (its width follows from the line's length:
    // five digits, or six for a deal numbered by the clock), then the board.
    const QByteArray& line1 = lines[0];
    if (!checkLine(line1, 1, {5 + kBoardChars, 6 + kBoardChars})) return false;
    const qsizetype boardStart = line1.size() - kBoardChars;
    out.boardLine = QString::fromLatin1(line1);
    out.stageNo = QString::fromLatin1(line1.left(boardStart));
    std::array<bool, kTblSize> seen{};
    for (int j = 0; j < kTiles; ++j) {
        const int t = numberAt(line1, boardStart + 3 * j, 3);
        if (t >= kTblSize) {
            why = QStringLiteral("盤面の牌番号 %1 は 0 から 138 の範囲にありません").arg(t);
            return false;
        }
        if (t < 1 || t > kTiles || seen[static_cast<std::size_t>(t)]) {
            why = QStringLiteral("盤面が 1 から 136 の牌を一つずつ持っていません（牌番号 %1）").arg(t);
            return false;
        }
        seen[static_cast<std::size_t>(t)] = true;
        out.map.at(j / kRows + 1, j % kRows + 1) = static_cast<int16_t>(t);
    }

    // Line 2: the tile table. Kinds never change, and every tile stands
    // where the board has it.
    const QByteArray& line2 = lines[1];
    if (!checkLine(line2, 2, {kTableChars})) return false;
    PaiTbl fixed{};
    fillPaiTbl(fixed);
    for (int i = 0; i < kTblSize; ++i) {
        const qsizetype p = static_cast<qsizetype>(i) * kRecordChars;
        PaiRec& r = out.tbl[static_cast<std::size_t>(i)];
        r = fixed[static_cast<std::size_t>(i)];
        r.boardX = static_cast<int16_t>(numberAt(line2, p, 2));
        r.boardY = static_cast<int16_t>(numberAt(line2, p + 2, 1));
        r.kind = static_cast<int16_t>(numberAt(line2, p + 3, 3));
        r.state = static_cast<int16_t>(numberAt(line2, p + 6, 1));
        if (r.kind != fixed[static_cast<std::size_t>(i)].kind) {
            why = QStringLiteral("牌 %1 の種類 %2 が違います").arg(i).arg(r.kind);
            return false;
        }
        if (r.state > kRemoved) {
            why = QStringLiteral("牌 %1 の状態 %2 は 0 から 2 の範囲にありません").arg(i).arg(r.state);
            return false;
        }
        if (i >= 1 && i <= kTiles && (!onField(r.boardX, r.boardY) || out.map.at(r.boardX, r.boardY) != i)) {
            why = QStringLiteral("牌 %1 の位置が盤面と合いません").arg(i);
            return false;
        }
        // The image-only entries stand on no cell, and the ThreeMove undo
        // refuses a table that says otherwise.
        if ((i < 1 || i > kTiles) && (r.boardX != 0 || r.boardY != 0)) {
            why = QStringLiteral("画像 %1 の位置 (%2, %3) は 0 のはずです").arg(i).arg(r.boardX).arg(r.boardY);
            return false;
        }
    }

    // Line 3: the move record; lines 4 and 5: the tiles left and the clicks.
    const QByteArray& line3 = lines[2];
    if (!checkLine(line3, 3, {kHistChars})) return false;
    for (int i = 0; i < kHistEntries; ++i)
        out.hist[static_cast<std::size_t>(i)] = static_cast<int16_t>(numberAt(line3, 3 * i, 3));
    if (!checkLine(lines[3], 4, {1, 2, 3}) || !checkLine(lines[4], 5, {1, 2, 3})) return false;
    out.restPai = numberAt(lines[3], 0, static_cast<int>(lines[3].size()));
    out.moveCount = numberAt(lines[4], 0, static_cast<int>(lines[4].size()));
    if (out.moveCount > kTiles) {
        why = QStringLiteral("記録された手数 %1 は 0 から 136 の範囲にありません").arg(out.moveCount);
        return false;
    }

    // The record and the tiles tell one story: the clicked cells of the
    // finished pairs hold removed tiles of one kind per pair, an odd last
    // click holds the picked tile, and no other tile is off the board or
    // picked; the tiles left are the ones not removed.
    const int pairs = out.moveCount / 2;
    std::array<bool, kTblSize> named{};
    for (int i = 1; i <= out.moveCount; ++i) {
        const int code = out.hist[static_cast<std::size_t>(i)];
        const int x = codeX(code);
        const int y = codeY(code);
        if (!onField(x, y)) {
            why = QStringLiteral("記録の %1 手目 %2 は盤上のマスではありません").arg(i).arg(digits(code, 3));
            return false;
        }
        const int t = out.map.at(x, y);
        const int wanted = i <= 2 * pairs ? kRemoved : kPicked;
        if (named[static_cast<std::size_t>(t)] || out.tbl[static_cast<std::size_t>(t)].state != wanted) {
            why = QStringLiteral("記録の %1 手目が牌の状態と合いません").arg(i);
            return false;
        }
        named[static_cast<std::size_t>(t)] = true;
        if (i % 2 == 0) {
            const int first = out.hist[static_cast<std::size_t>(i - 1)];
            const int t1 = out.map.at(codeX(first), codeY(first));
            if (out.tbl[static_cast<std::size_t>(t1)].kind != out.tbl[static_cast<std::size_t>(t)].kind) {
                why = QStringLiteral("記録の %1 手目と %2 手目は同じ種類の牌ではありません").arg(i - 1).arg(i);
                return false;
            }
        }
    }
    for (int t = 1; t <= kTiles; ++t) {
        if (out.tbl[static_cast<std::size_t>(t)].state != kOnBoard && !named[static_cast<std::size_t>(t)]) {
            why = QStringLiteral("牌 %1 の状態が記録と合いません").arg(t);
            return false;
        }
    }
    if (out.restPai != kTiles - 2 * pairs) {
        why = QStringLiteral("残り牌数 %1 が記録と合いません（%2 のはず）").arg(out.restPai).arg(kTiles - 2 * pairs);
        return false;
    }
    return true;
}

void refuseLoad(GameUi& ui, const QString& why) {
    ui.messageBox(QStringLiteral("%1 を読み込めません: %2").arg(kSaveFile, why), QString());
}

}  // namespace

void MjanModule::menuSave_Click() {
    if (busy) return;
    saveGame();
}

void MjanModule::menuLoad_Click() {
    if (busy) return;
    loadGame();
}

void MjanModule::saveGame() {
    // The slot holds a TwoCorner game in play; anything else would replace
    // a good save with one that cannot be loaded.
    if (replayMode) {
        ui.messageBox(QStringLiteral("模範回答の再生中は SAVE と Load を使えません"), QString());
        return;
    }
    if (gameKind != TwoCorner || !boardIsConsistent(boardMap, paiTbl)) {
        ui.messageBox(QStringLiteral("保存できる二角取りのゲームがありません"), QString());
        return;
    }
    bool numeric = stageNo.size() == 5 || stageNo.size() == 6;
    for (QChar c : stageNo) numeric = numeric && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!numeric) {
        ui.messageBox(QStringLiteral("面番号 %1 は保存できません").arg(stageNo), QString());
        return;
    }

    QByteArray text = stageNo.toLatin1();
    text += QByteArray::fromStdString(formatStageLine("", boardMap));
    text += "\r\n";
    for (int i = 0; i < kTblSize; ++i) {
        const PaiRec& r = paiTbl[static_cast<std::size_t>(i)];
        text += (digits(r.boardX, 2) + digits(r.boardY, 1) + digits(r.kind, 3) + digits(r.state, 1)).toLatin1();
    }
    text += "\r\n";
    for (int i = 0; i < kHistEntries; ++i) text += digits(moveHist[static_cast<std::size_t>(i)], 3).toLatin1();
    text += "\r\n";
    text += QByteArray::number(restPai) + "\r\n" + QByteArray::number(moveCount) + "\r\n";

    std::string error;
    if (!replaceFile(QFile::encodeName(appDirPath(kSaveFile)).toStdString(), text.toStdString(), error))
        ui.messageBox(QStringLiteral("%1 に保存できませんでした").arg(kSaveFile), QString());
}

void MjanModule::loadGame() {
    if (replayMode) {
        ui.messageBox(QStringLiteral("模範回答の再生中は SAVE と Load を使えません"), QString());
        return;
    }
    // The file holds a TwoCorner game; the ThreeMove start would deal anew.
    if (gameKind != TwoCorner) {
        ui.messageBox(QStringLiteral("Load は二角取りのゲームで使えます"), QString());
        return;
    }
    if (!existsInAppDir(kSaveFile)) {
        refuseLoad(ui, QStringLiteral("ファイルがありません"));
        return;
    }
    QByteArray bytes;
    if (!readDataFile(appDirPath(kSaveFile), bytes)) {
        refuseLoad(ui, QStringLiteral("ファイルを開けません"));
        return;
    }
    SavedGame saved;
    QString why;
    if (!parseSave(bytes, saved, why)) {
        refuseLoad(ui, why);
        return;
    }

    // Everything checked: the game takes the saved position.
    stageNo = saved.stageNo;
    for (int i = 0; i < kTblSize; ++i) {
        PaiRec& r = paiTbl[static_cast<std::size_t>(i)];
        const PaiRec& s = saved.tbl[static_cast<std::size_t>(i)];
        r.boardX = s.boardX;
        r.boardY = s.boardY;
        r.kind = s.kind;
        r.state = s.state;
    }
    loadBoardLine(saved.boardLine);
    moveHist = saved.hist;
    restPai = saved.restPai;
    moveCount = saved.moveCount;

    forgetBoardMarks();

    clearSurface();
    startDealtGame();
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y) {
            setCell(x, y);
            const int t = boardMap.at(x, y);
            const int state = paiTbl[static_cast<std::size_t>(t)].state;
            if (state == kOnBoard) drawPai(t, QStringLiteral("COPY"));
            else if (state == kRemoved) drawPai(kBlankPai, QStringLiteral("COPY"));
        }
    }
    // A save made with a tile picked: the pick goes on, shown as the click
    // showed it (inverted, its partners outlined).
    selX = selY = selKind = 0;
    if (moveCount % 2 == 1) {
        const int t = lastMove(selX, selY);
        selKind = paiTbl[static_cast<std::size_t>(t)].kind;
        setCell(selX, selY);
        drawPai(t, QStringLiteral("NOT"));
        markPartners();
    }
    showRestMsg();
    showEasyMsg();
    setMenusForGame(true);
    gameActive = true;
}

void MjanModule::loadBoardLine(const QString& line) {
    // The board follows the stage number, whose width the line's length
    // tells; cells column by column.
    qsizetype p = line.size() - kBoardChars;
    for (int x = 1; x <= kCols; ++x) {
        for (int y = 1; y <= kRows; ++y, p += 3) {
            const int t = line.mid(p, 3).toInt();
            boardMap.at(x, y) = static_cast<int16_t>(t);
            PaiRec& r = paiTbl[static_cast<std::size_t>(t)];
            r.boardX = static_cast<int16_t>(x);
            r.boardY = static_cast<int16_t>(y);
        }
    }
}

}  // namespace tessarin
