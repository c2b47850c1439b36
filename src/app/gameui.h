// The narrow seam between the game and whatever shows it. The main window
// implements it; tests use a fake that records every request. Game code
// asks for every effect outside its own state through this interface.
#pragma once

#include "board/surface.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace tessarin {

enum class MenuId : int;
struct StageGrid;

class GameUi : public SurfaceView {
public:
    // A menu element's state (caption, enabled, visible, checked) changed.
    virtual void menuChanged(MenuId id) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // A message box with only an OK button.
    virtual void messageBox(const QString& text, const QString& title) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;

    // Runs `work` away from the player's input (on a worker thread) and then
    // `done` where the game runs, between two events.
    virtual void runInBackground(std::function<void()> work, std::function<void()> done) = 0;

    virtual void setSurfaceVisible(bool visible) = 0;
    virtual void focusSurface() = 0;
    // Let pending window events (user input included) run once.
    virtual void processPendingEvents() = 0;

    virtual void setBusyCursor(bool busy) = 0;
    virtual QPoint cursorPos() = 0;
    virtual void setCursorPos(QPoint pos) = 0;

    // Open a document with the desktop's default handler.
    virtual void openDocument(const QString& path) = 0;

    // Show the stage-selection window modally. Returns when it is closed;
    // the grid tells which cell was double-clicked, if any.
    virtual void showStageSelection(StageGrid& grid) = 0;

    // The zoom of the window: the largest of 100, 150 and 200 percent at
    // which it still fits on its screen, and a change of it.
    virtual int largestZoomThatFits() = 0;
    virtual void setZoom(int percent) = 0;

    // Leave the program at once.
    virtual void exitProgram() = 0;
};

}  // namespace tessarin
