#include "eq/BandResponse.h"

#include <cmath>

namespace qireq {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGridTop = 24000.0;
constexpr double kGridStep = 0.0009765625;  // 1 / 1024
// 10 lg x = (10 / ln 10) ln x; the natural logarithm is the cheaper call.
constexpr double kTenOverLn10 = 4.3429448190325182765;

// cos and sin of -w and -2w for one grid point.
struct GridPhase {
    double cos1;
    double sin1;
    double cos2;
    double sin2;
};

// The grid never changes, so its trigonometry is worked out once. The angles
// are formed exactly as a per-point evaluation would form them, so the cached
// values are the very values that evaluation would use.
const std::array<GridPhase, kResponsePoints>& GridPhases()
{
    static const std::array<GridPhase, kResponsePoints> phases = [] {
        std::array<GridPhase, kResponsePoints> table{};
        for (int i = 0; i < kResponsePoints; ++i) {
            const double w = GridFrequency(i) * kPi / kGridTop;
            GridPhase& p = table[static_cast<std::size_t>(i)];
            p.cos1 = std::cos(-w);
            p.sin1 = std::sin(-w);
            p.cos2 = std::cos(-2.0 * w);
            p.sin2 = std::sin(-2.0 * w);
        }
        return table;
    }();
    return phases;
}

}  // namespace

double GridFrequency(int point)
{
    return std::pow(10.0, std::log10(kGridTop) * point * kGridStep);
}

// 20 lg(|B| / |A|) taken as 10 lg(|B|^2 / |A|^2): no square roots, one
// logarithm. The real and imaginary parts are summed exactly as in the plain
// complex form; expanding |B|^2 into cosines of w and 2w instead would lose
// digits near 0 Hz, where A nearly cancels for low bands.
void EvaluateBandResponse(const BiquadCoefficients& c, ResponseArray& dB)
{
    const auto& phases = GridPhases();
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const GridPhase& p = phases[i];
        const double reA = c.a0 + c.a1 * p.cos1 + c.a2 * p.cos2;
        const double imA = c.a1 * p.sin1 + c.a2 * p.sin2;
        const double reB = c.b0 + c.b1 * p.cos1 + c.b2 * p.cos2;
        const double imB = c.b1 * p.sin1 + c.b2 * p.sin2;
        const double powerA = reA * reA + imA * imA;
        const double powerB = reB * reB + imB * imB;
        dB[i] = kTenOverLn10 * std::log(powerB / powerA);
    }
}

bool ComputeBandResponse(double gainDb, double f0, double q, int kind, ResponseArray& dB)
{
    BiquadCoefficients coefficients;
    const bool designed = DesignBiquad(gainDb, f0, q, kind, coefficients);
    EvaluateBandResponse(coefficients, dB);
    return designed;
}

}  // namespace qireq
