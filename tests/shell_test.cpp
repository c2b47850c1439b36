// The application shell as the player meets it: start-up, the menus, the
// game-type switch, "ｽﾀｰﾄ", board clicks and the window keys.
#include "support/gametest.h"

#include <QDir>

namespace tessarin::test {
namespace {

using GameShell = GameTest;

TEST_F(GameShell, StartsWithNoGameAndTheDesignedMenus) {
    EXPECT_EQ(ui.caption, QStringLiteral("二角取り"));
    EXPECT_EQ((std::tuple(game->gameKind, game->gameActive, game->authorMode)), std::tuple(TwoCorner, false, false));
    // Authoring commands are hidden; play commands wait for a game.
    for (MenuId id : {MenuId::PaiChange, MenuId::Save, MenuId::Load}) EXPECT_FALSE(game->menu(id).visible);
    for (MenuId id : {MenuId::Game4, MenuId::Option2Ans, MenuId::PaiBack, MenuId::Srh, MenuId::OptionTwo})
        EXPECT_FALSE(game->menu(id).enabled);
    EXPECT_TRUE(game->menu(MenuId::Game2).checked && game->menu(MenuId::StartChoise).enabled);
    EXPECT_EQ((std::pair(pixelAt(game->picdest, 0, 0), pixelAt(game->picdest, 767, 499))),
              std::pair(kBoardGreen, kBoardGreen));

    // The tile table points every tile at its picture in the sheet:
    // {tile, srcX, srcY, kind}.
    for (const auto& [t, x, y, kind] : std::vector<std::tuple<int, int, int, int>>{
             {1, 44, 0, 1}, {28, 308, 0, 7}, {29, 0, 54, 8}, {64, 352, 54, 16}, {136, 352, 162, 34},
             {0, 352, 0, 202}, {137, 0, 0, 201}, {138, 0, 216, 200}}) {
        const PaiRec& r = game->paiTbl[static_cast<std::size_t>(t)];
        EXPECT_EQ((std::tuple(r.srcX, r.srcY, int{r.kind})), std::tuple(x, y, kind)) << "tile " << t;
    }
}

TEST(GameShellStartUp, RefusesAMissingOrBrokenTileSheetWithAReason) {
    QTemporaryDir dir;
    FakeUi ui;
    const QString sheet = dir.filePath(QStringLiteral("paidat.dat"));
    QImage tiny(100, 100, QImage::Format_RGB32);
    tiny.fill(Qt::white);
    // No file, a text file, a picture too small: each named in the reason.
    for (const auto& [write, reason] : std::vector<std::pair<std::function<void()>, QString>>{
             {[] {}, QStringLiteral("paidat.dat")},
             {[&] {
                  QFile f(sheet);
                  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                  f.write("this is not a picture");
              },
              QStringLiteral("paidat.dat")},
             {[&] { ASSERT_TRUE(tiny.save(sheet, "PNG")); }, QStringLiteral("100 x 100")}}) {
        write();
        MjanModule game(dir.path(), ui);
        EXPECT_FALSE(game.startUp());
        EXPECT_TRUE(game.sheetError.contains(reason)) << game.sheetError.toStdString();
    }
    EXPECT_TRUE(ui.caption.isEmpty());
}

TEST_F(GameShell, StartDealsAndDrawsANumberedBoard) {
    startRandom();
    EXPECT_EQ((std::tuple(game->gameActive, game->stageMode, game->restPai, game->moveCount)),
              std::tuple(true, false, 136, 0));
    EXPECT_EQ(game->stageNo, QStringLiteral("33763"));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
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

    // Easy mode toggles its flag, its check mark and its status text.
    for (const bool on : {true, false}) {
        game->menuOptionTwoEasy_Click();
        EXPECT_EQ((std::pair(game->easyMode, game->menu(MenuId::OptionTwoEasy).checked)), std::pair(on, on));
        EXPECT_EQ(game->stripText[0], on ? QStringLiteral("楽々モード 動作中") : QStringLiteral("楽々モード 停止中"));
    }
}

TEST_F(GameShell, GameTypeSwitchAndThreeMoveDeals) {
    startRandom();
    // Choosing the current type keeps the game and its board.
    game->menuGame2_Click();
    EXPECT_TRUE(game->gameActive);
    EXPECT_NE(cellColour(*game, 1, 1), kBoardGreen);

    game->menuGame3_Click();
    EXPECT_EQ(ui.caption, QStringLiteral("三動牌"));
    EXPECT_EQ(game->gameKind, ThreeMove);
    EXPECT_TRUE(game->menu(MenuId::Game3).checked);
    for (MenuId id : {MenuId::StartChoise, MenuId::OptionTwo}) EXPECT_FALSE(game->menu(id).enabled);
    EXPECT_FALSE(game->menu(MenuId::Game2).checked);
    EXPECT_EQ(cellColour(*game, 1, 1), kBoardGreen);
    EXPECT_FALSE(game->gameActive);  // the old board cannot be played by the other game's rules

    // ThreeMove deals differ with the redeal counter, and never write the
    // border or the picture-only entries.
    game->dealRandomThree();
    const BoardMap a = game->boardMap;
    EXPECT_EQ(game->stageNo, QStringLiteral("33763"));
    game->dealSerial = 1;
    game->dealRandomThree();
    EXPECT_EQ(game->stageNo, QStringLiteral("33764"));
    EXPECT_NE(game->boardMap, a);
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_EQ(game->paiTbl[0], (PaiRec{0, 0, 352, 0, 202, 0, 0}));
    EXPECT_EQ(game->paiTbl[137], (PaiRec{0, 0, 0, 0, 201, 0, 0}));
    // A ThreeMove start keeps the TwoCorner play commands off.
    startRandom();
    EXPECT_TRUE(game->gameActive);
    for (MenuId id : {MenuId::PaiBack, MenuId::Srh, MenuId::Option}) EXPECT_FALSE(game->menu(id).enabled);

    game->menuGame2_Click();
    EXPECT_EQ(ui.caption, QStringLiteral("二角取り"));
    EXPECT_TRUE(game->menu(MenuId::StartChoise).enabled);
    EXPECT_FALSE(game->menu(MenuId::OptionTwo).enabled);  // until the next game starts
    startRandom();
    EXPECT_TRUE(game->menu(MenuId::OptionTwo).enabled);
}

TEST_F(GameShell, BoardClicksAndTheCursorNudge) {
    // Before any game a click changes nothing, not even the cursor.
    game->picdest_MouseDown(kLeftButton, 100, 100);
    EXPECT_TRUE(ui.cursorMoves.empty() && ui.busyCursorHistory.empty());

    startRandom();
    game->lblmsg = QStringLiteral("old");
    game->picdest_MouseDown(kLeftButton, 100, 100);
    EXPECT_TRUE(game->lblmsg.isEmpty());
    EXPECT_EQ(ui.pendingEventRounds, 1);
    EXPECT_EQ(ui.busyCursorHistory, (std::vector<bool>{true, false}));
    // Two clicks without moving the mouse: 3 pixels left, then right.
    game->picdest_MouseDown(kLeftButton, 100, 100);
    EXPECT_EQ(ui.cursorMoves, (std::vector<QPoint>{QPoint(97, 100), QPoint(100, 100)}));
    // A click below the field (the status strip) still reaches the game.
    game->picdest_MouseDown(kRightButton, 10, 480);
    EXPECT_EQ(ui.pendingEventRounds, 3);
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
    EXPECT_EQ(ui.openedDocuments, QStringList{QDir(dir.path()).filePath(QStringLiteral("tessarinmanual.html"))});

    game->Form_KeyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(ui.exitRequested);
}

TEST(GameShellFiles, PathsAndExactNames) {
    QTemporaryDir dir;
    FakeUi ui;
    MjanModule game(dir.path(), ui);
    EXPECT_EQ(game.appDirPath(QStringLiteral("maptwo0.map")), dir.path() + QStringLiteral("/maptwo0.map"));
    EXPECT_EQ(MjanModule(QStringLiteral("/"), ui).appDirPath(QStringLiteral("maptwo0.map")),
              QStringLiteral("/maptwo0.map"));

    // Another case is another name (a folder under a data file's name: the
    // stage selection's tests); a trailing space in the name on disk is ignored.
    for (const char* name : {"MAPTWO0.MAP", "maptwo2.map "}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(game.existsInAppDir(QStringLiteral("maptwo0.map")));
    EXPECT_TRUE(game.existsInAppDir(QStringLiteral("maptwo2.map")));
}

}  // namespace
}  // namespace tessarin::test
