// ThreeMove as the player meets it: moves, clearing, the win, the start and the slide.
#include "support/threemove_game.h"

#include <algorithm>

namespace tessarin::test {
namespace {

TEST_F(ThreeMoveGame, MovesAreSpentOneByOneAndEachClearedPairEarnsThree) {
    setPosition({"..BA..AD"}, 2);
    const int live = game->restPai3;
    click(9, 1, kLeftButton);  // a hole: only the click is echoed
    EXPECT_EQ(game->lblmsg, QStringLiteral("9:1:1:0"));
    EXPECT_EQ(game->restMoves, 2);

    click(3, 1, kLeftButton);
    EXPECT_EQ(shown(8, 1), (Rows{"BA....AD"}));
    EXPECT_EQ(game->lblmsg, QStringLiteral("移動方向　3\r\n指示座標　　X=3 :Y=1\r\n"
                                           "移動先座標　X=1 :Y=1\r\n移動範囲　　X=4 :Y=1\r\n"));
    EXPECT_EQ(game->restMoves, 1);
    EXPECT_EQ(game->stripText[1], QStringLiteral("残り手数 [1]手"));

    // The other A joins the first and both clear into stones, each showing
    // the flash for 100 ms first: one move spent, three earned.
    std::vector<QRgb> atPauses;
    ui.onWait = [&](int ms) {
        if (ms == 100) atPauses.push_back(cellColour(*game, atPauses.empty() ? 2 : 3, 1));
    };
    click(7, 1, kLeftButton);
    EXPECT_EQ(shown(8, 1), (Rows{"B##D...."}));
    EXPECT_EQ(atPauses, std::vector<QRgb>(2, paiColour(game->paiTbl, kFlashPai)));
    EXPECT_EQ(cellColour(*game, 2, 1), paiColour(game->paiTbl, kBlankPai));
    EXPECT_EQ((std::tuple(game->restMoves, game->doneMoves, game->restPai3)), std::tuple(3, 2, live - 2));
    EXPECT_EQ(game->stripText[2], QStringLiteral("残り【%1】牌").arg(live - 2, 3));

    // The last move spent without a clearing: movable tiles only echo.
    setPosition({"..ba..cd"}, 1);
    click(3, 1, kLeftButton);
    click(7, 1, kRightButton);
    EXPECT_EQ(game->lblmsg, QStringLiteral("7:1:2:0"));
    EXPECT_EQ(shown(8, 1), (Rows{"ba....cd"}));
    EXPECT_EQ(std::pair(game->restMoves, game->gameActive), std::pair(0, true));
}

TEST_F(ThreeMoveGame, ClearingTheLastPairWinsAndEndsTheGame) {
    game->menuGame3_Click();
    const ThreeBoard b = drawThree(kLastPairBoard);
    game->boardMap = b.map;
    game->paiTbl = b.tbl;
    game->startThreeOnBoard();
    EXPECT_EQ((std::tuple(game->restPai3, game->restMoves)), std::tuple(2, 3));
    EXPECT_EQ(shown(5, 2), (Rows{"a.a#.", "...#."}));
    EXPECT_EQ(cellColour(*game, 4, 1), paiColour(game->paiTbl, kBlankPai));
    EXPECT_EQ(cellColour(*game, 2, 1), paiColour(game->paiTbl, kHolePai));
    EXPECT_TRUE(ui.waits.empty());

    // Tiles of the suits show their face inverted before the hole.
    const QRgb face = paiColour(game->paiTbl, tileAt(1, 1));
    QRgb atFirstPause = 0;
    ui.onWait = [&](int ms) {
        if (ms == 100 && !atFirstPause) atFirstPause = cellColour(*game, 1, 1);
    };
    click(3, 1, kLeftButton);
    EXPECT_EQ(atFirstPause, inverted(face));
    EXPECT_EQ(std::tuple(game->restPai3, game->restMoves, game->doneMoves, game->gameActive), std::tuple(0, 5, 1, false));
    EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
    EXPECT_EQ(std::count(ui.waits.begin(), ui.waits.end(), 20), 23);  // the success text grows
    const int rounds = ui.pendingEventRounds;
    click(15, 1, kLeftButton);
    EXPECT_EQ(ui.pendingEventRounds, rounds);
}

TEST_F(ThreeMoveGame, AStartNeverLeavesACrowdedBoardNeverPausesAndHoldsInputUntilDone) {
    game->menuGame3_Click();
    // Input arriving between deals must wait until the start is done.
    ui.onPendingEvents = [&] {
        EXPECT_TRUE(game->busy);
        game->picdest_MouseDown(kLeftButton, 100, 100);
        game->menuStartRnd_Click();
        game->menuPaiBack_Click();
        game->menuGame2_Click();
    };
    int redeals = 0;
    for (int minute = 0; minute < 40; ++minute) {
        game->clock = [minute] { return QDateTime(QDate(2026, 3, 2), QTime(14, minute, 9)); };
        game->doneMoves = 7;  // moves of an earlier game do not slow the start
        const int serial = game->dealSerial, rounds = ui.pendingEventRounds;
        ui.waits.clear();
        ui.surfaceVisibility.clear();
        startRandom();
        redeals += game->dealSerial - serial;
        EXPECT_GT(ui.pendingEventRounds, rounds);
        EXPECT_TRUE(ui.waits.empty());
        EXPECT_LT(game->restPai3, 130);
        EXPECT_EQ(game->restPai3, three::countPai3(game->boardMap, game->paiTbl));
        EXPECT_EQ(std::tuple(game->restMoves, game->doneMoves, game->gameActive, game->busy, game->gameKind),
                  std::tuple(3, 0, true, false, int(ThreeMove)));
        EXPECT_FALSE(game->menu(MenuId::PaiBack).enabled);
        EXPECT_TRUE(game->lblmsg.isEmpty());
        EXPECT_TRUE(boardIsConsistent(game->boardMap, game->paiTbl));
        EXPECT_EQ(ui.surfaceVisibility, (std::vector<bool>{false, true}));
    }
    EXPECT_GT(redeals, 0);

    // The redeal counter wraps from 32767 to 0 instead of overflowing.
    ui.onPendingEvents = nullptr;
    bool wrapped = false;
    for (int second = 0; second < 60 && !wrapped; ++second) {
        game->clock = [second] { return QDateTime(QDate(2026, 7, 1), QTime(9, 0, second)); };
        game->dealSerial = 32767;
        startRandom();
        wrapped = game->dealSerial != 32767;
        EXPECT_TRUE(!wrapped || game->dealSerial < 10);
    }
    EXPECT_TRUE(wrapped);

    // Escape still ends the program in the middle of a start.
    ui.onPendingEvents = [&] { game->Form_KeyDown(Qt::Key_Escape, Qt::NoModifier); };
    startRandom();
    EXPECT_TRUE(ui.exitRequested);
}

TEST_F(ThreeMoveGame, TheRunSlidesFrameByFrameAndLeavesGreenBehind) {
    struct Slide {
        std::vector<std::string_view> rows;
        int col, row, button, dx, dy;  // the clicked cell, the direction on screen
        std::vector<int> offsets;
        int distance;
    };
    const std::vector<int> vertical{0, 27, 54, 81, 108, 135, 162}, horizontal{0, 22, 44, 66, 88};
    const std::vector<Slide> slides = {
        {{".", ".", ".", "a", "b", "."}, 1, 4, kRightButton, 0, -1, vertical, 165},
        {{"b", "a", ".", ".", ".", "c"}, 1, 2, kRightButton, 0, 1, vertical, 165},
        {{"..ab."}, 3, 1, kLeftButton, -1, 0, horizontal, 90},
        {{"ba..c"}, 2, 1, kLeftButton, 1, 0, horizontal, 90},
    };
    auto at = [&](int x, int y) { return pixelAt(game->picdest, x, y); };
    for (const Slide& s : slides) {
        SCOPED_TRACE(s.rows[0]);
        setPosition(s.rows, 3);
        // The clicked tile and the one behind it: their centres, moved by d.
        const int bx = s.col - s.dx, by = s.row - s.dy;
        const QRgb front = paiColour(game->paiTbl, tileAt(s.col, s.row)), back = paiColour(game->paiTbl, tileAt(bx, by));
        auto seen = [&](const QImage& img, int d) {
            return std::pair(pixelAt(img, cellPixelX(s.col) + 22 + s.dx * d, cellPixelY(s.row) + 27 + s.dy * d),
                             pixelAt(img, cellPixelX(bx) + 22 + s.dx * d, cellPixelY(by) + 27 + s.dy * d));
        };
        std::vector<QImage> frames;
        ui.onWait = [&](int) { frames.push_back(game->picdest.copy()); };
        click(s.col, s.row, s.button);
        ui.onWait = nullptr;
        ASSERT_EQ(frames.size(), s.offsets.size());
        for (std::size_t k = 0; k < frames.size(); ++k)
            EXPECT_EQ(seen(frames[k], s.offsets[k]), std::pair(front, back)) << "frame " << k;
        // A 50 ms pause per frame, none after the final one.
        EXPECT_EQ(ui.waits, std::vector<int>(s.offsets.size(), 50));
        EXPECT_EQ(seen(game->picdest, s.distance), std::pair(front, back));

        // The bands behind: upward ones leave the row right behind the block,
        // leftward ones (21 columns at a step of 22) a column per frame too.
        if (s.dy < 0) {
            EXPECT_EQ(at(22, 109), back);
            for (int y = 110; y <= 274; ++y) ASSERT_EQ(at(22, y), kBoardGreen) << y;
        } else if (s.dy > 0) {
            for (int y = 0; y <= 164; ++y) ASSERT_EQ(at(22, y), kBoardGreen) << y;
            EXPECT_EQ(cellColour(*game, 1, 1), kBoardGreen);  // not the hole picture
        } else if (s.dx < 0) {
            for (int x = 89; x <= 178; ++x)
                ASSERT_EQ(at(x, 27), x == 89 || x == 113 || x == 135 || x == 157 ? back : kBoardGreen) << x;
        } else {
            for (int x = 0; x <= 89; ++x) ASSERT_EQ(at(x, 27), kBoardGreen) << x;
        }
    }
}

}  // namespace
}  // namespace tessarin::test
