// A stand-in for the main window: records what the game asks of it, so
// tests run headless and never sleep.
#pragma once

#include "app/gameui.h"
#include "app/menus.h"
#include "stages/stagegrid.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace tessarin::test {

struct FakeUi : GameUi {
    struct Box {
        QString text;
        QString title;
    };

    QString caption;
    std::vector<Box> boxes;
    std::vector<int> waits;  // every pause, in order
    int pendingEventRounds = 0;
    int busyCursor = 0;      // > 0 while the hourglass is up
    QPoint cursor{100, 100};
    std::vector<QPoint> cursorMoves;
    QStringList openedDocuments;
    std::vector<bool> surfaceVisibility;
    int focusRequests = 0;
    bool exitRequested = false;
    int stageSelections = 0;

    // Hooks a test can set: run when pending events are let through, when a
    // pause is made, or when the stage-selection window is shown.
    std::function<void()> onPendingEvents;
    std::function<void(int ms)> onWait;
    std::function<void(StageGrid&)> onStageSelection;

    void menuChanged(MenuId) override {}
    void setCaption(const QString& c) override { caption = c; }
    void messageBox(const QString& text, const QString& title) override { boxes.push_back({text, title}); }
    // Questions are recorded as boxes too; the answer is `answerYes`.
    bool answerYes = false;
    bool askYesNo(const QString& text, const QString& title) override {
        boxes.push_back({text, title});
        return answerYes;
    }
    // Background work runs at once, so tests see its answer right away.
    void runInBackground(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
    int zoomFits = 200;
    int zoom = 100;
    int largestZoomThatFits() override { return zoomFits; }
    void setZoom(int percent) override { zoom = percent; }
    void surfaceChanged(const QRect&) override {}
    void setSurfaceVisible(bool v) override { surfaceVisibility.push_back(v); }
    void focusSurface() override { ++focusRequests; }
    void waitMs(int ms) override {
        waits.push_back(ms);
        if (onWait) onWait(ms);
    }
    void processPendingEvents() override {
        ++pendingEventRounds;
        if (onPendingEvents) onPendingEvents();
    }
    void setBusyCursor(bool busy) override { busyCursor += busy ? 1 : -1; }
    QPoint cursorPos() override { return cursor; }
    void setCursorPos(QPoint p) override {
        cursor = p;
        cursorMoves.push_back(p);
    }
    void openDocument(const QString& path) override { openedDocuments << path; }
    void showStageSelection(StageGrid& grid) override {
        ++stageSelections;
        if (onStageSelection) onStageSelection(grid);
    }
    void exitProgram() override { exitRequested = true; }
};

}  // namespace tessarin::test
