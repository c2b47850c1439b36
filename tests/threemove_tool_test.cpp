// `tessarin-tool three` plays a board as the game does: the same boards and
// clicks give the same counters and cells as the game itself.
#include "stages_support.h"
#include "support/threemove_game.h"

#include <random>

namespace tessarin::test {
namespace {

ToolRun runThree(const QStringList& args) { return runTool(QStringList{QStringLiteral("three")} + args); }

class ThreeMoveTool : public ThreeMoveGame {
protected:
    // Starts the game on a stage line's board, as the tool does.
    void startOn(const QString& line) {
        StageLine stage;
        std::string error;
        ASSERT_TRUE(parseStageLine(line.toStdString(), stage, error)) << error;
        game->menuGame3_Click();
        placeStage(stage, game->boardMap, game->paiTbl, true);
        game->startThreeOnBoard();
    }
    // What the tool prints, read off the game.
    QString outcome() const {
        QString out = QStringLiteral("%1 %2 %3\n").arg(game->restPai3).arg(game->restMoves).arg(game->doneMoves);
        for (int x = 1; x <= kCols; ++x)
            for (int y = 1; y <= kRows; ++y)
                out += QStringLiteral("%1%2").arg(tileAt(x, y), 3, 10, QLatin1Char('0')).arg(
                    game->paiTbl[static_cast<std::size_t>(tileAt(x, y))].cover);
        return out + QLatin1Char('\n');
    }
};

TEST_F(ThreeMoveTool, AgreesWithTheGameOnRandomBoardsAndClicks) {
    std::mt19937 rng(2024);
    int moves = 0;
    for (int seed = 100; seed < 130; ++seed) {
        const QString line = QString::fromLatin1(stageLine(seed));
        startOn(line);
        QStringList clicks;
        for (int i = 0; i < 40; ++i) {
            // Mostly tiles that can move; some that cannot or lie right of or
            // below the field, where the board still takes clicks.
            int x = static_cast<int>(rng() % 20) + 1, y = static_cast<int>(rng() % 11) + 1, bits = 0;
            for (int tries = 0; tries < 200 && rng() % 5 != 0; ++tries) {
                x = static_cast<int>(rng() % kCols) + 1;
                y = static_cast<int>(rng() % kRows) + 1;
                if (three::moveChoices(game->boardMap, game->paiTbl, x, y, bits)) break;
            }
            const int button = std::array{kLeftButton, kRightButton, kMiddleButton}[rng() % 3];
            const int done = game->doneMoves;
            click(x, y, button);
            moves += game->doneMoves - done;
            clicks << QStringLiteral("%1,%2,%3").arg(x).arg(y).arg(button);
        }
        const ToolRun run = runThree(QStringList{line} + clicks);
        ASSERT_EQ(run.exitCode, 0) << run.stdErr.toStdString();
        ASSERT_EQ(run.stdOut, outcome()) << "seed " << seed;
    }
    EXPECT_GT(moves, 150);
}

TEST_F(ThreeMoveTool, IgnoresClicksAfterTheWinAndOffTheFieldAndRefusesMalformedInput) {
    const QString line = QString::fromStdString(formatStageLine("00000", drawThree(kLastPairBoard).map));
    EXPECT_TRUE(runThree({line}).stdOut.startsWith(QStringLiteral("2 3 0\n")));
    startOn(line);
    click(3, 1, kLeftButton);
    // The stone at (15,1) could still move, but the game is over.
    const ToolRun won = runThree({line, QStringLiteral("3,1,1"), QStringLiteral("15,1,1"), QStringLiteral("0,-7,4")});
    EXPECT_EQ(won.stdOut, outcome());
    EXPECT_TRUE(won.stdOut.startsWith(QStringLiteral("0 5 1\n")));

    const QString deal = QString::fromLatin1(stageLine(5));
    const ToolRun off = runThree({deal, QStringLiteral("0,0,1"), QStringLiteral("-3,4,2"), QStringLiteral("18,9,4"),
                               QStringLiteral("99999999999,1,1")});
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_EQ(off.stdOut, runThree({deal}).stdOut);

    // Malformed: one line on stderr, nothing on stdout, status 2.
    for (const QStringList& args : std::vector<QStringList>{
             {}, {deal.left(412)}, {QString(deal).replace(5, 3, QStringLiteral("137"))}, {deal, QStringLiteral("1,1")},
             {deal, QStringLiteral("1,1,3")}, {deal, QStringLiteral("1.5,1,1")}, {deal, QStringLiteral("1,1,1,")},
             {deal, QStringLiteral(" 1,1,1")}, {deal, QStringLiteral("1,,1")}}) {
        const ToolRun run = runThree(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.stdOut.isEmpty());
        EXPECT_EQ(run.stdErr.count(QLatin1Char('\n')), 1) << run.stdErr.toStdString();
    }
}

}  // namespace
}  // namespace tessarin::test
