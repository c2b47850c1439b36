// The application shell as the player meets it: start-up, the menus, the
// game-type switch, "ｽﾀｰﾄ", board clicks and the window keys.
#include "support/gametest.h"

#include <QDir>

namespace tessarin::test {
namespace {

using GameShell = GameTest;

TEST_F(GameShell, StartsWithNoGameAndTheDesignedMenus) {
    EXPECT_EQ(ui.caption, QStringLiteral("二角取り"));
    EXPECT_EQ(game->gameKind, TwoCorner);
    EXPECT_FALSE(game->gameActive);
    EXPECT_FALSE(game->authorMode);
    // Authoring commands are hidden; play commands wait for a game.
    for (MenuId id : {MenuId::PaiChange, MenuId::Save, MenuId::Load})
        EXPECT_FALSE(game->menu(id).visible);
    for (MenuId id : {MenuId::Game4, MenuId::Option2Ans, MenuId::PaiBack, MenuId::Srh, MenuId::OptionTwo})
        EXPECT_FALSE(game->menu(id).enabled);
    EXPECT_TRUE(game->menu(MenuId::Game2).checked);
    EXPECT_TRUE(game->menu(MenuId::StartChoise).enabled);
    EXPECT_EQ(pixelAt(game->picdest, 0, 0), kBoardGreen);
    EXPECT_EQ(pixelAt(game->picdest, 767, 499), kBoardGreen);

    // The tile table points every tile at its picture in the sheet.
    const PaiTbl& t = game->paiTbl;
    EXPECT_EQ((std::tuple(t[1].srcX, t[1].srcY, t[1].kind)), std::tuple(44, 0, 1));
    EXPECT_EQ((std::tuple(t[28].srcX, t[28].kind)), std::tuple(308, 7));
    EXPECT_EQ((std::tuple(t[29].srcX, t[29].srcY, t[29].kind)), std::tuple(0, 54, 8));
    EXPECT_EQ((std::tuple(t[64].srcX, t[64].kind)), std::tuple(352, 16));
    EXPECT_EQ((std::tuple(t[136].srcX, t[136].srcY, t[136].kind)), std::tuple(352, 162, 34));
    EXPECT_EQ((std::tuple(t[0].srcX, t[0].srcY, t[0].kind)), std::tuple(352, 0, 202));
    EXPECT_EQ((std::tuple(t[137].srcX, t[137].srcY, t[137].kind)), std::tuple(0, 0, 201));
    EXPECT_EQ((std::tuple(t[138].srcX, t[138].srcY, t[138].kind)), std::tuple(0, 216, 200));
}

TEST(GameShellStartUp, RefusesAMissingOrBrokenTileSheetWithAReason) {
    QTemporaryDir dir;
    FakeUi ui;
    {
        MjanModule game(dir.path(), ui);
        EXPECT_FALSE(game.startUp());
        EXPECT_TRUE(game.sheetError.contains(QStringLiteral("paidat.dat")));
    }
    {
        QFile f(dir.filePath(QStringLiteral("paidat.dat")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a picture");
        f.close();
        MjanModule game(dir.path(), ui);
        EXPECT_FALSE(game.startUp());
        EXPECT_FALSE(game.sheetError.isEmpty());
    }
    {
        QImage tiny(100, 100, QImage::Format_RGB32);
        tiny.fill(Qt::white);
        ASSERT_TRUE(tiny.save(dir.filePath(QStringLiteral("paidat.dat")), "PNG"));
        MjanModule game(dir.path(), ui);
        EXPECT_FALSE(game.startUp());
        EXPECT_TRUE(game.sheetError.contains(QStringLiteral("100 x 100")));
    }
    EXPECT_TRUE(ui.caption.isEmpty());
}

TEST_F(GameShell, StartDealsAndDrawsANumberedBoard) {
    startRandom();
    EXPECT_TRUE(game->gameActive);
    EXPECT_FALSE(game->stageMode);
    EXPECT_EQ(game->stageNo, QStringLiteral("33763"));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_EQ(game->restPai, 136);
    EXPECT_EQ(game->moveCount, 0);
    EXPECT_EQ(game->boardMap.at(1, 1), 11);  // the first tile drawn for 33763
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y)
            ASSERT_EQ(cellColour(*game, x, y), paiColour(game->paiTbl, game->boardMap.at(x, y)));
    for (MenuId id : {MenuId::PaiBack, MenuId::Srh, MenuId::OptionTwo, MenuId::Game, MenuId::Start, MenuId::Option})
        EXPECT_TRUE(game->menu(id).enabled);
    EXPECT_FALSE(game->menu(MenuId::Option2Ans).enabled);
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【136】牌"));
    EXPECT_EQ(game->stripText[0], QStringLiteral("楽々モード 停止中"));
    EXPECT_GE(ui.focusRequests, 1);
    EXPECT_TRUE(ui.waits.empty());

    // Two starts in the same second deal the same board.
    const BoardMap first = game->boardMap;
    startRandom();
    EXPECT_EQ(game->boardMap, first);
}

TEST_F(GameShell, ThreeMoveDealsDifferWithTheRedealCounter) {
    game->menuGame3_Click();
    game->dealRandomThree();
    const BoardMap a = game->boardMap;
    EXPECT_EQ(game->stageNo, QStringLiteral("33763"));
    game->dealSerial = 1;
    game->dealRandomThree();
    EXPECT_EQ(game->stageNo, QStringLiteral("33764"));
    EXPECT_NE(game->boardMap, a);
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    // The deal never writes the border or the picture-only entries.
    EXPECT_EQ(game->paiTbl[0], (PaiRec{0, 0, 352, 0, 202, 0, 0}));
    EXPECT_EQ(game->paiTbl[137], (PaiRec{0, 0, 0, 0, 201, 0, 0}));
}

TEST_F(GameShell, GameTypeSwitch) {
    startRandom();
    // Choosing the current type keeps the game and its board.
    game->menuGame2_Click();
    EXPECT_TRUE(game->gameActive);
    EXPECT_NE(cellColour(*game, 1, 1), kBoardGreen);

    game->menuGame3_Click();
    EXPECT_EQ(ui.caption, QStringLiteral("三動牌"));
    EXPECT_EQ(game->gameKind, ThreeMove);
    EXPECT_TRUE(game->menu(MenuId::Game3).checked);
    EXPECT_FALSE(game->menu(MenuId::Game2).checked);
    EXPECT_FALSE(game->menu(MenuId::StartChoise).enabled);
    EXPECT_FALSE(game->menu(MenuId::OptionTwo).enabled);
    EXPECT_EQ(cellColour(*game, 1, 1), kBoardGreen);
    // The old board cannot be played by the other game's rules.
    EXPECT_FALSE(game->gameActive);

    game->menuGame2_Click();
    EXPECT_EQ(ui.caption, QStringLiteral("二角取り"));
    EXPECT_TRUE(game->menu(MenuId::StartChoise).enabled);
    EXPECT_FALSE(game->menu(MenuId::OptionTwo).enabled);  // until the next game starts
    startRandom();
    EXPECT_TRUE(game->menu(MenuId::OptionTwo).enabled);
}

TEST_F(GameShell, ThreeMoveStartKeepsPlayCommandsOff) {
    game->menuGame3_Click();
    startRandom();
    EXPECT_TRUE(game->gameActive);
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    for (MenuId id : {MenuId::PaiBack, MenuId::Srh, MenuId::Option})
        EXPECT_FALSE(game->menu(id).enabled);
    EXPECT_EQ(game->doneMoves, 0);
}

TEST_F(GameShell, BoardClicksAndTheCursorNudge) {
    // Before any game a click changes nothing, not even the cursor.
    game->picdest_MouseDown(kLeftButton, 100, 100);
    EXPECT_TRUE(ui.cursorMoves.empty());
    EXPECT_TRUE(ui.busyCursorHistory.empty());

    startRandom();
    game->lblmsg = QStringLiteral("old");
    game->picdest_MouseDown(kLeftButton, 100, 100);
    EXPECT_TRUE(game->lblmsg.isEmpty());
    EXPECT_EQ(ui.pendingEventRounds, 1);
    EXPECT_EQ(ui.busyCursorHistory, (std::vector<bool>{true, false}));
    // Two clicks without moving the mouse: 3 pixels left, then right.
    game->picdest_MouseDown(kLeftButton, 100, 100);
    ASSERT_EQ(ui.cursorMoves.size(), 2u);
    EXPECT_EQ(ui.cursorMoves[0], QPoint(97, 100));
    EXPECT_EQ(ui.cursorMoves[1], QPoint(100, 100));
    // A click below the field (the status strip) still reaches the game.
    game->picdest_MouseDown(kRightButton, 10, 480);
    EXPECT_EQ(ui.pendingEventRounds, 3);
}

TEST_F(GameShell, EasyModeTogglesFlagCheckAndStatus) {
    startRandom();
    game->menuOptionTwoEasy_Click();
    EXPECT_TRUE(game->easyMode);
    EXPECT_TRUE(game->menu(MenuId::OptionTwoEasy).checked);
    EXPECT_EQ(game->stripText[0], QStringLiteral("楽々モード 動作中"));
    game->menuOptionTwoEasy_Click();
    EXPECT_FALSE(game->easyMode);
    EXPECT_FALSE(game->menu(MenuId::OptionTwoEasy).checked);
    EXPECT_EQ(game->stripText[0], QStringLiteral("楽々モード 停止中"));
}

TEST_F(GameShell, WindowKeysHelpAndExit) {
    game->Form_KeyDown(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    game->Form_KeyDown(Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(ui.exitRequested);

    // No manual beside the program: nothing happens.
    game->menuHelp_Click();
    EXPECT_TRUE(ui.openedDocuments.isEmpty());
    writeFile(QStringLiteral("tessarinmanual.html"), "<html></html>");
    game->menuHelp_Click();
    ASSERT_EQ(ui.openedDocuments.size(), 1);
    EXPECT_EQ(ui.openedDocuments[0], QDir(dir.path()).filePath(QStringLiteral("tessarinmanual.html")));

    game->Form_KeyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(ui.exitRequested);
}

TEST(GameShellFiles, PathsAndExactNames) {
    QTemporaryDir dir;
    FakeUi ui;
    MjanModule game(dir.path(), ui);
    EXPECT_EQ(game.appDirPath(QStringLiteral("maptwo0.map")), dir.path() + QStringLiteral("/maptwo0.map"));
    MjanModule rooted(QStringLiteral("/"), ui);
    EXPECT_EQ(rooted.appDirPath(QStringLiteral("maptwo0.map")), QStringLiteral("/maptwo0.map"));

    QFile upper(dir.filePath(QStringLiteral("MAPTWO0.MAP")));
    ASSERT_TRUE(upper.open(QIODevice::WriteOnly));
    upper.close();
    EXPECT_FALSE(game.existsInAppDir(QStringLiteral("maptwo0.map")));
    // A folder under a data file's name is not the file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("maptwo1.map")));
    EXPECT_FALSE(game.existsInAppDir(QStringLiteral("maptwo1.map")));
    QFile spaced(dir.filePath(QStringLiteral("maptwo2.map ")));
    ASSERT_TRUE(spaced.open(QIODevice::WriteOnly));
    spaced.close();
    EXPECT_TRUE(game.existsInAppDir(QStringLiteral("maptwo2.map")));
}

}  // namespace
}  // namespace tessarin::test
