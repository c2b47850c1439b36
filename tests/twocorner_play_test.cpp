// TwoCorner with the mouse: picking and dropping, a pair taken off with its
// flash, easy mode, undo, the tile exchange and the pair search, checked on
// the test sheet's flat colours.
#include "stages_support.h"

#include <vector>

namespace tessarin::test {
namespace {

int outlinedCells(const MjanModule& g) {
    int n = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) n += outlined(g, x, y);
    return n;
}

int stateOf(const MjanModule& g, int x, int y) { return g.paiTbl[static_cast<std::size_t>(g.boardMap.at(x, y))].state; }

QRgb faceAt(const MjanModule& g, int x, int y) { return paiColour(g.paiTbl, g.boardMap.at(x, y)); }

// The search is off: its command says so and no pair is outlined.
void expectSearchOff(const MjanModule& g) {
    EXPECT_FALSE(g.searchMode);
    EXPECT_EQ(g.menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    EXPECT_EQ(outlinedCells(g), 0);
}

struct Placed {
    int tile, x, y;
};

// Leaves only the given tiles on the board, each moved into its cell (it
// changes places with the tile found there); every other tile is taken off.
void arrange(MjanModule& g, const std::vector<Placed>& keep) {
    std::vector<bool> kept(kTblSize, false);
    for (const Placed& p : keep) {
        const PaiRec& a = g.paiTbl[static_cast<std::size_t>(p.tile)];
        placePai(g.boardMap, g.paiTbl, a.boardX, a.boardY, g.boardMap.at(p.x, p.y), false);
        placePai(g.boardMap, g.paiTbl, p.x, p.y, p.tile, false);
        kept[static_cast<std::size_t>(p.tile)] = true;
    }
    g.drawBoardTwo();
    for (int t = 1; t <= kTiles; ++t) {
        PaiRec& r = g.paiTbl[static_cast<std::size_t>(t)];
        r.state = kept[static_cast<std::size_t>(t)] ? kOnBoard : kRemoved;
        g.setCell(r.boardX, r.boardY);
        if (r.state == kRemoved) g.drawPai(kBlankPai, QStringLiteral("COPY"));
    }
    g.restPai = static_cast<int>(keep.size());
    ASSERT_TRUE(boardIsConsistent(g.boardMap, g.paiTbl));
}

// Two tiles of each of two kinds in a square, each pair across a diagonal:
// neither pair can be joined with two bends.
const std::vector<Placed> kLockedSquare = {{1, 5, 4}, {2, 6, 5}, {5, 6, 4}, {6, 5, 5}};

// Clicks the two tiles of the pair at the head of the search's list.
void clickFirstPair(MjanModule& g) {
    const HintList pairs = findPairs(g.boardMap, g.paiTbl);
    ASSERT_FALSE(pairs.empty());
    clickCell(g, pairs[0].xL, pairs[0].yL);
    clickCell(g, pairs[0].xR, pairs[0].yR);
}

using PaiPlay = GameTest;

TEST_F(PaiPlay, APickIsShownInvertedWithItsPartnersOutlinedUntilDropped) {
    startRandom();
    const int t = game->boardMap.at(9, 4);
    const QImage before = game->picdest;
    clickCell(*game, 9, 4);
    EXPECT_EQ(cellColour(*game, 9, 4), inverted(paiColour(game->paiTbl, t)));
    EXPECT_EQ((std::tuple(stateOf(*game, 9, 4), game->moveCount, int{game->moveHist[1]})),
              std::tuple(int{kPicked}, 1, 94));
    EXPECT_EQ((std::pair(game->partnerCount, outlinedCells(*game))), std::pair(3, 3));
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(outlined(*game, codeX(game->partnerList[i]), codeY(game->partnerList[i])));

    // The same tile again, or a right click anywhere on the field, drops it;
    // with nothing picked a right click does nothing.
    clickCell(*game, 9, 4);
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ((std::tuple(game->moveCount, game->selX, stateOf(*game, 9, 4))), std::tuple(0, 0, int{kOnBoard}));
    clickCell(*game, 9, 4);
    clickCell(*game, 1, 8, kRightButton);
    clickCell(*game, 1, 8, kRightButton);
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ(game->moveCount, 0);

    // Clicks below the field leave a pick alone.
    clickCell(*game, 9, 4);
    game->picdest_MouseDown(kRightButton, 100, 480);
    game->picdest_MouseDown(kLeftButton, 100, 480);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
    clickCell(*game, 9, 4, kRightButton);

    // A partner of its kind that cannot be joined on the full board, or a
    // neighbour of another kind: the first tile stays picked.
    int ax = 0, ay = 0, bx = 0, by = 0;
    for (int k = 1; k <= kTiles && ax == 0; k += 4) {
        const PaiRec &a = game->paiTbl[static_cast<std::size_t>(k)], &b = game->paiTbl[static_cast<std::size_t>(k + 1)];
        if (a.boardX > 1 && !canConnect(game->boardMap, game->paiTbl, a.boardX, a.boardY, b.boardX, b.boardY))
            ax = a.boardX, ay = a.boardY, bx = b.boardX, by = b.boardY;
    }
    ASSERT_NE(ax, 0);
    ASSERT_NE(game->paiTbl[static_cast<std::size_t>(game->boardMap.at(ax - 1, ay))].kind,
              game->paiTbl[static_cast<std::size_t>(game->boardMap.at(ax, ay))].kind);
    clickCell(*game, ax, ay);
    const QImage picked = game->picdest;
    clickCell(*game, bx, by);
    clickCell(*game, ax - 1, ay);
    EXPECT_EQ(game->picdest, picked);
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai, stateOf(*game, ax, ay))),
              std::tuple(1, kTiles, int{kPicked}));
}

TEST_F(PaiPlay, AJoinablePairFlashesThenGoesBlank) {
    startRandom();
    const PairHint p = findPairs(game->boardMap, game->paiTbl)[0];
    // Right tile first: the flash follows the order of the clicks.
    const int x1 = p.xR, y1 = p.yR, x2 = p.xL, y2 = p.yL;
    const QRgb face2 = faceAt(*game, x2, y2);
    std::vector<std::pair<QRgb, QRgb>> atPauses;
    ui.onWait = [&](int) { atPauses.emplace_back(cellColour(*game, x1, y1), cellColour(*game, x2, y2)); };
    clickCell(*game, x1, y1);
    clickCell(*game, x2, y2);

    const QRgb flash = paiColour(game->paiTbl, kFlashPai), blank = paiColour(game->paiTbl, kBlankPai);
    EXPECT_EQ(ui.waits, (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(atPauses, (std::vector<std::pair<QRgb, QRgb>>{{flash, face2}, {flash, flash}, {blank, flash}}));
    EXPECT_EQ((std::pair(cellColour(*game, x1, y1), cellColour(*game, x2, y2))), std::pair(blank, blank));
    EXPECT_EQ(outlinedCells(*game), 0);  // the kind's other two tiles lost their outlines
    EXPECT_EQ((std::tuple(game->moveCount, int{game->moveHist[1]}, int{game->moveHist[2]}, game->restPai)),
              std::tuple(2, cellCode(x1, y1), cellCode(x2, y2), 134));
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【134】牌"));
    clickCell(*game, x1, y1);  // an emptied cell cannot be picked
    EXPECT_EQ(game->moveCount, 2);
}

TEST_F(PaiPlay, EasyModeTakesTheOnlyPartnerLeftWhenItCanBeJoined) {
    startRandom();
    // Tiles 9 and 10 are the last of their kind, far apart on an open board;
    // three tiles of kind 4 are left; the locked square cannot be joined.
    std::vector<Placed> keep = kLockedSquare;
    keep.insert(keep.end(), {{9, 2, 2}, {10, 15, 7}, {13, 10, 1}, {14, 12, 3}, {15, 16, 8}});
    arrange(*game, keep);
    game->menuOptionTwoEasy_Click();

    clickCell(*game, 2, 2);
    EXPECT_EQ(ui.waits.size(), 3u);
    EXPECT_EQ((std::tuple(game->moveCount, int{game->moveHist[2]}, game->restPai)), std::tuple(2, 157, 7));
    EXPECT_EQ(stateOf(*game, 15, 7), kRemoved);
    // Two partners left, or one that cannot be joined: the pick waits.
    clickCell(*game, 10, 1);
    EXPECT_EQ((std::tuple(game->moveCount, game->partnerCount)), std::tuple(3, 2));
    clickCell(*game, 10, 1, kRightButton);
    clickCell(*game, 5, 4);
    EXPECT_EQ((std::tuple(game->moveCount, game->partnerCount, stateOf(*game, 5, 4))), std::tuple(3, 1, int{kPicked}));
    EXPECT_EQ(ui.waits.size(), 3u);
}

TEST_F(PaiPlay, UndoTakesBackOnePairAUseAndLeavesAnOldBoardAlone) {
    startRandom();
    clickCell(*game, 9, 4);
    game->menuPaiBack_Click();  // nothing taken off yet: even the pick stays
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
    clickCell(*game, 9, 4);

    clickFirstPair(*game);
    const QImage afterOne = game->picdest;
    const PaiTbl afterOneTbl = game->paiTbl;
    clickFirstPair(*game);
    clickCell(*game, 9, 4);
    ASSERT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(5, 132));
    game->menuPaiBack_Click();  // the pending pick goes first
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(2, 134));
    EXPECT_EQ(game->paiTbl, afterOneTbl);
    EXPECT_EQ(game->picdest, afterOne);  // pick, outlines and blanks all gone

    // Undo ends a search: the list shown belonged to the position before.
    game->menuSrh_Click();
    game->menuPaiBack_Click();
    expectSearchOff(*game);
    EXPECT_EQ(game->restPai, kTiles);

    // After a switch of game type the board in memory is no game's.
    clickFirstPair(*game);
    game->menuGame3_Click();
    game->menuGame2_Click();
    ASSERT_TRUE(game->menu(MenuId::PaiBack).enabled);
    const QImage blank = game->picdest;
    game->menuPaiBack_Click();
    EXPECT_EQ(game->picdest, blank);
    EXPECT_EQ(game->restPai, 134);
}

// The exchange is offered by the authoring build.
class PaiExchange : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        game = std::make_unique<MjanModule>(dir.path(), ui, /*authorMode=*/true);
        ASSERT_TRUE(game->startUp());
        game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(3, 25, 57)); };
    }
    void expectExchangeOff() {
        EXPECT_FALSE(game->exchangeMode);
        EXPECT_EQ(game->menu(MenuId::PaiChange).caption, QStringLiteral("牌交換(&H)"));
    }
};

TEST_F(PaiExchange, TwoClicksSwapTwoTilesOnTheBoardAndNothingElse) {
    startRandom();
    const int a = game->boardMap.at(3, 2), b = game->boardMap.at(12, 7);
    clickCell(*game, 3, 2);
    game->menuPaiChange_Click();
    // The pending pick is dropped, so no record points at a moved tile.
    EXPECT_EQ((std::tuple(game->moveCount, stateOf(*game, 3, 2))), std::tuple(0, int{kOnBoard}));
    EXPECT_EQ(game->menu(MenuId::PaiChange).caption, QStringLiteral("動作中"));

    clickCell(*game, 3, 2);
    EXPECT_EQ(cellColour(*game, 3, 2), inverted(paiColour(game->paiTbl, a)));
    clickCell(*game, 3, 2, kRightButton);  // withdrawn; the exchange goes on
    EXPECT_EQ(cellColour(*game, 3, 2), paiColour(game->paiTbl, a));
    clickCell(*game, 3, 2);
    clickCell(*game, 12, 7);
    EXPECT_EQ((std::pair(int{game->boardMap.at(3, 2)}, int{game->boardMap.at(12, 7)})), std::pair(b, a));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_EQ((std::pair(cellColour(*game, 3, 2), cellColour(*game, 12, 7))),
              std::pair(paiColour(game->paiTbl, b), paiColour(game->paiTbl, a)));
    expectExchangeOff();
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(0, kTiles));

    const QImage picture = game->picdest;
    game->menuPaiChange_Click();
    clickCell(*game, 5, 5);
    clickCell(*game, 5, 5);
    EXPECT_EQ(game->picdest, picture);
    expectExchangeOff();

    // Emptied cells take no part, and a new deal forgets the first choice.
    clickFirstPair(*game);
    const int gx = codeX(game->moveHist[1]), gy = codeY(game->moveHist[1]);
    const PaiTbl tbl = game->paiTbl;
    game->menuPaiChange_Click();
    clickCell(*game, gx, gy);
    EXPECT_EQ(game->exchCount, 0);
    clickCell(*game, 9, 4);
    clickCell(*game, gx, gy);
    EXPECT_EQ(game->exchCount, 1);
    EXPECT_EQ(game->paiTbl, tbl);

    game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(11, 0, 0)); };
    startRandom();
    EXPECT_EQ(game->exchCount, 0);
    clickCell(*game, 1, 1);
    clickCell(*game, 2, 1);
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
}

using PairSearch = GameTest;

TEST_F(PairSearch, ListsEveryJoinablePairOnceAndStepsThroughThem) {
    startRandom();
    std::vector<Placed> all;  // an authored board: tiles in number order, row by row
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) all.push_back({(y - 1) * kCols + x, x, y});
    arrange(*game, all);
    game->menuSrh_Click();
    ASSERT_EQ(game->searchCount, 120);
    int i = 0;
    for (const PairHint& h : findPairs(game->boardMap, game->paiTbl))
        EXPECT_EQ(game->hintCode(++i), QString::fromStdString(pairCodeText(h)));
    // Tile 1 in the corner pairs along the top row with 2, 3 and 4 first.
    EXPECT_EQ(game->hintCode(1) + game->hintCode(2) + game->hintCode(3), QStringLiteral("011021011031011041"));
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索動作中"));
    EXPECT_EQ(game->stripText[1], QStringLiteral("検索モード 動作中 [120箇所]"));
    EXPECT_TRUE(outlined(*game, 1, 1) && outlined(*game, 2, 1));  // "011021": tiles 1 and 2
    EXPECT_EQ(outlinedCells(*game), 2);

    // Left clicks anywhere step on, and come round to the first pair.
    clickCell(*game, 9, 4);
    EXPECT_EQ(game->lblmsg, QStringLiteral("011031:2"));
    EXPECT_TRUE(outlined(*game, game->hintX1, game->hintY1) && outlined(*game, game->hintX2, game->hintY2));
    EXPECT_EQ(outlinedCells(*game), 2);
    for (int k = 3; k <= 121; ++k) game->picdest_MouseDown(kLeftButton, 10, 480);
    EXPECT_EQ(game->lblmsg, QStringLiteral("011021:1"));
    EXPECT_EQ(stateOf(*game, 9, 4), kOnBoard);

    // A right click leaves; the stage message comes back; clicks pick again.
    game->stageMode = true;
    game->stageNo = QStringLiteral("00042");
    clickCell(*game, 9, 4, kRightButton);
    expectSearchOff(*game);
    EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [00042]"));
    clickCell(*game, 9, 4);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
}

TEST_F(PairSearch, RunsOnlyWhenOfferedDropsAPickAndEndsWithItsBoard) {
    game->Form_KeyDown(Qt::Key_F, Qt::ControlModifier);  // no game: not offered
    EXPECT_FALSE(game->searchMode);
    startRandom();
    game->busy = true;
    game->menuSrh_Click();
    EXPECT_FALSE(game->searchMode);
    game->busy = false;

    // A pending pick is dropped first; the rule's inputs are left alone.
    game->tgtX = 7, game->tgtY = 3;
    clickCell(*game, 9, 4);
    game->Form_KeyDown(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(game->searchMode);
    EXPECT_EQ((std::tuple(game->moveCount, stateOf(*game, 9, 4))), std::tuple(0, int{kOnBoard}));
    EXPECT_EQ((std::tuple(game->selX, game->selY, game->tgtX, game->tgtY)), std::tuple(0, 0, 7, 3));
    EXPECT_EQ(outlinedCells(*game), 2);  // the pair shown, none of the dropped pick's partners
    EXPECT_EQ(cellColour(*game, 9, 4), faceAt(*game, 9, 4));
    game->menuSrh_Click();  // the command again ends the search
    expectSearchOff(*game);
    game->selX = 4, game->selY = 5;
    game->menuSrh_Click();
    EXPECT_EQ((std::tuple(game->selX, game->selY, game->tgtX, game->tgtY)), std::tuple(4, 5, 7, 3));

    // A new deal ends the search of the old board.
    game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(11, 0, 0)); };
    startRandom();
    expectSearchOff(*game);
    clickCell(*game, 9, 4);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
}

TEST_F(PairSearch, OnePairLeftIsShownAgainAndAStuckBoardIsReported) {
    startRandom();
    std::vector<Placed> keep = kLockedSquare;
    keep.insert(keep.end(), {{9, 2, 2}, {10, 15, 7}});
    arrange(*game, keep);
    game->menuSrh_Click();
    ASSERT_EQ(game->searchCount, 1);
    for (int i = 0; i < 2; ++i) {
        clickCell(*game, 5, 4);
        EXPECT_EQ(game->lblmsg, QStringLiteral("022157:1"));
        EXPECT_TRUE(outlined(*game, 2, 2) && outlined(*game, 15, 7));
    }
    clickCell(*game, 5, 4, kRightButton);

    arrange(*game, kLockedSquare);
    const QImage picture = game->picdest;
    game->menuSrh_Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("手詰まりです"));
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("二角取り"));
    expectSearchOff(*game);
    EXPECT_EQ(game->picdest, picture);
    clickCell(*game, 5, 4);
    EXPECT_EQ(stateOf(*game, 5, 4), kPicked);
}

}  // namespace
}  // namespace tessarin::test
