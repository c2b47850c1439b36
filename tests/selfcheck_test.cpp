// The self-check the end-to-end bursts run the real program with: quiet
// through play of both games and the replay, and it names each way the board
// and the counters can disagree.
#include "stages/stagegrid.h"
#include "stages_support.h"
#include "support/threemove_game.h"

namespace tessarin::test {
namespace {

using SelfCheck = ThreeMoveGame;

TEST_F(SelfCheck, QuietThroughPlayAndNamesEachDisagreement) {
    const auto problem = [&] { return game->consistencyProblem().toStdString(); };
    // Applies a fault, asks, and puts everything back.
    const auto withFault = [&](const std::function<void(MjanModule&)>& fault) {
        const BoardMap map = game->boardMap;
        const PaiTbl tbl = game->paiTbl;
        const auto counters = std::tuple(game->restPai, game->moveCount, game->restPai3, game->restMoves,
                                         game->replayMode, game->replayClicks);
        fault(*game);
        const std::string found = problem();
        game->boardMap = map;
        game->paiTbl = tbl;
        std::tie(game->restPai, game->moveCount, game->restPai3, game->restMoves, game->replayMode,
                 game->replayClicks) = counters;
        return found;
    };
    EXPECT_EQ(problem(), "");

    // TwoCorner: a pair taken, then a tile picked.
    QByteArray answer;
    const int stage = solvableStage(10, &answer);
    writeFile(QStringLiteral("maptwo0.map"), stageLine(stage) + "\r\n");
    writeFile(QStringLiteral("anstwo0.map"), stageNumber(stage).toLatin1() + answer + "\r\n");
    ui.onStageSelection = [](StageGrid& grid) { grid.doubleClick(1, 1); };
    game->menuStartChoise_Click();
    for (int k = 0; k < 3; ++k) {
        clickCode(*game, answer.mid(3 * k, 3).toInt());
        EXPECT_EQ(problem(), "") << "click " << k + 1;
    }
    const int b = game->boardMap.at(2, 1);
    const std::vector<std::pair<const char*, std::function<void(MjanModule&)>>> twoCorner = {
        {"a tile in two cells", [&](MjanModule& g) { g.boardMap.at(1, 1) = static_cast<int16_t>(b); }},
        {"a pair gone without its count", [](MjanModule& g) { g.restPai -= 2; }},
        {"a click recorded twice", [](MjanModule& g) { ++g.moveCount; }},
        {"a second tile picked", [](MjanModule& g) {
             for (int t = 1; t <= kTiles; ++t) {
                 PaiRec& r = g.paiTbl[static_cast<std::size_t>(t)];
                 if (r.state == kOnBoard) return void(r.state = kPicked);
             }
         }},
        {"a replay that took tiles", [](MjanModule& g) { g.replayMode = true; }},
    };
    for (const auto& [what, fault] : twoCorner) EXPECT_NE(withFault(fault), "") << what;

    // The replay counts down without taking tiles.
    game->menuOption2Ans_Click();
    ASSERT_TRUE(game->replayMode);
    for (int click = 0; click < 5; ++click) {
        clickCell(*game, 1, 1);
        EXPECT_EQ(problem(), "") << "replay click " << click + 1;
    }
    EXPECT_NE(withFault([](MjanModule& g) { ++g.replayClicks; }), "");

    // ThreeMove: a move that clears a pair.
    setPosition({"a..ab", "c#.bc"}, 3);
    EXPECT_EQ(problem(), "");
    click(4, 1, kLeftButton);
    EXPECT_EQ(problem(), "");
    EXPECT_NE(withFault([](MjanModule& g) { g.restPai3 += 2; }), "");
    EXPECT_NE(withFault([](MjanModule& g) { g.restMoves = -1; }), "");
}

}  // namespace
}  // namespace tessarin::test
