#pragma once
// Second-order filter design for the response plot: bilinear-transform
// peaking and shelving filters at 48000 Hz. A display model only; units are
// never sent coefficients.
namespace qireq {

// Filter kinds as the response computation numbers them.
enum FilterKind : int { kKindPeak = 1, kKindLowShelf = 2, kKindHighShelf = 3 };

inline constexpr double kDesignSampleRate = 48000.0;

// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2); a0 is always 1.
// The default is the flat filter H = 1.
struct BiquadCoefficients {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a0 = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Designs a filter of gain gainDb (boost for >= 0, cut below), centre or
// corner frequency f0 Hz and the given Q (used by kKindPeak only; the shelves
// have a fixed Q of 1/sqrt(2)). For a kind other than 1..3 the coefficients
// are left exactly as they were and the result is false.
bool DesignBiquad(double gainDb, double f0, double q, int kind, BiquadCoefficients& coefficients);

// Filter kind of a band's type index (0 "High Shelf", 1 "Peak", 2 "Low Shelf"):
// the index itself, except that 0 is kind 3.
int FilterKindOf(int typeIndex);

}  // namespace qireq
