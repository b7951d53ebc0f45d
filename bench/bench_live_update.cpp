// One whole tick of the calculator window, controls included: read the main
// display, convert, and write the second display (unchanged, so nothing repaints).
#include "app/calc_window.h"

#include <QApplication>
#include <QDir>
#include <QMetaObject>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void liveUpdateTick(benchmark::State& state) {
    devimax::CalcWindow window;
    QMetaObject::invokeMethod(window.findChild<QTimer*>(QStringLiteral("Timer2")), "timeout");
    for (auto _ : state)
        window.liveUpdateTick();
}
BENCHMARK(liveUpdateTick);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The default rate file made by the build lies in build/run.
    QDir::setCurrent(QStringLiteral(DEVIMAX_RUN_DIR));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
