#include "eq/ResponseCurves.h"

#include "eq/EqEncoding.h"

#include <cmath>

namespace qireq {

bool BandShownOff(const EqBand& band, bool connected)
{
    return (connected ? band.BandOffShown : band.BandOff) != 0;
}

namespace {

void ComputeBandCurve(const EqBand& band, bool connected, ResponseArray& curve)
{
    if (BandShownOff(band, connected))
        curve.fill(0.0);
    else
        ComputeBandResponse(band.GainShownDb, FrequencyOf(band.BandFreq), QOf(band.BandQ),
                            FilterKindOf(band.BandType), curve);
}

}  // namespace

ResponseArray BandCurve(const EqBand& band, bool connected)
{
    ResponseArray curve{};
    ComputeBandCurve(band, connected, curve);
    return curve;
}

void RefreshBandCurve(ResponseCurves& curves, int bandNumber, const EqBand& band, bool connected)
{
    if (bandNumber < 1 || bandNumber > kBandCount)
        return;
    ComputeBandCurve(band, connected, curves.Band(bandNumber));
}

void RebuildSum(ResponseCurves& curves, int trim)
{
    ResponseArray& sum = curves.Sum();
    sum.fill(0.0);
    for (int b = 1; b <= kBandCount; ++b) {
        const ResponseArray& band = curves.Band(b);
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += band[i];
    }
    const double trimDb = trim;
    for (double& value : sum)
        value += trimDb;
}

BandMarker MarkerOf(int bandIndex, const EqBand& band, int trim, bool connected)
{
    BandMarker marker;
    marker.BandIndex = bandIndex;
    marker.X = GridPointOf(FrequencyOf(band.BandFreq));
    marker.Y = trim + band.GainShownDb;
    marker.Hidden = BandShownOff(band, connected);
    return marker;
}

std::array<BandMarker, kBandCount> BandMarkers(const EqState& eq, bool connected)
{
    std::array<BandMarker, kBandCount> markers;
    for (int i = 0; i < kBandCount; ++i)
        markers[static_cast<std::size_t>(i)] =
            MarkerOf(i, eq.Bands[static_cast<std::size_t>(i)], eq.Trim, connected);
    return markers;
}

}  // namespace qireq
