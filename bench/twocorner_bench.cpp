// TwoCorner play as the game runs it, drawing included (no pauses): the
// search command over a dealt board, and one pair taken off and taken back.
#include "app/mjanmodule.h"
#include "nullui.h"
#include "twocorner/search.h"

#include <benchmark/benchmark.h>

namespace tessarin::bench {
namespace {

// "検索開始(&S)" and its end: copy of the position, the list of every pair,
// the first pair outlined, then the outlines taken away.
void BM_SearchCommand(benchmark::State& state) {
    NullUi ui;
    MjanModule game(QStringLiteral(TESSARIN_GAME_DIR), ui);
    if (!startGame(game, state)) return;
    game.menuStartRnd_Click();
    for (auto _ : state) {
        game.menuSrh_Click();
        game.menuSrh_Click();
        benchmark::DoNotOptimize(game.searchCount);
    }
    state.counters["pairs"] = game.searchCount;
}
BENCHMARK(BM_SearchCommand)->Unit(benchmark::kMicrosecond);

// Two clicks that take a pair off (the flash drawn, the pauses skipped),
// then the undo that brings it back.
void BM_TakePairAndUndo(benchmark::State& state) {
    NullUi ui;
    MjanModule game(QStringLiteral(TESSARIN_GAME_DIR), ui);
    if (!startGame(game, state)) return;
    game.menuStartRnd_Click();
    const PairHint p = findPairs(game.boardMap, game.paiTbl)[0];
    for (auto _ : state) {
        game.picdest_MouseDown(kLeftButton, cellPixelX(p.xL) + 20, cellPixelY(p.yL) + 30);
        game.picdest_MouseDown(kLeftButton, cellPixelX(p.xR) + 20, cellPixelY(p.yR) + 30);
        game.menuPaiBack_Click();
    }
    if (game.restPai != kTiles) state.SkipWithError("the pair was not taken back");
}
BENCHMARK(BM_TakePairAndUndo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessarin::bench
