#include "filters/FitRange.h"

#include <algorithm>
#include <cmath>

namespace qireq {

FitRange FitRangeOfGrid()
{
    static const FitRange range = [] {
        FitRange r{kResponsePoints, -1};
        for (int i = 0; i < kResponsePoints; ++i) {
            const double hz = GridFrequency(i);
            if (hz >= kFitLowHz && hz <= kFitHighHz) {
                r.First = std::min(r.First, i);
                r.Last = i;
            }
        }
        return r;
    }();
    return range;
}

CurveDifference DifferenceOf(const ResponseArray& a, const ResponseArray& b)
{
    const FitRange range = FitRangeOfGrid();
    CurveDifference d;
    double squares = 0.0;
    for (int i = range.First; i <= range.Last; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const double diff = std::fabs(a[k] - b[k]);
        squares += diff * diff;
        if (diff > d.MaxDb || i == range.First) {
            d.MaxDb = diff;
            d.AtHz = GridFrequency(i);
        }
    }
    d.RmsDb = std::sqrt(squares / range.Count());
    return d;
}

}  // namespace qireq
