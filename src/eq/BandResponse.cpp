#include "eq/BandResponse.h"
#include "eq/Pi.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// The response loop is the editor's hot path: on x86-64 Linux with GCC it is
// also built for x86-64-v3 (AVX2) and the version the processor can run is
// picked at load time.
// Everything it calls is forced inline, so that each version gets its own.
// Not in sanitizer builds: the picking runs while the program is loaded,
// before a sanitizer's runtime is ready for instrumented code.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) && \
    !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define QIREQ_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define QIREQ_VECTOR_CLONES
#endif
#if defined(__GNUC__)
#define QIREQ_ALWAYS_INLINE inline __attribute__((always_inline))
#define QIREQ_RESTRICT __restrict__
#elif defined(_MSC_VER)
#define QIREQ_ALWAYS_INLINE __forceinline
#define QIREQ_RESTRICT __restrict
#else
#define QIREQ_ALWAYS_INLINE inline
#define QIREQ_RESTRICT
#endif

namespace qireq {

namespace {

constexpr double kGridTop = 24000.0;
constexpr double kGridStep = 0.0009765625;  // 1 / 1024
// 10 lg x = (10 / ln 10) ln x.
constexpr double kTenOverLn10 = 4.3429448190325182765;

// cos and sin of -w and -2w at every grid point, one array each, so the
// evaluation loop below reads them as plain vectors.
struct GridPhases {
    ResponseArray cos1;
    ResponseArray sin1;
    ResponseArray cos2;
    ResponseArray sin2;
};

// The grid never changes, so its trigonometry is worked out once. The angles
// are formed exactly as a per-point evaluation would form them, so the cached
// values are the very values that evaluation would use.
const GridPhases& Phases()
{
    static const GridPhases phases = [] {
        GridPhases table{};
        for (std::size_t i = 0; i < table.cos1.size(); ++i) {
            const double w = GridFrequency(static_cast<int>(i)) * kPi / kGridTop;
            table.cos1[i] = std::cos(-w);
            table.sin1[i] = std::sin(-w);
            table.cos2[i] = std::cos(-2.0 * w);
            table.sin2[i] = std::sin(-2.0 * w);
        }
        return table;
    }();
    return phases;
}

QIREQ_ALWAYS_INLINE std::uint64_t BitsOf(double x)
{
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

QIREQ_ALWAYS_INLINE double DoubleOf(std::uint64_t bits)
{
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// Top bit set unless x is positive, normal and finite: the only inputs
// PositiveNormalLn takes. Integer arithmetic only, so the loop that gathers
// it stays vectorisable.
QIREQ_ALWAYS_INLINE std::uint64_t OutsideNormalRange(double x)
{
    constexpr std::uint64_t kSmallestNormal = 0x0010000000000000ULL;
    const std::uint64_t bits = BitsOf(x);
    return (bits - kSmallestNormal) | (bits + kSmallestNormal);
}

// ln x for a positive, normal, finite x, within about 1e-13 of the library's
// log. Written without calls or branches so that the compiler can evaluate
// several points at once: x = 2^k m with m in [sqrt(1/2), sqrt(2)), then
// ln m = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172, from its series.
QIREQ_ALWAYS_INLINE double PositiveNormalLn(double x)
{
    constexpr std::uint64_t kOne = 0x3ff0000000000000ULL;
    constexpr std::uint64_t kSqrtHalf = 0x3fe6a09e667f3bcdULL;
    constexpr std::uint64_t kExponentMask = 0xfff0000000000000ULL;
    constexpr double kTwoTo52 = 4503599627370496.0;
    constexpr double kLn2 = 0.69314718055994530942;

    const std::uint64_t bits = BitsOf(x);
    // Shifted so that the exponent steps up where m passes sqrt(2).
    const std::uint64_t shifted = bits + (kOne - kSqrtHalf);
    const double m = DoubleOf(bits - (shifted & kExponentMask) + kOne);
    // The biased exponent (0..2047) as a double, without an integer
    // conversion: placed in the mantissa of 2^52 and 2^52 taken off again.
    const double biased = DoubleOf((shifted >> 52) | 0x4330000000000000ULL) - kTwoTo52;
    const double k = biased - 1023.0;

    const double s = (m - 1.0) / (m + 1.0);
    const double z = s * s;
    // 1 + z/3 + z^2/5 + ... + z^7/15; the next term is below 1e-13 of ln m.
    double series = 1.0 / 15.0;
    series = series * z + 1.0 / 13.0;
    series = series * z + 1.0 / 11.0;
    series = series * z + 1.0 / 9.0;
    series = series * z + 1.0 / 7.0;
    series = series * z + 1.0 / 5.0;
    series = series * z + 1.0 / 3.0;
    series = series * z + 1.0;
    return k * kLn2 + 2.0 * s * series;
}

// 20 lg(|B| / |A|) taken as 10 lg(|B|^2 / |A|^2): no square roots, one
// logarithm. The real and imaginary parts are summed exactly as in the plain
// complex form; expanding |B|^2 into cosines of w and 2w instead would lose
// digits near 0 Hz, where A nearly cancels for low bands.
struct PowerRatio {
    const BiquadCoefficients c;
    const GridPhases& p;

    QIREQ_ALWAYS_INLINE double operator()(std::size_t i) const
    {
        const double reA = c.a0 + c.a1 * p.cos1[i] + c.a2 * p.cos2[i];
        const double imA = c.a1 * p.sin1[i] + c.a2 * p.sin2[i];
        const double reB = c.b0 + c.b1 * p.cos1[i] + c.b2 * p.cos2[i];
        const double imB = c.b1 * p.sin1[i] + c.b2 * p.sin2[i];
        return (reB * reB + imB * imB) / (reA * reA + imA * imA);
    }
};

// The fast pass: false when some ratio was outside the logarithm's range
// (a zero or a pole on the unit circle, or coefficients that are not
// numbers), and the curve has to be taken with the library's log instead.
QIREQ_VECTOR_CLONES bool EvaluateInRange(const PowerRatio ratio, double* QIREQ_RESTRICT dB)
{
    std::uint64_t outside = 0;
    for (std::size_t i = 0; i < kResponsePoints; ++i) {
        const double x = ratio(i);
        outside |= OutsideNormalRange(x);
        dB[i] = kTenOverLn10 * PositiveNormalLn(x);
    }
    return (outside >> 63) == 0;
}

}  // namespace

double GridFrequency(int point)
{
    return std::pow(10.0, std::log10(kGridTop) * point * kGridStep);
}

double GridPointOf(double hz)
{
    static const double lgTop = std::log10(kGridTop);
    return kResponsePoints * std::log10(hz) / lgTop;
}

void EvaluateBandResponse(const BiquadCoefficients& c, ResponseArray& dB)
{
    const PowerRatio ratio{c, Phases()};
    if (EvaluateInRange(ratio, dB.data()))
        return;
    for (std::size_t i = 0; i < dB.size(); ++i)
        dB[i] = kTenOverLn10 * std::log(ratio(i));
}

bool ComputeBandResponse(double gainDb, double f0, double q, int kind, ResponseArray& dB)
{
    BiquadCoefficients coefficients;
    const bool designed = DesignBiquad(gainDb, f0, q, kind, coefficients);
    EvaluateBandResponse(coefficients, dB);
    return designed;
}

}  // namespace qireq
