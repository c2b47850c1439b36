#include "twocorner/play.h"

#include "twocorner/pairs.h"

namespace tessarin {

namespace {

constexpr int kRightButton = 2;
constexpr int kPairPauseMs = 200;

}  // namespace

TwoCornerPlay::TwoCornerPlay(Position& pos, Surface& surface, Shell& shell)
    : pos_(pos), surface_(surface), shell_(shell) {}

void TwoCornerPlay::newGame() {
    s_.tilesLeft = kTiles;
    s_.pickX = s_.pickY = s_.pickKind = 0;
    s_.moves = MoveRecord{};
    forgetBoardMarks();
}

void TwoCornerPlay::forgetBoardMarks() {
    // The pairs a search shows and an exchange's first choice name cells of
    // the board that has just been replaced: both are forgotten, or the next
    // click would browse the old pairs or move a tile that is no longer there.
    if (s_.search.shown) {
        s_.search.shown = false;
        shell_.setMenuCaption(MenuId::Search, QStringLiteral("検索(&S)"));
    }
    s_.search.x1 = s_.search.y1 = s_.search.x2 = s_.search.y2 = 0;
    s_.exchange.chosen = false;
    s_.exchange.x = s_.exchange.y = s_.exchange.tile = 0;
    s_.hintX1 = s_.hintY1 = s_.hintX2 = s_.hintY2 = 0;
}

void TwoCornerPlay::showHint(const CellPair& pair) {
    if (s_.pickPending()) dropPick();
    clearHint();
    s_.hintX1 = pair.xL;
    s_.hintY1 = pair.yL;
    s_.hintX2 = pair.xR;
    s_.hintY2 = pair.yR;
    // Wider than the search's frames, so the one pair stands out at a glance.
    surface_.outlineCell(pair.xL, pair.yL, Surface::kHintBlue, 3);
    surface_.outlineCell(pair.xR, pair.yR, Surface::kHintBlue, 3);
}

void TwoCornerPlay::clearHint() {
    if (s_.hintX1 == 0) return;
    for (const auto& [x, y] : {std::pair{s_.hintX1, s_.hintY1}, std::pair{s_.hintX2, s_.hintY2}})
        surface_.drawTile(x, y, pos_.stateAt(x, y) == kRemoved ? kBlankImage : pos_.tileAt(x, y));
    s_.hintX1 = s_.hintY1 = s_.hintX2 = s_.hintY2 = 0;
}

int TwoCornerPlay::lastClickedTile(int& x, int& y) const {
    const int code = s_.moves.cells[static_cast<std::size_t>(s_.moves.count)];
    x = codeX(code);
    y = codeY(code);
    return pos_.tileAt(x, y);
}

TwoCornerPlay::Outcome TwoCornerPlay::press(int x, int y, int button) {
    if (!onField(x, y)) return Outcome::Played;
    if (s_.exchange.waiting) {
        exchangeClick(x, y, button);
        return Outcome::Played;
    }
    if (button == kRightButton) {
        if (s_.pickPending()) dropPick();
        return Outcome::Played;
    }

    const int t = pos_.tileAt(x, y);
    if (t < 1 || t > kTiles) return Outcome::Played;
    const TileRecord& rec = pos_.tile(t);
    if (rec.state == kPicked) {
        dropPick();
        return Outcome::Played;
    }
    if (rec.state != kOnBoard) return Outcome::Played;  // an emptied cell

    int x2 = x, y2 = y;
    if (!s_.pickPending()) {
        // The first tile of a pair: shown inverted, its partners outlined.
        surface_.drawTile(x, y, t, DrawMode::Inverted);
        s_.moves.cells[static_cast<std::size_t>(++s_.moves.count)] = static_cast<int16_t>(cellCode(x, y));
        int only = 0;
        const int partners = markPartners(only);
        s_.pickX = x;
        s_.pickY = y;
        s_.pickKind = rec.kind;
        pos_.setState(t, kPicked);
        if (!s_.easyMode || partners != 1) return Outcome::Played;
        // Easy mode: the only partner left is taken at once if it can be.
        x2 = codeX(only);
        y2 = codeY(only);
    }
    // The second tile must be of the picked kind and joinable; if not, the
    // first stays picked.
    if (checkPair(pos_, s_.pickX, s_.pickY, x2, y2) != PairFault::None) return Outcome::Played;
    unmarkPartners();
    s_.moves.cells[static_cast<std::size_t>(++s_.moves.count)] = static_cast<int16_t>(cellCode(x2, y2));
    return removePair(x2, y2);
}

void TwoCornerPlay::dropPick() {
    int x = 0, y = 0;
    const int t = lastClickedTile(x, y);
    surface_.drawTile(x, y, t);
    unmarkPartners();
    pos_.setState(t, kOnBoard);
    s_.pickX = s_.pickY = 0;
    --s_.moves.count;
}

int TwoCornerPlay::markPartners(int& only) {
    int px = 0, py = 0;
    const int p = lastClickedTile(px, py);
    const int kind = pos_.tile(p).kind;
    int count = 0;
    for (int i = 1; i <= kTiles; ++i) {
        const TileRecord& r = pos_.tile(i);
        if (i == p || r.kind != kind || r.state != kOnBoard) continue;
        if (++count == 1) only = cellCode(r.boardX, r.boardY);
        surface_.outlineCell(r.boardX, r.boardY);
    }
    return count;
}

void TwoCornerPlay::unmarkPartners() {
    int px = 0, py = 0;
    const int p = lastClickedTile(px, py);
    const int kind = pos_.tile(p).kind;
    for (int i = 1; i <= kTiles; ++i) {
        const TileRecord& r = pos_.tile(i);
        if (i == p || r.kind != kind || r.state != kOnBoard) continue;
        surface_.drawTile(r.boardX, r.boardY, i);
    }
}

TwoCornerPlay::Outcome TwoCornerPlay::removePair(int x2, int y2) {
    const int x1 = s_.pickX, y1 = s_.pickY;
    takePair(pos_, x1, y1, x2, y2);

    // Flash on the first tile, on the second, then blank them in turn.
    surface_.drawTile(x1, y1, kFlashImage);
    surface_.pause(kPairPauseMs);
    surface_.drawTile(x2, y2, kFlashImage);
    surface_.pause(kPairPauseMs);
    surface_.drawTile(x1, y1, kBlankImage);
    surface_.pause(kPairPauseMs);
    surface_.drawTile(x2, y2, kBlankImage);

    s_.tilesLeft -= 2;
    if (s_.tilesLeft != 0) {
        surface_.showTilesLeft(s_.tilesLeft);
        return Outcome::Played;
    }
    return Outcome::BoardCleared;
}

bool TwoCornerPlay::undo() {
    // Only the board of a game in play can be taken back: after a switch of
    // the game type the board in memory is no longer this game's.
    if (!shell_.inPlay()) return false;
    if (s_.tilesLeft >= kTiles || s_.moves.count < 2) return false;  // nothing taken off yet
    // The pairs the search is showing belong to the position before the undo.
    const bool endedSearch = s_.search.shown;
    if (endedSearch) endSearch();
    if (s_.pickPending()) dropPick();

    // A removed tile never left its cell: drawing it again and setting it on
    // the board restores it. Second tile first, then the first.
    for (int k = 0; k < 2; ++k) {
        int x = 0, y = 0;
        const int t = lastClickedTile(x, y);
        surface_.drawTile(x, y, t);
        pos_.setState(t, kOnBoard);
        --s_.moves.count;
    }
    s_.tilesLeft += 2;
    surface_.showTilesLeft(s_.tilesLeft);
    return endedSearch;
}

void TwoCornerPlay::resume(const MoveRecord& moves, int tilesLeft) {
    s_.moves = moves;
    s_.tilesLeft = tilesLeft;
    forgetBoardMarks();
}

void TwoCornerPlay::restore(const TwoCornerState& state) { s_ = state; }

void TwoCornerPlay::drawMarks() {
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y)
            if (pos_.stateAt(x, y) == kRemoved) surface_.drawTile(x, y, kBlankImage);
    if (s_.pickPending()) {
        surface_.drawTile(s_.pickX, s_.pickY, pos_.tileAt(s_.pickX, s_.pickY), DrawMode::Inverted);
        int only = 0;
        markPartners(only);
    }
    if (s_.search.shown) {
        surface_.outlineCell(s_.search.x1, s_.search.y1);
        surface_.outlineCell(s_.search.x2, s_.search.y2);
    }
    if (s_.exchange.chosen) surface_.drawTile(s_.exchange.x, s_.exchange.y, s_.exchange.tile, DrawMode::Inverted);
}

void TwoCornerPlay::showResumedPick() {
    s_.pickX = s_.pickY = s_.pickKind = 0;
    if (!s_.pickPending()) return;
    int x = 0, y = 0;
    const int t = lastClickedTile(x, y);
    s_.pickX = x;
    s_.pickY = y;
    s_.pickKind = pos_.tile(t).kind;
    surface_.drawTile(x, y, t, DrawMode::Inverted);
    int only = 0;
    markPartners(only);
}

}  // namespace tessarin
