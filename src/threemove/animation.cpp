// The slide of a ThreeMove run on the screen: the block of pixels showing
// the run is copied forward frame by frame within the board surface, and the
// band it has just left is painted in the board green. The board data is not
// looked at; the vacated cells stay green until the next full redraw.
#include "threemove/play.h"

namespace tessarin {

namespace {

constexpr int kStepY = 27;  // pixels per frame of a vertical slide
constexpr int kStepX = 22;  // pixels per frame of a horizontal slide
constexpr int kFrameMs = 50;
constexpr QRgb kGreen = Surface::kBoardGreen;

}  // namespace

void ThreeMovePlay::animate(const three::Move& m) {
    // The run's pixel block: its leading edge (x0, y0), the opposite corner
    // (farX, farY), and the leading edge at the destination (toX, toY). The
    // leading edge sits on the side the run moves towards; downward and
    // rightward runs lead with their bottom or right edge.
    const int fx = cellPixelX(m.fromX), fy = cellPixelY(m.fromY);
    const int tx = cellPixelX(m.tailX), ty = cellPixelY(m.tailY);
    const int dx = cellPixelX(m.toX), dy = cellPixelY(m.toY);
    int x0 = fx, y0 = fy, farX = tx + kTileW, farY = ty + kTileH, toX = dx, toY = dy;
    if (m.dir == three::kDown) {
        y0 = fy + kTileH;
        farY = ty;
        toY = dy + kTileH;
    } else if (m.dir == three::kRight) {
        x0 = fx + kTileW;
        farX = tx;
        toX = dx + kTileW;
    }

    // Per direction: the block's size, where it starts, the frames' step and
    // limit, and the band behind the block at position cur (corners
    // inclusive). Upward and leftward bands start one pixel behind the block
    // and leftward ones are 21 columns wide: the row or column right behind
    // the block keeps what it showed.
    const bool vertical = m.dir == three::kUp || m.dir == three::kDown;
    int w = 0, h = 0, start = 0, step = 0, last = 0;
    switch (m.dir) {
    case three::kUp:
        w = kTileW;
        h = farY - y0;
        start = y0;
        step = -kStepY;
        last = toY;
        break;
    case three::kDown:
        w = kTileW;
        h = y0 - farY;
        start = farY;
        step = kStepY;
        last = toY - h;
        break;
    case three::kLeft:
        w = farX - x0;
        h = kTileH;
        start = x0;
        step = -kStepX;
        last = toX;
        break;
    case three::kRight:
        w = x0 - farX;
        h = kTileH;
        start = farX;
        step = kStepX;
        last = toX - w;
        break;
    default: return;
    }

    auto paintBand = [&](int cur) {
        switch (m.dir) {
        case three::kUp: surface_.fillBox(x0, cur + h + 1, farX, cur + h + kStepY, kGreen); break;
        case three::kDown: surface_.fillBox(x0, cur - kStepY, farX, cur - 1, kGreen); break;
        case three::kLeft: surface_.fillBox(cur + w + 1, y0, cur + w + kStepX - 1, farY, kGreen); break;
        case three::kRight: surface_.fillBox(cur - kStepX, y0, cur - 1, farY, kGreen); break;
        default: break;
        }
    };
    auto copyTo = [&](int cur, int src) {
        if (vertical) surface_.copyBlock(x0, cur, w, h, x0, src);
        else surface_.copyBlock(cur, y0, w, h, src, y0);
    };
    auto framing = [&](int cur) { return step < 0 ? cur >= last : cur <= last; };

    bool first = true;
    int src = start;
    for (int cur = start; framing(cur); cur += step) {
        copyTo(cur, src);
        src = cur;
        surface_.pause(kFrameMs);
        if (!first) paintBand(cur);
        first = false;
        surface_.refresh();
    }
    copyTo(last, src);
    paintBand(last);
    surface_.refresh();
}

}  // namespace tessarin
