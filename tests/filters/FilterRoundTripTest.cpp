// Export then import: any preset comes back as the block the window's Save As
// would write after opening it, every band with exactly its steps.
#include "eq/EqEncoding.h"
#include "filters/FilterExport.h"
#include "filters/FilterImport.h"
#include "filters/ImportReport.h"
#include "presets/PresetRecord.h"

#include <gtest/gtest.h>

#include <random>

using namespace qireq;

namespace {

// What Save As writes for a block the window has opened.
EqBlock SavedAfterOpening(const EqBlock& block)
{
    EqBlock saved = NewSavingRecord();
    FillSavingRecord(saved, ShownEqOf(block), false);
    return saved;
}

// A preset as the window saves them: every value in range.
EqBlock RandomSavedPreset(std::mt19937& rng)
{
    EqState eq;
    eq.Trim = -static_cast<int>(rng() % 19);
    eq.Bypass = rng() % 4 == 0;
    for (EqBand& band : eq.Bands) {
        band.BandType = static_cast<int>(rng() % 3);
        band.BandFreq = ShelfFix(band.BandType, static_cast<int>(rng() % 301));
        band.BandQ = static_cast<int>(rng() % 101);
        band.BandGain = 2 * static_cast<int>(rng() % 25);
        band.BandOff = rng() % 3 == 0 ? 1 : 0;
    }
    EqBlock block = NewSavingRecord();
    FillSavingRecord(block, eq, false);
    return block;
}

// Any bytes at all behind the signature: odd gain codes, unknown types,
// steps past the tables, shelves on the wrong side, stray trim codes.
EqBlock RandomBytes(std::mt19937& rng)
{
    EqBlock block;
    for (std::uint8_t& byte : block)
        byte = static_cast<std::uint8_t>(rng());
    block[0] = 0x01;
    block[5] = 0x14;
    for (int b = 0; b < kBandCount; ++b) {
        const std::size_t at = static_cast<std::size_t>(BandRecordOffset(b));
        block[at] = static_cast<std::uint8_t>(rng() % 8);       // types 0..7
        block[at + 1] = static_cast<std::uint8_t>(rng() % 4);   // steps up to 399
        block[at + 2] = static_cast<std::uint8_t>(rng() % 100);
        block[at + 3] = static_cast<std::uint8_t>(rng() % 64);  // gain codes past 48
        block[at + 4] = static_cast<std::uint8_t>(rng() % 128);
    }
    return block;
}

void ExpectRoundTrip(const EqBlock& preset, const char* what, int n)
{
    const QString text = ExportEqualizerApo(preset);
    const ImportResult r = ImportFilterText(text);
    ASSERT_TRUE(r.FromUnitNotes) << what << " " << n << "\n"
                                 << r.Notes.join(QLatin1Char('\n')).toStdString() << "\n"
                                 << text.toStdString();
    ASSERT_EQ(r.Block, SavedAfterOpening(preset)) << what << " " << n << "\n" << text.toStdString();
    for (const LineReport& line : r.Parsed.Lines)
        ASSERT_TRUE(line.Outcome == LineOutcome::Read || line.Outcome == LineOutcome::Skipped)
            << line.Text.toStdString() << ": " << line.Reason.toStdString();
    ASSERT_LT(r.Difference.MaxDb, 0.02);
}

}  // namespace

TEST(FilterRoundTrip, EveryPresetComesBackExactly)
{
    std::mt19937 rng(20240601);
    for (int n = 0; n < 300; ++n) {
        const EqBlock saved = RandomSavedPreset(rng);
        ASSERT_EQ(SavedAfterOpening(saved), saved);  // already in the window's form
        ExpectRoundTrip(saved, "saved preset", n);
    }
    for (int n = 0; n < 300; ++n)
        ExpectRoundTrip(RandomBytes(rng), "random bytes", n);
}

TEST(FilterRoundTrip, TheResetBlockKeepsEveryFieldTheWindowReads)
{
    const ImportResult r = ImportFilterText(ExportEqualizerApo(ResetBlock));
    ASSERT_TRUE(r.FromUnitNotes);
    EXPECT_EQ(r.Block[kBlockTrimOffset], ResetBlock[kBlockTrimOffset]);
    EXPECT_EQ(r.Block[kBlockBypassOffset], ResetBlock[kBlockBypassOffset]);
    for (int i = BandRecordOffset(0); i < BandRecordOffset(kBandCount); ++i)
        EXPECT_EQ(r.Block[static_cast<std::size_t>(i)], ResetBlock[static_cast<std::size_t>(i)]) << i;
    // The unit-setting bytes and 46..70 are those of a saved preset.
    EXPECT_EQ(r.Block, SavedAfterOpening(ResetBlock));
}

TEST(FilterRoundTrip, ExportIsEqualizerApoTextWithTheUnitsValuesBeside)
{
    EqState eq;
    eq.Trim = -3;
    eq.Bands[0] = {kPeak, 170, 35, 12, 0, 0, 6};           // 1000 Hz, Q 3.00, +6 dB
    eq.Bands[1] = {kLowShelf, 70, 0, 32, 1, 1, -4};        // 99.2 Hz, -4 dB, off
    eq.Bands[2] = {kHighShelf, 250, 30, 20, 0, 0, 2};      // 6350 Hz, +2 dB
    EqBlock block = NewSavingRecord();
    FillSavingRecord(block, eq, false);
    const QStringList lines = ExportEqualizerApo(block).split(QLatin1Char('\n'));
    EXPECT_EQ(lines[0], QStringLiteral("# QIR-EQ Master EQ: trim -3 dB, bypass off"));
    EXPECT_EQ(lines[2], QStringLiteral("Preamp: -3 dB"));
    // The unit's Q 3.00 at 6 dB is the cookbook Q 3 / 10^(6/40).
    EXPECT_EQ(lines[3], QStringLiteral("Filter 1: ON PK Fc 1000 Hz Gain 6 dB Q 2.1238"));
    EXPECT_EQ(lines[4],
              QStringLiteral("# QIR-EQ band 1: Peak, 1000.0 Hz (step 170), Q 3.00 (step 35), +6 dB"));
    EXPECT_TRUE(lines[5].startsWith(QLatin1String("Filter 2: OFF LSC 12 dB Fc 11")));
    EXPECT_EQ(lines[7], QStringLiteral("Filter 3: ON HSC 12 dB Fc 6031.44 Hz Gain 2 dB"));

    // Edited by hand, a filter no longer matches its note: the text is
    // fitted instead, and the report says why.
    QString edited = ExportEqualizerApo(block);
    edited.replace(QLatin1String("Gain 6 dB Q 2.1238"), QLatin1String("Gain 4 dB Q 2.1238"));
    const ImportResult r = ImportFilterText(edited);
    EXPECT_FALSE(r.FromUnitNotes);
    EXPECT_TRUE(RenderImportReport(r).contains(QLatin1String("does not match the filter of line 4")));
    EXPECT_EQ(ShownGainDb(r.Eq.Bands[0].BandGain), 4);
    EXPECT_LT(r.Difference.MaxDb, 0.6);
}
