// Helpers shared by the tests of stages, answers, authoring and the save
// slot: stage lines, answers that clear them, clicks on the board, and a
// record of the whole game for "nothing changed" checks.
#pragma once

#include "stages/deal.h"
#include "stages/lines.h"
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

// Clears a stage by always taking the first pair the search lists. Returns
// the answer (cell codes, first and second tile of each pair) when the board
// is cleared, an empty text when it gets stuck.
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

// The first stage number from `from` on whose deal the search's first pair
// clears every time.
inline int solvableStage(int from, QByteArray* answer = nullptr) {
    for (int n = from;; ++n) {
        const QByteArray a = greedyAnswer(stageLine(n));
        if (a.isEmpty()) continue;
        if (answer) *answer = a;
        return n;
    }
}

// A click in the middle of a field cell.
inline void clickCell(MjanModule& g, int x, int y, int button = kLeftButton) {
    g.picdest_MouseDown(button, cellPixelX(x) + 20, cellPixelY(y) + 30);
}

inline void clickCode(MjanModule& g, int code, int button = kLeftButton) {
    clickCell(g, codeX(code), codeY(code), button);
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

// Everything of the game a refused command must leave as it was.
struct Snapshot {
    BoardMap map;
    PaiTbl tbl{};
    std::array<int16_t, 141> hist{};
    int restPai = 0, moveCount = 0, selX = 0, selY = 0, selKind = 0;
    QString stageNo;
    bool stageMode = false, gameActive = false, replayMode = false, searchMode = false;
    std::vector<std::tuple<QString, bool, bool, bool>> menus;
    QImage picture;
    std::array<QString, 3> strip;

    explicit Snapshot(const MjanModule& g)
        : map(g.boardMap), tbl(g.paiTbl), hist(g.moveHist), restPai(g.restPai), moveCount(g.moveCount),
          selX(g.selX), selY(g.selY), selKind(g.selKind), stageNo(g.stageNo), stageMode(g.stageMode),
          gameActive(g.gameActive), replayMode(g.replayMode), searchMode(g.searchMode), picture(g.picdest),
          strip(g.stripText) {
        for (const MenuState& m : g.menus()) menus.emplace_back(m.caption, m.enabled, m.visible, m.checked);
    }

    void expectSame(const MjanModule& g) const {
        const Snapshot now(g);
        EXPECT_EQ(now.map, map);
        EXPECT_EQ(now.tbl, tbl);
        EXPECT_EQ(now.hist, hist);
        EXPECT_EQ(now.restPai, restPai);
        EXPECT_EQ(now.moveCount, moveCount);
        EXPECT_EQ(std::tie(now.selX, now.selY, now.selKind), std::tie(selX, selY, selKind));
        EXPECT_EQ(now.stageNo, stageNo);
        EXPECT_EQ(now.stageMode, stageMode);
        EXPECT_EQ(now.gameActive, gameActive);
        EXPECT_EQ(now.replayMode, replayMode);
        EXPECT_EQ(now.searchMode, searchMode);
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

struct ToolRun {
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

inline ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TESSARIN_GAME_DIR "/tessarin-tool"), args);
    ToolRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

}  // namespace tessarin::test
