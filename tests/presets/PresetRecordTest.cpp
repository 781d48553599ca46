#include "presets/PresetRecord.h"

#include <gtest/gtest.h>

using namespace qireq;

TEST(PresetRecord, SavingRecordCarriesHeaderFixedBytesAndTrailer)
{
    const EqBlock record = NewSavingRecord();
    const std::uint8_t header[] = {0x01, 0x20, 0x03, 0x40, 0x4A, 0x14, 0x01};
    for (std::size_t i = 0; i < sizeof header; ++i)
        EXPECT_EQ(record[i], header[i]) << i;
    EXPECT_EQ(record[11], 0x1E);
    EXPECT_EQ(record[12], 0x00);
    EXPECT_EQ(record[13], 0x63);
    EXPECT_EQ(record[71], 0x01);
    EXPECT_EQ(record[72], 0x05);
    EXPECT_EQ(record[73], 0x60);
    EXPECT_TRUE(HasPresetSignature(record));
    EXPECT_FALSE(HasPresetSignature(NewLoadRecord()));
}

TEST(PresetRecord, FillsTrimBypassAndBandsFromTheEditor)
{
    EqState eq;
    eq.Trim = -18;
    eq.Bypass = true;
    eq.Bands[0].BandType = kPeak;
    eq.Bands[0].BandFreq = 215;
    eq.Bands[0].BandGain = 12;  // +6 dB
    eq.Bands[0].BandQ = 20;
    eq.Bands[0].BandOff = 0;
    EqBlock record = NewSavingRecord();
    FillSavingRecord(record, eq, false);

    EXPECT_EQ(record[7], 0x55);
    EXPECT_EQ(record[9], 0x01);
    const std::uint8_t band1[] = {0x01, 0x02, 0x0F, 0x0C, 0x14, 0x00};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(record[static_cast<std::size_t>(16 + i)], band1[i]) << i;
    EXPECT_EQ(record[8], 0x00);
    EXPECT_EQ(record[10], 0x01);
    EXPECT_EQ(record[14], 0x30);
    EXPECT_EQ(record[15], 0x01);
    // Band 5 at its start-up value: Peak, step 200, flat, Q step 35, on.
    const std::uint8_t band5[] = {0x01, 0x02, 0x00, 0x18, 0x23, 0x00};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(record[static_cast<std::size_t>(40 + i)], band5[i]) << i;
}

TEST(PresetRecord, OffByteIsTheFlagTheEditorShows)
{
    EqState eq;
    eq.Bands[2].BandOff = 1;
    eq.Bands[2].BandOffShown = 0;
    eq.Bands[3].BandType = kLowShelf;
    eq.Bands[4].BandType = kHighShelf;
    EqBlock record = NewSavingRecord();

    FillSavingRecord(record, eq, false);
    EXPECT_EQ(record[static_cast<std::size_t>(BandRecordOffset(2) + 5)], 1);
    FillSavingRecord(record, eq, true);
    EXPECT_EQ(record[static_cast<std::size_t>(BandRecordOffset(2) + 5)], 0);
    EXPECT_EQ(record[static_cast<std::size_t>(BandRecordOffset(3))], 5);
    EXPECT_EQ(record[static_cast<std::size_t>(BandRecordOffset(4))], 4);
}

TEST(PresetRecord, FileNameGetsBinUnlessItEndsInExactlyBin)
{
    EXPECT_EQ(PresetFileName("eq"), "eq.bin");
    EXPECT_EQ(PresetFileName("eq.BIN"), "eq.BIN.bin");
    EXPECT_EQ(PresetFileName("eq.bin"), "eq.bin");
    EXPECT_EQ(PresetFileName("/tmp/my.bin.txt"), "/tmp/my.bin.txt.bin");
}
