// The real main window on the offscreen platform: its layout, the menu bar
// as the player sees it, and commands reaching the game.
#include "app/mainwindow.h"
#include "support/gametest.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace tessarin::test {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeTestSheet(dir.path());
        window = std::make_unique<MainWindow>(dir.path(), false);
        ASSERT_TRUE(window->start());
        window->game().clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); };
        window->show();
    }
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, LayoutAndMenuBar) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("二角取り"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(776, 517));
    EXPECT_EQ(window->boardView()->geometry(), QRect(4, 10, 768, 500));
    QStringList bar, types;
    for (QAction* a : window->menuBar()->actions())
        if (a->isVisible()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("ｹﾞｰﾑ種別(&T)"), QStringLiteral("ｹﾞｰﾑ開始(&G)"),
                                QStringLiteral("一手戻す(&B)"), QStringLiteral("検索開始(&S)"), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"),
                                QStringLiteral("ﾍﾙﾌﾟ(&H)")}));
    ASSERT_NE(window->action(MenuId::Game)->menu(), nullptr);
    for (QAction* a : window->action(MenuId::Game)->menu()->actions()) types << a->text();
    EXPECT_EQ(types, (QStringList{QStringLiteral("二角取り"), QStringLiteral("三動牌"), QStringLiteral("四？？")}));
    EXPECT_FALSE(window->action(MenuId::Game4)->isEnabled());
    EXPECT_TRUE(window->action(MenuId::Game2)->isChecked());
    EXPECT_FALSE(window->action(MenuId::PaiBack)->isEnabled());
    EXPECT_FALSE(window->action(MenuId::Option2Ans)->isEnabled());
}

TEST_F(MainWindowTest, CommandsAndClicksReachTheGameAndMenusFollowIt) {
    window->action(MenuId::StartRnd)->trigger();
    EXPECT_TRUE(window->game().gameActive);
    EXPECT_TRUE(window->action(MenuId::PaiBack)->isEnabled());
    EXPECT_TRUE(window->action(MenuId::Srh)->isEnabled());
    window->game().lblmsg = QStringLiteral("before");
    QTest::mouseClick(window->boardView(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 60));
    EXPECT_TRUE(window->game().lblmsg.isEmpty());
    EXPECT_TRUE(window->game().cursorFlip);

    // Triggering the checked type again must not leave it unchecked.
    window->action(MenuId::Game2)->trigger();
    EXPECT_TRUE(window->action(MenuId::Game2)->isChecked());
    window->action(MenuId::Game3)->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("三動牌"));
    EXPECT_TRUE(window->action(MenuId::Game3)->isChecked());
    EXPECT_FALSE(window->action(MenuId::Game2)->isChecked());
    EXPECT_FALSE(window->action(MenuId::StartChoise)->isEnabled());

    window->action(MenuId::OptionTwoEasy)->trigger();
    EXPECT_TRUE(window->game().easyMode);
    EXPECT_TRUE(window->action(MenuId::OptionTwoEasy)->isChecked());
}

TEST_F(MainWindowTest, EscapeLeavesTheProgram) {
    int quits = 0;
    window->quitApplication = [&] { ++quits; };
    QTest::keyClick(window->boardView(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(quits, 1);

    // Menus opened and closed with their access keys can leave the focus on
    // the menu bar, which must not swallow the key.
    MainWindow again(dir.path(), false);
    ASSERT_TRUE(again.start());
    again.quitApplication = [&] { ++quits; };
    again.show();
    again.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
    again.menuBar()->setFocus();
    QTest::keyClick(again.menuBar(), Qt::Key_Escape);
    EXPECT_EQ(quits, 2);
}

}  // namespace
}  // namespace tessarin::test
