// TwoCorner with the mouse: picking and dropping, a pair taken off with its
// flash, easy mode, undo, the tile exchange and the pair search, checked on
// the test sheet's flat colours.
#include "support/gametest.h"
#include "twocorner/connect.h"
#include "twocorner/search.h"

#include <vector>

namespace tessarin::test {
namespace {

void click(MjanModule& g, int x, int y, int button = kLeftButton) {
    g.picdest_MouseDown(button, cellPixelX(x) + 20, cellPixelY(y) + 30);
}

// The red outline inside a cell: two opposite corners are red.
bool outlined(const MjanModule& g, int x, int y) {
    const QRgb red = qRgb(255, 0, 0);
    return pixelAt(g.picdest, cellPixelX(x) + 1, cellPixelY(y) + 1) == red &&
           pixelAt(g.picdest, cellPixelX(x) + 43, cellPixelY(y) + 53) == red;
}

int outlinedCells(const MjanModule& g) {
    int n = 0;
    for (int y = 1; y <= kRows; ++y)
        for (int x = 1; x <= kCols; ++x) n += outlined(g, x, y);
    return n;
}

int stateOf(const MjanModule& g, int x, int y) { return g.paiTbl[static_cast<std::size_t>(g.boardMap.at(x, y))].state; }

QRgb faceAt(const MjanModule& g, int x, int y) { return paiColour(g.paiTbl, g.boardMap.at(x, y)); }

struct Placed {
    int tile, x, y;
};

// Leaves only the given tiles on the board, each moved into its cell (it
// changes places with the tile found there); every other tile is taken off.
void arrange(MjanModule& g, const std::vector<Placed>& keep) {
    std::vector<bool> kept(kTblSize, false);
    for (const Placed& p : keep) {
        PaiRec& a = g.paiTbl[static_cast<std::size_t>(p.tile)];
        const int other = g.boardMap.at(p.x, p.y);
        PaiRec& b = g.paiTbl[static_cast<std::size_t>(other)];
        g.boardMap.at(a.boardX, a.boardY) = static_cast<int16_t>(other);
        g.boardMap.at(p.x, p.y) = static_cast<int16_t>(p.tile);
        std::swap(a.boardX, b.boardX);
        std::swap(a.boardY, b.boardY);
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

// Takes the pair at the head of the search's list with two clicks.
void takeFirstPair(MjanModule& g) {
    const HintList pairs = findPairs(g.boardMap, g.paiTbl);
    ASSERT_FALSE(pairs.empty());
    click(g, pairs[0].xL, pairs[0].yL);
    click(g, pairs[0].xR, pairs[0].yR);
}

using PaiPlay = GameTest;

TEST_F(PaiPlay, APickIsShownInvertedWithItsPartnersOutlinedUntilDropped) {
    startRandom();
    const int t = game->boardMap.at(9, 4);
    const QImage before = game->picdest;
    click(*game, 9, 4);
    EXPECT_EQ(cellColour(*game, 9, 4), inverted(paiColour(game->paiTbl, t)));
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
    EXPECT_EQ((std::tuple(game->moveCount, int{game->moveHist[1]})), std::tuple(1, 94));
    EXPECT_EQ(game->partnerCount, 3);
    EXPECT_EQ(outlinedCells(*game), 3);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(outlined(*game, codeX(game->partnerList[i]), codeY(game->partnerList[i])));

    // The same tile again, or a right click anywhere on the field, drops it.
    click(*game, 9, 4);
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ((std::tuple(game->moveCount, game->selX, stateOf(*game, 9, 4))), std::tuple(0, 0, int{kOnBoard}));
    click(*game, 9, 4);
    click(*game, 1, 8, kRightButton);
    EXPECT_EQ(game->picdest, before);
    click(*game, 1, 8, kRightButton);  // nothing picked: nothing happens
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ(game->moveCount, 0);

    // Clicks below the field leave a pick alone.
    click(*game, 9, 4);
    game->picdest_MouseDown(kRightButton, 100, 480);
    game->picdest_MouseDown(kLeftButton, 100, 480);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
}

TEST_F(PaiPlay, ASecondTileThatCannotBeTakenLeavesTheFirstPicked) {
    startRandom();
    // A tile and a partner of its kind that cannot be joined on the full
    // board, and a neighbour of another kind, which could be joined.
    int ax = 0, ay = 0, bx = 0, by = 0;
    for (int t = 1; t <= kTiles && ax == 0; t += 4) {
        const PaiRec &a = game->paiTbl[static_cast<std::size_t>(t)], &b = game->paiTbl[static_cast<std::size_t>(t + 1)];
        if (a.boardX > 1 && !canConnect(game->boardMap, game->paiTbl, a.boardX, a.boardY, b.boardX, b.boardY))
            ax = a.boardX, ay = a.boardY, bx = b.boardX, by = b.boardY;
    }
    ASSERT_NE(ax, 0);
    ASSERT_NE(game->paiTbl[static_cast<std::size_t>(game->boardMap.at(ax - 1, ay))].kind,
              game->paiTbl[static_cast<std::size_t>(game->boardMap.at(ax, ay))].kind);
    click(*game, ax, ay);
    const QImage picked = game->picdest;
    click(*game, bx, by);
    click(*game, ax - 1, ay);
    EXPECT_EQ(game->picdest, picked);
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(1, kTiles));
    EXPECT_EQ(stateOf(*game, ax, ay), kPicked);
}

TEST_F(PaiPlay, AJoinablePairFlashesThenGoesBlank) {
    startRandom();
    const PairHint p = findPairs(game->boardMap, game->paiTbl)[0];
    // Right tile first: the flash follows the order of the clicks.
    const int x1 = p.xR, y1 = p.yR, x2 = p.xL, y2 = p.yL;
    const QRgb face2 = faceAt(*game, x2, y2);
    std::vector<std::pair<QRgb, QRgb>> atPauses;
    ui.onWait = [&](int) { atPauses.emplace_back(cellColour(*game, x1, y1), cellColour(*game, x2, y2)); };
    click(*game, x1, y1);
    click(*game, x2, y2);

    const QRgb flash = paiColour(game->paiTbl, kFlashPai), blank = paiColour(game->paiTbl, kBlankPai);
    EXPECT_EQ(ui.waits, (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(atPauses, (std::vector<std::pair<QRgb, QRgb>>{{flash, face2}, {flash, flash}, {blank, flash}}));
    EXPECT_EQ((std::pair(cellColour(*game, x1, y1), cellColour(*game, x2, y2))), std::pair(blank, blank));
    EXPECT_EQ(outlinedCells(*game), 0);  // the kind's other two tiles lost their outlines
    EXPECT_EQ((std::tuple(game->moveCount, int{game->moveHist[1]}, int{game->moveHist[2]})),
              std::tuple(2, cellCode(x1, y1), cellCode(x2, y2)));
    EXPECT_EQ(game->restPai, 134);
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【134】牌"));
    click(*game, x1, y1);  // an emptied cell cannot be picked
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

    click(*game, 2, 2);
    EXPECT_EQ(ui.waits.size(), 3u);
    EXPECT_EQ((std::tuple(game->moveCount, int{game->moveHist[2]}, game->restPai)), std::tuple(2, 157, 7));
    EXPECT_EQ(stateOf(*game, 15, 7), kRemoved);
    // Two partners left, or one that cannot be joined: the pick waits.
    click(*game, 10, 1);
    EXPECT_EQ((std::tuple(game->moveCount, game->partnerCount)), std::tuple(3, 2));
    click(*game, 10, 1, kRightButton);
    click(*game, 5, 4);
    EXPECT_EQ((std::tuple(game->moveCount, game->partnerCount)), std::tuple(3, 1));
    EXPECT_EQ(stateOf(*game, 5, 4), kPicked);
    EXPECT_EQ(ui.waits.size(), 3u);
}

TEST_F(PaiPlay, UndoTakesBackOnePairAUseAndFirstDropsAPendingPick) {
    startRandom();
    const QImage start = game->picdest;
    const PaiTbl startTbl = game->paiTbl;
    click(*game, 9, 4);
    game->menuPaiBack_Click();  // nothing taken off yet: even the pick stays
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
    click(*game, 9, 4);

    takeFirstPair(*game);
    const QImage afterOne = game->picdest;
    const PaiTbl afterOneTbl = game->paiTbl;
    takeFirstPair(*game);
    click(*game, 9, 4);
    ASSERT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(5, 132));
    game->menuPaiBack_Click();
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(2, 134));
    EXPECT_EQ(game->paiTbl, afterOneTbl);
    EXPECT_EQ(game->picdest, afterOne);  // pick, outlines and blanks all gone
    game->menuPaiBack_Click();
    EXPECT_EQ(game->paiTbl, startTbl);
    EXPECT_EQ(game->picdest, start);
}

TEST_F(PaiPlay, UndoLeavesAnOldBoardAloneAndEndsASearch) {
    startRandom();
    takeFirstPair(*game);
    game->menuSrh_Click();
    game->menuPaiBack_Click();
    // The list shown belonged to the position before the undo.
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    EXPECT_EQ(outlinedCells(*game), 0);
    EXPECT_EQ(game->restPai, kTiles);

    // After a switch of game type the board in memory is no game's.
    takeFirstPair(*game);
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
};

TEST_F(PaiExchange, TwoClicksSwapTwoTilesAndTheSameCellTwiceChangesNothing) {
    startRandom();
    EXPECT_TRUE(game->menu(MenuId::PaiChange).visible);
    const int a = game->boardMap.at(3, 2), b = game->boardMap.at(12, 7);
    click(*game, 3, 2);
    game->menuPaiChange_Click();
    // The pending pick is dropped, so no record points at a moved tile.
    EXPECT_EQ((std::tuple(game->moveCount, stateOf(*game, 3, 2))), std::tuple(0, int{kOnBoard}));
    EXPECT_EQ(game->menu(MenuId::PaiChange).caption, QStringLiteral("動作中"));

    click(*game, 3, 2);
    EXPECT_EQ(cellColour(*game, 3, 2), inverted(paiColour(game->paiTbl, a)));
    click(*game, 3, 2, kRightButton);  // withdrawn; the exchange goes on
    EXPECT_EQ(cellColour(*game, 3, 2), paiColour(game->paiTbl, a));
    click(*game, 3, 2);
    click(*game, 12, 7);
    EXPECT_EQ((std::pair(int{game->boardMap.at(3, 2)}, int{game->boardMap.at(12, 7)})), std::pair(b, a));
    EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
    EXPECT_EQ((std::pair(cellColour(*game, 3, 2), cellColour(*game, 12, 7))),
              std::pair(paiColour(game->paiTbl, b), paiColour(game->paiTbl, a)));
    EXPECT_FALSE(game->exchangeMode);
    EXPECT_EQ(game->menu(MenuId::PaiChange).caption, QStringLiteral("牌交換(&H)"));
    EXPECT_EQ((std::tuple(game->moveCount, game->restPai)), std::tuple(0, kTiles));

    const QImage picture = game->picdest;
    game->menuPaiChange_Click();
    click(*game, 5, 5);
    click(*game, 5, 5);
    EXPECT_EQ(game->picdest, picture);
    EXPECT_FALSE(game->exchangeMode);
    EXPECT_EQ(game->menu(MenuId::PaiChange).caption, QStringLiteral("牌交換(&H)"));
}

TEST_F(PaiExchange, EmptiedCellsTakeNoPartAndANewDealForgetsTheFirstChoice) {
    startRandom();
    takeFirstPair(*game);
    const int gx = codeX(game->moveHist[1]), gy = codeY(game->moveHist[1]);
    const PaiTbl tbl = game->paiTbl;
    game->menuPaiChange_Click();
    click(*game, gx, gy);
    EXPECT_EQ(game->exchCount, 0);
    click(*game, 9, 4);
    click(*game, gx, gy);
    EXPECT_EQ(game->exchCount, 1);
    EXPECT_EQ(game->paiTbl, tbl);

    game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(11, 0, 0)); };
    startRandom();
    EXPECT_EQ(game->exchCount, 0);
    click(*game, 1, 1);
    click(*game, 2, 1);
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
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索動作中"));
    EXPECT_EQ(game->stripText[1], QStringLiteral("検索モード 動作中 [120箇所]"));
    EXPECT_TRUE(outlined(*game, 1, 1) && outlined(*game, 2, 1));  // "011021": tiles 1 and 2
    EXPECT_EQ(outlinedCells(*game), 2);

    // Left clicks anywhere step on, and come round to the first pair.
    click(*game, 9, 4);
    EXPECT_EQ(game->lblmsg, game->hintCode(2) + QStringLiteral(":2"));
    EXPECT_TRUE(outlined(*game, game->hintX1, game->hintY1) && outlined(*game, game->hintX2, game->hintY2));
    EXPECT_EQ(outlinedCells(*game), 2);
    for (int k = 3; k <= 121; ++k) game->picdest_MouseDown(kLeftButton, 10, 480);
    EXPECT_EQ(game->lblmsg, QStringLiteral("011021:1"));
    EXPECT_EQ(stateOf(*game, 9, 4), kOnBoard);

    // A right click leaves; the stage message comes back; clicks pick again.
    game->stageMode = true;
    game->stageNo = QStringLiteral("00042");
    click(*game, 9, 4, kRightButton);
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [00042]"));
    EXPECT_EQ(outlinedCells(*game), 0);
    click(*game, 9, 4);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
}

TEST_F(PairSearch, DropsAPickFirstAndLeavesTheRuleInputsAlone) {
    startRandom();
    game->tgtX = 7, game->tgtY = 3;
    click(*game, 9, 4);
    game->Form_KeyDown(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(game->searchMode);
    EXPECT_EQ((std::tuple(game->moveCount, stateOf(*game, 9, 4))), std::tuple(0, int{kOnBoard}));
    EXPECT_EQ((std::tuple(game->selX, game->selY, game->tgtX, game->tgtY)), std::tuple(0, 0, 7, 3));
    EXPECT_EQ(outlinedCells(*game), 2);  // the pair shown, none of the dropped pick's partners
    EXPECT_EQ(cellColour(*game, 9, 4), faceAt(*game, 9, 4));
    game->menuSrh_Click();  // the command again ends the search
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(outlinedCells(*game), 0);

    game->selX = 4, game->selY = 5;
    game->menuSrh_Click();
    EXPECT_EQ((std::tuple(game->selX, game->selY, game->tgtX, game->tgtY)), std::tuple(4, 5, 7, 3));
}

TEST_F(PairSearch, OnePairLeftIsShownAgainAndAStuckBoardIsReported) {
    startRandom();
    std::vector<Placed> keep = kLockedSquare;
    keep.insert(keep.end(), {{9, 2, 2}, {10, 15, 7}});
    arrange(*game, keep);
    game->menuSrh_Click();
    ASSERT_EQ(game->searchCount, 1);
    for (int i = 0; i < 2; ++i) {
        click(*game, 5, 4);
        EXPECT_EQ(game->lblmsg, QStringLiteral("022157:1"));
        EXPECT_TRUE(outlined(*game, 2, 2) && outlined(*game, 15, 7));
    }
    click(*game, 5, 4, kRightButton);

    arrange(*game, kLockedSquare);
    const QImage picture = game->picdest;
    game->menuSrh_Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("手詰まりです"));
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("二角取り"));
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    EXPECT_EQ(game->picdest, picture);
    click(*game, 5, 4);
    EXPECT_EQ(stateOf(*game, 5, 4), kPicked);
}

TEST_F(PairSearch, RunsOnlyWhenOfferedAndEndsWithItsBoard) {
    game->Form_KeyDown(Qt::Key_F, Qt::ControlModifier);  // no game: not offered
    EXPECT_FALSE(game->searchMode);
    startRandom();
    game->busy = true;
    game->menuSrh_Click();
    EXPECT_FALSE(game->searchMode);
    game->busy = false;
    game->menuSrh_Click();
    ASSERT_TRUE(game->searchMode);

    // A new deal ends the search of the old board.
    game->clock = [] { return QDateTime(QDate(2026, 12, 6), QTime(11, 0, 0)); };
    startRandom();
    EXPECT_FALSE(game->searchMode);
    EXPECT_EQ(game->menu(MenuId::Srh).caption, QStringLiteral("検索(&S)"));
    EXPECT_EQ(outlinedCells(*game), 0);
    click(*game, 9, 4);
    EXPECT_EQ(stateOf(*game, 9, 4), kPicked);
}

}  // namespace
}  // namespace tessarin::test
