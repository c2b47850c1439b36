#include "app/mainwindow.h"

#include "app/stagedialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QThread>
#include <QThreadPool>
#include <QUrl>

namespace tessarin {

namespace {

constexpr int kClientW = 776;
constexpr int kClientH = 517;
constexpr int kBoardLeft = 4;
constexpr int kBoardTop = 10;

}  // namespace

MainWindow::MainWindow(const GameFolders& folders, bool authorMode)
    : game_(std::make_unique<Game>(folders, *this, authorMode)) {
    client_ = new QWidget(this);
    client_->setFixedSize(kClientW, kClientH);
    setCentralWidget(client_);
    board_ = new BoardView(*game_, client_);
    board_->move(kBoardLeft, kBoardTop);
    board_->onScaleWanted = [this](qreal scale) { game_->setSurfaceScale(scale); };
    board_->onPress = [this](int button, int x, int y) {
        game_->pressBoard(button, x, y);
        game_->selfCheck("a click on the board");
    };
    buildMenus();
    syncAllMenus();
    // Escape ends the program wherever the focus is in the window: after
    // menus opened with their access keys the menu bar can keep the focus
    // and would swallow the key. An open menu, the stage selection and a
    // message box still take their own Escape first.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        game_->pressKey(Qt::Key_Escape, Qt::NoModifier);
        game_->selfCheck("a key");
    });
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addCommand(QMenu* menu, MenuId id, bool isCommand) {
    const MenuState& m = game_->menu(id);
    QAction* a = menu ? menu->addAction(m.caption) : menuBar()->addAction(m.caption);
    a->setCheckable(m.checkable);
    if (!isCommand) return actions_[static_cast<std::size_t>(id)] = a;
    connect(a, &QAction::triggered, this, [this, id] {
        game_->command(id);
        // A check item toggles itself when triggered; the game's state is
        // what counts, so mirror it back.
        syncAllMenus();
        game_->selfCheck("a menu command");
    });
    actions_[static_cast<std::size_t>(id)] = a;
    return a;
}

void MainWindow::buildMenus() {
    auto submenu = [this](QMenu* parent, MenuId id) {
        QMenu* menu = parent ? parent->addMenu(game_->menu(id).caption)
                             : menuBar()->addMenu(game_->menu(id).caption);
        actions_[static_cast<std::size_t>(id)] = menu->menuAction();
        return menu;
    };
    QMenu* file = submenu(nullptr, MenuId::File);
    addCommand(file, MenuId::Quit);

    QMenu* gameType = submenu(nullptr, MenuId::GameType);
    addCommand(gameType, MenuId::TwoCornerGame);
    addCommand(gameType, MenuId::ThreeMoveGame);
    addCommand(gameType, MenuId::GameFour, false);

    QMenu* start = submenu(nullptr, MenuId::Start);
    addCommand(start, MenuId::RandomDeal);
    addCommand(start, MenuId::ChooseStage);

    addCommand(nullptr, MenuId::Undo);
    addCommand(nullptr, MenuId::Search);

    QMenu* options = submenu(nullptr, MenuId::Options);
    QMenu* twoCornerOptions = submenu(options, MenuId::TwoCornerOptions);
    addCommand(twoCornerOptions, MenuId::EasyMode);
    addCommand(twoCornerOptions, MenuId::ModelAnswer);
    twoCornerOptions->addSeparator();
    addCommand(twoCornerOptions, MenuId::Hint);
    addCommand(twoCornerOptions, MenuId::SolvableDeals);
    addCommand(twoCornerOptions, MenuId::DeadEndWarning);
    QMenu* zoom = submenu(options, MenuId::Zoom);
    // One of the three at a time: drawn as radio items. The game still
    // decides which is checked; the group only gives the look.
    auto* zooms = new QActionGroup(zoom);
    for (MenuId id : {MenuId::Zoom100, MenuId::Zoom150, MenuId::Zoom200}) zooms->addAction(addCommand(zoom, id));

    addCommand(nullptr, MenuId::Exchange);
    addCommand(nullptr, MenuId::Save);
    addCommand(nullptr, MenuId::Load);
    addCommand(nullptr, MenuId::Help);
}

void MainWindow::syncAllMenus() {
    for (int i = 0; i < kMenuCount; ++i) menuChanged(static_cast<MenuId>(i));
}

void MainWindow::menuChanged(MenuId id) {
    QAction* a = actions_[static_cast<std::size_t>(id)];
    if (!a) return;
    const MenuState& m = game_->menu(id);
    a->setText(m.caption);
    a->setEnabled(m.enabled);
    a->setVisible(m.visible);
    if (m.checkable) a->setChecked(m.checked);
}

bool MainWindow::start() {
    if (!game_->startUp()) return false;
    game_->setSurfaceScale(board_->wantedScale());
    return true;
}

int MainWindow::largestZoomThatFits() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return 100;
    const QSize area = screen->availableGeometry().size();
    // The frame and the menu bar around the client area.
    const QSize frame = frameGeometry().size() - geometry().size();
    for (int percent : {200, 150}) {
        // The menu bar grows with the zoom (see setZoom).
        const int menuHeight = menuBar()->sizeHint().height() * percent / board_->zoom();
        if (kClientW * percent / 100 + frame.width() <= area.width() &&
            kClientH * percent / 100 + menuHeight + frame.height() <= area.height())
            return percent;
    }
    return 100;
}

void MainWindow::setZoom(int percent) {
    // The window stays fixed-size at each zoom, centred on its screen.
    client_->setFixedSize(kClientW * percent / 100, kClientH * percent / 100);
    board_->move(kBoardLeft * percent / 100, kBoardTop * percent / 100);
    board_->setZoom(percent);
    game_->setSurfaceScale(board_->wantedScale());
    // The menus grow with the board, so the zoomed window reads as one piece.
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * percent / 100);
    else font.setPixelSize(font.pixelSize() * percent / 100);
    menuBar()->setFont(font);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) menu->setFont(font);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    centreOnScreen();
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize frame = frameGeometry().size();
    move(static_cast<int>(area.x() + area.width() / 2.0 - frame.width() / 2.0),
         static_cast<int>(area.y() + area.height() / 2.0 - frame.height() / 2.0));
}

void MainWindow::setCaption(const QString& caption) { setWindowTitle(caption); }

void MainWindow::messageBox(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

bool MainWindow::askYesNo(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    // The window speaks Japanese whatever translations the system has.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::runInBackground(std::function<void()> work, std::function<void()> done) {
    // The answer comes back as an event of this window; a window that has
    // gone by then drops it.
    QPointer<MainWindow> self(this);
    QThreadPool::globalInstance()->start([self, work = std::move(work), done = std::move(done)]() mutable {
        work();
        QMetaObject::invokeMethod(
            qApp,
            [self, done = std::move(done)] {
                if (self && !self->exiting_) {
                    done();
                    self->game_->selfCheck("a background answer");
                }
            },
            Qt::QueuedConnection);
    });
}

void MainWindow::surfaceChanged(const QRect& rect) { board_->update(board_->toWidget(rect)); }

void MainWindow::setSurfaceVisible(bool visible) { board_->setVisible(visible); }

void MainWindow::focusSurface() { board_->setFocus(); }

void MainWindow::waitMs(int ms) {
    // Put what has been drawn on the screen, then let only paint and timer
    // events through until the pause is over: clicks and keys made now are
    // queued and taken when the sequence has ended.
    board_->repaint();
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const qint64 left = ms - timer.elapsed();
        if (left <= 0 || exiting_) break;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
    }
}

void MainWindow::processPendingEvents() { QCoreApplication::processEvents(); }

void MainWindow::setBusyCursor(bool busy) {
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

QPoint MainWindow::cursorPos() { return QCursor::pos(); }

void MainWindow::setCursorPos(QPoint pos) { QCursor::setPos(pos); }

namespace {

// Whether the desktop has a program for HTML documents: the opener exists
// and names one. (The opener itself reports success as soon as it has
// started, even when it then finds nothing to open the document with.)
bool desktopOpensHtml() {
    if (qEnvironmentVariableIsSet("TESSARIN_MANUAL_WINDOW")) return false;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

void MainWindow::openDocument(const QString& path) {
    if (desktopOpensHtml() && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    showManual(path);
}

void MainWindow::showManual(const QString& path) {
    if (!manual_) {
        auto* browser = new QTextBrowser;
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setObjectName(QStringLiteral("manual"));
        browser->setWindowTitle(QStringLiteral("Tessarin マニュアル"));
        browser->setOpenExternalLinks(true);
        browser->resize(820, 640);
        manual_ = browser;
    }
    auto* browser = static_cast<QTextBrowser*>(manual_.data());
    browser->setSearchPaths({QFileInfo(path).absolutePath()});
    browser->setSource(QUrl::fromLocalFile(path));
    browser->show();
    browser->raise();
    browser->activateWindow();
}

void MainWindow::showStageSelection(StageGrid& grid) {
    // A fresh window each time; the pointer clears itself when it goes.
    StageDialog dialog(grid, this);
    stageDialog_ = &dialog;
    dialog.exec();
}

void MainWindow::exitProgram() {
    if (exiting_) return;
    exiting_ = true;
    // The game in play is kept for the next start.
    game_->keepGame();
    if (manual_) manual_->close();
    if (stageDialog_) stageDialog_->reject();
    hide();
    quitApplication();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    game_->pressKey(event->key(), event->modifiers());
    game_->selfCheck("a key");
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    game_->command(MenuId::Quit);
}

}  // namespace tessarin
