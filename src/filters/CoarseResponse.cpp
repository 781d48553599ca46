#include "filters/CoarseResponse.h"
#include "eq/Pi.h"

#include "eq/BandResponse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qireq {

namespace {

constexpr float kTenOverLn10 = 4.34294481903251827651f;

// ln x for a positive, normal, finite float: x = 2^k m, m in [sqrt(1/2),
// sqrt(2)), ln m = 2 atanh(s), s = (m - 1) / (m + 1), by its series to s^9
// (relative error below 1e-8, under the float's own rounding). Branch-free,
// so that the loop below is vectorised.
inline float Ln(float x)
{
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const std::uint32_t shifted = bits + (0x3f800000u - 0x3f3504f3u);
    const std::uint32_t mBits = bits - (shifted & 0xff800000u) + 0x3f800000u;
    float m;
    std::memcpy(&m, &mBits, sizeof m);
    const float k = static_cast<float>(static_cast<std::int32_t>(shifted >> 23) - 127);
    const float s = (m - 1.0f) / (m + 1.0f);
    const float z = s * s;
    const float series = 1.0f + z * (1.0f / 3 + z * (1.0f / 5 + z * (1.0f / 7 + z * (1.0f / 9))));
    return k * 0.693147180559945309f + 2.0f * s * series;
}

}  // namespace

CoarseResponse::CoarseResponse(int first, int stride, int count)
{
    for (int k = 0; k < count; ++k) {
        const double w = GridFrequency(first + stride * k) * kPi / 24000.0;
        cos1_.push_back(std::cos(-w));
        sin1_.push_back(std::sin(-w));
        cos2_.push_back(std::cos(-2.0 * w));
        sin2_.push_back(std::sin(-2.0 * w));
    }
}

bool CoarseResponse::Evaluate(const BiquadCoefficients& c, float* dB) const
{
    const std::size_t count = cos1_.size();
    float lowest = 1.0f;
    float highest = 1.0f;
    for (std::size_t k = 0; k < count; ++k) {
        // Summed in double as the plot does: near 0 Hz the terms nearly cancel.
        const double reA = c.a0 + c.a1 * cos1_[k] + c.a2 * cos2_[k];
        const double imA = c.a1 * sin1_[k] + c.a2 * sin2_[k];
        const double reB = c.b0 + c.b1 * cos1_[k] + c.b2 * cos2_[k];
        const double imB = c.b1 * sin1_[k] + c.b2 * sin2_[k];
        const float ratio = static_cast<float>((reB * reB + imB * imB) / (reA * reA + imA * imA));
        lowest = std::min(lowest, ratio);
        highest = std::max(highest, ratio);
        dB[k] = kTenOverLn10 * Ln(ratio);
    }
    // Zero or infinite where a zero or a pole sits on the unit circle.
    return lowest > 1e-30f && highest < 1e30f;
}

}  // namespace qireq
