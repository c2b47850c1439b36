// Dealing a random board onto the field and naming it by its seed.
#include "app/mjanmodule.h"
#include "stages/deal.h"

namespace tessarin {

void MjanModule::dealRandom() {
    if (gameKind == TwoCorner) dealRandomTwo();
    else if (gameKind == ThreeMove) dealRandomThree();
}

void MjanModule::dealRandomTwo() {
    const int seed = getDealSeed();
    stageNo = QString::fromStdString(stageNoText(seed));
    dealOrder = dealOrderForSeed(seed);
    placeDealOrder(false);
}

void MjanModule::dealRandomThree() {
    const int seed = getDealSeed();
    stageNo = QString::fromStdString(stageNoText(seed));
    dealOrder = dealOrderForSeed(seed);
    placeDealOrder(true);
}

void MjanModule::placeDealOrder(bool resetCover) {
    int k = 0;
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kCols; ++x) {
            placePai(boardMap, paiTbl, x, y, dealOrder[static_cast<std::size_t>(++k)], resetCover);
        }
    }
}

int MjanModule::getDealSeed() {
    return gameKind == ThreeMove ? getDealSeedThree() : getDealSeedTwo();
}

namespace {

int clockSeedNow(const QDateTime& now, int extraSeconds) {
    const QDate d = now.date();
    const QTime t = now.time();
    return clockSeed(d.month(), d.day(), t.hour(), t.minute(), t.second() + extraSeconds);
}

}  // namespace

int MjanModule::getDealSeedTwo() {
    // The authoring build numbers its deals in sequence after the stages it
    // has stored; without a number from there the clock names the deal.
    if (authorMode) {
        const int next = nextStageNo();
        if (next >= 0) return next;
    }
    return clockSeedNow(clock(), 0);
}

int MjanModule::getDealSeedThree() { return clockSeedNow(clock(), dealSerial); }

}  // namespace tessarin
