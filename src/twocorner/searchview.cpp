// The pair search as the player uses it ("検索開始(&S)", Ctrl+F): every pair
// that can be taken off now is listed, the first one is outlined on the
// board, left clicks step through the list and a right click (or the command
// again) leaves it. Nothing is removed and the board does not change.
#include "twocorner/play.h"

namespace tessarin {

namespace {

constexpr int kRightButton = 2;
const QString kSearchIdle = QStringLiteral("検索(&S)");

}  // namespace

TwoCornerPlay::SearchToggle TwoCornerPlay::toggleSearch() {
    if (s_.search.shown) {
        endSearch();
        return SearchToggle::Ended;
    }
    // A picked tile would be listed as an ordinary one; drop the pick first.
    if (s_.pickPending()) dropPick();
    s_.search.shown = true;
    s_.search.pairs = findPairs(pos_);
    s_.search.current = 0;
    if (!s_.search.pairs.empty()) {
        shell_.setMenuCaption(MenuId::Search, QStringLiteral("検索動作中"));
        surface_.showSearchCount(true, s_.search.pairs.size());
        showPair();
        return SearchToggle::Shown;
    }
    shell_.ui().messageBox(QStringLiteral("手詰まりです"), shell_.caption());
    s_.search.shown = false;
    shell_.setMenuCaption(MenuId::Search, kSearchIdle);
    surface_.showSearchCount(false, 0);
    return SearchToggle::NothingFound;
}

void TwoCornerPlay::showPair() {
    const CellPair& p = s_.search.pairs[s_.search.current];
    s_.search.x1 = p.xL;
    s_.search.y1 = p.yL;
    s_.search.x2 = p.xR;
    s_.search.y2 = p.yR;
    surface_.outlineCell(p.xL, p.yL);
    surface_.outlineCell(p.xR, p.yR);
}

void TwoCornerPlay::redrawPair() {
    // Drawing the two tiles again takes their outlines away.
    const SearchView& v = s_.search;
    if (v.x1 == 0) return;
    surface_.drawTile(v.x1, v.y1, pos_.tileAt(v.x1, v.y1));
    surface_.drawTile(v.x2, v.y2, pos_.tileAt(v.x2, v.y2));
}

bool TwoCornerPlay::stepSearch(int button) {
    if (button == kRightButton) {
        endSearch();
        return true;
    }
    // Next pair, round to the first after the last.
    redrawPair();
    if (++s_.search.current >= s_.search.pairs.size()) s_.search.current = 0;
    showPair();
    shell_.ui().focusSurface();
    return false;
}

void TwoCornerPlay::endSearch() {
    redrawPair();
    s_.search.x1 = s_.search.y1 = s_.search.x2 = s_.search.y2 = 0;
    s_.search.shown = false;
    shell_.setMenuCaption(MenuId::Search, kSearchIdle);
    surface_.showSearchCount(false, 0);
}

}  // namespace tessarin
