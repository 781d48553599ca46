// Reference responses and the fit: the cookbook shapes the tools define, the
// unit's bands written in those terms, and what an import makes of a set.
#include "eq/EqEncoding.h"
#include "eq/ResponseCurves.h"
#include "filters/CoarseResponse.h"
#include "filters/FilterImport.h"
#include "filters/FitRange.h"
#include "filters/ImportReport.h"
#include "filters/ReferenceResponse.h"
#include "filters/UnitEquivalents.h"
#include "presets/PresetRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace qireq;

namespace {

// The response at one frequency, from the filter's coefficients.
double GainAt(const ImportedFilter& f, double hz)
{
    const BiquadCoefficients c = ReferenceCoefficients(f);
    const double w = 2.0 * 3.14159265358979323846 * hz / kReferenceSampleRate;
    auto power = [w](double x0, double x1, double x2) {
        const double re = x0 + x1 * std::cos(w) + x2 * std::cos(2 * w);
        const double im = x1 * std::sin(w) + x2 * std::sin(2 * w);
        return re * re + im * im;
    };
    return 10.0 * std::log10(power(c.b0, c.b1, c.b2) / power(c.a0, c.a1, c.a2));
}

ImportedFilter Shelf(ImportedKind kind, ShelfWidth width, double hz, double gain, double q,
                     double slope)
{
    ImportedFilter f;
    f.Kind = kind;
    f.Width = width;
    f.Hz = hz;
    f.GainDb = gain;
    f.Q = q;
    f.SlopeDb = slope;
    return f;
}

}  // namespace

TEST(ReferenceResponse, FollowsTheCookbookShapes)
{
    ImportedFilter pk;
    pk.Hz = 1000.0;
    pk.Q = 2.0;
    pk.GainDb = -7.5;
    EXPECT_NEAR(GainAt(pk, 1000.0), -7.5, 1e-9);
    EXPECT_NEAR(GainAt(pk, 20.0), 0.0, 0.01);

    // Shelves reach half their gain at the centre, the full gain on the plateau.
    for (const ImportedKind kind : {ImportedKind::LowShelf, ImportedKind::HighShelf}) {
        const bool low = kind == ImportedKind::LowShelf;
        const ImportedFilter byQ = Shelf(kind, ShelfWidth::Q, 500.0, 6.0, 0.9, 0.0);
        EXPECT_NEAR(GainAt(byQ, 500.0), 3.0, 1e-9);
        EXPECT_NEAR(GainAt(byQ, low ? 5.0 : 23000.0), 6.0, 0.05);
        EXPECT_NEAR(GainAt(byQ, low ? 20000.0 : 20.0), 0.0, 0.05);
        // S = 1 (12 dB) is Q 1/sqrt(2).
        const ImportedFilter s1 = Shelf(kind, ShelfWidth::Slope, 500.0, -4.0, 0.0, 12.0);
        const ImportedFilter q707 = Shelf(kind, ShelfWidth::Q, 500.0, -4.0, std::sqrt(0.5), 0.0);
        for (const double hz : {50.0, 400.0, 700.0, 5000.0})
            EXPECT_NEAR(GainAt(s1, hz), GainAt(q707, hz), 1e-9);
        // Corner shelves: first order for 6 dB, centre 10^(|G| / 40) from the
        // corner; second order for 12 dB, 10^(|G| / 80).
        const ImportedFilter c6 = Shelf(kind, ShelfWidth::Corner, 1000.0, 8.0, 0.0, 6.0);
        const double centre6 = low ? 1000.0 * std::pow(10.0, 0.2) : 1000.0 / std::pow(10.0, 0.2);
        EXPECT_NEAR(ReferenceCentreHz(c6), centre6, 1e-9);
        EXPECT_NEAR(GainAt(c6, centre6), 4.0, 1e-9);
        EXPECT_NEAR(ReferenceCoefficients(c6).b2, 0.0, 1e-15);
        const ImportedFilter c12 = Shelf(kind, ShelfWidth::Corner, 1000.0, -8.0, 0.0, 12.0);
        EXPECT_NEAR(GainAt(c12, ReferenceCentreHz(c12)), -4.0, 1e-9);
        EXPECT_NEAR(ReferenceCentreHz(c12) / 1000.0, std::pow(10.0, low ? 0.1 : -0.1), 1e-12);
    }
}

// The unit's own shapes are cookbook shapes in other terms: the filter an
// export writes for a band has the band's response, to rounding.
TEST(ReferenceResponse, UnitBandsAsCookbookFiltersHaveTheUnitsResponse)
{
    std::mt19937 rng(7);
    for (int n = 0; n < 300; ++n) {
        const int type = static_cast<int>(rng() % 3);
        const int freq = ShelfFix(type, static_cast<int>(rng() % 301));
        const EqBand band =
            UnitBand(type, freq, static_cast<int>(rng() % 101), static_cast<int>(rng() % 25) - 12);
        const CurveDifference d =
            DifferenceOf(ReferenceResponse(FilterForUnitBand(band)), BandCurve(band, false));
        ASSERT_LT(d.MaxDb, 1e-6) << "type " << type << " step " << freq << " Q step "
                                 << band.BandQ << " gain " << band.GainShownDb;
    }
}

// The search's cheaper evaluation ranks candidates as the plot draws them.
TEST(ReferenceResponse, TheSearchsEvaluationFollowsThePlots)
{
    const FitRange range = FitRangeOfGrid();
    const int count = range.Last - range.First + 1;
    for (const int stride : {1, 2}) {
        const int points = (count - 1) / stride + 1;
        const CoarseResponse coarse(range.First, stride, points);
        std::vector<float> dB(static_cast<std::size_t>(points));
        std::mt19937 rng(11);
        for (int n = 0; n < 300; ++n) {
            const int type = static_cast<int>(rng() % 3);
            const EqBand band = UnitBand(type, ShelfFix(type, static_cast<int>(rng() % 301)),
                                         static_cast<int>(rng() % 101),
                                         static_cast<int>(rng() % 25) - 12);
            BiquadCoefficients c;
            DesignBiquad(band.GainShownDb, FrequencyOf(band.BandFreq), QOf(band.BandQ),
                         FilterKindOf(band.BandType), c);
            ASSERT_TRUE(coarse.Evaluate(c, dB.data()));
            const ResponseArray plot = BandCurve(band, false);
            for (int k = 0; k < points; ++k)
                ASSERT_NEAR(dB[static_cast<std::size_t>(k)],
                            plot[static_cast<std::size_t>(range.First + stride * k)], 1e-4)
                    << "type " << type << " step " << band.BandFreq << " point " << k;
        }
    }
}

TEST(FilterFit, APeakOnTheUnitsStepsFitsExactly)
{
    // Q 4.2 at -6 dB on the unit is the cookbook Q 4.2 / 10^(6/40).
    const QString text = QStringLiteral("Filter 1: ON PK Fc 1000 Hz Gain -6 dB Q %1\n")
                             .arg(4.2 / std::pow(10.0, 6.0 / 40.0), 0, 'f', 6);
    const ImportResult r = ImportFilterText(text);
    EXPECT_LT(r.Difference.MaxDb, 0.001);
    const EqBand& band = r.Eq.Bands[0];
    EXPECT_EQ(band.BandType, kPeak);
    EXPECT_EQ(band.BandFreq, 170);
    EXPECT_EQ(QOf(band.BandQ), 4.2);
    EXPECT_EQ(band.BandGain, 36);
    ASSERT_EQ(r.Filters.size(), 1u);
    EXPECT_EQ(r.Filters[0].Fate, FilterFate::Placed);
    EXPECT_EQ(r.Filters[0].Band, 1);
    for (int b = 1; b < kBandCount; ++b) {
        EXPECT_TRUE(r.Bands[static_cast<std::size_t>(b)].Unused);
        EXPECT_EQ(r.Eq.Bands[static_cast<std::size_t>(b)].BandFreq, 50 * b);  // as a reset
    }

    // The block is a preset record as Save As writes it.
    EqBlock expected = NewSavingRecord();
    FillSavingRecord(expected, r.Eq, false);
    EXPECT_EQ(r.Block, expected);
    EXPECT_EQ(r.Block[kBlockBypassOffset], 0);
}

TEST(FilterFit, PreampBecomesTrimAndWhatCannotBeAppliedIsReported)
{
    const QString filter = QStringLiteral("Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 1\n");
    const ImportResult boost = ImportFilterText(QStringLiteral("Preamp: +3 dB\n") + filter);
    EXPECT_EQ(boost.Eq.Trim, 0);
    EXPECT_DOUBLE_EQ(boost.PreampNotAppliedDb, 3.0);
    EXPECT_TRUE(RenderImportReport(boost).contains(QLatin1String("preamp 3.0 dB not applied")));

    const ImportResult deep = ImportFilterText(QStringLiteral("Preamp: -25 dB\n") + filter);
    EXPECT_EQ(deep.Eq.Trim, -18);
    EXPECT_DOUBLE_EQ(deep.PreampNotAppliedDb, -7.0);
    EXPECT_EQ(deep.Block[kBlockTrimOffset], 0x55);

    const ImportResult usual = ImportFilterText(QStringLiteral("Preamp: -6,2 dB\n") + filter);
    EXPECT_EQ(usual.Eq.Trim, -6);
    EXPECT_DOUBLE_EQ(usual.PreampNotAppliedDb, 0.0);
    EXPECT_TRUE(usual.Notes.isEmpty());
}

TEST(FilterFit, ShelvesStayOnTheirSideOf1000Hz)
{
    const ImportResult r = ImportFilterText(QStringLiteral(
        "Filter 1: ON LSC Fc 3000 Hz Gain 6 dB Q 0.7\n"
        "Filter 2: ON HSC Fc 300 Hz Gain -4 dB Q 0.7\n"));
    for (const EqBand& band : r.Eq.Bands)
        EXPECT_EQ(ShelfFix(band.BandType, band.BandFreq), band.BandFreq);
    // What the window shows for the block is what the import made.
    const QString report = RenderImportReport(r);
    EXPECT_TRUE(report.contains(QLatin1String("low shelves stop at 1000 Hz"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QLatin1String("high shelves start at 1000 Hz")));
    EXPECT_LT(r.Difference.MaxDb, 4.0);
}

TEST(FilterFit, MoreFiltersThanBandsAreMergedOrLeftOutAndSaidSo)
{
    const ImportResult r = ImportFilterText(QStringLiteral(
        "Preamp: -2 dB\n"
        "Filter 1: ON PK Fc 40 Hz Gain -8 dB Q 4\n"
        "Filter 2: ON PK Fc 44 Hz Gain -6 dB Q 4\n"  // beside filter 1: one band for both
        "Filter 3: ON PK Fc 120 Hz Gain -6 dB Q 2\n"
        "Filter 4: ON PK Fc 500 Hz Gain 3 dB Q 1\n"
        "Filter 5: ON PK Fc 2000 Hz Gain -5 dB Q 3\n"
        "Filter 6: ON PK Fc 6000 Hz Gain -4 dB Q 2\n"
        "Filter 7: ON PK Fc 12000 Hz Gain 0.3 dB Q 8\n"
        "Filter 8: ON PK Fc 800 Hz Gain 0 dB Q 1\n"
        "Filter 9: OFF PK Fc 900 Hz Gain -3 dB Q 1\n"));
    ASSERT_EQ(r.Filters.size(), 9u);
    EXPECT_EQ(r.Filters[0].Fate, FilterFate::Merged);
    EXPECT_EQ(r.Filters[1].Fate, FilterFate::Merged);
    EXPECT_EQ(r.Filters[0].Band, r.Filters[1].Band);
    EXPECT_EQ(r.Filters[6].Fate, FilterFate::LeftOut);
    EXPECT_EQ(r.Filters[7].Fate, FilterFate::NoEffect);
    EXPECT_EQ(r.Filters[8].Fate, FilterFate::Off);
    EXPECT_LT(r.Difference.MaxDb, 1.5);
    EXPECT_EQ(r.Eq.Trim, -2);
    // The bands in use come first, in frequency order.
    for (int b = 1; b < kBandCount; ++b) {
        if (!r.Bands[static_cast<std::size_t>(b)].Unused) {
            EXPECT_LT(r.Eq.Bands[static_cast<std::size_t>(b - 1)].BandFreq,
                      r.Eq.Bands[static_cast<std::size_t>(b)].BandFreq);
        }
    }

    const QString report = RenderImportReport(r);
    EXPECT_TRUE(report.contains(QLatin1String("merged: line 2"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QLatin1String("Left out, line 8")));
    EXPECT_TRUE(report.contains(QLatin1String("No effect, line 9")));
    EXPECT_TRUE(report.contains(QLatin1String("Off, not imported, line 10")));
    EXPECT_TRUE(report.contains(QLatin1String("line 10, skipped: switched off")));
}
