#include "eq/BiquadDesign.h"
#include "eq/Pi.h"

#include <cmath>

namespace qireq {

namespace {


// Each branch writes the six coefficients of one filter; K = tan(pi f0 / fs),
// V = 10^(|G| / 20) >= 1, S = sqrt(2), SV = sqrt(2 V).

BiquadCoefficients PeakBoost(double K, double V, double q)
{
    const double K2 = K * K;
    const double D = 1.0 + K / q + K2;
    BiquadCoefficients c;
    c.b0 = (1.0 + V * K / q + K2) / D;
    c.b1 = 2.0 * (K2 - 1.0) / D;
    c.b2 = (1.0 - V * K / q + K2) / D;
    c.a1 = c.b1;
    c.a2 = (1.0 - K / q + K2) / D;
    return c;
}

BiquadCoefficients PeakCut(double K, double V, double q)
{
    const double K2 = K * K;
    const double D = 1.0 + V * K / q + K2;
    BiquadCoefficients c;
    c.b0 = (1.0 + K / q + K2) / D;
    c.b1 = 2.0 * (K2 - 1.0) / D;
    c.b2 = (1.0 - K / q + K2) / D;
    c.a1 = c.b1;
    c.a2 = (1.0 - V * K / q + K2) / D;
    return c;
}

BiquadCoefficients LowShelfBoost(double K, double V)
{
    const double K2 = K * K;
    const double S = std::sqrt(2.0);
    const double SV = std::sqrt(2.0 * V);
    const double D = 1.0 + S * K + K2;
    BiquadCoefficients c;
    c.b0 = (1.0 + SV * K + V * K2) / D;
    c.b1 = 2.0 * (V * K2 - 1.0) / D;
    c.b2 = (1.0 - SV * K + V * K2) / D;
    c.a1 = 2.0 * (K2 - 1.0) / D;
    c.a2 = (1.0 - S * K + K2) / D;
    return c;
}

BiquadCoefficients LowShelfCut(double K, double V)
{
    const double K2 = K * K;
    const double S = std::sqrt(2.0);
    const double SV = std::sqrt(2.0 * V);
    const double D = 1.0 + SV * K + V * K2;
    BiquadCoefficients c;
    c.b0 = (1.0 + S * K + K2) / D;
    c.b1 = 2.0 * (K2 - 1.0) / D;
    c.b2 = (1.0 - S * K + K2) / D;
    c.a1 = 2.0 * (V * K2 - 1.0) / D;
    c.a2 = (1.0 - SV * K + V * K2) / D;
    return c;
}

BiquadCoefficients HighShelfBoost(double K, double V)
{
    const double K2 = K * K;
    const double S = std::sqrt(2.0);
    const double SV = std::sqrt(2.0 * V);
    const double D = 1.0 + S * K + K2;
    BiquadCoefficients c;
    c.b0 = (V + SV * K + K2) / D;
    c.b1 = 2.0 * (K2 - V) / D;
    c.b2 = (V - SV * K + K2) / D;
    c.a1 = 2.0 * (K2 - 1.0) / D;
    c.a2 = (1.0 - S * K + K2) / D;
    return c;
}

// The numerator and the denominator are normalised separately here: D1 = V D2,
// so a0 still comes out as 1.
BiquadCoefficients HighShelfCut(double K, double V)
{
    const double K2 = K * K;
    const double S = std::sqrt(2.0);
    const double SV = std::sqrt(2.0 * V);
    const double SoverV = std::sqrt(2.0 / V);
    const double D1 = V + SV * K + K2;
    const double D2 = 1.0 + SoverV * K + K2 / V;
    BiquadCoefficients c;
    c.b0 = (1.0 + S * K + K2) / D1;
    c.b1 = 2.0 * (K2 - 1.0) / D1;
    c.b2 = (1.0 - S * K + K2) / D1;
    c.a1 = 2.0 * (K2 / V - 1.0) / D2;
    c.a2 = (1.0 - SoverV * K + K2 / V) / D2;
    return c;
}

}  // namespace

bool DesignBiquad(double gainDb, double f0, double q, int kind, BiquadCoefficients& coefficients)
{
    if (kind != kKindPeak && kind != kKindLowShelf && kind != kKindHighShelf)
        return false;

    const double K = std::tan(kPi * f0 / kDesignSampleRate);
    const double V = std::pow(10.0, 0.05 * std::fabs(gainDb));
    const bool boost = gainDb >= 0.0;

    switch (kind) {
    case kKindPeak:
        coefficients = boost ? PeakBoost(K, V, q) : PeakCut(K, V, q);
        break;
    case kKindLowShelf:
        coefficients = boost ? LowShelfBoost(K, V) : LowShelfCut(K, V);
        break;
    default:
        coefficients = boost ? HighShelfBoost(K, V) : HighShelfCut(K, V);
        break;
    }
    return true;
}

int FilterKindOf(int typeIndex)
{
    return typeIndex == 0 ? kKindHighShelf : typeIndex;
}

}  // namespace qireq
