// "面選択": the stage grid, its completion marks, a double-click starting a
// stage, and damaged or missing files refused without touching the game.
#include "app/mainwindow.h"
#include "app/stagedialog.h"
#include "stages_support.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tessarin::test {
namespace {

const QString kBlanks = QStringLiteral(" \u3000\u3000");

// The nth stage place of the grid, five to a row.
const StageGrid::Cell& place(const StageGrid& grid, int n) { return grid.at((n + 4) / 5, (n - 1) % 5 + 1); }

// A double-click on a table cell through the window system.
void doubleClickItem(QTableWidget* table, int row, int col) {
    QWidget* window = table->window();
    const QPoint at = table->viewport()->mapTo(window, table->visualItemRect(table->item(row, col)).center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

using StageSelection = GameTest;

TEST_F(StageSelection, TheGridListsFiveStagesARowForNoneFiveAndTwelveStages) {
    for (const auto& [stages, rows] : {std::pair{0, 2}, std::pair{5, 2}, std::pair{12, 4}}) {
        SCOPED_TRACE(stages);
        writeFile(QStringLiteral("maptwo0.map"), stageLines(1, stages));
        StageGrid grid = openStages(ui, *game);
        EXPECT_EQ(std::tuple(grid.rows, grid.cols, grid.topRow), std::tuple(rows, 6, 1));
        for (int n = 1; n <= (rows - 1) * 5; ++n) {
            EXPECT_EQ(place(grid, n).text, n <= stages ? stageNumber(n) + kBlanks : QString()) << n;
            EXPECT_EQ(place(grid, n).back, StageGrid::kPlainBack);
        }
        // The window shows it: column 0 hidden, the header, the first stage current.
        StageDialog dialog(grid);
        dialog.show();
        const QTableWidget* table = dialog.msGrid();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("面選択"));
        EXPECT_EQ(dialog.size(), QSize(358, 321));
        EXPECT_EQ(table->geometry(), QRect(0, 0, 358, 321));
        EXPECT_EQ(std::pair(table->rowCount(), table->columnCount()), std::pair(rows - 1, 6));
        EXPECT_EQ(table->columnWidth(0), 0);
        for (int c = 1; c <= 5; ++c) {
            EXPECT_EQ(table->columnWidth(c), 67);
            EXPECT_EQ(table->horizontalHeaderItem(c)->text(), QStringLiteral("GAME NO"));
        }
        EXPECT_EQ(table->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(std::pair(table->currentRow(), table->currentColumn()), std::pair(0, 1));
    }
    EXPECT_EQ(ui.stageSelections, 3);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(game->stageMode);
}

TEST_F(StageSelection, LinesAreNumberedAcrossTheFilesWhateverTheirLineEnds) {
    // Every kind of line end and an empty line; maptwo2.map repeats number
    // 00002 with another board; a wrongly cased name is no stage file.
    writeFile(QStringLiteral("maptwo0.map"), stageLine(1) + "\r\n" + stageLine(2) + "\n" + stageLine(3) + "\r" +
                                                 "\r\n" + stageLine(5) + "\r\n" + stageLine(6) + "\n" + stageLine(7));
    QByteArray again = stageLine(43);
    again.replace(0, 5, "00002");
    writeFile(QStringLiteral("maptwo2.map"), again + "\r\n" + stageLines(9, 2));
    writeFile(QStringLiteral("MAPTWO1.MAP"), stageLines(50, 5));
    const StageGrid grid = openStages(ui, *game);
    EXPECT_EQ(grid.rows, 3);
    for (const auto& [n, number] : {std::pair{3, 3}, std::pair{7, 7}, std::pair{8, 2}, std::pair{10, 10}})
        EXPECT_EQ(place(grid, n).text, stageNumber(number) + kBlanks) << n;
    EXPECT_EQ(place(grid, 4).text, kBlanks);  // the empty line keeps its place

    // The empty place starts nothing; a repeated number loads its first stage.
    openStages(ui, *game, 1, 4);
    EXPECT_FALSE(game->gameActive);
    openStages(ui, *game, 2, 2);
    EXPECT_EQ(game->stageNo, stageNumber(7));
    EXPECT_EQ(game->boardMap, boardOf(stageLine(7)));
    openStages(ui, *game, 2, 3);
    EXPECT_EQ(game->boardMap, boardOf(stageLine(2)));
}

TEST_F(StageSelection, SolvedStagesAreMarkedOnceWhateverTheSpacesAroundThem) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1, 12));
    writeFile(QStringLiteral("cmptwo.map"),
              QByteArray("  00002  \r\n") +            // ordinary spaces
                  "\xE3\x80\x80" "00004\xE3\x80\x80\r\n" +  // ideographic spaces in UTF-8
                  "\x81\x40" "00011\x81\x40\n" +       // and in the Japanese code page
                  "1234\r\n012345\r\n00099\r\n" +      // not a listed stage number
                  "\x82\xA0" "0005\r\n" +              // a foreign character
                  "00002\r\n");                        // solved twice, marked once
    const StageGrid grid = openStages(ui, *game);
    for (int n = 1; n <= 12; ++n) {
        const bool solved = n == 2 || n == 4 || n == 11;
        SCOPED_TRACE(n);
        EXPECT_EQ(place(grid, n).text, stageNumber(n) + (solved ? QStringLiteral(" 成功") : kBlanks));
        EXPECT_EQ(place(grid, n).back, solved ? qRgb(0, 255, 255) : StageGrid::kPlainBack);
        EXPECT_EQ(place(grid, n).fore, solved ? qRgb(255, 0, 0) : StageGrid::kPlainText);
    }
    // Marked or not, every stage can be played.
    openStages(ui, *game, 1, 2);
    EXPECT_EQ(game->stageNo, stageNumber(2));
}

TEST_F(StageSelection, ADoubleClickStartsTheStageAndHeaderOrEmptyPlacesStartNothing) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(40, 7));
    startRandom();
    const Snapshot before(*game);
    for (const auto& cell : {std::pair{0, 1}, std::pair{2, 3}, std::pair{2, 5}, std::pair{1, 0}}) {
        ui.onStageSelection = [&](StageGrid& g) {
            EXPECT_FALSE(g.doubleClick(cell.first, cell.second));
            // Even when the window reports it, the game passes over it.
            std::tie(g.row, g.col, g.doubleClicked) = std::tuple(cell.first, cell.second, true);
        };
        game->menuStartChoise_Click();
        before.expectSame(*game);
    }
    EXPECT_TRUE(ui.boxes.empty());

    openStages(ui, *game, 1, 3);
    EXPECT_EQ(game->stageNo, QStringLiteral("00042"));
    EXPECT_EQ(game->boardMap, boardOf(stageLine(42)));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_EQ(std::tuple(game->stageMode, game->gameActive, game->restPai, game->moveCount), std::tuple(true, true, 136, 0));
    EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [00042]"));
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【136】牌"));
    EXPECT_TRUE(game->menu(MenuId::Option2Ans).enabled);
    EXPECT_TRUE(game->menu(MenuId::PaiBack).enabled);
    expectPictureMatchesBoard(*game);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(StageSelection, DamagedStagesAndUnreadableFilesAreReportedAndChangeNothing) {
    startRandom();
    takeFirstPair(*game);
    QByteArray twice = stageLine(3);
    twice.replace(8, 3, twice.mid(5, 3));  // cell (1, 2) repeats cell (1, 1)
    QByteArray tooHigh = stageLine(4);
    tooHigh.replace(200, 3, "999");
    QByteArray letter = stageLine(5);
    letter[300] = 'x';
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1, 2) + twice + "\r\n" + tooHigh + "\r\n" + letter + "\r\n" +
                                                 stageLine(6).left(200) + "\r\n00007\r\n");
    const Snapshot before(*game);
    const auto files = folderBytes(dir.path());
    const auto expectRefused = [&](std::size_t messages) {
        ASSERT_EQ(ui.boxes.size(), messages);
        EXPECT_EQ(ui.boxes.back().text, kNoData);
        EXPECT_TRUE(ui.boxes.back().title.isEmpty());
        before.expectSame(*game);
    };
    // Every damaged line is listed in its place, and refused when picked.
    for (int n = 3; n <= 7; ++n) {
        SCOPED_TRACE(n);
        const StageGrid grid = openStages(ui, *game, (n + 4) / 5, (n - 1) % 5 + 1);
        EXPECT_EQ(place(grid, n).text.left(5), stageNumber(n));
        expectRefused(static_cast<std::size_t>(n - 2));
    }
    EXPECT_EQ(folderBytes(dir.path()), files);

    // The file vanishes while the window is open.
    ui.onStageSelection = [&](StageGrid& grid) {
        QFile::remove(path(QStringLiteral("maptwo0.map")));
        grid.doubleClick(1, 1);
    };
    game->menuStartChoise_Click();
    ui.onStageSelection = nullptr;
    expectRefused(6);

    // No file, a dangling link, a folder, too many lines: a message, no window.
    const int shown = ui.stageSelections;
    game->menuStartChoise_Click();
    expectRefused(7);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone.map")), path(QStringLiteral("maptwo0.map"))));
    game->menuStartChoise_Click();
    expectRefused(8);
    QFile::remove(path(QStringLiteral("maptwo0.map")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("maptwo0.map")));
    game->menuStartChoise_Click();
    expectRefused(9);
    writeFile(QStringLiteral("maptwo1.map"), QByteArray("\r\n").repeated(32767));
    writeFile(QStringLiteral("maptwo2.map"), QByteArray("\r\n"));
    game->menuStartChoise_Click();
    expectRefused(10);
    EXPECT_EQ(ui.stageSelections, shown);

    // 32767 lines are still numbered.
    QFile::remove(path(QStringLiteral("maptwo2.map")));
    EXPECT_EQ(openStages(ui, *game).rows, 1 + 32767 / 5 + 1);
    EXPECT_EQ(ui.boxes.size(), 10u);
}

// The real window, opened modally from the main window's menu.
TEST(StageWindowInTheMainWindow, ADoubleClickOnAStageStartsItAndEscapeLeavesTheGameAlone) {
    QTemporaryDir dir;
    writeTestSheet(dir.path());
    QFile f(dir.filePath(QStringLiteral("maptwo0.map")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(stageLines(20, 7)) > 0);
    f.close();
    MainWindow window(dir.path(), false);
    ASSERT_TRUE(window.start());
    int quits = 0;
    window.quitApplication = [&] { ++quits; };
    window.show();
    // Opens the window from the menu and runs `inside` on it.
    const auto openWith = [&](const std::function<void(StageDialog&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<StageDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            inside(*dialog);
            if (dialog->isVisible()) dialog->reject();  // never leave the test waiting
        });
        window.action(MenuId::StartChoise)->trigger();
        EXPECT_TRUE(seen);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    };

    openWith([](StageDialog& dialog) {
        doubleClickItem(dialog.msGrid(), 1, 4);  // an empty place: the window stays
        EXPECT_TRUE(dialog.isVisible());
        doubleClickItem(dialog.msGrid(), 0, 3);  // stage 00022
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    MjanModule& game = window.game();
    EXPECT_EQ(game.stageNo, QStringLiteral("00022"));
    EXPECT_TRUE(game.stageMode && game.gameActive);
    EXPECT_TRUE(window.action(MenuId::Option2Ans)->isEnabled());

    // After a pair, Esc closes it: the game stays, no longer counted as a stage.
    takeFirstPair(game);
    ASSERT_EQ(game.restPai, 134);
    const Snapshot before(game);
    openWith([](StageDialog& dialog) {
        QTest::keyClick(dialog.msGrid(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    });
    EXPECT_FALSE(game.stageMode);
    game.stageMode = true;
    before.expectSame(game);  // menus too: Esc does not update them
    EXPECT_EQ(quits, 0);
}

}  // namespace
}  // namespace tessarin::test
