// Whole TwoCorner games played the way a player plays them: deal, ask the
// search, take its first pair with two clicks on the board, until the board
// is clear or the search says the game is stuck; then every pair is taken
// back again. And `tessarin-tool pairs`, which must list what the search in
// the game lists.
#include "stages/deal.h"
#include "stages/lines.h"
#include "support/gametest.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <QProcess>

namespace tessarin::test {
namespace {

// A left or right click in the middle of a field cell.
void click(MjanModule& g, int x, int y, int button = kLeftButton) {
    g.picdest_MouseDown(button, cellPixelX(x) + 20, cellPixelY(y) + 30);
}

// What the player sees in each field cell agrees with the tile table: a
// removed tile shows the blank picture, a present one its own.
void expectPictureMatchesBoard(const MjanModule& g) {
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) {
            const int t = g.boardMap.at(x, y);
            const int shown = g.paiTbl[static_cast<std::size_t>(t)].state == kRemoved ? kBlankPai : t;
            ASSERT_EQ(cellColour(g, x, y), paiColour(g.paiTbl, shown)) << "cell " << x << "," << y;
        }
}

// restPai, the move record and the tile states tell the same story.
void expectCountsAgree(const MjanModule& g, int pairsTaken) {
    ASSERT_TRUE(boardIsConsistent(g.boardMap, g.paiTbl));
    ASSERT_EQ(g.restPai, kTiles - 2 * pairsTaken);
    ASSERT_EQ(g.moveCount, 2 * pairsTaken);
    int removed = 0;
    for (int t = 1; t <= kTiles; ++t) removed += g.paiTbl[static_cast<std::size_t>(t)].state == kRemoved;
    ASSERT_EQ(removed, 2 * pairsTaken);
    for (int i = 1; i <= g.moveCount; ++i) {
        const int code = g.moveHist[static_cast<std::size_t>(i)];
        const int t = g.boardMap.at(codeX(code), codeY(code));
        ASSERT_EQ(g.paiTbl[static_cast<std::size_t>(t)].state, kRemoved) << "move " << i;
    }
}

struct Outcome {
    bool won = false;
    bool stuck = false;
    int pairs = 0;
    int takenByEasyMode = 0;  // pairs completed by the first click alone
};

// Plays the dealt game to its end by always taking the search's first pair.
Outcome playOut(MjanModule& g, FakeUi& ui) {
    Outcome out;
    for (;;) {
        const std::size_t boxes = ui.boxes.size();
        g.menuSrh_Click();
        if (ui.boxes.size() > boxes) {
            EXPECT_EQ(ui.boxes.back().text, QStringLiteral("手詰まりです"));
            EXPECT_FALSE(g.searchMode);
            out.stuck = true;
            return out;
        }
        EXPECT_TRUE(g.searchMode);
        const int first = g.hintList[1].left;
        const int second = g.hintList[1].right;
        // The outlined pair really is a pair of one kind that can be joined.
        const PaiRec& a = g.paiTbl[static_cast<std::size_t>(g.boardMap.at(codeX(first), codeY(first)))];
        const PaiRec& b = g.paiTbl[static_cast<std::size_t>(g.boardMap.at(codeX(second), codeY(second)))];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_TRUE(canConnect(g.boardMap, g.paiTbl, codeX(first), codeY(first), codeX(second), codeY(second)));

        click(g, 1, 1, kRightButton);  // leave the search
        EXPECT_FALSE(g.searchMode);
        click(g, codeX(first), codeY(first));
        // In easy mode the first click may already take the only partner.
        if (g.moveCount % 2 == 1) click(g, codeX(second), codeY(second));
        else ++out.takenByEasyMode;
        ++out.pairs;
        if (!g.gameActive) {
            out.won = true;
            return out;
        }
        expectCountsAgree(g, out.pairs);
        expectPictureMatchesBoard(g);
        if (::testing::Test::HasFatalFailure()) return out;
    }
}

using WholeGames = GameTest;

TEST_F(WholeGames, PlayedToTheEndAndTakenBackToTheStart) {
    struct Deal {
        int hour, minute, second;
        bool easy;
    };
    // Deals chosen so that some are cleared and some get stuck, with and
    // without easy mode.
    const std::vector<Deal> deals = {{3, 25, 57, false}, {0, 0, 5, false}, {10, 11, 12, true},
                                     {7, 42, 3, true},   {22, 2, 48, false}, {15, 30, 0, true}};
    int won = 0, stuck = 0;
    for (const Deal& d : deals) {
        SCOPED_TRACE(testing::Message() << "deal at " << d.hour << ":" << d.minute << ":" << d.second);
        game->clock = [d] { return QDateTime(QDate(2026, 12, 6), QTime(d.hour, d.minute, d.second)); };
        if (game->easyMode != d.easy) game->menuOptionTwoEasy_Click();
        startRandom();
        const BoardMap startMap = game->boardMap;
        const PaiTbl startTbl = game->paiTbl;
        const QImage startPicture = game->picdest;

        ui.waits.clear();
        const Outcome out = playOut(*game, ui);
        ASSERT_FALSE(HasFatalFailure());
        if (d.easy) EXPECT_GT(out.takenByEasyMode, 0);
        else EXPECT_EQ(out.takenByEasyMode, 0);
        if (out.won) {
            ++won;
            EXPECT_EQ(out.pairs, kTiles / 2);
            EXPECT_EQ(game->restPai, 0);
            // Each pair flashed with three pauses, then the congratulation
            // grew in 23 steps.
            ASSERT_EQ(ui.waits.size(), 3u * 68u + 23u);
            EXPECT_EQ(std::vector<int>(ui.waits.end() - 23, ui.waits.end()), std::vector<int>(23, 20));
            EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
            EXPECT_FALSE(game->menu(MenuId::Srh).enabled);
            // The congratulation in white on the cleared surface.
            int white = 0;
            for (int x = 0; x < kSurfaceW; ++x) white += pixelAt(game->picdest, x, 215) == kTextWhite;
            EXPECT_GT(white, 20);
            EXPECT_EQ(cellColour(*game, 1, 1), kBoardGreen);
            // The board is over: clicks and the undo change nothing.
            const QImage done = game->picdest;
            click(*game, 1, 1);
            game->menuPaiBack_Click();
            EXPECT_EQ(game->picdest, done);
            EXPECT_EQ(game->restPai, 0);
            continue;
        }
        ASSERT_TRUE(out.stuck);
        ++stuck;
        EXPECT_GT(game->restPai, 0);
        // Undo walks back pair by pair to the very first position.
        for (int p = out.pairs; p > 0; --p) {
            game->menuPaiBack_Click();
            expectCountsAgree(*game, p - 1);
            ASSERT_FALSE(HasFatalFailure());
        }
        EXPECT_EQ(game->boardMap, startMap);
        EXPECT_EQ(game->paiTbl, startTbl);
        EXPECT_EQ(game->picdest, startPicture);
        game->menuPaiBack_Click();  // nothing left to take back
        EXPECT_EQ(game->paiTbl, startTbl);
    }
    EXPECT_GT(won, 0);
    EXPECT_GT(stuck, 0);
}

// ---------------------------------------------------------------------------
// tessarin-tool pairs

QStringList gameHints(const MjanModule& g) {
    QStringList codes;
    for (int i = 1; i <= g.searchCount; ++i) codes << g.hintCode(i);
    return codes;
}

struct ToolRun {
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

ToolRun runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TESSARIN_GAME_DIR "/tessarin-tool"), args);
    ToolRun r;
    if (!p.waitForFinished(20000)) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

// The board as a stage line (a deal's number may have six digits; a stage's
// has five).
QString stageLineOf(const MjanModule& g) { return QString::fromStdString(formatStageLine("00000", g.boardMap)); }

QString movesOf(const MjanModule& g) {
    QString moves;
    for (int i = 1; i <= g.moveCount; ++i)
        moves += QString::fromStdString(threeDigits(g.moveHist[static_cast<std::size_t>(i)]));
    return moves;
}

TEST_F(WholeGames, TheToolListsWhatTheSearchInTheGameLists) {
    const std::vector<QTime> clocks = {QTime(3, 25, 57), QTime(0, 0, 5), QTime(18, 7, 33)};
    int compared = 0;
    for (const QTime& at : clocks) {
        game->clock = [at] { return QDateTime(QDate(2026, 12, 6), at); };
        startRandom();
        const QString line = stageLineOf(*game);
        // Compare at the start, after some pairs and where the game ends,
        // taking always the last pair of the list.
        for (int pairs = 0;; ++pairs) {
            game->menuSrh_Click();
            const QStringList hints = game->searchMode ? gameHints(*game) : QStringList();
            if (pairs % 9 == 0 || hints.isEmpty()) {
                const ToolRun run = runTool({QStringLiteral("pairs"), line, movesOf(*game)});
                ASSERT_EQ(run.exitCode, 0) << run.err.join(QLatin1Char('\n')).toStdString();
                EXPECT_EQ(run.out, hints) << "after " << pairs << " pairs";
                EXPECT_TRUE(run.err.isEmpty());
                ++compared;
            }
            if (hints.isEmpty()) break;
            const QString last = hints.last();
            click(*game, 1, 1, kRightButton);
            click(*game, last.left(2).toInt(), last.mid(2, 1).toInt());
            click(*game, last.mid(3, 2).toInt(), last.mid(5, 1).toInt());
            if (!game->gameActive) break;
        }
    }
    EXPECT_GT(compared, 10);
}

TEST(PairsTool, RefusesMalformedInputNamingTheProblem) {
    const std::string stage = dealStageLine(33763);
    StageLine parsed;
    std::string error;
    ASSERT_TRUE(parseStageLine(stage, parsed, error));
    BoardMap map;
    PaiTbl tbl;
    fillPaiTbl(tbl);
    placeStage(parsed, map, tbl, false);
    const auto code = [](int x, int y) { return QString::fromStdString(threeDigits(cellCode(x, y))); };
    const auto kindAt = [&](int x, int y) { return tbl[static_cast<std::size_t>(map.at(x, y))].kind; };

    // A pair that can be taken, two neighbours of different kinds, and two
    // tiles of one kind that cannot be joined on the full board.
    const PairHint ok = findPairs(map, tbl)[0];
    const QString legal = code(ok.xL, ok.yL) + code(ok.xR, ok.yR);
    int dx = 1;
    while (kindAt(dx, 4) == kindAt(dx + 1, 4)) ++dx;
    const QString differ = code(dx, 4) + code(dx + 1, 4);
    QString blocked;
    for (int t = 1; t <= kTiles && blocked.isEmpty(); ++t) {
        const PaiRec& a = tbl[static_cast<std::size_t>(t)];
        const PaiRec& b = tbl[static_cast<std::size_t>(t % 4 == 0 ? t - 3 : t + 1)];
        if (!canConnect(map, tbl, a.boardX, a.boardY, b.boardX, b.boardY))
            blocked = code(a.boardX, a.boardY) + code(b.boardX, b.boardY);
    }
    ASSERT_FALSE(blocked.isEmpty());

    const QString line = QString::fromStdString(stage);
    QString twice = line;
    twice.replace(5, 3, line.mid(8, 3));  // the second tile's number in the first cell too
    struct Case {
        QStringList args;
        QString says;
    };
    const std::vector<Case> cases = {
        {{line.left(412)}, QStringLiteral("413 characters")},
        {{line.left(412) + QLatin1Char('x')}, QStringLiteral("only digits")},
        {{twice}, QStringLiteral("appears twice")},
        {{line, legal + differ}, QStringLiteral("pair 2")},
        {{line, blocked}, QStringLiteral("pair 1")},
        {{line, legal + legal}, QStringLiteral("pair 2")},
        {{line, legal + legal.left(3)}, QStringLiteral("pair 2")},
        {{line, code(5, 1) + code(5, 1)}, QStringLiteral("pair 1")},
        {{line, legal + QStringLiteral("190011")}, QStringLiteral("pair 2")},
        {{line, legal + QStringLiteral("0110")}, QStringLiteral("multiple of 3")},
        {{line, legal, legal}, QStringLiteral("STAGE_LINE")},
    };
    for (const Case& c : cases) {
        QStringList args{QStringLiteral("pairs")};
        args += c.args;
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << c.says.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.says.toStdString();
        ASSERT_EQ(run.err.size(), 1) << c.says.toStdString();
        EXPECT_TRUE(run.err[0].contains(c.says)) << run.err[0].toStdString();
    }

    // Without moves: the start position; an empty MOVES is the same.
    const ToolRun start = runTool({QStringLiteral("pairs"), line});
    EXPECT_EQ(start.exitCode, 0);
    EXPECT_EQ(start.out.value(0), QString::fromStdString(pairCodeText(ok)));
    EXPECT_EQ(runTool({QStringLiteral("pairs"), line, QString()}).out, start.out);
}

}  // namespace
}  // namespace tessarin::test
