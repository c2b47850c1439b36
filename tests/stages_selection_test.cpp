// "面選択": the stages of maptwo0.map .. maptwo9.map in the selection grid,
// the solved ones marked from cmptwo.map, a double-click starting one, and
// every damaged or missing file refused without touching the game.
#include "app/mainwindow.h"
#include "app/stagedialog.h"
#include "stages/stagegrid.h"
#include "stages_support.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <optional>

namespace tessarin::test {
namespace {

const QString kNoData = QStringLiteral("ゲームデータが見つかりません");
const QString kBlanks = QStringLiteral(" \u3000\u3000");

// A double-click through the window system: press, release, press,
// release on the cell, which the platform turns into a double-click.
void doubleClickItem(QTableWidget* table, QTableWidgetItem* item) {
    QWidget* window = table->window();
    const QPoint at = table->viewport()->mapTo(window, table->visualItemRect(item).center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

class StageSelection : public GameTest {
protected:
    // Opens "面選択"; the window's grid is copied for the test, and `pick`
    // (row, column) is double-clicked when given.
    StageGrid open(std::optional<std::pair<int, int>> pick = std::nullopt) {
        StageGrid shown;
        ui.onStageSelection = [&](StageGrid& grid) {
            shown = grid;
            if (pick) grid.doubleClick(pick->first, pick->second);
        };
        game->menuStartChoise_Click();
        ui.onStageSelection = nullptr;
        return shown;
    }
};

TEST_F(StageSelection, TheGridListsFiveStagesARowForNoneFiveAndTwelveStages) {
    struct Case {
        int stages;
        int rows;
    };
    for (const Case& c : {Case{0, 2}, Case{5, 2}, Case{12, 4}}) {
        SCOPED_TRACE(c.stages);
        writeFile(QStringLiteral("maptwo0.map"), stageLines(1, c.stages));
        const int shownBefore = ui.stageSelections;
        const StageGrid grid = open();
        ASSERT_EQ(ui.stageSelections, shownBefore + 1);
        EXPECT_EQ(grid.rows, c.rows);
        EXPECT_EQ(grid.cols, 6);
        EXPECT_EQ(grid.colWidthTwips, (std::vector<int>{0, 1000, 1000, 1000, 1000, 1000}));
        for (int col = 1; col <= 5; ++col) EXPECT_EQ(grid.at(0, col).text, QStringLiteral("GAME NO"));
        EXPECT_EQ(grid.row, 1);
        EXPECT_EQ(grid.col, 1);
        EXPECT_EQ(grid.topRow, 1);
        for (int n = 1; n <= (c.rows - 1) * 5; ++n) {
            const StageGrid::Cell& cell = grid.at((n + 4) / 5, (n - 1) % 5 + 1);
            const QString expected = n <= c.stages ? QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')) + kBlanks
                                                   : QString();
            EXPECT_EQ(cell.text, expected) << "stage place " << n;
            EXPECT_EQ(cell.back, StageGrid::kPlainBack);
        }
    }
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(game->stageMode);
}

TEST_F(StageSelection, LinesAreNumberedAcrossTheFilesWhateverTheirLineEnds) {
    // maptwo0.map: 7 lines with every kind of line end, one of them empty
    // and the last without one; maptwo2.map: 3 lines, the first repeating
    // the number of stage 00002 with another board; a wrongly cased name is
    // not a stage file.
    writeFile(QStringLiteral("maptwo0.map"), stageLine(1) + "\r\n" + stageLine(2) + "\n" + stageLine(3) + "\r" +
                                                 "\r\n" + stageLine(5) + "\r\n" + stageLine(6) + "\n" + stageLine(7));
    QByteArray again = stageLine(43);
    again.replace(0, 5, "00002");
    writeFile(QStringLiteral("maptwo2.map"), again + "\r\n" + stageLines(9, 2));
    writeFile(QStringLiteral("MAPTWO1.MAP"), stageLines(50, 5));
    const StageGrid grid = open();
    EXPECT_EQ(grid.rows, 3);
    EXPECT_EQ(grid.at(1, 3).text, QStringLiteral("00003") + kBlanks);
    EXPECT_EQ(grid.at(1, 4).text, kBlanks);  // the empty line keeps its place
    EXPECT_EQ(grid.at(2, 2).text, QStringLiteral("00007") + kBlanks);
    EXPECT_EQ(grid.at(2, 3).text, QStringLiteral("00002") + kBlanks);  // first line of maptwo2.map
    EXPECT_EQ(grid.at(2, 5).text, QStringLiteral("00010") + kBlanks);

    // The empty place cannot be started; the last line of maptwo0.map can;
    // a repeated number loads its first stage.
    open(std::pair{1, 4});
    EXPECT_FALSE(game->gameActive);
    open(std::pair{2, 2});
    EXPECT_EQ(game->stageNo, QStringLiteral("00007"));
    EXPECT_EQ(game->boardMap, boardOf(stageLine(7)));
    open(std::pair{2, 3});
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
    const StageGrid grid = open();
    const auto cellOf = [&grid](int n) { return grid.at((n + 4) / 5, (n - 1) % 5 + 1); };
    for (int n = 1; n <= 12; ++n) {
        const QString number = QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
        const bool solved = n == 2 || n == 4 || n == 11;
        SCOPED_TRACE(number.toStdString());
        EXPECT_EQ(cellOf(n).text, number + (solved ? QStringLiteral(" 成功") : kBlanks));
        EXPECT_EQ(cellOf(n).back, solved ? qRgb(0, 255, 255) : StageGrid::kPlainBack);
        EXPECT_EQ(cellOf(n).fore, solved ? qRgb(255, 0, 0) : StageGrid::kPlainText);
    }
    // Marked or not, every stage can be played.
    open(std::pair{1, 2});
    EXPECT_EQ(game->stageNo, QStringLiteral("00002"));
}

TEST_F(StageSelection, ADoubleClickStartsTheStageAndEscapeLeavesTheGameAlone) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(40, 5));
    startRandom();
    open(std::pair{1, 3});  // stage 00042

    EXPECT_EQ(game->stageNo, QStringLiteral("00042"));
    EXPECT_EQ(game->boardMap, boardOf(stageLine(42)));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_TRUE(game->stageMode);
    EXPECT_TRUE(game->gameActive);
    EXPECT_EQ(game->restPai, 136);
    EXPECT_EQ(game->moveCount, 0);
    EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [00042]"));
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【136】牌"));
    EXPECT_TRUE(game->menu(MenuId::Option2Ans).enabled);
    EXPECT_TRUE(game->menu(MenuId::PaiBack).enabled);
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y)
            ASSERT_EQ(cellColour(*game, x, y), paiColour(game->paiTbl, game->boardMap.at(x, y)));

    // A pair is played; then the window is opened and closed with Esc: the
    // game is as it was, only no longer counted as a stage.
    game->menuSrh_Click();
    const int a = game->hintList[1].left, b = game->hintList[1].right;
    game->picdest_MouseDown(kRightButton, 10, 10);
    game->picdest_MouseDown(kLeftButton, cellPixelX(codeX(a)) + 5, cellPixelY(codeY(a)) + 5);
    game->picdest_MouseDown(kLeftButton, cellPixelX(codeX(b)) + 5, cellPixelY(codeY(b)) + 5);
    ASSERT_EQ(game->restPai, 134);
    const BoardMap map = game->boardMap;
    const PaiTbl tbl = game->paiTbl;
    const QImage picture = game->picdest;
    open();
    EXPECT_FALSE(game->stageMode);
    EXPECT_EQ(game->boardMap, map);
    EXPECT_EQ(game->paiTbl, tbl);
    EXPECT_EQ(game->picdest, picture);
    EXPECT_EQ(game->stageNo, QStringLiteral("00042"));
    EXPECT_TRUE(game->menu(MenuId::Option2Ans).enabled);  // menus are not updated by Esc
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(StageSelection, TheHeaderAndTheEmptyPlacesOfTheLastRowStartNothing) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1, 7));
    startRandom();
    const Snapshot before(*game);
    for (const auto& cell : {std::pair{0, 1}, std::pair{2, 3}, std::pair{2, 5}, std::pair{1, 0}}) {
        ui.onStageSelection = [&](StageGrid& g) {
            EXPECT_FALSE(g.doubleClick(cell.first, cell.second));
            // Even when the window reports it, the game passes over it.
            g.row = cell.first;
            g.col = cell.second;
            g.doubleClicked = true;
        };
        game->menuStartChoise_Click();
        before.expectSame(*game);
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(StageSelection, DamagedStagesAndUnreadableFilesAreReportedAndChangeNothing) {
    // A random game in play, one pair taken off, as the base of every case.
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1, 2));
    startRandom();
    game->menuSrh_Click();
    const int a = game->hintList[1].left, b = game->hintList[1].right;
    game->picdest_MouseDown(kRightButton, 10, 10);
    game->picdest_MouseDown(kLeftButton, cellPixelX(codeX(a)) + 5, cellPixelY(codeY(a)) + 5);
    game->picdest_MouseDown(kLeftButton, cellPixelX(codeX(b)) + 5, cellPixelY(codeY(b)) + 5);

    QByteArray twice = stageLine(3);
    twice.replace(8, 3, twice.mid(5, 3));  // cell (1, 2) repeats cell (1, 1)
    QByteArray tooHigh = stageLine(4);
    tooHigh.replace(200, 3, "999");
    QByteArray letter = stageLine(5);
    letter[300] = 'x';
    const QByteArray shortLine = stageLine(6).left(200);
    QByteArray lines = stageLines(1, 2) + twice + "\r\n" + tooHigh + "\r\n" + letter + "\r\n" + shortLine + "\r\n";
    lines += "00007\r\n";  // only a number
    writeFile(QStringLiteral("maptwo0.map"), lines);

    const Snapshot before(*game);
    const auto files = folderBytes(dir.path());
    int messages = 0;
    // Every damaged line is listed in its place, and refused when picked.
    for (int n = 3; n <= 7; ++n) {
        SCOPED_TRACE(n);
        const StageGrid grid = open(std::pair{(n + 4) / 5, (n - 1) % 5 + 1});
        EXPECT_EQ(grid.at((n + 4) / 5, (n - 1) % 5 + 1).text.left(5), QStringLiteral("0000%1").arg(n));
        ASSERT_EQ(ui.boxes.size(), static_cast<std::size_t>(++messages));
        EXPECT_EQ(ui.boxes.back().text, kNoData);
        EXPECT_TRUE(ui.boxes.back().title.isEmpty());
        before.expectSame(*game);
    }
    EXPECT_EQ(folderBytes(dir.path()), files);

    // The file vanishes while the window is open.
    ui.onStageSelection = [&](StageGrid& grid) {
        QFile::remove(path(QStringLiteral("maptwo0.map")));
        grid.doubleClick(1, 1);
    };
    game->menuStartChoise_Click();
    EXPECT_EQ(ui.boxes.size(), static_cast<std::size_t>(++messages));
    before.expectSame(*game);
    ui.onStageSelection = nullptr;

    // No stage file, a stage file that is a dangling link, one that is a
    // folder, and more lines than the game can number: one message each,
    // and no window.
    const int shown = ui.stageSelections;
    game->menuStartChoise_Click();
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone.map")), path(QStringLiteral("maptwo0.map"))));
    game->menuStartChoise_Click();
    QFile::remove(path(QStringLiteral("maptwo0.map")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("maptwo0.map")));
    game->menuStartChoise_Click();
    writeFile(QStringLiteral("maptwo1.map"), QByteArray("\r\n").repeated(32767));
    writeFile(QStringLiteral("maptwo2.map"), QByteArray("\r\n"));
    game->menuStartChoise_Click();
    EXPECT_EQ(ui.stageSelections, shown);
    ASSERT_EQ(ui.boxes.size(), static_cast<std::size_t>(messages + 4));
    for (std::size_t i = static_cast<std::size_t>(messages); i < ui.boxes.size(); ++i)
        EXPECT_EQ(ui.boxes[i].text, kNoData);
    before.expectSame(*game);

    // 32767 lines are still numbered.
    QFile::remove(path(QStringLiteral("maptwo2.map")));
    const StageGrid full = open();
    EXPECT_EQ(full.rows, 1 + 32767 / 5 + 1);
    EXPECT_EQ(ui.boxes.size(), static_cast<std::size_t>(messages + 4));
}

// ---------------------------------------------------------------------------
// The real window on the offscreen platform.

TEST_F(StageSelection, TheWindowShowsTheGridAndADoubleClickOnAStageClosesIt) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1, 7));
    writeFile(QStringLiteral("cmptwo.map"), "00002\r\n");
    bool checked = false;
    ui.onStageSelection = [&](StageGrid& grid) {
        StageDialog dialog(grid);
        dialog.show();
        QTableWidget* table = dialog.msGrid();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("面選択"));
        EXPECT_EQ(dialog.size(), QSize(358, 321));
        EXPECT_EQ(table->geometry(), QRect(0, 0, 358, 321));
        EXPECT_EQ(table->rowCount(), 2);
        EXPECT_EQ(table->columnCount(), 6);
        EXPECT_EQ(table->columnWidth(0), 0);
        for (int c = 1; c <= 5; ++c) {
            EXPECT_EQ(table->columnWidth(c), 67);
            EXPECT_EQ(table->horizontalHeaderItem(c)->text(), QStringLiteral("GAME NO"));
        }
        EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("00002 成功"));
        EXPECT_EQ(table->item(0, 2)->background().color(), QColor(0, 255, 255));
        EXPECT_EQ(table->item(0, 2)->foreground().color(), QColor(255, 0, 0));
        EXPECT_EQ(table->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(table->currentRow(), 0);
        EXPECT_EQ(table->currentColumn(), 1);

        // An empty place of the last row: the window stays.
        doubleClickItem(table, table->item(1, 4));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(grid.doubleClicked);
        // Stage 00007.
        doubleClickItem(table, table->item(1, 2));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        checked = true;
    };
    game->menuStartChoise_Click();
    ASSERT_TRUE(checked);
    EXPECT_EQ(game->stageNo, QStringLiteral("00007"));
    EXPECT_TRUE(game->gameActive);

    // Esc closes the window without a choice.
    ui.onStageSelection = [&](StageGrid& grid) {
        StageDialog dialog(grid);
        dialog.show();
        QTest::keyClick(dialog.msGrid(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(grid.doubleClicked);
    };
    const BoardMap map = game->boardMap;
    game->menuStartChoise_Click();
    EXPECT_EQ(game->boardMap, map);
    EXPECT_FALSE(game->stageMode);
}

TEST(StageWindowInTheMainWindow, OpensModallyFromTheMenuAndStartsTheStage) {
    QTemporaryDir dir;
    writeTestSheet(dir.path());
    QFile f(dir.filePath(QStringLiteral("maptwo0.map")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(stageLines(20, 3));
    f.close();
    MainWindow window(dir.path(), false);
    ASSERT_TRUE(window.start());
    window.show();

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<StageDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        doubleClickItem(dialog->msGrid(), dialog->msGrid()->item(0, 3));
        if (dialog->isVisible()) dialog->reject();  // never leave the test waiting
    });
    window.action(MenuId::StartChoise)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window.game().stageNo, QStringLiteral("00022"));
    EXPECT_TRUE(window.action(MenuId::Option2Ans)->isEnabled());
}

}  // namespace
}  // namespace tessarin::test
