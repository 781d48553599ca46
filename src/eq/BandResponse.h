#pragma once
// Magnitude response of one band on the plot's fixed frequency grid.
#include "eq/BiquadDesign.h"

#include <array>

namespace qireq {

// The grid: point i stands for f(i) = 24000^(i / 1024) Hz, from 1 Hz to just
// below 24000 Hz, evenly spaced on a logarithmic axis.
inline constexpr int kResponsePoints = 1024;
using ResponseArray = std::array<double, kResponsePoints>;

// f(i) in Hz, computed as 10^(lg 24000 * i / 1024).
double GridFrequency(int point);
// The other way round: where a frequency in Hz lies on the grid, in points
// (1024 lg f / lg 24000), not rounded. Markers and axis labels sit there.
double GridPointOf(double hz);

// |H(e^jw)| in dB at every grid point, w = pi f(i) / 24000.
void EvaluateBandResponse(const BiquadCoefficients& coefficients, ResponseArray& dB);

// Designs the band's filter and evaluates it. An unknown kind has no filter:
// the curve is flat 0 dB and the result is false.
bool ComputeBandResponse(double gainDb, double f0, double q, int kind, ResponseArray& dB);

}  // namespace qireq
