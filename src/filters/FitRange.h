#pragma once
// The part of the response grid a fit is judged on: 20 Hz to 20 kHz.
#include "eq/BandResponse.h"

namespace qireq {

inline constexpr double kFitLowHz = 20.0;
inline constexpr double kFitHighHz = 20000.0;

// Grid points [First, Last] whose frequency lies in 20 Hz..20 kHz.
struct FitRange {
    int First = 0;
    int Last = 0;
    int Count() const { return Last - First + 1; }
};
FitRange FitRangeOfGrid();

// How far apart two curves are over the fit range.
struct CurveDifference {
    double MaxDb = 0.0;  // largest |a - b|
    double AtHz = 0.0;   // where it is largest
    double RmsDb = 0.0;
};
CurveDifference DifferenceOf(const ResponseArray& a, const ResponseArray& b);

}  // namespace qireq
