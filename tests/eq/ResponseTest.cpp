// Filter design, band responses on the grid, the sum curve and the markers.
#include "DirectResponse.h"

#include "eq/BandResponse.h"
#include "eq/BiquadDesign.h"
#include "eq/EqEncoding.h"
#include "eq/ResponseCurves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

namespace qireq {
namespace {

constexpr double kPi = 3.14159265358979323846;
const int kAllKinds[] = {kKindPeak, kKindLowShelf, kKindHighShelf};

BiquadCoefficients Design(double g, double f0, double q, int kind)
{
    BiquadCoefficients c;
    EXPECT_TRUE(DesignBiquad(g, f0, q, kind, c));
    return c;
}

ResponseArray Response(double g, double f0, double q, int kind)
{
    ResponseArray dB{};
    EXPECT_TRUE(ComputeBandResponse(g, f0, q, kind, dB));
    return dB;
}

// |H| at an arbitrary angle, straight from the coefficients.
double GainAt(const BiquadCoefficients& c, double w)
{
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = std::polar(1.0, -2.0 * w);
    return std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (c.a0 + c.a1 * z1 + c.a2 * z2));
}

// The grid point whose frequency lies nearest f on the logarithmic axis.
std::size_t NearestPoint(double f)
{
    std::size_t best = 0;
    for (std::size_t i = 1; i < kResponsePoints; ++i) {
        if (std::fabs(std::log(GridFrequency(static_cast<int>(i)) / f))
            < std::fabs(std::log(GridFrequency(static_cast<int>(best)) / f)))
            best = i;
    }
    return best;
}

EqBand MakeBand(int type, int freqStep, int qStep, int gainCode, int off = 0, int offShown = 0)
{
    EqBand band;
    band.BandType = type;
    band.BandFreq = freqStep;
    band.BandQ = qStep;
    band.BandGain = gainCode;
    band.GainShownDb = ShownGainDb(gainCode);  // as the slider shows it once refreshed
    band.BandOff = off;
    band.BandOffShown = offShown;
    return band;
}

// --- design ---------------------------------------------------------------

TEST(BiquadDesign, ZeroGainIsTheFlatFilterForEveryKind)
{
    for (int kind : kAllKinds) {
        for (double f0 : {19.7, 1000.0, 20160.0}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " f0 " << f0);
            const BiquadCoefficients c = Design(0.0, f0, 3.0, kind);
            EXPECT_EQ(c.a0, 1.0);
            EXPECT_DOUBLE_EQ(c.b0, c.a0);
            EXPECT_DOUBLE_EQ(c.b1, c.a1);
            EXPECT_DOUBLE_EQ(c.b2, c.a2);
            for (double v : Response(0.0, f0, 3.0, kind))
                ASSERT_NEAR(v, 0.0, 1e-12);
        }
    }
}

TEST(BiquadDesign, UnknownKindLeavesCoefficientsAsTheyWere)
{
    const BiquadCoefficients before = Design(6.0, 1000.0, 1.0, kKindPeak);
    for (int kind : {0, 4, -1, 100}) {
        BiquadCoefficients c = before;
        EXPECT_FALSE(DesignBiquad(-6.0, 250.0, 2.0, kind, c)) << kind;
        EXPECT_EQ(c.b0, before.b0);
        EXPECT_EQ(c.b1, before.b1);
        EXPECT_EQ(c.b2, before.b2);
        EXPECT_EQ(c.a0, before.a0);
        EXPECT_EQ(c.a1, before.a1);
        EXPECT_EQ(c.a2, before.a2);
    }
    // Without a filter there is nothing to show: a flat curve, not stale data.
    ResponseArray dB;
    dB.fill(7.0);
    EXPECT_FALSE(ComputeBandResponse(12.0, 1000.0, 1.0, 0, dB));
    for (double v : dB)
        ASSERT_EQ(v, 0.0);
}

TEST(BiquadDesign, TypeIndexMapsToKind)
{
    EXPECT_EQ(FilterKindOf(kHighShelf), kKindHighShelf);
    EXPECT_EQ(FilterKindOf(kPeak), kKindPeak);
    EXPECT_EQ(FilterKindOf(kLowShelf), kKindLowShelf);
}

// Gains at 0 Hz (z = 1), at half the sampling rate (z = -1) and, for the
// peak, at its centre frequency: the values the bilinear designs are built to hit.
TEST(BiquadDesign, HitsItsGainsAtDcNyquistAndCentre)
{
    for (double g : {12.0, 6.0, 1.0, -1.0, -6.0, -12.0}) {
        for (double f0 : {62.5, 1000.0, 8010.0}) {
            SCOPED_TRACE(testing::Message() << "G " << g << " f0 " << f0);
            const double V = std::pow(10.0, g / 20.0);
            const BiquadCoefficients peak = Design(g, f0, 2.0, kKindPeak);
            EXPECT_NEAR(GainAt(peak, 0.0), 1.0, 1e-9);
            EXPECT_NEAR(GainAt(peak, kPi), 1.0, 1e-9);
            EXPECT_NEAR(GainAt(peak, 2.0 * kPi * f0 / 48000.0), V, 1e-9);

            const BiquadCoefficients low = Design(g, f0, 2.0, kKindLowShelf);
            EXPECT_NEAR(GainAt(low, 0.0), V, 1e-6 * V);
            EXPECT_NEAR(GainAt(low, kPi), 1.0, 1e-9);

            const BiquadCoefficients high = Design(g, f0, 2.0, kKindHighShelf);
            EXPECT_NEAR(GainAt(high, 0.0), 1.0, 1e-6);
            EXPECT_NEAR(GainAt(high, kPi), V, 1e-9);
        }
    }
}

TEST(BiquadDesign, QShapesThePeakOnly)
{
    const BiquadCoefficients narrow = Design(6.0, 1000.0, 10.0, kKindPeak);
    const BiquadCoefficients wide = Design(6.0, 1000.0, 0.5, kKindPeak);
    const double octaveUp = 2.0 * kPi * 2000.0 / 48000.0;
    EXPECT_LT(GainAt(narrow, octaveUp), GainAt(wide, octaveUp));

    for (int kind : {kKindLowShelf, kKindHighShelf}) {
        const BiquadCoefficients a = Design(6.0, 1000.0, 10.0, kind);
        const BiquadCoefficients b = Design(6.0, 1000.0, 0.5, kind);
        EXPECT_EQ(a.b0, b.b0);
        EXPECT_EQ(a.b1, b.b1);
        EXPECT_EQ(a.b2, b.b2);
        EXPECT_EQ(a.a1, b.a1);
        EXPECT_EQ(a.a2, b.a2);
    }
}

// --- grid and band curves ---------------------------------------------------

TEST(ResponseGrid, RunsFromOneHertzToJustBelowHalfTheSampleRate)
{
    EXPECT_DOUBLE_EQ(GridFrequency(0), 1.0);
    EXPECT_NEAR(GridFrequency(256), 12.447, 0.001);  // 24000^(1/4), the plot's left edge
    EXPECT_NEAR(GridFrequency(512), std::sqrt(24000.0), 1e-9);
    EXPECT_NEAR(GridFrequency(1023), 23765.0, 1.0);
    EXPECT_LT(GridFrequency(1023), 24000.0);
}

TEST(BandResponse, PeakReachesItsGainAtTheCentreAndFallsOffEvenly)
{
    const ResponseArray up = Response(12.0, 1000.0, 1.0, kKindPeak);
    const ResponseArray down = Response(-12.0, 1000.0, 1.0, kKindPeak);
    const std::size_t centre = NearestPoint(1000.0);

    EXPECT_EQ(static_cast<std::size_t>(std::max_element(up.begin(), up.end()) - up.begin()), centre);
    EXPECT_NEAR(up[centre], 12.0, 0.01);
    EXPECT_NEAR(down[centre], -12.0, 0.01);

    // Falls off on both sides, alike on the log axis (up to the bilinear
    // warping, which is small this far below 24 kHz), down to 0 dB far away.
    for (std::size_t k = 1; k <= 300; ++k) {
        ASSERT_LT(up[centre - k], up[centre - k + 1]) << k;
        ASSERT_LT(up[centre + k], up[centre + k - 1]) << k;
        ASSERT_NEAR(up[centre - k], up[centre + k], 0.25) << k;
    }
    EXPECT_NEAR(up[0], 0.0, 1e-3);
    for (std::size_t i = 0; i < kResponsePoints; ++i)
        ASSERT_NEAR(down[i], -up[i], 1e-9) << i;
}

TEST(BandResponse, ShelvesSettleAtTheirGainOnTheirSide)
{
    const ResponseArray low = Response(6.0, 198.4, 3.0, kKindLowShelf);
    EXPECT_NEAR(low[0], 6.0, 1e-3);
    EXPECT_NEAR(low[kResponsePoints - 1], 0.0, 1e-3);

    const ResponseArray high = Response(6.0, 2010.0, 3.0, kKindHighShelf);
    EXPECT_NEAR(high[0], 0.0, 1e-3);
    EXPECT_NEAR(high[kResponsePoints - 1], 6.0, 1e-2);

    for (std::size_t i = 1; i < kResponsePoints; ++i) {
        ASSERT_LE(low[i], low[i - 1] + 1e-12) << i;
        ASSERT_GE(high[i], high[i - 1] - 1e-12) << i;
    }
}

// A cut is the exact inverse of the boost of the same size, for every kind.
TEST(BandResponse, CutMirrorsBoost)
{
    for (int kind : kAllKinds) {
        for (double f0 : {19.7, 1000.0, 20160.0}) {
            const ResponseArray up = Response(9.0, f0, 0.4, kind);
            const ResponseArray down = Response(-9.0, f0, 0.4, kind);
            for (std::size_t i = 0; i < kResponsePoints; ++i)
                ASSERT_NEAR(down[i], -up[i], 1e-8) << "kind " << kind << " f0 " << f0 << " i " << i;
        }
    }
}

// The cached-grid evaluation against the per-point complex evaluation, over
// the ends and the inside of every scale.
TEST(BandResponse, CachedGridMatchesDirectEvaluation)
{
    double worst = 0.0;
    for (int kind : kAllKinds) {
        for (int g : {-12, -11, -6, -1, 0, 1, 6, 12}) {
            for (int freqStep : {0, 1, 50, 100, 169, 170, 171, 250, 299, 300}) {
                for (int qStep : {0, 1, 16, 35, 50, 99, 100}) {
                    const BiquadCoefficients c =
                        Design(g, FrequencyOf(freqStep), QOf(qStep), kind);
                    ResponseArray fast{};
                    EvaluateBandResponse(c, fast);
                    const ResponseArray direct = test::DirectBandResponse(c);
                    for (std::size_t i = 0; i < kResponsePoints; ++i) {
                        const double error = std::fabs(fast[i] - direct[i]);
                        worst = std::max(worst, error);
                        ASSERT_LE(error, 1e-9) << "kind " << kind << " G " << g << " step "
                                               << freqStep << " Q step " << qStep << " i " << i;
                    }
                }
            }
        }
    }
    RecordProperty("worst_difference_dB", testing::PrintToString(worst));
}

// Coefficients no design produces: a numerator that vanishes, one whose
// power overflows, and values that are not numbers. The curve is then what
// the plain evaluation gives: -inf, +inf and NaN.
TEST(BandResponse, RatiosBeyondTheLogarithmsRangeGiveThePlainResults)
{
    BiquadCoefficients silent;
    silent.b0 = 0.0;
    BiquadCoefficients huge;
    huge.b0 = 1e200;
    BiquadCoefficients broken;
    broken.a1 = std::nan("");
    ResponseArray dB{};
    EvaluateBandResponse(silent, dB);
    EXPECT_EQ(dB[0], -std::numeric_limits<double>::infinity());
    EXPECT_EQ(dB[1023], -std::numeric_limits<double>::infinity());
    EvaluateBandResponse(huge, dB);
    EXPECT_EQ(dB[512], std::numeric_limits<double>::infinity());
    EvaluateBandResponse(broken, dB);
    EXPECT_TRUE(std::isnan(dB[700]));
}

// --- curves, sum and markers --------------------------------------------------

TEST(ResponseCurves, StartAllZero)
{
    const ResponseCurves curves;
    for (const ResponseArray& a : curves.Arrays)
        for (double v : a)
            ASSERT_EQ(v, 0.0);
}

TEST(ResponseCurves, FlatBandsAndTrimGiveTheTrimEverywhere)
{
    ResponseCurves curves;
    const EqState eq;  // start-up: five flat peaks
    for (int b = 1; b <= kBandCount; ++b)
        RefreshBandCurve(curves, b, eq.Bands[static_cast<std::size_t>(b - 1)], false);
    RebuildSum(curves, -18);
    for (double v : curves.Sum())
        ASSERT_NEAR(v, -18.0, 1e-12);
}

TEST(ResponseCurves, SumAddsTheFiveBandsAndTheTrim)
{
    ResponseCurves curves;
    const EqBand bands[] = {MakeBand(kLowShelf, 60, 0, 12),  MakeBand(kPeak, 120, 20, 40),
                            MakeBand(kPeak, 170, 35, 0),     MakeBand(kPeak, 230, 80, 30),
                            MakeBand(kHighShelf, 260, 0, 16)};
    for (int b = 1; b <= kBandCount; ++b)
        RefreshBandCurve(curves, b, bands[b - 1], false);
    RebuildSum(curves, -5);
    RebuildSum(curves, -5);  // rebuilt from scratch, not accumulated
    for (std::size_t i = 0; i < kResponsePoints; ++i) {
        double expected = -5.0;
        for (int b = 1; b <= kBandCount; ++b)
            expected += curves.Band(b)[i];
        ASSERT_NEAR(curves.Sum()[i], expected, 1e-12) << i;
    }
}

TEST(ResponseCurves, BandCurveFollowsShownGainFrequencyQAndKind)
{
    // Gain code 1 is shown as +11 dB; type index 0 is the high shelf.
    const ResponseArray peak = BandCurve(MakeBand(kPeak, 150, 35, 1), false);
    const ResponseArray expected = Response(11.0, 630.0, 3.0, kKindPeak);
    for (std::size_t i = 0; i < kResponsePoints; ++i)
        ASSERT_EQ(peak[i], expected[i]) << i;

    const ResponseArray shelf = BandCurve(MakeBand(kHighShelf, 250, 0, 36), false);
    const ResponseArray expectedShelf = Response(-6.0, 6350.0, 0.4, kKindHighShelf);
    for (std::size_t i = 0; i < kResponsePoints; ++i)
        ASSERT_EQ(shelf[i], expectedShelf[i]) << i;

    // Odd codes 23 and 25 are shown as 0 dB: flat.
    for (int code : {23, 25})
        for (double v : BandCurve(MakeBand(kPeak, 170, 50, code), false))
            ASSERT_NEAR(v, 0.0, 1e-12);
}

TEST(ResponseCurves, OffBandContributesExactlyNothing)
{
    // The displayed flag is the editor's own while offline, the unit's while
    // connected; the other one is ignored.
    struct Case {
        int off;
        int offShown;
        bool connected;
        bool shownOff;
    };
    const Case cases[] = {{1, 0, false, true}, {0, 1, false, false},
                          {0, 1, true, true},  {1, 0, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "off " << c.off << " shown " << c.offShown
                                        << " connected " << c.connected);
        const EqBand loud = MakeBand(kPeak, 170, 16, 0, c.off, c.offShown);
        EXPECT_EQ(BandShownOff(loud, c.connected), c.shownOff);

        ResponseCurves curves;
        RefreshBandCurve(curves, 1, MakeBand(kPeak, 100, 20, 10), c.connected);
        RefreshBandCurve(curves, 3, loud, c.connected);
        RebuildSum(curves, -3);
        const double peakAt1k = curves.Band(3)[NearestPoint(1000.0)];
        if (c.shownOff) {
            for (std::size_t i = 0; i < kResponsePoints; ++i) {
                ASSERT_EQ(curves.Band(3)[i], 0.0);
                ASSERT_EQ(curves.Sum()[i], curves.Band(1)[i] - 3.0);
            }
        } else {
            EXPECT_NEAR(peakAt1k, 12.0, 0.01);
        }
    }
}

TEST(ResponseCurves, RefreshTouchesOnlyItsOwnBand)
{
    ResponseCurves curves;
    RefreshBandCurve(curves, 2, MakeBand(kPeak, 170, 16, 0), false);
    RefreshBandCurve(curves, 0, MakeBand(kPeak, 170, 16, 0), false);
    RefreshBandCurve(curves, 6, MakeBand(kPeak, 170, 16, 0), false);
    for (int index : {0, 1, 3, 4, 5})
        for (double v : curves.Arrays[static_cast<std::size_t>(index)])
            ASSERT_EQ(v, 0.0) << index;
    EXPECT_GT(curves.Band(2)[NearestPoint(1000.0)], 11.9);

    // Switching the band off again clears its curve.
    RefreshBandCurve(curves, 2, MakeBand(kPeak, 170, 16, 0, 1, 0), false);
    for (double v : curves.Band(2))
        ASSERT_EQ(v, 0.0);
}

TEST(BandMarkers, SitAtTheBandFrequencyAndTrimPlusShownGain)
{
    EqState eq;
    eq.Trim = -6;
    eq.Bands[0] = MakeBand(kPeak, 0, 35, 0);             // 19.7 Hz, +12 dB
    eq.Bands[1] = MakeBand(kPeak, 170, 35, 25);          // 1000 Hz, code 25 shows 0 dB
    eq.Bands[2] = MakeBand(kPeak, 300, 35, 48, 1, 0);    // off offline
    eq.Bands[3] = MakeBand(kLowShelf, 100, 35, 47, 0, 1);  // off while connected, -11 dB
    eq.Bands[4] = MakeBand(kHighShelf, 255, 35, 30);     // 7130 Hz, -3 dB

    const auto offline = BandMarkers(eq, false);
    const auto online = BandMarkers(eq, true);
    for (int i = 0; i < kBandCount; ++i) {
        const auto& m = offline[static_cast<std::size_t>(i)];
        EXPECT_EQ(m.BandIndex, i);
        const double f0 = FrequencyOf(eq.Bands[static_cast<std::size_t>(i)].BandFreq);
        EXPECT_NEAR(m.X, 1024.0 * std::log10(f0) / std::log10(24000.0), 1e-9);
        // The marker's whole point index is the grid point just at or below f0.
        const int point = static_cast<int>(m.X);
        EXPECT_LE(GridFrequency(point), f0 * (1 + 1e-12));
        EXPECT_GT(GridFrequency(point + 1), f0);
    }
    EXPECT_NEAR(offline[1].X, 701.33, 0.01);
    EXPECT_EQ(offline[0].Y, 6.0);
    EXPECT_EQ(offline[1].Y, -6.0);
    EXPECT_EQ(offline[2].Y, -18.0);
    EXPECT_EQ(offline[3].Y, -17.0);
    EXPECT_EQ(offline[4].Y, -9.0);

    const bool hiddenOffline[] = {false, false, true, false, false};
    const bool hiddenOnline[] = {false, false, false, true, false};
    for (std::size_t i = 0; i < kBandCount; ++i) {
        EXPECT_EQ(offline[i].Hidden, hiddenOffline[i]) << i;
        EXPECT_EQ(online[i].Hidden, hiddenOnline[i]) << i;
        EXPECT_EQ(online[i].X, offline[i].X);
        EXPECT_EQ(online[i].Y, offline[i].Y);
    }
}

}  // namespace
}  // namespace qireq
