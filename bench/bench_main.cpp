// Benchmark entry point. The drawing benchmarks of the game need a GUI
// application for fonts, on the offscreen platform; the Qt-free ones do not.
#ifdef TESSARIN_BENCH_GUI
#include <QGuiApplication>
#endif
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
#ifdef TESSARIN_BENCH_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
