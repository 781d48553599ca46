#pragma once
// Imported filters as the tools that wrote them define them: the audio-EQ
// cookbook's biquads (peaking; low and high shelf by Q or by slope S) and,
// for REW's corner-frequency shelves, a first-order shelf ("6dB") or a
// second-order one ("12dB") moved from the corner to its centre. Designed
// at 48 kHz and evaluated on the response plot's frequency grid.
#include "eq/BandResponse.h"
#include "eq/BiquadDesign.h"
#include "filters/ImportedFilter.h"

#include <QString>

#include <vector>

namespace qireq {

inline constexpr double kReferenceSampleRate = 48000.0;

// The centre frequency the cookbook design uses: Fc itself, except for a
// corner shelf, whose centre lies 10^(|gain| / (80 S)) from the corner
// (S = slope / 12; a "6dB" shelf is first order, 10^(|gain| / 40)), above
// it for a low shelf and below it for a high shelf.
double ReferenceCentreHz(const ImportedFilter& filter);

// Why a filter has no reference response (a centre at or above 24 kHz, a
// slope too steep for its gain, a Q that is not positive), or empty.
QString ReferenceProblem(const ImportedFilter& filter);

// The filter's coefficients at 48 kHz (flat when it has a ReferenceProblem).
BiquadCoefficients ReferenceCoefficients(const ImportedFilter& filter);

// Its response in dB on the grid of GridFrequency.
ResponseArray ReferenceResponse(const ImportedFilter& filter);

// The sum of the responses of the filters that are on.
ResponseArray ReferenceSum(const std::vector<ImportedFilter>& filters);

}  // namespace qireq
