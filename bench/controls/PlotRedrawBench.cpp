// What the editor pays on every mouse move of a marker drag: one full redraw
// of the plot page (grid, ticks, frame, zero line, the 1024-point curve),
// then the five markers put on it and the copy to the screen.
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// for medians.
#include "controls/Fftdraw.h"
#include "controls/VclColors.h"
#include "editor/PlotInteraction.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

using namespace qireq;

constexpr int kPoints = 1024;

// A plausible summed response: two peaks and a shelf, in dB.
std::array<double, kPoints> Response(double shift)
{
    std::array<double, kPoints> curve{};
    for (int i = 0; i < kPoints; ++i) {
        const double u = i;
        curve[static_cast<std::size_t>(i)] = 9.0 * std::exp(-std::pow((u - 600.0 - shift) / 40.0, 2)) -
                                             6.0 * std::exp(-std::pow((u - 820.0) / 25.0, 2)) +
                                             4.0 / (1.0 + std::exp((u - 450.0) / 20.0)) - 3.0;
    }
    return curve;
}

// The plot as the main window sets it up, shown at its size in the window.
void SetUp(TFFTDraw& plot)
{
    SetUpPlot(plot);
    plot.resize(809, 201);
    plot.show();
    QApplication::processEvents();
}

void BM_PlotPageRedraw(benchmark::State& state)
{
    TFFTDraw plot;
    SetUp(plot);
    const auto a = Response(0.0);
    const auto b = Response(3.0);
    bool flip = false;
    for (auto _ : state) {
        // One FFTDraw with AutoRedraw on draws the plot page once.
        plot.FFTDraw((flip ? a : b).data(), kPoints, 0, clBlack, TPlotStyle::Line);
        flip = !flip;
    }
    state.counters["draws"] = plot.PlotPageDrawCount();
}
BENCHMARK(BM_PlotPageRedraw)->Unit(benchmark::kMicrosecond);

void BM_DragMoveWithMarkers(benchmark::State& state)
{
    TFFTDraw plot;
    SetUp(plot);
    const auto a = Response(0.0);
    const auto b = Response(3.0);
    bool flip = false;
    for (auto _ : state) {
        for (int band = 0; band < 5; ++band)
            plot.DrawBlock(-3.0 + band, 400.0 + 120.0 * band + (flip ? 2 : 0), clBlack, band, false);
        plot.FFTDraw((flip ? a : b).data(), kPoints, 0, clBlack, TPlotStyle::Line);
        benchmark::DoNotOptimize(plot.ShownPlotPage().constBits());  // markers composed as paint would
        flip = !flip;
    }
}
BENCHMARK(BM_DragMoveWithMarkers)->Unit(benchmark::kMicrosecond);

void BM_PaintCopiesPages(benchmark::State& state)
{
    TFFTDraw plot;
    SetUp(plot);
    const auto a = Response(0.0);
    plot.FFTDraw(a.data(), kPoints, 0, clBlack, TPlotStyle::Line);
    plot.repaint();
    for (auto _ : state)
        plot.repaint();  // no drawing, only the copy of the pages
    state.counters["draws"] = plot.PlotPageDrawCount();
}
BENCHMARK(BM_PaintCopiesPages)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
