// The main window: menu bar and board surface. It forwards every command
// and click to the game and mirrors the game's menu state into its actions.
#pragma once

#include "app/boardview.h"
#include "app/gameui.h"
#include "app/game.h"
#include "app/menus.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QDialog;

namespace tessarin {

class MainWindow : public QMainWindow, public GameUi {
    Q_OBJECT
public:
    MainWindow(const GameFolders& folders, bool authorMode);
    ~MainWindow() override;

    Game& game() { return *game_; }
    QAction* action(MenuId id) const { return actions_[static_cast<std::size_t>(id)]; }
    BoardView* boardView() const { return board_; }

    // Ends the application's event loops; tests replace it, since an exit
    // requested outside a running loop would end every later modal loop too.
    std::function<void()> quitApplication = [] { QCoreApplication::exit(0); };

    // Runs the game's start-up; false when it cannot start
    // (game().startUpError() says why).
    bool start();
    void centreOnScreen();

    // GameUi
    void menuChanged(MenuId id) override;
    void setCaption(const QString& caption) override;
    void messageBox(const QString& text, const QString& title) override;
    bool askYesNo(const QString& text, const QString& title) override;
    void runInBackground(std::function<void()> work, std::function<void()> done) override;
    void surfaceChanged(const QRect& rect) override;
    void setSurfaceVisible(bool visible) override;
    void focusSurface() override;
    void waitMs(int ms) override;
    void processPendingEvents() override;
    void setBusyCursor(bool busy) override;
    QPoint cursorPos() override;
    void setCursorPos(QPoint pos) override;
    void openDocument(const QString& path) override;
    void showStageSelection(StageGrid& grid) override;
    void exitProgram() override;
    int largestZoomThatFits() override;
    void setZoom(int percent) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // The manual in a window of the game's own, for desktops that cannot
    // open it.
    void showManual(const QString& path);
    void syncAllMenus();
    QAction* addCommand(QMenu* menu, MenuId id, bool isCommand = true);

    std::unique_ptr<Game> game_;
    QWidget* client_ = nullptr;
    BoardView* board_ = nullptr;
    std::array<QAction*, kMenuCount> actions_{};
    QPointer<QDialog> stageDialog_;
    QPointer<QWidget> manual_;
    bool exiting_ = false;
};

}  // namespace tessarin
