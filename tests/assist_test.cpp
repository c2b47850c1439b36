// The solver at the player's side: a dead end told at once with the way
// back, a hint that keeps the board clearable, solvable deals on request.
#include "support/gametest.h"

#include "solver/solver.h"
#include "twocorner/search.h"

namespace tessarin::test {
namespace {

// Bounded by positions, not time: the same verdicts on a slow machine.
Verdict verdictOf(const Position& pos) { return solvePosition(pos, SolveBudget{0, 50'000'000}).verdict; }

// The position with a pair taken.
Position without(Position pos, const CellPair& p) {
    pos.setState(pos.tileAt(p.xL, p.yL), kRemoved);
    pos.setState(pos.tileAt(p.xR, p.yR), kRemoved);
    return pos;
}

TEST_F(GameTest, ADeadEndIsToldAtOnceAndTakenBackToTheLastClearablePosition) {
    command(MenuId::RandomDeal);
    ASSERT_EQ(verdictOf(game->position()), Verdict::Solvable);
    // Play safe pairs while one of the pairs would lose; then take that one.
    CellPair fatal{};
    for (int step = 0; step < kTiles / 2 && fatal.xL == 0; ++step) {
        const PairList pairs = findPairs(game->position());
        ASSERT_FALSE(pairs.empty());
        const CellPair* safe = nullptr;
        for (const CellPair& p : pairs) {
            const Verdict v = verdictOf(without(game->position(), p));
            if (v == Verdict::Unsolvable && fatal.xL == 0) fatal = p;
            if (v == Verdict::Solvable && !safe) safe = &p;
        }
        if (fatal.xL != 0) break;
        ASSERT_NE(safe, nullptr);
        click(safe->xL, safe->yL), click(safe->xR, safe->yR);
        ASSERT_TRUE(ui.boxes.empty()) << "a warning on a clearable board";
    }
    ASSERT_NE(fatal.xL, 0) << "no losing pair on the way";
    const GameSnapshot lastClearable = playSnapshot(*game);

    // Declined, the game goes on where it is; the warning names one pair.
    click(fatal.xL, fatal.yL), click(fatal.xR, fatal.yR);
    ASSERT_EQ(takeMessages().size(), 1);
    EXPECT_EQ(game->twoCorner().tilesLeft, lastClearable.twoCorner.tilesLeft - 2);
    // Accepted (from the hint on the dead board): back exactly to the last
    // clearable position, as the undo would take it.
    ui.answerYes = true;
    command(MenuId::Hint);
    const QStringList told = takeMessages();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("1 組戻すと"))) << told[0].toStdString();
    const GameSnapshot back = playSnapshot(*game);
    EXPECT_EQ(std::tie(back.position, back.twoCorner, back.strip),
              std::tie(lastClearable.position, lastClearable.twoCorner, lastClearable.strip));
    EXPECT_TRUE(back.picture == lastClearable.picture);

    // With the warning off, the same mistake is not told.
    command(MenuId::DeadEndWarning);
    click(fatal.xL, fatal.yL), click(fatal.xR, fatal.yR);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(GameTest, TheHintOutlinesAPairThatKeepsTheBoardClearable) {
    command(MenuId::RandomDeal);
    const QRgb blue = Surface::kHintBlue | 0xff000000u;
    for (int step = 0; step < 6; ++step) {
        command(MenuId::Hint);
        const TwoCornerState& s = game->twoCorner();
        ASSERT_NE(s.hintX1, 0);
        const CellPair p{static_cast<int8_t>(s.hintX1), static_cast<int8_t>(s.hintY1), static_cast<int8_t>(s.hintX2),
                         static_cast<int8_t>(s.hintY2)};
        const auto outlined = [&] {  // three pixels wide: the first tile's top left corner, the second's bottom right
            return std::pair(pixelAt(game->picture(), cellPixelX(p.xL) + 3, cellPixelY(p.yL) + 1) == blue,
                             pixelAt(game->picture(), cellPixelX(p.xR) + 43, cellPixelY(p.yR) + 51) == blue);
        };
        EXPECT_EQ(outlined(), std::pair(true, true));
        EXPECT_EQ(verdictOf(without(game->position(), p)), Verdict::Solvable);
        click(p.xL, p.yL);  // the next click clears the outline and counts: a pick
        EXPECT_EQ(game->position().stateAt(p.xL, p.yL), kPicked);
        EXPECT_EQ(outlined(), std::pair(false, false));
        click(p.xR, p.yR);
    }
    EXPECT_EQ(game->twoCorner().tilesLeft, kTiles - 12);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(GameTest, SolvableDealsOnlyPassOverTheNumbersProvedUnclearable) {
    // The first deal from 33763 on that cannot be cleared, within a bound.
    const auto deal = [](int seed) {
        Position p;
        p.fillByRows(dealOrderForSeed(seed), false);
        return p;
    };
    int lost = 33763, next;
    while (lost < 34500 && verdictOf(deal(lost)) != Verdict::Unsolvable) ++lost;
    ASSERT_LT(lost, 34500);
    for (next = lost + 1; verdictOf(deal(next)) == Verdict::Unsolvable;) ++next;
    setClockForSeed(lost);
    command(MenuId::RandomDeal);
    EXPECT_EQ(game->session().stageNo, stageNumber(lost));  // off: the number as it comes
    command(MenuId::SolvableDeals);
    command(MenuId::RandomDeal);
    EXPECT_EQ(game->session().stageNo, stageNumber(next));
    EXPECT_EQ(game->position().cells(), deal(next).cells());
}

}  // namespace
}  // namespace tessarin::test
