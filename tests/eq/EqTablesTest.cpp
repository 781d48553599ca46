// The value tables and the reset block are data the units depend on: every
// entry is checked against an independent copy held here, and the tables'
// shape (the scales they follow) is checked as well.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"
#include "eq/EqEncoding.h"
#include "eq/EqTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>

namespace qireq {
namespace {

const double kExpectedFrequencies[] = {
    19.7, 20.1, 20.6, 21.1, 21.6, 22.1, 22.6, 23.1, 23.7, 24.2,  // 0
    24.8, 25.4, 26, 26.6, 27.2, 27.8, 28.5, 29.2, 29.8, 30.5,  // 10
    31.2, 32, 32.7, 33.5, 34.3, 35.1, 35.9, 36.7, 37.6, 38.5,  // 20
    39.4, 40.3, 41.2, 42.2, 43.2, 44.2, 45.2, 46.3, 47.4, 48.5,  // 30
    49.6, 50.8, 52, 53.2, 54.4, 55.7, 57, 58.3, 59.7, 61.1,  // 40
    62.5, 64, 65.5, 67, 68.6, 70.2, 71.8, 73.5, 75.2, 76.9,  // 50
    78.7, 80.6, 82.5, 84.4, 86.4, 88.4, 90.5, 92.6, 94.7, 96.9,  // 60
    99.2, 101.5, 103.9, 106.3, 108.8, 111.4, 114, 116.6, 119.4, 122.1,  // 70
    125, 127.9, 130.9, 134, 137.1, 140.3, 143.6, 146.9, 150.4, 153.9,  // 80
    157.5, 161.2, 164.9, 168.8, 172.7, 176.8, 180.9, 185.1, 189.5, 193.9,  // 90
    198.4, 203.1, 207.8, 212.7, 217.6, 222.7, 227.9, 233.3, 238.7, 244.3,  // 100
    250, 255.8, 261.8, 267.9, 274.2, 280.6, 287.2, 293.9, 300.8, 307.8,  // 110
    315, 322.3, 329.9, 337.6, 345.5, 353.6, 361.8, 370.3, 378.9, 387.8,  // 120
    396.9, 406.1, 415.6, 425.3, 435.3, 445.4, 455.9, 466.5, 477.4, 488.6,  // 130
    500, 511.7, 523.6, 535.9, 548.4, 561.2, 574.3, 587.8, 601.5, 615.6,  // 140
    630, 644.7, 659.8, 675.2, 691, 707.1, 723.6, 740.5, 757.9, 775.6,  // 150
    793.7, 812.3, 831.2, 850.7, 870.6, 890.9, 911.7, 933, 954.8, 977.2,  // 160
    1000, 1030, 1050, 1080, 1100, 1130, 1150, 1180, 1210, 1240,  // 170
    1260, 1290, 1320, 1360, 1390, 1420, 1450, 1490, 1520, 1560,  // 180
    1590, 1630, 1670, 1710, 1750, 1790, 1830, 1870, 1910, 1960,  // 190
    2010, 2050, 2100, 2150, 2200, 2250, 2300, 2360, 2410, 2470,  // 200
    2520, 2580, 2640, 2710, 2770, 2830, 2900, 2970, 3040, 3110,  // 210
    3180, 3250, 3330, 3410, 3490, 3570, 3650, 3740, 3820, 3910,  // 220
    4010, 4100, 4190, 4290, 4390, 4490, 4600, 4710, 4820, 4930,  // 230
    5040, 5160, 5280, 5410, 5530, 5660, 5790, 5930, 6070, 6210,  // 240
    6350, 6500, 6650, 6810, 6970, 7130, 7300, 7470, 7640, 7820,  // 250
    8010, 8190, 8380, 8580, 8780, 8980, 9190, 9410, 9630, 9850,  // 260
    10080, 10320, 10560, 10810, 11060, 11320, 11580, 11850, 12130, 12410,  // 270
    12700, 13000, 13300, 13620, 13930, 14260, 14590, 14930, 15280, 15640,  // 280
    16000, 16380, 16760, 17150, 17550, 17960, 18380, 18810, 19250, 19700,  // 290
    20160,  // 300
};
const double kExpectedQs[] = {
    0.4, 0.42, 0.45, 0.47, 0.5, 0.53, 0.56, 0.59, 0.63, 0.67,  // 0
    0.71, 0.75, 0.79, 0.84, 0.89, 0.94, 1, 1.06, 1.12, 1.19,  // 10
    1.26, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9, 2, 2.1,  // 20
    2.1, 2.4, 2.5, 2.7, 2.8, 3, 3.2, 3.4, 3.6, 3.8,  // 30
    4, 4.2, 4.5, 4.8, 5, 5.3, 5.7, 6, 6.3, 6.7,  // 40
    7.1, 7.6, 8, 8.5, 9, 9.5, 10.1, 10.7, 11.3, 12,  // 50
    12.7, 13.5, 14, 15, 16, 17, 18, 19, 20, 21,  // 60
    23, 24, 25, 27, 29, 30, 32, 34, 36, 38,  // 70
    40, 43, 45, 48, 51, 54, 57, 60, 64, 68,  // 80
    72, 76, 81, 85, 91, 96, 102, 108, 114, 121,  // 90
    128,  // 100
};
const std::uint8_t kExpectedResetBlock[] = {
    0x01, 0x20, 0x03, 0x40, 0x4A, 0x14, 0x00, 0x79, 0x00, 0x00, 0x01, 0x1E, 0x00, 0x63, 0x30, 0x01,  // 0
    0x01, 0x00, 0x00, 0x18, 0x00, 0x00, 0x01, 0x00, 0x32, 0x18, 0x00, 0x00, 0x01, 0x01, 0x00, 0x18,  // 16
    0x00, 0x00, 0x01, 0x01, 0x32, 0x18, 0x00, 0x00, 0x01, 0x02, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00,  // 32
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1C, 0x47, 0x50, 0x00, 0x8C, 0x8B, 0xD5, 0x00,  // 48
    0xC8, 0x10, 0x00, 0x00, 0x47, 0x61, 0x69, 0x01, 0x05, 0x60,  // 64
};

static_assert(std::size(kExpectedFrequencies) == 301);
static_assert(std::size(kExpectedQs) == 101);
static_assert(std::size(kExpectedResetBlock) == kEqBlockSize);

TEST(EqTables, FrequencyTableHoldsEveryStepExactly)
{
    for (std::size_t k = 0; k < FrequencyTable.size(); ++k)
        EXPECT_EQ(FrequencyTable[k], kExpectedFrequencies[k]) << "step " << k;
}

TEST(EqTables, FrequencyTableFollowsThirtyStepsPerOctaveAroundOneKilohertz)
{
    EXPECT_EQ(FrequencyTable[kShelfStep], 1000.0);
    EXPECT_EQ(FrequencyTable[171], 1030.0);  // taken up to the next ten, not 1020
    EXPECT_EQ(FrequencyTable.front(), 19.7);
    EXPECT_EQ(FrequencyTable.back(), 20160.0);
    for (std::size_t k = 1; k < FrequencyTable.size(); ++k)
        EXPECT_LT(FrequencyTable[k - 1], FrequencyTable[k]) << "step " << k;
    for (int k = 0; k <= kMaxFreqStep; ++k) {
        const double ideal = 1000.0 * std::pow(2.0, (k - 170) / 30.0);
        EXPECT_NEAR(FrequencyTable[static_cast<std::size_t>(k)] / ideal, 1.0, 0.01) << "step " << k;
    }
}

TEST(EqTables, QTableHoldsEveryStepExactly)
{
    for (std::size_t k = 0; k < QTable.size(); ++k)
        EXPECT_EQ(QTable[k], kExpectedQs[k]) << "step " << k;
}

TEST(EqTables, QTableRisesTwelveStepsPerDoublingWithStepThirtyRepeated)
{
    EXPECT_EQ(QTable[16], 1.0);
    EXPECT_EQ(QTable[29], 2.1);
    EXPECT_EQ(QTable[30], 2.1);
    EXPECT_EQ(QTable.front(), 0.4);
    EXPECT_EQ(QTable.back(), 128.0);
    for (std::size_t k = 1; k < QTable.size(); ++k) {
        if (k == 30)
            continue;
        EXPECT_LT(QTable[k - 1], QTable[k]) << "step " << k;
    }
    for (int k = 0; k <= kMaxQStep; ++k) {
        if (k == 30)
            continue;
        const double ideal = std::pow(2.0, (k - 16) / 12.0);
        EXPECT_NEAR(QTable[static_cast<std::size_t>(k)] / ideal, 1.0, 0.04) << "step " << k;
    }
}

TEST(EqTables, TrimCodeIsTwiceTheTrimAbove121)
{
    ASSERT_EQ(TrimCodeTable.size(), 19u);
    for (int trim = kMinTrim; trim <= kMaxTrim; ++trim)
        EXPECT_EQ(TrimCodeTable[static_cast<std::size_t>(-trim)], 121 + 2 * trim) << "trim " << trim;
    EXPECT_EQ(TrimCodeTable.front(), 0x79);
    EXPECT_EQ(TrimCodeTable.back(), 0x55);
}

TEST(ResetBlock, HoldsEveryByteAsUnitsExpect)
{
    for (std::size_t i = 0; i < ResetBlock.size(); ++i)
        EXPECT_EQ(ResetBlock[i], kExpectedResetBlock[i]) << "offset " << i;
}

TEST(ResetBlock, DecodesToFlatPeaksAtTheStartupFrequencies)
{
    EXPECT_EQ(DecodeTrim(ResetBlock[kBlockTrimOffset]), 0);
    EXPECT_EQ(ResetBlock[kBlockBypassOffset], 0);
    for (int i = 0; i < kBandCount; ++i) {
        const DecodedBand band = DecodeBandRecord(&ResetBlock[static_cast<std::size_t>(BandRecordOffset(i))]);
        EXPECT_EQ(band.BandType, kPeak) << "band " << i + 1;
        EXPECT_EQ(band.BandFreq, 50 * i) << "band " << i + 1;
        EXPECT_EQ(band.BandQ, 0) << "band " << i + 1;  // unlike the start-up Q step 35
        EXPECT_EQ(GainCodeThroughSlider(band.GainCode), kFlatGainCode) << "band " << i + 1;
        EXPECT_EQ(band.BandOff, 0) << "band " << i + 1;
    }
}

TEST(StartupState, BandsArePeaksAtFiftyStepIntervalsWithQThree)
{
    const EqState state;
    EXPECT_EQ(state.Trim, 0);
    EXPECT_FALSE(state.Bypass);
    for (int b = 1; b <= kBandCount; ++b) {
        const EqBand& band = state.Bands[static_cast<std::size_t>(b - 1)];
        EXPECT_EQ(band.BandType, kPeak);
        EXPECT_EQ(band.BandFreq, 50 * (b - 1));
        EXPECT_EQ(band.BandQ, 35);
        EXPECT_EQ(QOf(band.BandQ), 3.0);
        EXPECT_EQ(band.BandGain, kFlatGainCode);
        EXPECT_EQ(band.BandOff, 0);
        EXPECT_EQ(band.BandOffShown, 0);
    }
    EXPECT_EQ(FrequencyOf(state.Bands[4].BandFreq), 2010.0);
    // A band number outside 1..5 still gives a legal band.
    EXPECT_EQ(StartupBand(0).BandFreq, 0);
    EXPECT_EQ(StartupBand(99).BandFreq, 200);
}

}  // namespace
}  // namespace qireq
