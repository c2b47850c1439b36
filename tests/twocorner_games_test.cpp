// Whole TwoCorner games played as a player plays them: deal, ask the search,
// take its first pair with two clicks, until the board is clear or stuck;
// then every pair is taken back. And `tessarin-tool pairs`, which must list
// what the search in the game lists.
#include "stages_support.h"

namespace tessarin::test {
namespace {

// The record of the tile in the cell of a cell code.
const PaiRec& recAt(const MjanModule& g, int code) {
    return g.paiTbl[static_cast<std::size_t>(g.boardMap.at(codeX(code), codeY(code)))];
}

// restPai, the move record and the tile states tell the same story.
void expectCountsAgree(const MjanModule& g, int pairsTaken) {
    ASSERT_TRUE(boardIsConsistent(g.boardMap, g.paiTbl));
    int removed = 0;
    for (int t = 1; t <= kTiles; ++t) removed += g.paiTbl[static_cast<std::size_t>(t)].state == kRemoved;
    ASSERT_EQ((std::tuple(g.restPai, g.moveCount, removed)),
              std::tuple(kTiles - 2 * pairsTaken, 2 * pairsTaken, 2 * pairsTaken));
    for (int i = 1; i <= g.moveCount; ++i)
        ASSERT_EQ(recAt(g, g.moveHist[static_cast<std::size_t>(i)]).state, kRemoved) << "move " << i;
}

struct Outcome {
    bool won = false, stuck = false;
    int pairs = 0, takenByEasyMode = 0;  // easy mode: pairs taken by the first click alone
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
        const int first = g.hintList[1].left, second = g.hintList[1].right;
        // The outlined pair really is a pair of one kind that can be joined.
        EXPECT_EQ(recAt(g, first).kind, recAt(g, second).kind);
        EXPECT_TRUE(canConnect(g.boardMap, g.paiTbl, codeX(first), codeY(first), codeX(second), codeY(second)));

        clickCell(g, 1, 1, kRightButton);  // leave the search
        EXPECT_FALSE(g.searchMode);
        clickCode(g, first);
        // In easy mode the first click may already take the only partner.
        if (g.moveCount % 2 == 1) clickCode(g, second);
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
            EXPECT_EQ((std::pair(out.pairs, game->restPai)), std::pair(kTiles / 2, 0));
            // Each pair flashed with three pauses, then the congratulation
            // grew in 23 steps.
            ASSERT_EQ(ui.waits.size(), 3u * 68u + 23u);
            EXPECT_EQ(std::vector<int>(ui.waits.end() - 23, ui.waits.end()), std::vector<int>(23, 20));
            EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled || game->menu(MenuId::Srh).enabled);
            // The congratulation in white on the cleared surface.
            int white = 0;
            for (int x = 0; x < kSurfaceW; ++x) white += pixelAt(game->picdest, x, 215) == kTextWhite;
            EXPECT_GT(white, 20);
            EXPECT_EQ(cellColour(*game, 1, 1), kBoardGreen);
            // The board is over: clicks and the undo change nothing.
            const QImage done = game->picdest;
            clickCell(*game, 1, 1);
            game->menuPaiBack_Click();
            EXPECT_TRUE(game->picdest == done && game->restPai == 0);
            continue;
        }
        ASSERT_TRUE(out.stuck && game->restPai > 0);
        ++stuck;
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
    EXPECT_TRUE(won > 0 && stuck > 0);
}

// ---------------------------------------------------------------------------
// tessarin-tool pairs

ToolRun runPairs(const QStringList& args) { return runTool(QStringList{QStringLiteral("pairs")} + args); }

QString movesOf(const MjanModule& g) {
    QString moves;
    for (int i = 1; i <= g.moveCount; ++i)
        moves += QString::fromStdString(threeDigits(g.moveHist[static_cast<std::size_t>(i)]));
    return moves;
}

TEST_F(WholeGames, TheToolListsWhatTheSearchInTheGameLists) {
    int compared = 0;
    for (const QTime& at : {QTime(3, 25, 57), QTime(0, 0, 5), QTime(18, 7, 33)}) {
        game->clock = [at] { return QDateTime(QDate(2026, 12, 6), at); };
        startRandom();
        // A deal's number may have six digits, a stage line's five.
        const QString line = QString::fromStdString(formatStageLine("00000", game->boardMap));
        // Compare at the start, after some pairs and where the game ends,
        // taking always the last pair of the list.
        for (int pairs = 0;; ++pairs) {
            game->menuSrh_Click();
            QStringList hints;
            for (int i = 1; game->searchMode && i <= game->searchCount; ++i) hints << game->hintCode(i);
            if (pairs % 9 == 0 || hints.isEmpty()) {
                const ToolRun run = runPairs({line, movesOf(*game)});
                EXPECT_EQ((std::tuple(run.exitCode, run.out, run.err)), std::tuple(0, hints, QStringList()))
                    << "after " << pairs << " pairs";
                ++compared;
            }
            if (hints.isEmpty()) break;
            const QString last = hints.last();
            clickCell(*game, 1, 1, kRightButton);
            clickCell(*game, last.left(2).toInt(), last.mid(2, 1).toInt());
            clickCell(*game, last.mid(3, 2).toInt(), last.mid(5, 1).toInt());
            if (!game->gameActive) break;
        }
    }
    EXPECT_GT(compared, 10);
}

TEST(PairsTool, RefusesMalformedInputNamingTheProblem) {
    const QString line = QString::fromLatin1(stageLine(33763));
    BoardMap map;
    PaiTbl tbl{};
    placeLine(stageLine(33763), map, tbl);
    const auto code = [](int x, int y) { return QString::fromLatin1(codeText(x, y)); };

    // A pair that can be taken, two neighbours of different kinds, and two
    // tiles of one kind that cannot be joined on the full board.
    const PairHint ok = findPairs(map, tbl)[0];
    const QString legal = code(ok.xL, ok.yL) + code(ok.xR, ok.yR);
    const IllegalPairs bad = illegalPairs(map, tbl);
    ASSERT_FALSE(bad.blocked.isEmpty());
    const QString differ = QString::fromLatin1(bad.differ), blocked = QString::fromLatin1(bad.blocked);

    const QString twice = QString(line).replace(5, 3, line.mid(8, 3));  // the second cell's tile in the first too
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
        const ToolRun run = runPairs(c.args);
        EXPECT_EQ((std::tuple(run.exitCode, run.out.size(), run.err.size())), std::tuple(2, 0, 1))
            << c.says.toStdString();
        EXPECT_TRUE(run.err.value(0).contains(c.says)) << run.err.value(0).toStdString();
    }

    // Without moves: the start position; an empty MOVES is the same.
    const ToolRun start = runPairs({line});
    EXPECT_EQ(start.exitCode, 0);
    EXPECT_EQ(start.out.value(0), QString::fromStdString(pairCodeText(ok)));
    EXPECT_EQ(runPairs({line, QString()}).out, start.out);
}

}  // namespace
}  // namespace tessarin::test
