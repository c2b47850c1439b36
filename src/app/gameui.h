// The narrow seam between the game and whatever shows it. The main window
// implements it; tests and the command-line tool use fakes. Game code asks
// for every effect outside its own state through this interface.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

namespace tessarin {

enum class MenuId : int;
struct StageGrid;

class GameUi {
public:
    virtual ~GameUi() = default;

    // A menu element's state (caption, enabled, visible, checked) changed.
    virtual void menuChanged(MenuId id) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // A message box with only an OK button.
    virtual void messageBox(const QString& text, const QString& title) = 0;

    // The board surface changed inside rect and should reach the screen.
    virtual void surfaceChanged(const QRect& rect) = 0;
    virtual void setSurfaceVisible(bool visible) = 0;
    virtual void focusSurface() = 0;

    // Pause for ms milliseconds with everything drawn so far on screen; user
    // input waits until the sequence has ended.
    virtual void waitMs(int ms) = 0;
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

    // Leave the program at once.
    virtual void exitProgram() = 0;
};

}  // namespace tessarin
