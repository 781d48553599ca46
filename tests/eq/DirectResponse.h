#pragma once
// The band response evaluated point by point in plain complex form, with the
// frequency, the angle and every cosine and sine worked out afresh: the
// reference the cached-grid evaluation has to match.
#include "eq/BandResponse.h"

#include <cmath>

namespace qireq::test {

inline ResponseArray DirectBandResponse(const BiquadCoefficients& c)
{
    const double pi = 3.14159265358979323846;
    ResponseArray dB{};
    for (int i = 0; i < kResponsePoints; ++i) {
        const double f = std::pow(10.0, std::log10(24000.0) * i * 0.0009765625);
        const double w = f * pi / 24000.0;
        const double reA = c.a0 + c.a1 * std::cos(-w) + c.a2 * std::cos(-2.0 * w);
        const double imA = c.a1 * std::sin(-w) + c.a2 * std::sin(-2.0 * w);
        const double reB = c.b0 + c.b1 * std::cos(-w) + c.b2 * std::cos(-2.0 * w);
        const double imB = c.b1 * std::sin(-w) + c.b2 * std::sin(-2.0 * w);
        const double modA = std::sqrt(reA * reA + imA * imA);
        const double modB = std::sqrt(reB * reB + imB * imB);
        dB[static_cast<std::size_t>(i)] = -20.0 * std::log10(modA / modB);
    }
    return dB;
}

}  // namespace qireq::test
