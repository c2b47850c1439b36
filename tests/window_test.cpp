// The real main window on the offscreen platform: actions, keys, the stage selection; the game's start-up and self-check.
#include "app/mainwindow.h"
#include "app/stagedialog.h"
#include "support/gametest.h"
#include "twocorner/search.h"

#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <random>

namespace tessarin::test {
namespace {

class Window : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        window = std::make_unique<MainWindow>(GameFolders{dir.path(), dir.path(), false}, false);
        ASSERT_TRUE(window->start());
        window->quitApplication = [this] { ++quits; };
        window->show();
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

TEST_F(Window, ActionsMirrorTheMenusAndCarryCommandsClicksAndKeysToTheGame) {
    using M = MenuId;
    const std::vector<std::pair<MenuId, std::function<bool()>>> steps = {
        {M::File, [&] { return !shown().shell().inPlay(); }},
        {M::ThreeMoveGame, [&] { return shown().shell().kind() == GameKind::ThreeMove; }},
        {M::RandomDeal, [&] { return shown().threeMove().score.now.movesLeft == 3; }},
        {M::TwoCornerGame, [&] { return shown().shell().kind() == GameKind::TwoCorner; }},
        {M::TwoCornerGame, [&] { return window->action(M::TwoCornerGame)->isChecked(); }},  // stays checked
        {M::EasyMode, [&] { return shown().twoCorner().easyMode; }},
        {M::RandomDeal, [&] { return shown().shell().inPlay(); }},
    };
    for (const auto& [id, done] : steps) {
        if (id != M::File) window->action(id)->trigger();
        EXPECT_TRUE(done()) << static_cast<int>(id);
        expectMirrored();
    }
    QTest::mouseClick(window->boardView(), Qt::LeftButton, Qt::NoModifier, QPoint(cellPixelX(9) + 20, cellPixelY(4) + 30));
    EXPECT_EQ(shown().position().stateAt(9, 4), kPicked);
    // Only Ctrl+F searches; Escape leaves through the quit hook.
    for (const auto mods : {Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers()}) {
        QTest::keyClick(window.get(), Qt::Key_F, mods);
        EXPECT_FALSE(shown().twoCorner().search.shown) << mods;
    }
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(shown().twoCorner().search.shown, window->action(MenuId::Search)->text(), quits),
              std::tuple(true, QStringLiteral("検索動作中"), 0));
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
    EXPECT_EQ(std::tuple(shown().shell().inPlay(), shown().session().stageNo, shown().session().fixedStage),
              std::tuple(true, stageNumber(1206), true));
}

// The manual opens when it is there; start-up needs the sheet; the self-check stays quiet through a random mix
// (a damaged state cannot be brought in: the save loader checks what the self-check checks).
TEST_F(GameTest, TheManualTheSheetAndTheSelfCheck) {
    command(MenuId::Help);
    writeFile(QStringLiteral("tessarinmanual.html"), "<html></html>");
    command(MenuId::Help);
    EXPECT_EQ(ui.openedDocuments, QStringList{path(QStringLiteral("tessarinmanual.html"))});
    QImage tiny(100, 100, QImage::Format_RGB32);
    for (const bool present : {false, true}) {
        QTemporaryDir other;
        ASSERT_TRUE(!present || tiny.save(other.filePath(QStringLiteral("paidat.dat")), "PNG"));
        FakeUi otherUi;
        Game g(other.path(), otherUi);
        EXPECT_FALSE(g.startUp());
        EXPECT_TRUE(g.startUpError().contains(other.filePath(QStringLiteral("paidat.dat")))) << g.startUpError().toStdString();
    }
    writeGreedyStage(1207);
    ui.onStageSelection = [](StageGrid& grid) { grid.doubleClick(1, 1); };
    const std::vector<MenuId> commands = {MenuId::RandomDeal, MenuId::ChooseStage, MenuId::Undo, MenuId::Search, MenuId::EasyMode,
                                          MenuId::ModelAnswer, MenuId::Undo, MenuId::TwoCornerGame, MenuId::ThreeMoveGame};
    std::mt19937 random(20261206);
    for (int step = 0; step < 600; ++step) {
        const PairList pairs = findPairs(game->position());
        if (const auto what = random() % 10; what == 0) command(commands[random() % commands.size()]);
        else if (what < 4 && !pairs.empty()) click(pairs[0].xL, pairs[0].yL), click(pairs[0].xR, pairs[0].yR);
        else game->pressBoard(random() % 3 ? kLeftButton : kRightButton, static_cast<int>(random() % 768), static_cast<int>(random() % 500));
        ASSERT_EQ(game->consistencyProblem(), QString()) << "step " << step;
    }
}

}  // namespace
}  // namespace tessarin::test
