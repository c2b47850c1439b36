// The slide of a ThreeMove run on the screen: the block of pixels showing
// the run is copied forward frame by frame within the board surface, and the
// band it has just left is painted in the board green. The board data is not
// looked at; the vacated cells stay green until the next full redraw.
#include "app/mjanmodule.h"
#include "threemove/rules.h"

#include <QPainter>

namespace tessarin {

namespace {

constexpr int kStepY = 27;  // pixels per frame of a vertical slide
constexpr int kStepX = 22;  // pixels per frame of a horizontal slide
constexpr int kFrameMs = 50;

}  // namespace

void MjanModule::setBlitRect() {
    const int fx = cellPixelX(fromX), fy = cellPixelY(fromY);
    const int tx = cellPixelX(tailX), ty = cellPixelY(tailY);
    const int dx = cellPixelX(toX), dy = cellPixelY(toY);
    // The leading edge sits on the side the run moves towards; downward and
    // rightward runs lead with their bottom or right edge.
    blitX = fx;
    blitY = fy;
    blitFarX = tx + kPaiW;
    blitFarY = ty + kPaiH;
    blitToX = dx;
    blitToY = dy;
    if (moveDir == three::kDown) {
        blitY = fy + kPaiH;
        blitFarY = ty;
        blitToY = dy + kPaiH;
    } else if (moveDir == three::kRight) {
        blitX = fx + kPaiW;
        blitFarX = tx;
        blitToX = dx + kPaiW;
    }
}

void MjanModule::blitRun(int x, int y, int width, int height, int srcX, int srcY) {
    // Source and target overlap: copy the block out first.
    const QImage block = picdest.copy(srcX, srcY, width, height);
    QPainter p(&picdest);
    p.drawImage(x, y, block);
}

void MjanModule::animateMove() {
    // Per direction: the block's size, where it starts, the frames' step and
    // limit, and the band behind the block at position cur (corners
    // inclusive). Upward and leftward bands start one pixel behind the block
    // and leftward ones are 21 columns wide: the row or column right behind
    // the block keeps what it showed.
    const bool vertical = moveDir == three::kUp || moveDir == three::kDown;
    int w = 0, h = 0, start = 0, step = 0, last = 0;
    switch (moveDir) {
    case three::kUp:
        w = kPaiW;
        h = blitFarY - blitY;
        start = blitY;
        step = -kStepY;
        last = blitToY;
        break;
    case three::kDown:
        w = kPaiW;
        h = blitY - blitFarY;
        start = blitFarY;
        step = kStepY;
        last = blitToY - h;
        break;
    case three::kLeft:
        w = blitFarX - blitX;
        h = kPaiH;
        start = blitX;
        step = -kStepX;
        last = blitToX;
        break;
    case three::kRight:
        w = blitX - blitFarX;
        h = kPaiH;
        start = blitFarX;
        step = kStepX;
        last = blitToX - w;
        break;
    default: return;
    }

    auto paintBand = [&](int cur) {
        switch (moveDir) {
        case three::kUp: fillBox(blitX, cur + h + 1, blitFarX, cur + h + kStepY, kBoardGreen); break;
        case three::kDown: fillBox(blitX, cur - kStepY, blitFarX, cur - 1, kBoardGreen); break;
        case three::kLeft: fillBox(cur + w + 1, blitY, cur + w + kStepX - 1, blitFarY, kBoardGreen); break;
        case three::kRight: fillBox(cur - kStepX, blitY, cur - 1, blitFarY, kBoardGreen); break;
        default: break;
        }
    };
    auto copyTo = [&](int cur, int src) {
        if (vertical) blitRun(blitX, cur, w, h, blitX, src);
        else blitRun(cur, blitY, w, h, src, blitY);
    };
    auto framing = [&](int cur) { return step < 0 ? cur >= last : cur <= last; };

    bool first = true;
    int src = start;
    for (int cur = start; framing(cur); cur += step) {
        copyTo(cur, src);
        src = cur;
        waitMs(kFrameMs);
        if (!first) paintBand(cur);
        first = false;
        refreshSurface();
    }
    copyTo(last, src);
    paintBand(last);
    refreshSurface();
}

}  // namespace tessarin
