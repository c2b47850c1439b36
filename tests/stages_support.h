// Helpers of the stage, answer, authoring, save slot and file-fault tests:
// stage lines and answers, board clicks, "nothing changed" records, tool runs.
#pragma once

#include "stages/deal.h"
#include "stages/lines.h"
#include "stages/stagegrid.h"
#include "support/gametest.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <map>
#include <tuple>
#include <vector>

namespace tessarin::test {

inline const QString kNoData = QStringLiteral("ゲームデータが見つかりません");
inline const QString kNoAnswer = QStringLiteral("回答データが見つかりません");

inline QByteArray stageLine(int n) { return QByteArray::fromStdString(dealStageLine(n)); }

// Stage lines first .. first + count - 1, CR LF after each.
inline QByteArray stageLines(int first, int count) {
    QByteArray out;
    for (int n = first; n < first + count; ++n) out += stageLine(n) + "\r\n";
    return out;
}

inline QString stageNumber(int n) { return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')); }

// The board and table a stage line describes.
inline void placeLine(const QByteArray& line, BoardMap& map, PaiTbl& tbl) {
    StageLine s;
    std::string error;
    EXPECT_TRUE(parseStageLine(line.toStdString(), s, error)) << error;
    fillPaiTbl(tbl);
    placeStage(s, map, tbl, false);
}

inline BoardMap boardOf(const QByteArray& line) {
    BoardMap map;
    PaiTbl tbl{};
    placeLine(line, map, tbl);
    return map;
}

// Clears a stage by always taking the first pair the search lists: the
// answer's cell codes when the board is cleared, empty when it gets stuck.
inline QByteArray greedyAnswer(const QByteArray& line) {
    BoardMap map;
    PaiTbl tbl{};
    placeLine(line, map, tbl);
    QByteArray answer;
    for (int pair = 0; pair < kTiles / 2; ++pair) {
        const HintList hints = findPairs(map, tbl);
        if (hints.empty()) return {};
        const PairHint h = hints[0];
        tbl[static_cast<std::size_t>(map.at(h.xL, h.yL))].state = kRemoved;
        tbl[static_cast<std::size_t>(map.at(h.xR, h.yR))].state = kRemoved;
        answer += QByteArray::fromStdString(threeDigits(cellCode(h.xL, h.yL)) + threeDigits(cellCode(h.xR, h.yR)));
    }
    return answer;
}

// The first stage number from `from` on that greedyAnswer clears.
inline int solvableStage(int from, QByteArray* answer = nullptr) {
    for (int n = from;; ++n) {
        const QByteArray a = greedyAnswer(stageLine(n));
        if (a.isEmpty()) continue;
        if (answer) *answer = a;
        return n;
    }
}

// A click in the middle of a field cell.
// A cell as the three digits answer lines use.
inline QByteArray codeText(int x, int y) { return QByteArray::fromStdString(threeDigits(cellCode(x, y))); }

// Two moves no rule allows on a full board, as answer text (two cell codes
// each): two neighbours of different kinds in row 4, and two tiles of one
// kind that cannot be joined. `blocked` is empty if every kind can be joined.
struct IllegalPairs {
    QByteArray differ, blocked;
};
inline IllegalPairs illegalPairs(const BoardMap& map, const PaiTbl& tbl) {
    IllegalPairs pairs;
    const auto kindAt = [&](int x, int y) { return tbl[static_cast<std::size_t>(map.at(x, y))].kind; };
    int dx = 1;
    while (kindAt(dx, 4) == kindAt(dx + 1, 4)) ++dx;
    pairs.differ = codeText(dx, 4) + codeText(dx + 1, 4);
    for (int t = 1; t <= kTiles && pairs.blocked.isEmpty(); ++t) {
        const PaiRec& a = tbl[static_cast<std::size_t>(t)];
        const PaiRec& b = tbl[static_cast<std::size_t>(t % 4 == 0 ? t - 3 : t + 1)];
        if (!canConnect(map, tbl, a.boardX, a.boardY, b.boardX, b.boardY))
            pairs.blocked = codeText(a.boardX, a.boardY) + codeText(b.boardX, b.boardY);
    }
    return pairs;
}

inline void clickCell(MjanModule& g, int x, int y, int button = kLeftButton) {
    g.picdest_MouseDown(button, cellPixelX(x) + 20, cellPixelY(y) + 30);
}

inline void clickCode(MjanModule& g, int code, int button = kLeftButton) {
    clickCell(g, codeX(code), codeY(code), button);
}

// Takes off the first pair the search lists, as a player would.
inline void takeFirstPair(MjanModule& g) {
    g.menuSrh_Click();
    const int a = g.hintList[1].left, b = g.hintList[1].right;
    clickCell(g, 1, 1, kRightButton);  // leave the search
    clickCode(g, a);
    clickCode(g, b);
}

// Opens "面選択" and double-clicks (row, col) when a row is given; returns
// the grid as the window was given it.
inline StageGrid openStages(FakeUi& ui, MjanModule& g, int row = -1, int col = -1) {
    StageGrid shown;
    ui.onStageSelection = [&](StageGrid& grid) {
        shown = grid;
        if (row >= 0) grid.doubleClick(row, col);
    };
    g.menuStartChoise_Click();
    ui.onStageSelection = nullptr;
    return shown;
}

// The red outline inside a cell: two opposite corners are red.
inline bool outlined(const MjanModule& g, int x, int y) {
    const QRgb red = qRgb(255, 0, 0);
    return pixelAt(g.picdest, cellPixelX(x) + 1, cellPixelY(y) + 1) == red &&
           pixelAt(g.picdest, cellPixelX(x) + 43, cellPixelY(y) + 53) == red;
}

// Every field cell shows what the tables say: the tile's face while it is
// on the board, the blank picture once it has been taken off.
inline void expectPictureMatchesBoard(const MjanModule& g) {
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y) {
            const int t = g.boardMap.at(x, y);
            const int state = g.paiTbl[static_cast<std::size_t>(t)].state;
            const QRgb face = paiColour(g.paiTbl, t);
            const QRgb shown = state == kRemoved ? paiColour(g.paiTbl, kBlankPai) : state == kPicked ? inverted(face) : face;
            ASSERT_EQ(cellColour(g, x, y), shown) << "cell " << x << "," << y;
        }
}

// Everything of the game a refused command must leave as it was, of either
// game type.
struct Snapshot {
    BoardMap map;
    PaiTbl tbl{};
    std::array<int16_t, 141> hist{};
    std::vector<int> counters;
    QString stageNo;
    std::vector<bool> modes;
    std::vector<std::tuple<QString, bool, bool, bool>> menus;
    QImage picture;
    std::array<QString, 3> strip;

    explicit Snapshot(const MjanModule& g)
        : map(g.boardMap), tbl(g.paiTbl), hist(g.moveHist),
          counters{g.restPai, g.moveCount, g.selX, g.selY, g.selKind, g.restPai3, g.restMoves, g.doneMoves, g.gameKind},
          stageNo(g.stageNo), modes{g.stageMode, g.gameActive, g.replayMode, g.searchMode}, picture(g.picdest),
          strip(g.stripText) {
        for (const MenuState& m : g.menus()) menus.emplace_back(m.caption, m.enabled, m.visible, m.checked);
    }

    void expectSame(const MjanModule& g) const {
        const Snapshot now(g);
        EXPECT_EQ(now.map, map);
        EXPECT_EQ(now.tbl, tbl);
        EXPECT_EQ(now.hist, hist);
        EXPECT_EQ(now.counters, counters) << "restPai moveCount selX selY selKind restPai3 restMoves doneMoves gameKind";
        EXPECT_EQ(now.stageNo, stageNo);
        EXPECT_EQ(now.modes, modes) << "stageMode gameActive replayMode searchMode";
        EXPECT_EQ(now.menus, menus);
        EXPECT_TRUE(now.picture == picture) << "the board picture changed";
        EXPECT_EQ(now.strip, strip);
    }
};

// Every ordinary file of a folder with its bytes.
inline std::map<QString, QByteArray> folderBytes(const QString& dir) {
    std::map<QString, QByteArray> out;
    for (const QString& name : QDir(dir).entryList(QDir::Files)) {
        QFile f(QDir(dir).filePath(name));
        if (f.open(QIODevice::ReadOnly)) out[name] = f.readAll();
    }
    return out;
}

// A game with the authoring build's commands beside the player's `game`,
// in the same folder and with the same clock.
class AuthorTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        author = std::make_unique<MjanModule>(dir.path(), ui, true);
        ASSERT_TRUE(author->startUp());
        author->clock = game->clock;  // 6 December, 03:25:57: seed 33763
    }
    std::unique_ptr<MjanModule> author;
};

// A run of tessarin-tool: its output as written, and split into lines.
struct ToolRun {
    int exitCode = -1;
    QString stdOut, stdErr;
    QStringList out, err;
};

inline ToolRun runTool(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(TESSARIN_GAME_DIR "/tessarin-tool"), args);
    ToolRun r;
    EXPECT_TRUE(p.waitForStarted(10000));
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.stdOut = QString::fromUtf8(p.readAllStandardOutput());
    r.stdErr = QString::fromUtf8(p.readAllStandardError());
    r.out = r.stdOut.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = r.stdErr.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

}  // namespace tessarin::test
