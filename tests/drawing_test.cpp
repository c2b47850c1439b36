// Drawing on the board surface, checked pixel by pixel against the test
// sheet's flat colours.
#include "support/gametest.h"

namespace tessarin::test {
namespace {

using Drawing = GameTest;

TEST_F(Drawing, PlainInvertedAndUnknownModesAndTheRedFrame) {
    game->setCell(17, 8);
    EXPECT_EQ((std::pair(game->cellX, game->cellY)), std::pair(720, 385));
    game->drawPai(5, QStringLiteral("COPY"));
    const QRgb face = paiColour(game->paiTbl, 5);
    const auto px = [&](int x, int y) { return pixelAt(game->picdest, x, y); };
    // The tile from corner to corner; the one-pixel gap right of and below it stays green.
    EXPECT_EQ((std::vector<QRgb>{px(720, 385), px(763, 438), px(764, 438), px(763, 439)}),
              (std::vector<QRgb>{face, face, kBoardGreen, kBoardGreen}));
    game->drawPai(5, QStringLiteral("NOT"));
    EXPECT_EQ(px(740, 400), inverted(face));
    game->drawPai(5, QStringLiteral("COPY"));
    EXPECT_EQ(px(740, 400), face);

    const QImage before = game->picdest;
    const int refreshes = ui.surfaceRefreshes;
    game->drawPai(9, QStringLiteral("XOR"));
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ(ui.surfaceRefreshes, refreshes + 1);
    // Column 0 and row 0 lie off the surface: drawing there is harmless.
    game->setCell(0, 0);
    EXPECT_EQ((std::pair(game->cellX, game->cellY)), std::pair(-45, -55));
    game->drawPai(1, QStringLiteral("COPY"));
    EXPECT_EQ(game->picdest, before);

    // The red frame sits inside the tile; a redraw removes it.
    game->setCell(2, 2);
    game->drawPai(40, QStringLiteral("COPY"));
    const QImage plain = game->picdest;
    game->drawCellFrame();
    const QRgb red = qRgb(255, 0, 0), tile = paiColour(game->paiTbl, 40);
    // Its four corners one pixel in; the middle and the tile's own corner;
    // the gap right of the tile.
    EXPECT_EQ((std::vector<QRgb>{px(46, 56), px(88, 108), px(88, 56), px(46, 108), px(67, 85), px(45, 55),
                                 px(89, 108)}),
              (std::vector<QRgb>{red, red, red, red, tile, tile, kBoardGreen}));
    game->drawPai(40, QStringLiteral("COPY"));
    EXPECT_EQ(game->picdest, plain);
}

TEST_F(Drawing, FullRedrawsOfBothGames) {
    startRandom();
    // Removed tiles keep their own picture in a full TwoCorner redraw.
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(3, 3))].state = kRemoved;
    game->clearSurface();
    game->drawBoardTwo();
    EXPECT_EQ(cellColour(*game, 3, 3), paiColour(game->paiTbl, game->boardMap.at(3, 3)));

    // ThreeMove honours the cover: stone, hole, nothing for an empty cell.
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(1, 1))].cover = 1;
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(2, 1))].cover = 2;
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(3, 1))].cover = 7;
    game->boardMap.at(4, 1) = 0;
    game->clearSurface();
    game->drawBoardThree();
    EXPECT_EQ((std::vector<QRgb>{cellColour(*game, 1, 1), cellColour(*game, 2, 1), cellColour(*game, 3, 1),
                                 cellColour(*game, 4, 1), cellColour(*game, 5, 1)}),
              (std::vector<QRgb>{paiColour(game->paiTbl, kBlankPai), paiColour(game->paiTbl, kHolePai), kBoardGreen,
                                 kBoardGreen, paiColour(game->paiTbl, game->boardMap.at(5, 1))}));
}

TEST_F(Drawing, StatusStripAreasAndRightAlignedCounts) {
    startRandom();
    game->restPai = 8;
    game->showRestMsg();
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【  8】牌"));
    game->restPai3 = 136;
    game->restMoves = 5;
    game->showMovesMsg();
    EXPECT_EQ(game->stripText[1], QStringLiteral("残り手数 [5]手"));

    // The easy-mode message erases the middle area with its own; a stage
    // game shows its number again after it.
    game->showEasyMsg();
    EXPECT_TRUE(game->stripText[1].isEmpty());
    game->stageMode = true;
    game->stageNo = QStringLiteral(" 00042　");
    game->showEasyMsg();
    EXPECT_EQ(game->stripText[1], QStringLiteral("規定マップ挑戦中 [00042]"));
    EXPECT_EQ(game->stripText[0], QStringLiteral("楽々モード 停止中"));
    // With the search off its message only erases.
    game->showSearchMsg();
    EXPECT_TRUE(game->stripText[1].isEmpty());
    for (int x = 250; x < 600; ++x)
        for (int y = kStripTop; y < kSurfaceH; ++y) ASSERT_EQ(pixelAt(game->picdest, x, y), kBoardGreen);
    // Text is printed in white into its own area only.
    bool white = false;
    for (int x = 600; x < 768 && !white; ++x)
        for (int y = kStripTop; y < kSurfaceH && !white; ++y) white = pixelAt(game->picdest, x, y) == kTextWhite;
    EXPECT_TRUE(white);

    // Outside TwoCorner the easy-mode message is empty.
    game->gameKind = ThreeMove;
    game->stageMode = false;
    game->showEasyMsg();
    EXPECT_TRUE(game->stripText[0].isEmpty());
}

}  // namespace
}  // namespace tessarin::test
