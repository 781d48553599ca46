// Prints, for a few bands, the filter coefficients and the 1024 dB values of
// the response with full precision, and how long computing them took (best
// of N runs), so another implementation can be checked and timed against it.
//
//   band_response_dump [--runs N] [kind:gain:f0:q ...]
//
// kind 1 "Peak", 2 "Low Shelf", 3 "High Shelf"; gain in dB, f0 in Hz. Without
// bands a fixed set covering the ends of the scales is used. Output lines:
//   band <kind> <gain> <f0> <q>
//   coefficients <b0> <b1> <b2> <a0> <a1> <a2>
//   response <1024 values>
//   seconds_best <time for all bands> runs <N>
#include "eq/BandResponse.h"
#include "eq/BiquadDesign.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace qireq;

struct Band {
    int kind;
    double gain;
    double f0;
    double q;
};

const Band kDefaultBands[] = {
    {kKindPeak, 12.0, 1000.0, 1.0},     {kKindPeak, -12.0, 19.7, 0.4},
    {kKindPeak, 12.0, 20160.0, 128.0},  {kKindPeak, -6.0, 62.5, 3.0},
    {kKindLowShelf, 6.0, 198.4, 3.0},   {kKindLowShelf, -12.0, 19.7, 3.0},
    {kKindHighShelf, -6.0, 2010.0, 3.0}, {kKindHighShelf, 12.0, 20160.0, 3.0},
};

bool ParseBand(const char* text, Band& band)
{
    char tail = 0;
    return std::sscanf(text, "%d:%lf:%lf:%lf%c", &band.kind, &band.gain, &band.f0, &band.q, &tail)
           == 4;
}

int Usage()
{
    std::fprintf(stderr, "usage: band_response_dump [--runs N] [kind:gain:f0:q ...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 200;
    std::vector<Band> bands;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1)
                return Usage();
        } else {
            Band band{};
            if (!ParseBand(argv[i], band))
                return Usage();
            bands.push_back(band);
        }
    }
    if (bands.empty())
        bands.assign(std::begin(kDefaultBands), std::end(kDefaultBands));

    std::vector<BiquadCoefficients> coefficients(bands.size());
    std::vector<ResponseArray> responses(bands.size());

    // The first pass also builds the cached grid, so it is timed like the others
    // and simply loses to them.
    double best = std::numeric_limits<double>::infinity();
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t b = 0; b < bands.size(); ++b) {
            ComputeBandResponse(bands[b].gain, bands[b].f0, bands[b].q, bands[b].kind,
                                responses[b]);
        }
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(stop - start).count());
    }

    for (std::size_t b = 0; b < bands.size(); ++b) {
        const Band& band = bands[b];
        if (!DesignBiquad(band.gain, band.f0, band.q, band.kind, coefficients[b])) {
            std::fprintf(stderr, "unknown filter kind %d\n", band.kind);
            return 2;
        }
        const BiquadCoefficients& c = coefficients[b];
        std::printf("band %d %.17g %.17g %.17g\n", band.kind, band.gain, band.f0, band.q);
        std::printf("coefficients %.17g %.17g %.17g %.17g %.17g %.17g\n", c.b0, c.b1, c.b2, c.a0,
                    c.a1, c.a2);
        std::printf("response");
        for (double v : responses[b])
            std::printf(" %.17g", v);
        std::printf("\n");
    }
    std::printf("seconds_best %.9g runs %d\n", best, runs);
    return 0;
}
