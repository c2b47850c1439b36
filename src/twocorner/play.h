// TwoCorner as the player plays it with the mouse: pick a tile, pick its
// partner, and a joinable pair vanishes with a short flash. A picked tile is
// shown inverted and the other tiles of its kind still on the board are
// outlined in red; easy mode takes the partner itself when only one is left.
// Also the undo, the pair search ("検索") and the tile exchange of the
// authoring build. TwoCornerPlay holds what a game keeps besides its
// position and does its own drawing on the board surface.
#pragma once

#include "app/shell.h"
#include "board/position.h"
#include "board/surface.h"
#include "formats/saveslot.h"
#include "twocorner/search.h"

namespace tessarin {

// The pair search as the player sees it: the pairs it found and the one
// outlined on the board.
struct SearchView {
    bool shown = false;
    PairList pairs;
    int current = 0;                     // index into pairs of the outlined pair
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // its cells; x1 0: nothing outlined

    friend bool operator==(const SearchView&, const SearchView&) = default;
};

// The tile exchange of the authoring build: waiting for its two tiles, and
// the first one chosen.
struct ExchangeChoice {
    bool waiting = false;
    bool chosen = false;
    int x = 0, y = 0, tile = 0;

    friend bool operator==(const ExchangeChoice&, const ExchangeChoice&) = default;
};

struct TwoCornerState {
    int tilesLeft = 0;
    MoveRecord moves;
    int pickX = 0, pickY = 0, pickKind = 0;  // the picked first tile; pickX 0: none
    SearchView search;
    ExchangeChoice exchange;
    bool easyMode = false;
    // The pair a hint outlines until the next click; hintX1 0: none.
    int hintX1 = 0, hintY1 = 0, hintX2 = 0, hintY2 = 0;

    bool pickPending() const { return moves.count % 2 == 1; }

    friend bool operator==(const TwoCornerState&, const TwoCornerState&) = default;
};

class TwoCornerPlay {
public:
    TwoCornerPlay(Position& pos, Surface& surface, Shell& shell);

    const TwoCornerState& state() const { return s_; }

    // A new game on the position just placed: 136 tiles, no move, and the
    // marks that named cells of the board before (search, exchange choice)
    // forgotten.
    void newGame();
    // The search and an exchange's first choice name cells of a board that
    // has just been replaced: both are forgotten, without drawing.
    void forgetBoardMarks();

    enum class Outcome { Played, BoardCleared };
    // A click on field cell (x, y) of a game in play (or a right click
    // anywhere): picks, drops or pairs a tile, or serves the exchange.
    Outcome press(int x, int y, int button);

    // "検索開始(&S)": lists the removable pairs and outlines the first, or
    // leaves the search when it is shown. NothingFound after "手詰まりです".
    enum class SearchToggle { Shown, Ended, NothingFound };
    SearchToggle toggleSearch();
    // A board click while the search is shown: left shows the next pair,
    // right leaves the search (true).
    bool stepSearch(int button);
    void endSearch();

    // "一手戻す(&B)": the last pair taken comes back. True when it ended a
    // search that was shown.
    bool undo();

    // "牌交換(&R)": waits for two tiles that then change places.
    void startExchange();

    void setEasyMode(bool on) { s_.easyMode = on; }

    // "ﾋﾝﾄ": outlines a pair in the hint's colour (a pending pick is dropped
    // first); clearHint draws the two tiles plainly again.
    void showHint(const CellPair& pair);
    void clearHint();

    // A kept game taken up again: its state, as the last exit left it (the
    // search's pairs are found again); then everything it shows is drawn on
    // the board drawn plainly.
    void restore(const TwoCornerState& state);
    void drawMarks();

    // A saved game taken up: its record and count, the marks forgotten; and,
    // once the board is drawn, its pending pick shown as the click showed it.
    void resume(const MoveRecord& moves, int tilesLeft);
    void showResumedPick();

    // Drops the pending pick: the tile is drawn plainly and is on the board
    // again; the record loses its entry.
    void dropPick();

private:
    // The picked tile's cell: the last recorded click.
    int lastClickedTile(int& x, int& y) const;
    // Outlines the other tiles of the picked tile's kind still on the board
    // and returns how many there are (the cell of the last in `only`), or
    // draws them plainly again.
    int markPartners(int& only);
    void unmarkPartners();
    Outcome removePair(int x2, int y2);
    void exchangeClick(int x, int y, int button);
    void showPair();
    void redrawPair();

    Position& pos_;
    Surface& surface_;
    Shell& shell_;
    TwoCornerState s_;
};

}  // namespace tessarin
