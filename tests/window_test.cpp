// The real main window on the offscreen platform: menus and actions, keys, the stage selection; the manual and the sheet.
#include "app/mainwindow.h"
#include "app/stagedialog.h"
#include "support/gametest.h"

#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace tessarin::test {
namespace {

class Window : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        window = std::make_unique<MainWindow>(GameFolders{dir.path(), dir.path(), false}, false);
        ASSERT_TRUE(window->start());
        window->quitApplication = [this] { ++quits; }, window->show();
    }
    const Game& shown() { return window->game(); }
    void expectMirrored() {
        for (int i = 0; i < kMenuCount; ++i) {
            const MenuState& m = shown().menu(static_cast<MenuId>(i));  // a hidden action is also disabled
            const QAction* a = window->action(static_cast<MenuId>(i));
            EXPECT_EQ(std::tuple(a->text().toStdString(), a->isEnabled(), a->isVisible(), a->isChecked()),
                      std::tuple(m.caption.toStdString(), m.enabled && m.visible, m.visible, m.checkable && m.checked));
        }
        EXPECT_EQ(window->windowTitle(), shown().caption());
    }
    void inStageDialog(const std::function<void(StageDialog&)>& inside) {  // opens "面選択" and hands it to `inside`
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<StageDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            inside(*d);
            if (d->isVisible()) d->reject();
        });
        window->action(MenuId::ChooseStage)->trigger();
    }

    std::unique_ptr<MainWindow> window;
    int quits = 0;
};

TEST_F(Window, MenusFollowTheGameTypeAndTheStartsAndActionsCarryCommandsClicksAndKeys) {
    using M = MenuId;
    struct Step { MenuId command; const char* caption; std::vector<MenuId> on, off; };
    const std::vector<Step> steps = {
        {M::File, "二角取り", {M::ChooseStage, M::RandomDeal, M::TwoCornerGame},
         {M::GameFour, M::ModelAnswer, M::Undo, M::Search, M::TwoCornerOptions, M::ThreeMoveGame}},
        {M::RandomDeal, "二角取り", {M::Undo, M::Search, M::TwoCornerOptions, M::EasyMode}, {M::ModelAnswer}},
        {M::ThreeMoveGame, "三動牌", {M::ThreeMoveGame}, {M::ChooseStage, M::TwoCornerOptions, M::TwoCornerGame}},
        {M::RandomDeal, "三動牌", {M::ThreeMoveGame}, {M::Undo, M::Search, M::Options}},
        {M::TwoCornerGame, "二角取り", {M::ChooseStage, M::TwoCornerGame}, {M::TwoCornerOptions, M::ThreeMoveGame}},
        {M::TwoCornerGame, "二角取り", {M::TwoCornerGame}, {M::ThreeMoveGame}},  // stays checked
        {M::RandomDeal, "二角取り", {M::TwoCornerOptions, M::Undo, M::Search, M::Options}, {M::ModelAnswer}},
    };
    const auto on = [&](MenuId id) {  // a game-type item is on when checked, any other when enabled
        return id >= M::TwoCornerGame && id <= M::GameFour ? shown().menu(id).checked : shown().menu(id).enabled;
    };
    for (const Step& s : steps) {
        if (s.command != M::File) window->action(s.command)->trigger();
        EXPECT_EQ(shown().caption(), QString::fromUtf8(s.caption));
        for (MenuId id : s.on) EXPECT_TRUE(on(id)) << static_cast<int>(s.command) << ": " << static_cast<int>(id);
        for (MenuId id : s.off) EXPECT_FALSE(on(id)) << static_cast<int>(s.command) << ": " << static_cast<int>(id);
        for (MenuId id : {M::Exchange, M::Save, M::Load}) EXPECT_FALSE(shown().menu(id).visible);
        expectMirrored();
    }
    QTest::mouseClick(window->boardView(), Qt::LeftButton, Qt::NoModifier, QPoint(cellPixelX(9) + 20, cellPixelY(4) + 30));
    EXPECT_EQ(shown().position().stateAt(9, 4), kPicked);
    // Only Ctrl+F searches; Escape leaves through the quit hook.
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    for (const Qt::KeyboardModifiers mods : {ctrl | Qt::ShiftModifier, ctrl | Qt::AltModifier, Qt::KeyboardModifiers(), ctrl}) {
        QTest::keyClick(window.get(), Qt::Key_F, mods);
        EXPECT_EQ(shown().twoCorner().search.shown, mods == ctrl) << mods;
    }
    EXPECT_EQ(std::tuple(window->action(MenuId::Search)->text(), quits), std::tuple(QStringLiteral("検索動作中"), 0));
    QTest::keyClick(window->boardView(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(quits, window->isVisible()), std::tuple(1, false));
}

TEST_F(Window, TheStageSelectionShowsTheGridAndStartsADoubleClickedStage) {
    writeFile(QStringLiteral("maptwo0.map"), stageLines(1201, 7));
    writeFile(QStringLiteral("cmptwo.map"), stageNumber(1201).toLatin1() + "\r\n");
    inStageDialog([&](StageDialog& d) {
        const QTableWidget* t = d.table();
        EXPECT_EQ(std::tuple(d.windowTitle(), d.size(), t->rowCount(), t->columnCount(), t->columnWidth(0), t->columnWidth(5)),
                  std::tuple(QStringLiteral("面選択"), QSize(358, 321), 2, 6, 0, 67));
        EXPECT_EQ(std::tuple(t->horizontalHeaderItem(1)->text(), t->item(0, 1)->text(), t->item(1, 2)->text(), t->item(1, 3)->text()),
                  std::tuple(QStringLiteral("GAME NO"), QStringLiteral("01201 成功"), QStringLiteral("01207 \u3000\u3000"), QString()));
        // The marked first stage shows its cyan, not hidden by a selection.
        const QImage shot = t->viewport()->grab().toImage();
        const auto back = [&](int col) { return pixelAt(shot, t->visualItemRect(t->item(0, col)).left() + 3, t->visualItemRect(t->item(0, col)).top() + 3); };
        EXPECT_EQ(std::tuple(back(1), back(2), t->selectedItems().size()), std::tuple(StageGrid::kDoneBack, StageGrid::kPlainBack, 0));
        QTest::keyClick(d.table(), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_FALSE(shown().shell().inPlay());
    inStageDialog([&](StageDialog& d) {
        const QPoint at = d.table()->visualItemRect(d.table()->item(1, 1)).center();
        QTest::mouseClick(d.table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(d.table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    });
    EXPECT_EQ(std::tuple(shown().shell().inPlay(), shown().session().stageNo, shown().session().fixedStage), std::tuple(true, stageNumber(1206), true));
}

TEST_F(GameTest, TheManualOpensWhenItIsThereAndStartUpRefusesASheetTooSmallForItsGrid) {
    command(MenuId::Help);
    writeFile(QStringLiteral("tessarinmanual.html"), "<html></html>");
    command(MenuId::Help);
    EXPECT_EQ(ui.openedDocuments, QStringList{path(QStringLiteral("tessarinmanual.html"))});
    QTemporaryDir other;
    ASSERT_TRUE(QImage(100, 100, QImage::Format_RGB32).save(other.filePath(QStringLiteral("paidat.dat")), "PNG"));
    FakeUi otherUi;
    Game g(other.path(), otherUi);
    EXPECT_TRUE(!g.startUp() && g.startUpError().contains(other.filePath(QStringLiteral("paidat.dat")))) << g.startUpError().toStdString();
}

}  // namespace
}  // namespace tessarin::test
