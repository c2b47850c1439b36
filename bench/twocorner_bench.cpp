// TwoCorner play as the game runs it, drawing included (no pauses): the
// search command over a dealt board, and one pair taken off and taken back.
#include "app/game.h"
#include "nullui.h"
#include "twocorner/search.h"

#include <benchmark/benchmark.h>

namespace tessarin::bench {
namespace {

// "検索開始(&S)" and its end: copy of the position, the list of every pair,
// the first pair outlined, then the outlines taken away.
void BM_SearchCommand(benchmark::State& state) {
    NullUi ui;
    Game game(QStringLiteral(TESSARIN_GAME_DIR), ui);
    if (!startGame(game, state)) return;
    game.command(MenuId::RandomDeal);
    for (auto _ : state) {
        game.command(MenuId::Search);
        game.command(MenuId::Search);
        benchmark::DoNotOptimize(game.twoCorner().search.pairs.size());
    }
    state.counters["pairs"] = game.twoCorner().search.pairs.size();
}
BENCHMARK(BM_SearchCommand)->Unit(benchmark::kMicrosecond);

// Two clicks that take a pair off (the flash drawn, the pauses skipped),
// then the undo that brings it back.
void BM_TakePairAndUndo(benchmark::State& state) {
    NullUi ui;
    Game game(QStringLiteral(TESSARIN_GAME_DIR), ui);
    if (!startGame(game, state)) return;
    game.command(MenuId::RandomDeal);
    const CellPair p = findPairs(game.position())[0];
    for (auto _ : state) {
        game.pressBoard(kLeftButton, cellPixelX(p.xL) + 20, cellPixelY(p.yL) + 30);
        game.pressBoard(kLeftButton, cellPixelX(p.xR) + 20, cellPixelY(p.yR) + 30);
        game.command(MenuId::Undo);
    }
    if (game.twoCorner().tilesLeft != kTiles) state.SkipWithError("the pair was not taken back");
}
BENCHMARK(BM_TakePairAndUndo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessarin::bench
