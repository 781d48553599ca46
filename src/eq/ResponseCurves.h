#pragma once
// The curves and band markers the response plot shows: one cached curve per
// band, rebuilt only when that band changes, and their sum plus the trim.
#include "eq/BandResponse.h"
#include "eq/EqBand.h"

#include <array>

namespace qireq {

// Six arrays of 1024 dB values on the grid of BandResponse.h, all zero at
// start: index 0 is the sum curve, indexes 1..5 the curves of bands 1..5.
struct ResponseCurves {
    std::array<ResponseArray, kBandCount + 1> Arrays{};

    ResponseArray& Sum() { return Arrays[0]; }
    const ResponseArray& Sum() const { return Arrays[0]; }
    // bandNumber 1..5
    ResponseArray& Band(int bandNumber) { return Arrays[static_cast<std::size_t>(bandNumber)]; }
    const ResponseArray& Band(int bandNumber) const
    {
        return Arrays[static_cast<std::size_t>(bandNumber)];
    }
};

// The off flag the display follows: the unit's own (BandOffShown) while
// connected, the editor's (BandOff) otherwise. Non-zero counts as off.
bool BandShownOff(const EqBand& band, bool connected);

// The curve a band contributes: its filter response from the shown gain
// (GainShownDb), FrequencyOf(BandFreq), QOf(BandQ) and the kind of
// BandType, or all zeros while the band is shown off.
ResponseArray BandCurve(const EqBand& band, bool connected);

// Band refresh: recomputes the cached curve of band 1..5 (other numbers are
// ignored). The sum is not touched; RebuildSum follows.
void RefreshBandCurve(ResponseCurves& curves, int bandNumber, const EqBand& band, bool connected);

// The sum curve: the five band curves added point by point, plus trim dB.
void RebuildSum(ResponseCurves& curves, int trim);

// One band's draggable marker, in the plot's data units: X in grid points
// (1024 lg f0 / lg 24000), Y in dB (trim + GainShownDb).
struct BandMarker {
    int BandIndex = 0;  // 0..4
    double X = 0.0;
    double Y = 0.0;
    bool Hidden = false;
};

BandMarker MarkerOf(int bandIndex, const EqBand& band, int trim, bool connected);
std::array<BandMarker, kBandCount> BandMarkers(const EqState& eq, bool connected);

}  // namespace qireq
