// Reading filter texts: every variant people bring, and every line that must
// be reported rather than read, with its line number.
#include "filters/FilterNumbers.h"
#include "filters/FilterText.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace qireq;

namespace {

const LineReport* ReportOf(const FilterSet& set, int line)
{
    for (const LineReport& r : set.Lines)
        if (r.Line == line)
            return &r;
    return nullptr;
}

const ImportedFilter* FilterAt(const FilterSet& set, int line)
{
    for (const ImportedFilter& f : set.Filters)
        if (f.Line == line)
            return &f;
    return nullptr;
}

void ExpectOutcome(const FilterSet& set, int line, LineOutcome outcome, const char* reasonPart = "")
{
    const LineReport* r = ReportOf(set, line);
    ASSERT_NE(r, nullptr) << "line " << line << " not reported";
    EXPECT_EQ(r->Outcome, outcome) << "line " << line << ": " << r->Reason.toStdString();
    EXPECT_TRUE(r->Reason.contains(QLatin1String(reasonPart), Qt::CaseInsensitive))
        << "line " << line << ": " << r->Reason.toStdString();
}

}  // namespace

TEST(FilterNumbers, ReadDecimalCommasAndThousandsSeparatorsWhateverTheLocale)
{
    // A reader whose own locale writes "1.549,5" must not change anything.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* const cBefore = std::setlocale(LC_NUMERIC, nullptr);
    const std::string cSaved = cBefore != nullptr ? cBefore : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // where the system has it
    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"2.5"), 2.5);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"28.55"), 28.55);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1.549"), 1549.0);
    EXPECT_DOUBLE_EQ(ParseFilterText(QStringLiteral("Filter: ON PK Fc 100.5 Hz Gain -1.5 dB Q 0.7"))
                         .Filters.at(0)
                         .GainDb,
                     -1.5);
    std::setlocale(LC_NUMERIC, cSaved.c_str());
    QLocale::setDefault(before);

    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"-4,7"), -4.7);
    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"+3"), 3.0);
    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"0,4"), 0.4);
    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"1,000"), 1.0);  // a gain: the comma is decimal
    EXPECT_DOUBLE_EQ(*ParseFilterNumber(u"1e-1"), 0.1);
    EXPECT_FALSE(ParseFilterNumber(u"1,2,3"));
    EXPECT_FALSE(ParseFilterNumber(u"dB"));
    EXPECT_FALSE(ParseFilterNumber(u"3x"));

    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1,549"), 1549.0);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1.549"), 1549.0);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"28,55"), 28.55);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"100.5"), 100.5);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"12,345.6"), 12345.6);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1\u00A0549"), 1549.0);
    EXPECT_DOUBLE_EQ(*ParseFrequency(u"1.549e3"), 1549.0);
}

TEST(FilterText, ReadsRewFilterSettingsFiles)
{
    const FilterSet set = ParseFilterText(QStringLiteral(
        "Filter Settings file\r\n"                                                  // 1
        "\r\n"                                                                      // 2
        "Room EQ V5.20\r\n"                                                         // 3
        "Dated: 03-Feb-2021 16:28:20\r\n"                                           // 4
        "\r\n"                                                                      // 5
        "Notes:OSD Audio AP650\r\n"                                                 // 6
        "\r\n"                                                                      // 7
        "Equaliser: Generic\r\n"                                                    // 8
        "Average 1\r\n"                                                             // 9
        "Filter  1: ON  PK       Fc   28.55 Hz  Gain  -4.30 dB  Q  4.914\r\n"       // 10
        "Filter  2: ON  None\r\n"                                                   // 11
        "Filter  3: ON  LS       Fc    1,325 Hz  Gain   3.00 dB\r\n"                // 12
        "Filter  4: ON  LS 6dB   Fc   200.0 Hz  Gain  -2.00 dB\r\n"                 // 13
        "Filter  5: ON  LS 12dB  Fc    80.0 Hz  Gain   4.00 dB\r\n"                 // 14
        "Filter  6: ON  HS Q     Fc    5000 Hz  Gain  -3.00 dB Q  0.707\r\n"        // 15
        "Filter  7: ON  Modal    Fc   45.00 Hz  Gain  -6.00 dB  Q  8.000\r\n"       // 16
        "Filter  8: OFF PK       Fc   100.0 Hz  Gain  -3.00 dB  Q  2.000\r\n"       // 17
        "Filter  9: ON  NO       Fc   60.00 Hz\r\n"                                 // 18
        "Filter 10: ON  LS Q     Fc   500.0 Hz  Gain   0.00 dB Q  0.707\r\n"        // 19
        "Filter 11: ON  HS       Fc    8000 Hz  Gain   2.00 dB\r\n"));              // 20

    EXPECT_EQ(set.Format, FilterTextFormat::RewSettings);
    for (const int header : {1, 3, 4, 6, 8, 9})
        ExpectOutcome(set, header, LineOutcome::Ignored);
    ExpectOutcome(set, 11, LineOutcome::Skipped, "None");
    ExpectOutcome(set, 16, LineOutcome::Unsupported, "modal");
    ExpectOutcome(set, 17, LineOutcome::Skipped, "off");
    ExpectOutcome(set, 18, LineOutcome::Unsupported, "notch");
    EXPECT_EQ(set.Lines.size(), 17u);  // the blank lines alone are not reported

    const ImportedFilter* pk = FilterAt(set, 10);
    ASSERT_NE(pk, nullptr);
    EXPECT_EQ(pk->Number, 1);
    EXPECT_EQ(pk->Kind, ImportedKind::Peak);
    EXPECT_DOUBLE_EQ(pk->Hz, 28.55);
    EXPECT_DOUBLE_EQ(pk->GainDb, -4.3);
    EXPECT_DOUBLE_EQ(pk->Q, 4.914);

    const ImportedFilter* ls = FilterAt(set, 12);
    ASSERT_NE(ls, nullptr);
    EXPECT_DOUBLE_EQ(ls->Hz, 1325.0);
    EXPECT_EQ(ls->Width, ShelfWidth::Slope);
    EXPECT_DOUBLE_EQ(ls->SlopeDb, kDefaultShelfSlopeDb);

    const ImportedFilter* ls6 = FilterAt(set, 13);
    ASSERT_NE(ls6, nullptr);
    EXPECT_EQ(ls6->Width, ShelfWidth::Corner);
    EXPECT_DOUBLE_EQ(ls6->SlopeDb, 6.0);
    EXPECT_EQ(ls6->TypeText, QStringLiteral("LS 6dB"));
    EXPECT_DOUBLE_EQ(FilterAt(set, 14)->SlopeDb, 12.0);

    const ImportedFilter* hsq = FilterAt(set, 15);
    ASSERT_NE(hsq, nullptr);
    EXPECT_EQ(hsq->Kind, ImportedKind::HighShelf);
    EXPECT_EQ(hsq->Width, ShelfWidth::Q);
    EXPECT_DOUBLE_EQ(hsq->Q, 0.707);
    EXPECT_EQ(FilterAt(set, 19)->Width, ShelfWidth::Q);
    EXPECT_EQ(FilterAt(set, 20)->Kind, ImportedKind::HighShelf);

    // The OFF filter is kept (it may become an off band), but switched off.
    ASSERT_NE(FilterAt(set, 17), nullptr);
    EXPECT_FALSE(FilterAt(set, 17)->On);
    EXPECT_EQ(set.Filters.size(), 8u);
}

TEST(FilterText, ReadsRewsTabSeparatedTable)
{
    const FilterSet set = ParseFilterText(QStringLiteral(
        "Number\tEnabled\tControl\tType\tFrequency(Hz)\tGain(dB)\tQ\tBandwidth(Hz)\n"  // 1
        "1\tTrue\tAuto\tPK\t30.00\t-10.2\t0.999\t30.03\n"                             // 2
        "2\tTrue\tManual\tLS_Q\t44.3\t-11.0\t0.7\n"                                   // 3
        "3\tFalse\tManual\tPK\t1000\t-3.0\t2.0\t500\n"                                // 4
        "4\tTrue\tManual\tHS\t8000\t2.5\t\t\n"                                        // 5
        "5\tTrue\tManual\tHS_Q\t9000\t-1,5\t0,9\t\n"                                  // 6
        "6\tTrue\tAuto\tNone\t\t\t\t\n"                                               // 7
        "7\tTrue\tManual\tLP\t100\t\t0.7\t\n"                                         // 8
        "8\tTrue\tManual\tPK\t\t-2\t1\t\n"                                            // 9
        "9\tTrue\tManual\tLS\t60\t3,5\t\t\n"));                                      // 10

    EXPECT_EQ(set.Format, FilterTextFormat::RewTable);
    ExpectOutcome(set, 1, LineOutcome::Ignored);
    ExpectOutcome(set, 4, LineOutcome::Skipped, "off");
    ExpectOutcome(set, 7, LineOutcome::Skipped, "None");
    ExpectOutcome(set, 8, LineOutcome::Unsupported, "low-pass");
    ExpectOutcome(set, 9, LineOutcome::NotUnderstood, "frequency");

    const ImportedFilter* pk = FilterAt(set, 2);
    ASSERT_NE(pk, nullptr);
    EXPECT_EQ(pk->Number, 1);
    EXPECT_DOUBLE_EQ(pk->Hz, 30.0);
    EXPECT_DOUBLE_EQ(pk->GainDb, -10.2);
    EXPECT_DOUBLE_EQ(pk->Q, 0.999);
    const ImportedFilter* lsq = FilterAt(set, 3);
    ASSERT_NE(lsq, nullptr);
    EXPECT_EQ(lsq->Kind, ImportedKind::LowShelf);
    EXPECT_EQ(lsq->Width, ShelfWidth::Q);
    EXPECT_DOUBLE_EQ(lsq->Q, 0.7);
    EXPECT_EQ(FilterAt(set, 5)->Width, ShelfWidth::Slope);
    EXPECT_DOUBLE_EQ(FilterAt(set, 6)->GainDb, -1.5);
    EXPECT_DOUBLE_EQ(FilterAt(set, 6)->Q, 0.9);
    EXPECT_FALSE(FilterAt(set, 4)->On);
    const ImportedFilter* ls = FilterAt(set, 10);
    ASSERT_NE(ls, nullptr);
    EXPECT_EQ(ls->Kind, ImportedKind::LowShelf);
    EXPECT_EQ(ls->Width, ShelfWidth::Slope);
    EXPECT_DOUBLE_EQ(ls->GainDb, 3.5);
}

TEST(FilterText, ReadsEqualizerApoAndAutoEqText)
{
    const FilterSet set = ParseFilterText(QStringLiteral(
        "Preamp: -6.2 dB\n"                                           // 1
        "# Filter 99: ON PK Fc 50 Hz Gain 3 dB Q 1\n"                  // 2
        "Filter 1: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.70\n"              // 3
        "Filter 2: ON PK Fc 1000 Hz Gain -3.0 dB Q 2.00\n"             // 4
        "Filter: ON PK Fc 1,549 Hz Gain +2 dB Q 1,5\n"                 // 5
        "Filter 4 ON PK Fc 22 Hz Gain -4,7 dB Q 0,4\n"                 // 6
        "Filter 5: ON LSC 10.8 dB Fc 300 Hz Gain 5.0 dB\n"             // 7
        "Filter:\tON\tHS\tFc\t12000\tHz\tGain\t-2\tdB\n"               // 8
        "Filter 10: ON HSC Fc 10000 Hz Gain -0.9 dB Q 0.7\n"           // 9
        "Filter 11: OFF PK Fc 3000 Hz Gain 4 dB Q 1\n"                 // 10
        "Filter 12: ON LS 12dB Fc 2000 Hz Gain -5.0 dB\n"              // 11
        "Filter 13: ON AP Fc 500 Hz Q 0.7\n"                           // 12
        "Filter 14: ON BP Fc 500 Hz Q 0.7\n"                           // 13
        "Filter 15:   ON   PK   Fc 1.000 Hz   Gain 1dB   Q 1\n"        // 14
        "Channel: L\n"                                                 // 15
        "Filter 16: ON XYZ Fc 100 Hz Gain 1 dB\n"                      // 16
        "Filter 17: ON PK Gain 1 dB Q 1\n"                             // 17
        "Filter 18: ON PK Fc 100 Hz Gain 1 dB\n"                       // 18
        "Filter 19: ON PK Fc 100 Hz Gain 1 dB BW Oct 1.0\n"            // 19
        "Filter 20: PK Fc 100 Hz Gain 1 dB Q 1\n"                      // 20
        "Filter 21: ON PK Fc 30000 Hz Gain 1 dB Q 1\n"                 // 21
        "Filter 22: ON LSC 100 dB Fc 100 Hz Gain 12 dB\n"              // 22
        "Preamp: +1 dB\n"                                              // 23
        "some text\n"                                                  // 24
        "Filter 23: ON HSC 6 dB Fc 4000 Hz Gain -3 dB\n"));            // 25

    EXPECT_EQ(set.Format, FilterTextFormat::EqualizerApo);
    EXPECT_TRUE(set.HasPreamp);
    EXPECT_DOUBLE_EQ(set.PreampDb, -5.2);  // Preamp lines add up
    EXPECT_EQ(ReportOf(set, 2), nullptr);  // a comment is the writer's own

    const ImportedFilter* lsc = FilterAt(set, 3);
    ASSERT_NE(lsc, nullptr);
    EXPECT_EQ(lsc->Kind, ImportedKind::LowShelf);
    EXPECT_EQ(lsc->Width, ShelfWidth::Q);
    EXPECT_DOUBLE_EQ(lsc->Q, 0.7);
    EXPECT_DOUBLE_EQ(lsc->GainDb, 5.5);

    const ImportedFilter* thousands = FilterAt(set, 5);
    ASSERT_NE(thousands, nullptr);
    EXPECT_EQ(thousands->Number, 0);
    EXPECT_DOUBLE_EQ(thousands->Hz, 1549.0);
    EXPECT_DOUBLE_EQ(thousands->GainDb, 2.0);
    EXPECT_DOUBLE_EQ(thousands->Q, 1.5);

    const ImportedFilter* noColon = FilterAt(set, 6);
    ASSERT_NE(noColon, nullptr);
    EXPECT_EQ(noColon->Number, 4);
    EXPECT_DOUBLE_EQ(noColon->GainDb, -4.7);
    EXPECT_DOUBLE_EQ(noColon->Q, 0.4);

    const ImportedFilter* slope = FilterAt(set, 7);
    ASSERT_NE(slope, nullptr);
    EXPECT_EQ(slope->Width, ShelfWidth::Slope);
    EXPECT_DOUBLE_EQ(slope->SlopeDb, 10.8);

    const ImportedFilter* tabs = FilterAt(set, 8);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Kind, ImportedKind::HighShelf);
    EXPECT_DOUBLE_EQ(tabs->Hz, 12000.0);
    EXPECT_EQ(tabs->Width, ShelfWidth::Slope);

    EXPECT_FALSE(FilterAt(set, 10)->On);
    ExpectOutcome(set, 10, LineOutcome::Skipped, "off");
    EXPECT_EQ(FilterAt(set, 11)->Width, ShelfWidth::Corner);
    ExpectOutcome(set, 12, LineOutcome::Unsupported, "all-pass");
    ExpectOutcome(set, 13, LineOutcome::Unsupported, "band-pass");
    EXPECT_DOUBLE_EQ(FilterAt(set, 14)->Hz, 1000.0);
    ExpectOutcome(set, 15, LineOutcome::Unsupported, "channel");
    ExpectOutcome(set, 16, LineOutcome::NotUnderstood, "XYZ");
    ExpectOutcome(set, 17, LineOutcome::NotUnderstood, "frequency");
    ExpectOutcome(set, 18, LineOutcome::NotUnderstood, "Q");
    ASSERT_NE(FilterAt(set, 19), nullptr);  // a bandwidth stands in for the Q
    EXPECT_NEAR(FilterAt(set, 19)->Q, 1.41, 0.01);
    ExpectOutcome(set, 20, LineOutcome::NotUnderstood, "ON or OFF");
    ExpectOutcome(set, 21, LineOutcome::NotUnderstood, "24000");
    ExpectOutcome(set, 22, LineOutcome::NotUnderstood, "steep");
    ExpectOutcome(set, 24, LineOutcome::NotUnderstood, "not a filter line");
    const ImportedFilter* hsc = FilterAt(set, 25);
    ASSERT_NE(hsc, nullptr);
    EXPECT_EQ(hsc->Kind, ImportedKind::HighShelf);
    EXPECT_EQ(hsc->Width, ShelfWidth::Slope);
    EXPECT_DOUBLE_EQ(hsc->SlopeDb, 6.0);

    // Only the readable filters, ON and OFF, and nothing else.
    EXPECT_EQ(set.Filters.size(), 12u);
    for (const ImportedFilter& f : set.Filters)
        ExpectOutcome(set, f.Line, f.On ? LineOutcome::Read : LineOutcome::Skipped);
}
