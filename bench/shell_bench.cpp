// The shell's figures: process start to a shown window, its peak memory,
// and one "ｽﾀｰﾄ" (deal plus full board draw, no pauses) at the scales of
// ordinary and high-resolution screens (the argument: scale times 2).
// Figures on the 2-core development machine (RelWithDebInfo, median of 7):
// scale 1: 0.21 ms, 1.5: 0.54 ms, 2: 0.95 ms, 3: 2.2 ms.
#include "app/game.h"
#include "nullui.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarin::bench {
namespace {

void BM_StartDealAndDraw(benchmark::State& state) {
    NullUi ui;
    Game game(QStringLiteral(TESSARIN_GAME_DIR), ui);
    if (!startGame(game, state)) return;
    game.setSurfaceScale(state.range(0) / 2.0);
    for (auto _ : state) {
        game.command(MenuId::RandomDeal);
        benchmark::DoNotOptimize(game.picture().constBits());
    }
}
BENCHMARK(BM_StartDealAndDraw)->Arg(2)->Arg(3)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

// Runs the game until its window is shown (offscreen) and reports the wall
// time of each run and the largest resident set seen.
void BM_ProcessStartToShownWindow(benchmark::State& state) {
    const std::string exe = std::string(TESSARIN_GAME_DIR) + "/tessarin";
    long peakKb = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("TESSARIN_EXIT_WHEN_SHOWN", "1", 1);
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const auto t1 = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the game did not start");
            return;
        }
        peakKb = std::max(peakKb, usage.ru_maxrss);
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(BM_ProcessStartToShownWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15)
    ->Repetitions(3);

}  // namespace
}  // namespace tessarin::bench
