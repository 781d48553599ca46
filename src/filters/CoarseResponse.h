#pragma once
// Band responses for the fitter's search: the program's own filter design,
// its magnitude taken only at the points the search looks at and with a
// single-precision logarithm, several times cheaper than the plot's
// evaluation and within 1e-4 dB of it. The fit's end is judged with the
// plot's own evaluation.
#include "eq/BiquadDesign.h"

#include <vector>

namespace qireq {

class CoarseResponse {
public:
    // Plot grid points first, first + stride, ..., count of them.
    CoarseResponse(int first, int stride, int count);

    // The response in dB at those points. False when the filter has a zero
    // or a pole on the unit circle, where the caller has to use the plot's
    // evaluation instead.
    bool Evaluate(const BiquadCoefficients& c, float* dB) const;

private:
    // cos and sin of -w and -2w at each point, formed as the plot forms them.
    std::vector<double> cos1_, sin1_, cos2_, sin2_;
};

}  // namespace qireq
