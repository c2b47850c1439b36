// The tile exchange of the authoring build ("牌交換(&R)"): two clicks choose
// two tiles on the board, which then change places. Nothing else of the game
// changes: no move is recorded and the count of tiles left stays.
#include "twocorner/play.h"

namespace tessarin {

namespace {

constexpr int kRightButton = 2;

}  // namespace

void TwoCornerPlay::startExchange() {
    // A pending pick would be moved away from under its record: drop it first.
    if (shell_.kind() == GameKind::TwoCorner && shell_.inPlay() && s_.pickPending()) dropPick();
    s_.exchange = ExchangeChoice{};
    s_.exchange.waiting = true;
    shell_.ui().focusSurface();
    shell_.setMenuCaption(MenuId::Exchange, QStringLiteral("動作中"));
}

void TwoCornerPlay::exchangeClick(int x, int y, int button) {
    ExchangeChoice& e = s_.exchange;
    if (button == kRightButton) {
        // Withdraw the first choice; the next click chooses again.
        if (e.chosen) {
            surface_.drawTile(e.x, e.y, e.tile);
            e.chosen = false;
            e.x = e.y = e.tile = 0;
        }
        return;
    }

    const int t = pos_.tileAt(x, y);
    // Only tiles on the board take part: an emptied cell has nothing to give,
    // and moving a removed tile back would bring it onto the board uncounted.
    if (t < 1 || t > kTiles || pos_.tile(t).state != kOnBoard) return;

    if (!e.chosen) {
        e.chosen = true;
        surface_.drawTile(x, y, t, DrawMode::Inverted);
        e.x = x;
        e.y = y;
        e.tile = t;
        return;
    }

    // Second choice: the two tiles change cells. Choosing the first cell
    // again puts its tile back where it was.
    pos_.swapCells(e.x, e.y, x, y);
    surface_.drawTile(e.x, e.y, t);
    surface_.drawTile(x, y, e.tile);
    e = ExchangeChoice{};
    shell_.setMenuCaption(MenuId::Exchange, QStringLiteral("牌交換(&H)"));
}

}  // namespace tessarin
