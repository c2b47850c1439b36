// The application shell: which game type is current, whether a game is in
// play, whether an operation is under way, the menus and the window caption.
// Every change of a menu or the caption is passed on to the window.
#pragma once

#include "app/gameui.h"
#include "app/menus.h"

#include <QRect>
#include <QString>

namespace tessarin {

enum class GameKind : int { TwoCorner = 1, ThreeMove = 2 };

// The keyboard's cursor on the field: shown by the first arrow key of a
// game, moved by the next ones, hidden by a mouse click on the board.
struct KeyboardCursor {
    bool shown = false;
    int x = 1, y = 1;

    friend bool operator==(const KeyboardCursor&, const KeyboardCursor&) = default;
};

struct ShellState {
    GameKind kind = GameKind::TwoCorner;
    bool inPlay = false;  // a game is in play: board clicks count
    MenuTable menus = initialMenus();
    QString caption;
    KeyboardCursor cursor;
    int zoom = 100;  // the zoom the player chose, in percent

    friend bool operator==(const ShellState&, const ShellState&) = default;
};

class Shell {
public:
    Shell(GameUi& ui, bool authorMode) : ui_(ui), authorMode_(authorMode) {}

    const ShellState& state() const { return state_; }
    GameUi& ui() const { return ui_; }
    bool authorMode() const { return authorMode_; }

    GameKind kind() const { return state_.kind; }
    void setKind(GameKind kind) { state_.kind = kind; }
    bool inPlay() const { return state_.inPlay; }
    void setInPlay(bool inPlay) { state_.inPlay = inPlay; }
    int zoom() const { return state_.zoom; }
    void setZoom(int percent) { state_.zoom = percent; }

    // True while an operation lets pending window events run in its middle
    // (the ThreeMove start): board input and play commands wait for its end.
    bool busy() const { return busy_; }
    class BusyScope {
    public:
        explicit BusyScope(Shell& shell) : shell_(shell), saved_(shell.busy_) { shell.busy_ = true; }
        ~BusyScope() { shell_.busy_ = saved_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Shell& shell_;
        bool saved_;
    };

    const MenuTable& menus() const { return state_.menus; }
    const MenuState& menu(MenuId id) const { return state_.menus[static_cast<std::size_t>(id)]; }
    void setMenuEnabled(MenuId id, bool enabled);
    void setMenuVisible(MenuId id, bool visible);
    void setMenuChecked(MenuId id, bool checked);
    void setMenuCaption(MenuId id, const QString& caption);

    const QString& caption() const { return state_.caption; }
    void setCaption(const QString& caption);

    // The keyboard's cursor. Each change is passed on to the window as a
    // change of the surface where the cursor's ring was and is.
    const KeyboardCursor& cursor() const { return state_.cursor; }
    void setCursor(const KeyboardCursor& cursor);
    // The ring drawn around the cursor's cell, in logical pixels of the
    // surface: two pixels wide, just outside the red frames of the cell and
    // of its neighbours.
    static QRect cursorRing(int x, int y);
    static constexpr int kCursorRingWidth = 2;
    static constexpr QRgb kCursorColour = 0xffffb000;  // amber

    // A game taken up again: its type, in play, and its menus (the build's
    // own items shown or hidden as the build has them); the window is told
    // of every menu and the caption.
    void restore(GameKind kind, const MenuTable& menus);

    // The play menus for a game of the current type that starts (enable) or
    // has ended or not begun. A fixed stage that has been cleared keeps its
    // model answer at hand.
    void setMenusForGame(bool enable, bool fixedStage);

private:
    MenuState& menuState(MenuId id) { return state_.menus[static_cast<std::size_t>(id)]; }

    GameUi& ui_;
    const bool authorMode_;
    bool busy_ = false;
    ShellState state_;
};

}  // namespace tessarin
