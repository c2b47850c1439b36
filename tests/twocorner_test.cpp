// TwoCorner played through board clicks, checked against the position and pixel by pixel against the test sheet.
#include "support/gametest.h"

#include "twocorner/pairs.h"
#include "twocorner/search.h"

namespace tessarin::test {
namespace {

class TwoCorner : public GameTest {
protected:
    const TwoCornerState& two() const { return game->twoCorner(); }
    int onBoard(int kind) const {
        return static_cast<int>(std::ranges::count_if(game->position().tiles(), [kind](auto& r) { return r.kind == kind && !r.state; }));
    }
    // Counters, strip and every cell of the picture tell the story of `pairs` pairs taken.
    void expectBoardShown(int pairs) {
        ASSERT_EQ(std::tuple(two().tilesLeft, two().moves.count), std::tuple(kTiles - 2 * pairs, 2 * pairs));
        EXPECT_EQ(std::tuple(strip(2), outlinedCells(*game)), std::tuple(QStringLiteral("残り【%1】牌").arg(two().tilesLeft, 3), 0));
        for (int i = 0; i < kCols * kRows; ++i)
            ASSERT_EQ(cellColour(*game, i % kCols + 1, i / kCols + 1), expectedTwoCornerColour(*game, i % kCols + 1, i / kCols + 1));
    }
    std::pair<int, int> inkSpan() const {  // the width and the centre of what is drawn on the surface
        int left = Surface::kWidth, right = -1;
        for (int i = 0; i < Surface::kWidth * Surface::kHeight; ++i)
            if (pixelAt(game->picture(), i % Surface::kWidth, i / Surface::kWidth) != Surface::kBoardGreen)
                left = std::min(left, i % Surface::kWidth), right = std::max(right, i % Surface::kWidth);
        return {right - left + 1, (left + right) / 2};
    }
};

TEST_F(TwoCorner, WholeGamesClearedOrStuckAndTakenBackToTheStart) {
    ASSERT_EQ(writeGreedyStage(1207), 1207);
    // Taking the first listed pair clears 33763 and 1207, not 1206 and 1208. The stage's replay ends play: last.
    struct Deal { int seed; bool stage, clears, easy; };
    for (const Deal d : {Deal{1206, 0, 0, 0}, Deal{33763, 0, 1, 0}, Deal{1208, 0, 0, 1}, Deal{1207, 1, 1, 0}}) {
        SCOPED_TRACE(d.seed);
        if (two().easyMode != d.easy) command(MenuId::EasyMode);
        if (d.stage) chooseStage(1, 1);
        else setClockForSeed(d.seed), command(MenuId::RandomDeal);
        command(MenuId::Search), command(MenuId::Search);  // a stage's label comes back after a search
        const QString label = d.stage ? QStringLiteral("規定マップ挑戦中 [01207]") : QString();
        EXPECT_EQ(std::tuple(strip(0), strip(1)), std::tuple(QStringLiteral("楽々モード %1").arg(d.easy ? "動作中" : "停止中"), label));
        const GameSnapshot start = playSnapshot(*game);
        std::vector<std::pair<int, int>> success;  // the congratulation's ink width and centre at each pause
        ui.waits.clear(), ui.onWait = [&](int ms) { if (ms == 20) success.push_back(inkSpan()); };
        int pairs = 0;
        for (; pairs < kTiles / 2 && game->shell().inPlay() && !findPairs(game->position()).empty(); ++pairs) {
            const CellPair p = findPairs(game->position())[0];
            const bool only = d.easy && onBoard(game->position().kindAt(p.xL, p.yL)) == 2;  // easy mode takes the only partner
            click(p.xL, p.yL);
            ASSERT_EQ(two().pickPending(), !only);
            if (!only) click(p.xR, p.yR);
            if (pairs + 1 < kTiles / 2) { ASSERT_NO_FATAL_FAILURE(expectBoardShown(pairs + 1)); }
        }
        ui.onWait = nullptr;
        ASSERT_EQ(pairs == kTiles / 2, d.clears);
        if (d.clears) {
            std::vector<int> waits(3 * kTiles / 2, 200);
            waits.insert(waits.end(), 23, 20);  // three pauses a pair, then the text grows from 10 to 32 points
            EXPECT_EQ(ui.waits, waits);
            for (int k = 0; k < 23 && success.size() == 23u; ++k) {
                EXPECT_NEAR(success[k].first, game->surface().textWidth(QStringLiteral("成功おめでとうございます"), 10 + k, true), 3);
                EXPECT_NEAR(success[k].second, Surface::kWidth / 2, 3);
            }
            const auto on = [&](MenuId id) { return game->menu(id).enabled; };  // a stage keeps its answer at hand
            EXPECT_EQ(std::tuple(on(MenuId::Undo), on(MenuId::Search), on(MenuId::TwoCornerOptions), on(MenuId::ModelAnswer), on(MenuId::EasyMode)),
                      std::tuple(false, false, d.stage, d.stage, !d.stage));
            command(MenuId::ModelAnswer);
            EXPECT_EQ(game->session().replay.on, d.stage);
            continue;
        }
        // Stuck: a tile stays picked when its only partner cannot be joined, even in easy mode, or on another kind.
        std::vector<QPoint> pair, other;  // the two tiles of a kind; tiles of other kinds
        for (const TileRecord& r : game->position().tiles())
            if (r.boardX && r.state == kOnBoard) (onBoard(r.kind) == 2 && pair.size() < 2 ? pair : other).emplace_back(r.boardX, r.boardY);
        ASSERT_TRUE(pair.size() == 2 && !other.empty());
        const GameSnapshot stuck = playSnapshot(*game);
        click(pair[0].x(), pair[0].y());
        const GameSnapshot picked = playSnapshot(*game);
        click(pair[1].x(), pair[1].y()), click(other[0].x(), other[0].y());
        EXPECT_EQ(playSnapshot(*game), picked);
        EXPECT_EQ(std::tuple(two().pickPending(), outlinedCells(*game), ui.waits.size()), std::tuple(true, 1, 3u * pairs));
        click(5, 5, kRightButton), takeMessages(), command(MenuId::Search);
        EXPECT_EQ(takeMessages(), QStringList{QStringLiteral("手詰まりです | 二角取り")});
        EXPECT_EQ(playSnapshot(*game), stuck);
        for (int p = pairs; p > 0 && !HasFatalFailure(); --p) command(MenuId::Undo), expectBoardShown(p - 1);
        command(MenuId::Undo);  // nothing left to take back
        EXPECT_EQ(playSnapshot(*game), start);
    }
}

TEST_F(TwoCorner, ClicksOnlyInPlayPicksDropsAPairFlashingOffAndTheSearch) {
    const GameSnapshot none = game->snapshot();
    click(9, 4), game->pressBoard(kRightButton, 10, 480), game->pressKey(Qt::Key_F, Qt::ControlModifier);  // no game yet
    EXPECT_EQ(std::tuple(game->snapshot() == none, ui.cursorMoves.size(), ui.pendingEventRounds), std::tuple(true, 0u, 0));
    command(MenuId::RandomDeal);
    game->pressKey(Qt::Key_F, Qt::ControlModifier), game->pressKey(Qt::Key_F, Qt::ControlModifier);  // the caption a search leaves
    const GameSnapshot dealt = playSnapshot(*game);
    // The pointer is nudged 3 pixels left, then right, after the busy cursor is gone; when moved, it is left where it is.
    ui.pendingEventRounds = 0, ui.onPendingEvents = [&] { EXPECT_EQ(ui.busyCursor, 1); };
    click(9, 4), click(9, 4);
    EXPECT_EQ(ui.cursorMoves, (std::vector<QPoint>{QPoint(97, 100), QPoint(100, 100)}));
    ui.onPendingEvents = [&] { ui.cursor += QPoint(7, 9); };
    click(9, 4), click(9, 4), click(1, 8, kRightButton);  // the last with nothing picked: nothing to drop
    EXPECT_EQ(std::tuple(ui.cursorMoves.size(), ui.pendingEventRounds, ui.busyCursor), std::tuple(2u, 5, 0));
    // A pick is inverted, its kind outlined; the tile again or a right click on the field drops it, clicks below do not.
    for (const int button : {kLeftButton, kRightButton}) {
        click(9, 4), game->pressBoard(kLeftButton, 100, 480), game->pressBoard(kRightButton, 100, 480);
        EXPECT_EQ(std::tuple(game->position().stateAt(9, 4), cellColour(*game, 9, 4)),
                  std::tuple(kPicked, inverted(tileColour(game->position().tileAt(9, 4)))));
        for (int i = 0, x = 1, y = 1; i < kCols * kRows; ++i, x = i % kCols + 1, y = i / kCols + 1)
            EXPECT_EQ(outlined(*game, x, y), game->position().kindAt(x, y) == game->position().kindAt(9, 4) && (x != 9 || y != 4)) << x << "," << y;
        click(button == kLeftButton ? 9 : 1, 4, button);
        EXPECT_EQ(playSnapshot(*game), dealt);
    }
    // A pair, right tile first: flash on the first, on the second, then blank each.
    const CellPair p = findPairs(game->position())[0];
    const QRgb face2 = cellColour(*game, p.xL, p.yL), flash = tileColour(kFlashImage), blank = tileColour(kBlankImage);
    std::vector<std::pair<QRgb, QRgb>> atPauses;
    ui.onWait = [&](int) { atPauses.emplace_back(cellColour(*game, p.xR, p.yR), cellColour(*game, p.xL, p.yL)); };
    click(p.xR, p.yR), click(p.xL, p.yL);
    EXPECT_EQ(ui.waits, (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(atPauses, (std::vector<std::pair<QRgb, QRgb>>{{flash, face2}, {flash, flash}, {blank, flash}}));
    EXPECT_EQ(std::tuple(two().moves.cells[1], two().moves.cells[2]), std::tuple(cellCode(p.xR, p.yR), cellCode(p.xL, p.yL)));
    expectBoardShown(1);
    const GameSnapshot onePair = playSnapshot(*game);
    click(p.xR, p.yR);  // an emptied cell cannot be picked
    EXPECT_EQ(playSnapshot(*game), onePair);

    click(9, 4), command(MenuId::Search);  // the search drops the pick
    const PairList pairs = findPairs(game->position());
    EXPECT_EQ(std::tuple(two().search.shown, strip(1)), std::tuple(true, QStringLiteral("検索モード 動作中 [%1箇所]").arg(pairs.size())));
    for (int i = 0; i <= pairs.size(); ++i) {  // left clicks anywhere outline the next pair, round to the first
        const CellPair& q = pairs[i % pairs.size()];
        ASSERT_TRUE(outlined(*game, q.xL, q.yL) && outlined(*game, q.xR, q.yR) && outlinedCells(*game) == 2) << i;
        click(1 + i % kCols, 1 + i % kRows);
    }
    click(3, 3, kRightButton);
    EXPECT_EQ(playSnapshot(*game), onePair);
    command(MenuId::Search), command(MenuId::Undo);  // the pairs shown were the position's before the undo
    EXPECT_EQ(playSnapshot(*game), dealt);
    const std::size_t steps = game->surface().stepCount();  // a long play on one board keeps as many steps
    for (int i = 0; i < 20; ++i)
        command(MenuId::Search), command(MenuId::Search), click(p.xR, p.yR), click(p.xL, p.yL), command(MenuId::Undo);
    EXPECT_EQ(game->surface().stepCount(), steps);
    command(MenuId::ThreeMoveGame);  // the board on hand is no longer playable
    EXPECT_EQ(std::tuple(game->shell().inPlay(), cellColour(*game, 1, 1)), std::tuple(false, Surface::kBoardGreen));
}

TEST_F(TwoCorner, TheAuthoringBuildExchangesTwoTilesOnTheBoard) {
    newGame(true);
    for (MenuId id : {MenuId::Exchange, MenuId::Save, MenuId::Load}) EXPECT_TRUE(game->menu(id).visible);
    command(MenuId::RandomDeal);
    const CellPair gone = findPairs(game->position())[0];
    takeFirstPair();
    const int a = game->position().tileAt(9, 4), b = game->position().tileAt(12, 7);
    click(9, 4), command(MenuId::Exchange);  // a pick is dropped first
    EXPECT_EQ(std::tuple(two().moves.count, game->position().stateAt(9, 4), game->menu(MenuId::Exchange).caption),
              std::tuple(2, kOnBoard, QStringLiteral("動作中")));
    click(gone.xL, gone.yL), click(9, 4), click(gone.xR, gone.yR);  // removed cells take no part
    EXPECT_EQ(cellColour(*game, 9, 4), inverted(tileColour(a)));
    click(1, 1, kRightButton);  // withdrawn; the exchange goes on
    EXPECT_EQ(cellColour(*game, 9, 4), tileColour(a));
    click(9, 4), click(12, 7);
    EXPECT_EQ(std::tuple(game->position().tileAt(9, 4), game->position().tileAt(12, 7), game->position().isConsistent(),
                         game->menu(MenuId::Exchange).caption), std::tuple(b, a, true, QStringLiteral("牌交換(&H)")));
    expectBoardShown(1);  // the picture shows them swapped
}

}  // namespace
}  // namespace tessarin::test
