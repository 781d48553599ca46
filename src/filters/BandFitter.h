#pragma once
// Choosing the unit's five bands so that their summed response comes as
// close to a target curve as the unit's steps allow, judged by the largest
// difference in dB over 20 Hz..20 kHz. The bands are evaluated by the
// program's own response code, so the fit is against what the unit does.
#include "eq/BandResponse.h"
#include "eq/EqBand.h"

#include <array>
#include <vector>

namespace qireq {

using BandSet = std::array<EqBand, kBandCount>;

// guesses: one unit band per imported filter, its nearest equivalent. With
// five or fewer they are the starting point; with more, five are chosen
// greedily. A local search over neighbouring steps (frequency, Q, gain,
// type, band off, a new band where the difference is largest) follows,
// first on smoother measures of the difference (higher and higher powers),
// then on the largest difference itself; while that stays above 0.5 dB,
// each band in turn is taken out and the search repeated. The search runs
// on every other grid point and ends with one more such pass on all of
// them. The result is never worse by its largest difference on the full
// grid than any of the fallbacks. Bands left unused are flat (gain 0). Up
// to five guesses keep their places (band b starts as guess b); from more,
// the chosen ones take the bands in the order chosen. Not reentrant on one
// thread (the search's curve memory is the thread's).
BandSet FitBands(const ResponseArray& target, const std::vector<EqBand>& guesses,
                 const std::vector<BandSet>& fallbacks = {});

// The summed response of a set of bands (each as BandCurve draws it, off
// bands flat), without trim.
ResponseArray BandSetResponse(const BandSet& bands);

}  // namespace qireq
