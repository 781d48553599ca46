// How long the main window takes from construction to its first full paint:
// the controls, the pictures, the first response curve, everything a user
// waits for after starting the program (target: well under a second).
#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "app/WindowStyle.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

namespace {

void BM_MainWindowOpen(benchmark::State& state)
{
    for (auto _ : state) {
        // No discovery: nothing leaves the machine.
        qireq::TForm1 form(qireq::MainWindowSeams::Isolated());
        form.show();
        QCoreApplication::processEvents();
        QPixmap painted = form.grab();  // paints every visible control once
        benchmark::DoNotOptimize(painted);
        state.PauseTiming();
        form.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowOpen)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setPalette(qireq::MainWindowPalette());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
