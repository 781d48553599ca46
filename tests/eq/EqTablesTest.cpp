// The value tables and the reset block are data the units depend on: the
// tables' shape (the scales they follow, their ends and anchors) is checked,
// and one checksum of each pins every entry; the reset block is checked
// byte by byte against a copy held here.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"
#include "eq/EqEncoding.h"
#include "eq/EqTables.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace qireq {
namespace {

const std::uint8_t kExpectedResetBlock[] = {
    0x01, 0x20, 0x03, 0x40, 0x4A, 0x14, 0x00, 0x79, 0x00, 0x00, 0x01, 0x1E, 0x00, 0x63, 0x30, 0x01,  // 0
    0x01, 0x00, 0x00, 0x18, 0x00, 0x00, 0x01, 0x00, 0x32, 0x18, 0x00, 0x00, 0x01, 0x01, 0x00, 0x18,  // 16
    0x00, 0x00, 0x01, 0x01, 0x32, 0x18, 0x00, 0x00, 0x01, 0x02, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00,  // 32
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1C, 0x47, 0x50, 0x00, 0x8C, 0x8B, 0xD5, 0x00,  // 48
    0xC8, 0x10, 0x00, 0x00, 0x47, 0x61, 0x69, 0x01, 0x05, 0x60,  // 64
};

static_assert(std::size(kExpectedResetBlock) == kEqBlockSize);

// Every entry is a number of hundredths, held as the double nearest to it.
template <std::size_t N>
void ExpectWholeHundredths(const std::array<double, N>& table)
{
    for (std::size_t k = 0; k < N; ++k)
        EXPECT_EQ(table[k], static_cast<double>(std::llround(table[k] * 100.0)) / 100.0)
            << "step " << k;
}

// FNV-1a over the entries in hundredths, in order: any entry changed, moved,
// added or dropped changes it. With ExpectWholeHundredths it pins every
// entry exactly, as the units need.
template <std::size_t N>
std::uint64_t Checksum(const std::array<double, N>& table)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const double value : table) {
        const auto hundredths = static_cast<std::uint64_t>(std::llround(value * 100.0));
        for (int byte = 0; byte < 8; ++byte) {
            hash ^= (hundredths >> (8 * byte)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

TEST(EqTables, FrequencyTableHoldsEveryStepExactly)
{
    ExpectWholeHundredths(FrequencyTable);
    EXPECT_EQ(Checksum(FrequencyTable), 0x1e93ab40455bfcdeull);
}

TEST(EqTables, FrequencyTableFollowsThirtyStepsPerOctaveAroundOneKilohertz)
{
    EXPECT_EQ(FrequencyTable[kShelfStep], 1000.0);
    EXPECT_EQ(FrequencyTable[171], 1030.0);  // taken up to the next ten, not 1020
    EXPECT_EQ(FrequencyTable[140], 500.0);
    EXPECT_EQ(FrequencyTable[110], 250.0);
    EXPECT_EQ(FrequencyTable[290], 16000.0);
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
    ExpectWholeHundredths(QTable);
    EXPECT_EQ(Checksum(QTable), 0x825be547e29d2223ull);
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
