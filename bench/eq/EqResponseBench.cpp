// Cost of the response curves: what every slider step and every mouse move
// of a drag pays on the GUI thread.
#include "DirectResponse.h"

#include "eq/BandResponse.h"
#include "eq/BiquadDesign.h"
#include "eq/EqEncoding.h"
#include "eq/ResponseCurves.h"

#include <benchmark/benchmark.h>

namespace {

using namespace qireq;

// One band, 1024 points: design plus evaluation on the cached grid.
void BM_ComputeBandResponse(benchmark::State& state)
{
    ResponseArray dB{};
    double gain = 6.0;
    for (auto _ : state) {
        ComputeBandResponse(gain, 1000.0, 3.0, kKindPeak, dB);
        benchmark::DoNotOptimize(dB.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kResponsePoints);
}
BENCHMARK(BM_ComputeBandResponse);

// The same band evaluated point by point in plain complex form, for the ratio.
void BM_DirectBandResponse(benchmark::State& state)
{
    for (auto _ : state) {
        BiquadCoefficients c;
        DesignBiquad(6.0, 1000.0, 3.0, kKindPeak, c);
        ResponseArray dB = test::DirectBandResponse(c);
        benchmark::DoNotOptimize(dB.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kResponsePoints);
}
BENCHMARK(BM_DirectBandResponse);

EqState BusyEq()
{
    EqState eq;
    eq.Bands[0] = {kLowShelf, 60, 0, 12, 0, 0, ShownGainDb(12)};
    eq.Bands[1] = {kPeak, 120, 20, 40, 0, 0, ShownGainDb(40)};
    eq.Bands[2] = {kPeak, 170, 35, 0, 0, 0, ShownGainDb(0)};
    eq.Bands[3] = {kPeak, 230, 80, 30, 0, 0, ShownGainDb(30)};
    eq.Bands[4] = {kHighShelf, 260, 0, 16, 0, 0, ShownGainDb(16)};
    eq.Trim = -4;
    return eq;
}

// A reset or a received EQ block: all five bands refreshed, then the sum
// and the markers.
void BM_FiveBandRefreshAndSum(benchmark::State& state)
{
    const EqState eq = BusyEq();
    ResponseCurves curves;
    for (auto _ : state) {
        for (int b = 1; b <= kBandCount; ++b)
            RefreshBandCurve(curves, b, eq.Bands[static_cast<std::size_t>(b - 1)], false);
        RebuildSum(curves, eq.Trim);
        auto markers = BandMarkers(eq, false);
        benchmark::DoNotOptimize(markers);
        benchmark::DoNotOptimize(curves.Sum().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FiveBandRefreshAndSum);

// One drag step: the dragged band refreshed, then the sum and the markers.
void BM_OneBandRefreshAndSum(benchmark::State& state)
{
    EqState eq = BusyEq();
    ResponseCurves curves;
    for (int b = 1; b <= kBandCount; ++b)
        RefreshBandCurve(curves, b, eq.Bands[static_cast<std::size_t>(b - 1)], false);
    int step = 0;
    for (auto _ : state) {
        eq.Bands[2].BandFreq = 100 + (step++ % 100);
        RefreshBandCurve(curves, 3, eq.Bands[2], false);
        RebuildSum(curves, eq.Trim);
        auto markers = BandMarkers(eq, false);
        benchmark::DoNotOptimize(markers);
        benchmark::DoNotOptimize(curves.Sum().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OneBandRefreshAndSum);

}  // namespace

BENCHMARK_MAIN();
