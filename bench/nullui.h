// A window stand-in that does nothing, so benchmarks measure the game alone.
#pragma once

#include "app/gameui.h"
#include "app/game.h"

#include <benchmark/benchmark.h>

namespace tessarin::bench {

struct NullUi : GameUi {
    void menuChanged(MenuId) override {}
    void setCaption(const QString&) override {}
    void messageBox(const QString&, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    // The window hands this work to another thread and goes on at once; the
    // figures here are those of the input the player waits for, so it is
    // left undone (the solver's own benchmarks measure it).
    void runInBackground(std::function<void()>, std::function<void()>) override {}
    int largestZoomThatFits() override { return 100; }
    void setZoom(int) override {}
    void surfaceChanged(const QRect&) override {}
    void setSurfaceVisible(bool) override {}
    void focusSurface() override {}
    void waitMs(int) override {}
    void processPendingEvents() override {}
    void setBusyCursor(bool) override {}
    QPoint cursorPos() override { return {}; }
    void setCursorPos(QPoint) override {}
    void openDocument(const QString&) override {}
    void showStageSelection(StageGrid&) override {}
    void exitProgram() override {}
};

// Starts the game of the built program folder; false, with the benchmark
// marked as skipped, when it cannot start.
inline bool startGame(Game& game, benchmark::State& state) {
    if (game.startUp()) return true;
    state.SkipWithError("tile sheet missing");
    return false;
}

}  // namespace tessarin::bench
