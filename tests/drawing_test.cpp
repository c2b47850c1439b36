// Drawing on the board surface, checked pixel by pixel against the test
// sheet's flat colours.
#include "support/gametest.h"

namespace tessarin::test {
namespace {

using Drawing = GameTest;

TEST_F(Drawing, PlainInvertedAndUnknownModes) {
    game->setCell(17, 8);
    EXPECT_EQ(game->cellX, 720);
    EXPECT_EQ(game->cellY, 385);
    game->drawPai(5, QStringLiteral("COPY"));
    const QRgb face = paiColour(game->paiTbl, 5);
    EXPECT_EQ(pixelAt(game->picdest, 720, 385), face);
    EXPECT_EQ(pixelAt(game->picdest, 763, 438), face);
    // The one-pixel gap right of and below the tile stays green.
    EXPECT_EQ(pixelAt(game->picdest, 764, 438), kBoardGreen);
    EXPECT_EQ(pixelAt(game->picdest, 763, 439), kBoardGreen);

    game->drawPai(5, QStringLiteral("NOT"));
    EXPECT_EQ(pixelAt(game->picdest, 740, 400), inverted(face));
    game->drawPai(5, QStringLiteral("COPY"));
    EXPECT_EQ(pixelAt(game->picdest, 740, 400), face);

    const QImage before = game->picdest;
    const int refreshes = ui.surfaceRefreshes;
    game->drawPai(9, QStringLiteral("XOR"));
    EXPECT_EQ(game->picdest, before);
    EXPECT_EQ(ui.surfaceRefreshes, refreshes + 1);

    // Column 0 and row 0 lie off the surface: drawing there is harmless.
    game->setCell(0, 0);
    EXPECT_EQ(game->cellX, -45);
    EXPECT_EQ(game->cellY, -55);
    game->drawPai(1, QStringLiteral("COPY"));
    EXPECT_EQ(game->picdest, before);
}

TEST_F(Drawing, RedFrameSitsInsideTheTileAndARedrawRemovesIt) {
    game->setCell(2, 2);
    game->drawPai(40, QStringLiteral("COPY"));
    const QImage plain = game->picdest;
    game->drawCellFrame();
    const int x0 = 45, y0 = 55;
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(pixelAt(game->picdest, x0 + 1, y0 + 1), red);
    EXPECT_EQ(pixelAt(game->picdest, x0 + 43, y0 + 53), red);
    EXPECT_EQ(pixelAt(game->picdest, x0 + 43, y0 + 1), red);
    EXPECT_EQ(pixelAt(game->picdest, x0 + 1, y0 + 53), red);
    EXPECT_EQ(pixelAt(game->picdest, x0 + 22, y0 + 30), paiColour(game->paiTbl, 40));
    EXPECT_EQ(pixelAt(game->picdest, x0, y0), paiColour(game->paiTbl, 40));
    EXPECT_EQ(pixelAt(game->picdest, x0 + 44, y0 + 53), kBoardGreen);
    game->drawPai(40, QStringLiteral("COPY"));
    EXPECT_EQ(game->picdest, plain);
}

TEST_F(Drawing, WholeBoards) {
    startRandom();
    game->clearSurface();
    // A tile number in the border would be drawn off the surface; none is.
    game->drawBoardTwo();
    for (int x = 1; x <= kCols; ++x)
        for (int y = 1; y <= kRows; ++y)
            ASSERT_EQ(cellColour(*game, x, y), paiColour(game->paiTbl, game->boardMap.at(x, y)));
    // Removed tiles keep their own picture in a full TwoCorner redraw.
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(3, 3))].state = kRemoved;
    game->drawBoardTwo();
    EXPECT_EQ(cellColour(*game, 3, 3), paiColour(game->paiTbl, game->boardMap.at(3, 3)));

    // ThreeMove honours the cover: stone, hole, nothing for an empty cell.
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(1, 1))].cover = 1;
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(2, 1))].cover = 2;
    game->paiTbl[static_cast<std::size_t>(game->boardMap.at(3, 1))].cover = 7;
    game->boardMap.at(4, 1) = 0;
    game->clearSurface();
    game->drawBoardThree();
    EXPECT_EQ(cellColour(*game, 1, 1), paiColour(game->paiTbl, kBlankPai));
    EXPECT_EQ(cellColour(*game, 2, 1), paiColour(game->paiTbl, kHolePai));
    EXPECT_EQ(cellColour(*game, 3, 1), kBoardGreen);
    EXPECT_EQ(cellColour(*game, 4, 1), kBoardGreen);
    EXPECT_EQ(cellColour(*game, 5, 1), paiColour(game->paiTbl, game->boardMap.at(5, 1)));
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

    // The easy-mode message erases the middle area with its own.
    game->showEasyMsg();
    EXPECT_TRUE(game->stripText[1].isEmpty());
    // A stage game shows its number again after the easy-mode text.
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
