#include "editor/PlotMapping.h"

#include "eq/BandResponse.h"
#include "eq/EqEncoding.h"

#include <cmath>
#include <cstdlib>

namespace qireq {

namespace {
constexpr double kVerticalPageOffset = 21.0;
constexpr int kVerticalShiftDb = 8;
constexpr int kPickXUnits = 5;
constexpr int kPickDb = 2;
constexpr int kGainLimitDb = 12;
constexpr double kLowestHz = 19.0;
constexpr double kLowestReplacementHz = 19.7;
constexpr double kHighestHz = 20000.0;
constexpr double kHighestReplacementHz = 20160.0;
const double kLog24000 = std::log10(24000.0);
}  // namespace

double XUnitsAt(const PlotGeometry& plot, int x)
{
    if (plot.PageWidth <= 0)
        return plot.XMin;
    return plot.XMin + (x - plot.PageLeft) / static_cast<double>(plot.PageWidth) * (plot.XMax - plot.XMin);
}

int SliderValueAt(const PlotGeometry& plot, int y, int trim)
{
    if (plot.PageHeight <= 0)
        return trim;
    const double rows = (y - plot.PageTop + kVerticalPageOffset) / plot.PageHeight * (plot.YMax - plot.YMin);
    return static_cast<int>(std::trunc(rows)) + static_cast<int>(std::trunc(plot.YMin)) + kVerticalShiftDb + trim;
}

bool BandUnderPointer(double xUnits, int sliderValue, int markerX, int shownGainDb)
{
    const int dx = static_cast<int>(std::trunc(xUnits - markerX));
    const int dGain = -sliderValue - shownGainDb;
    return std::abs(dx) < kPickXUnits && std::abs(dGain) < kPickDb;
}

double MarkerXUnits(int freqStep)
{
    return GridPointOf(FrequencyOf(freqStep));
}

double FrequencyAtXUnits(double xUnits)
{
    return std::pow(10.0, kLog24000 * xUnits / 1024.0);
}

DragTarget DragTargetAt(double xUnits, int sliderValue)
{
    int v = sliderValue;
    if (v > kGainLimitDb)
        v = kGainLimitDb;
    else if (v < -kGainLimitDb)
        v = -kGainLimitDb;

    double hz = FrequencyAtXUnits(xUnits);
    if (hz < kLowestHz)
        hz = kLowestReplacementHz;
    else if (hz > kHighestHz)
        hz = kHighestReplacementHz;

    return DragTarget{2 * v + kFlatGainCode, HzToStep(hz)};
}

bool ApplyDragMove(EqBand& band, const DragTarget& target)
{
    band.BandGain = target.GainCode;
    band.BandFreq = target.FreqStep;
    if (ShelfFix(band.BandType, band.BandFreq) != band.BandFreq) {
        band.BandFreq = kShelfStep;
        return false;
    }
    return true;
}

}  // namespace qireq
