// One edit made and shown, as the editor does it on every spin-button step,
// slider position and drag move: the band's curve recomputed, the sum rebuilt
// and the plot page drawn into its off-screen image (target: 1 ms median).
// One undo step shown, without a unit (the wire not counted): the EQ before
// a drag of band 3 found, set and drawn (target: 0.5 ms median).
#include "controls/Fftdraw.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "editor/PlotInteraction.h"
#include "eq/ResponseCurves.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QUndoStack>
#include <QWidget>

#include <memory>

namespace {

// The editor inside panels laid out as in the main window, shown.
struct EditorWindow {
    qireq::MainState state;
    qireq::RequestSender requests{state};
    qireq::ResponseCurves curves;
    QWidget window;
    qireq::TFFTDraw* plot = nullptr;
    std::unique_ptr<qireq::BandEditor> editor;
    std::unique_ptr<qireq::PlotInteraction> interaction;

    EditorWindow()
    {
        window.resize(849, 620);
        auto* plotPanel = new QWidget(&window);
        plotPanel->setGeometry(0, 0, 849, 241);
        plot = new qireq::TFFTDraw(plotPanel);
        plot->setGeometry(32, 16, 809, 201);
        auto* eqPanel = new QWidget(&window);
        eqPanel->setGeometry(176, 250, 505, 353);
        qireq::SetUpPlot(*plot);
        editor = std::make_unique<qireq::BandEditor>(state, requests, curves, *plot, eqPanel,
                                                      qireq::TopBarControls{});
        interaction = std::make_unique<qireq::PlotInteraction>(state, *editor, *plot, plotPanel);
        editor->RefreshAllBands();
        window.show();
        QCoreApplication::processEvents();
    }
};

// A frequency step up and back down on band 3, one per iteration.
void BM_FrequencyStepShown(benchmark::State& run)
{
    EditorWindow w;
    bool up = true;
    for (auto _ : run) {
        if (up)
            w.editor->EQFreqUpClick(3);
        else
            w.editor->EQFreqDownClick(3);
        up = !up;
        benchmark::DoNotOptimize(w.plot->ShownPlotPage());
    }
}
BENCHMARK(BM_FrequencyStepShown)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A drag move of band 2's marker between two pointer positions.
void BM_DragMoveShown(benchmark::State& run)
{
    EditorWindow w;
    const QRect page = w.plot->PlotPageRect();
    const QPoint marker(page.left() + page.width() * (w.plot->GetBlockPos(1).x() - 256) / 768, page.top() + 75);
    w.interaction->FFTDrawMouseDown(Qt::LeftButton, marker);
    const QPoint positions[2] = {marker + QPoint(40, -20), marker + QPoint(-40, 20)};
    int i = 0;
    for (auto _ : run) {
        w.interaction->FFTDrawMouseMove(positions[i]);
        i = 1 - i;
        benchmark::DoNotOptimize(w.plot->ShownPlotPage());
    }
    w.interaction->FFTDrawMouseUp();
    if (w.interaction->DragBand() != -1 || w.state.Eq.Bands[1].BandFreq == 50)
        run.SkipWithError("the drag did not move band 2");
}
BENCHMARK(BM_DragMoveShown)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A drag of band 3 (frequency and gain) undone and redone, one per iteration.
void BM_UndoStepShown(benchmark::State& run)
{
    EditorWindow w;
    const QRect page = w.plot->PlotPageRect();
    const QPoint marker(page.left() + page.width() * (w.plot->GetBlockPos(2).x() - 256) / 768, page.top() + 75);
    w.interaction->FFTDrawMouseDown(Qt::LeftButton, marker);
    w.interaction->FFTDrawMouseMove(marker + QPoint(60, -30));
    w.interaction->FFTDrawMouseUp();
    QUndoStack& stack = w.editor->History().Stack();
    if (stack.count() != 1) {
        run.SkipWithError("the drag made no step");
        return;
    }
    const int draggedFreq = w.state.Eq.Bands[2].BandFreq;
    bool undo = true;
    for (auto _ : run) {
        if (undo)
            stack.undo();
        else
            stack.redo();
        undo = !undo;
        benchmark::DoNotOptimize(w.plot->ShownPlotPage());
    }
    if (!undo)
        stack.redo();
    if (w.state.Eq.Bands[2].BandFreq != draggedFreq)
        run.SkipWithError("redo did not bring the drag back");
}
BENCHMARK(BM_UndoStepShown)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
