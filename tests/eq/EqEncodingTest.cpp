// Byte encodings of the EQ and the conversions between steps, codes and
// physical values. Decoding must accept every byte a unit could send.
#include "eq/EqBand.h"
#include "eq/EqEncoding.h"
#include "eq/EqTables.h"
#include "eq/EqValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace qireq {
namespace {

BandRecord Record(int type, int hi, int lo, int gain, int q, int off)
{
    return BandRecord{static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(hi),
                      static_cast<std::uint8_t>(lo), static_cast<std::uint8_t>(gain),
                      static_cast<std::uint8_t>(q), static_cast<std::uint8_t>(off)};
}

DecodedBand Decode(const BandRecord& record)
{
    return DecodeBandRecord(record.data());
}

TEST(TypeCodes, OnlyFourAndFiveAreShelvesEverythingElseIsPeak)
{
    for (int code = 0; code <= 255; ++code) {
        const int expected = code == 4 ? kHighShelf : code == 5 ? kLowShelf : kPeak;
        EXPECT_EQ(DecodeType(static_cast<std::uint8_t>(code)), expected) << "code " << code;
    }
    EXPECT_EQ(EncodeType(kHighShelf), 4);
    EXPECT_EQ(EncodeType(kPeak), 1);
    EXPECT_EQ(EncodeType(kLowShelf), 5);
    for (int type = 0; type < 3; ++type)
        EXPECT_EQ(DecodeType(EncodeType(type)), type);
    // Any index names a real type: the type button counts modulo 3.
    EXPECT_EQ(EncodeType(3), 4);
    EXPECT_EQ(EncodeType(-1), 5);
    EXPECT_EQ(EncodeType(std::numeric_limits<int>::min()), EncodeType(std::numeric_limits<int>::min() % 3 + 3));
}

TEST(BandRecordDecoding, FrequencyBytesAreLimitedToTheTable)
{
    EXPECT_EQ(Decode(Record(1, 3, 1, 24, 35, 0)).BandFreq, 300);  // 301 held at 20160 Hz
    EXPECT_EQ(Decode(Record(1, 2, 99, 24, 35, 0)).BandFreq, 299);
    EXPECT_EQ(Decode(Record(1, 3, 0, 24, 35, 0)).BandFreq, 300);
    EXPECT_EQ(Decode(Record(1, 0, 0, 24, 35, 0)).BandFreq, 0);
    EXPECT_EQ(Decode(Record(1, 255, 255, 24, 35, 0)).BandFreq, 300);
    // A low part above 99 still just adds up.
    EXPECT_EQ(Decode(Record(1, 1, 150, 24, 35, 0)).BandFreq, 250);
}

TEST(BandRecordDecoding, ShelvesOnTheWrongSideOfOneKilohertzMoveToIt)
{
    EXPECT_EQ(Decode(Record(4, 1, 0, 24, 35, 0)).BandFreq, 170);   // High Shelf at 100
    EXPECT_EQ(Decode(Record(4, 1, 70, 24, 35, 0)).BandFreq, 170);
    EXPECT_EQ(Decode(Record(4, 3, 0, 24, 35, 0)).BandFreq, 300);
    EXPECT_EQ(Decode(Record(5, 1, 71, 24, 35, 0)).BandFreq, 170);  // Low Shelf at 171
    EXPECT_EQ(Decode(Record(5, 3, 1, 24, 35, 0)).BandFreq, 170);   // limited first, then fixed
    EXPECT_EQ(Decode(Record(5, 0, 0, 24, 35, 0)).BandFreq, 0);
    for (int step = 0; step <= kMaxFreqStep; ++step)
        EXPECT_EQ(Decode(Record(1, step / 100, step % 100, 24, 35, 0)).BandFreq, step);
}

TEST(BandRecordDecoding, QOffAndGainFields)
{
    const DecodedBand band = Decode(Record(1, 0, 50, 23, 200, 7));
    EXPECT_EQ(band.BandType, kPeak);
    EXPECT_EQ(band.BandQ, 100);
    EXPECT_EQ(band.BandOff, 1);
    EXPECT_EQ(band.GainCode, 23);  // raw: it reaches the band through the slider
    EXPECT_EQ(GainCodeThroughSlider(band.GainCode), 24);
    EXPECT_EQ(Decode(Record(1, 0, 50, 24, 100, 0)).BandQ, 100);
    EXPECT_EQ(Decode(Record(1, 0, 50, 24, 0, 0)).BandOff, 0);
    EXPECT_EQ(Decode(Record(1, 0, 50, 24, 0, 255)).BandOff, 1);
}

TEST(BandRecordDecoding, EveryRecordGivesALegalBand)
{
    // Sweep the bytes that matter in combination; the others are checked above.
    for (int type = 0; type <= 255; ++type) {
        for (int hi = 0; hi <= 255; hi += 3) {
            for (int lo = 0; lo <= 255; lo += 7) {
                const DecodedBand band = Decode(Record(type, hi, lo, 255, 255, 255));
                ASSERT_GE(band.BandType, 0);
                ASSERT_LE(band.BandType, 2);
                ASSERT_GE(band.BandFreq, 0);
                ASSERT_LE(band.BandFreq, kMaxFreqStep);
                ASSERT_EQ(ShelfFix(band.BandType, band.BandFreq), band.BandFreq);
                ASSERT_EQ(band.BandQ, kMaxQStep);
            }
        }
    }
}

TEST(ShelfRule, FixUpIsAlwaysStep170AndPeakKeepsAnyStep)
{
    EXPECT_EQ(ShelfFix(kHighShelf, 169), 170);
    EXPECT_EQ(ShelfFix(kHighShelf, 170), 170);
    EXPECT_EQ(ShelfFix(kHighShelf, 171), 171);
    EXPECT_EQ(ShelfFix(kHighShelf, 0), 170);
    EXPECT_EQ(ShelfFix(kLowShelf, 171), 170);
    EXPECT_EQ(ShelfFix(kLowShelf, 170), 170);
    EXPECT_EQ(ShelfFix(kLowShelf, 169), 169);
    EXPECT_EQ(ShelfFix(kLowShelf, 300), 170);
    for (int step = 0; step <= kMaxFreqStep; ++step)
        EXPECT_EQ(ShelfFix(kPeak, step), step);
    // Steps outside the table are limited to it.
    EXPECT_EQ(ShelfFix(kPeak, -5), 0);
    EXPECT_EQ(ShelfFix(kPeak, 1000), 300);
    EXPECT_EQ(ShelfFix(kLowShelf, -5), 0);
    EXPECT_EQ(ShelfFix(kHighShelf, 1000), 300);
}

TEST(TrimCodes, DecodeTruncatesTowardZeroAndEndsAtTheLimits)
{
    EXPECT_EQ(DecodeTrim(121), 0);
    EXPECT_EQ(DecodeTrim(120), 0);
    EXPECT_EQ(DecodeTrim(119), -1);
    EXPECT_EQ(DecodeTrim(118), -1);
    EXPECT_EQ(DecodeTrim(85), -18);
    EXPECT_EQ(DecodeTrim(84), -18);
    EXPECT_EQ(DecodeTrim(0), -18);
    EXPECT_EQ(DecodeTrim(122), 0);
    EXPECT_EQ(DecodeTrim(200), 0);
    EXPECT_EQ(DecodeTrim(255), 0);
    for (int trim = kMinTrim; trim <= kMaxTrim; ++trim) {
        EXPECT_EQ(EncodeTrim(trim), 121 + 2 * trim);
        EXPECT_EQ(DecodeTrim(EncodeTrim(trim)), trim);
    }
    EXPECT_EQ(EncodeTrim(3), 121);
    EXPECT_EQ(EncodeTrim(-19), 85);
    EXPECT_EQ(EncodeTrim(std::numeric_limits<int>::min()), 85);
    EXPECT_EQ(EncodeTrim(std::numeric_limits<int>::max()), 121);
}

TEST(GainCodes, ReceivedCodesPassTheSliderToEvenCodesAndWholeDecibels)
{
    struct Case { int code; int shownDb; int storedCode; };
    const Case cases[] = {
        {24, 0, 24}, {0, 12, 0}, {48, -12, 48}, {25, 0, 24}, {23, 0, 24},
        {1, 11, 2}, {47, -11, 46}, {60, -12, 48}, {255, -12, 48}, {-7, 12, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownGainDb(c.code), c.shownDb) << "code " << c.code;
        EXPECT_EQ(GainCodeThroughSlider(c.code), c.storedCode) << "code " << c.code;
    }
    for (int code = -300; code <= 300; ++code) {
        const int stored = GainCodeThroughSlider(code);
        ASSERT_EQ(stored % 2, 0) << "code " << code;
        ASSERT_GE(stored, 0);
        ASSERT_LE(stored, kMaxGainCode);
    }
    EXPECT_EQ(GainCodeThroughSlider(std::numeric_limits<int>::max()), 48);
    EXPECT_EQ(GainCodeThroughSlider(std::numeric_limits<int>::min()), 0);
}

TEST(GainCodes, SliderPositionsAndDecibels)
{
    for (int position = -12; position <= 12; ++position) {
        const int code = GainCodeFromPosition(position);
        EXPECT_EQ(code, 2 * position + 24);
        EXPECT_EQ(PositionFromGainCode(code), position);
        EXPECT_EQ(GainDbOf(code), -position);  // the top of the slider is +12 dB
    }
    EXPECT_EQ(GainCodeFromPosition(13), 48);
    EXPECT_EQ(GainCodeFromPosition(-100), 0);
    EXPECT_EQ(PositionFromGainCode(1), -11);   // trunc(-11.5)
    EXPECT_EQ(PositionFromGainCode(47), 11);   // trunc(11.5)
    EXPECT_EQ(GainDbOf(0), 12.0);
    EXPECT_EQ(GainDbOf(25), -0.5);
    EXPECT_EQ(GainDbOf(48), -12.0);
    EXPECT_EQ(GainDbOf(200), -12.0);
    EXPECT_EQ(GainDbOf(-1), 12.0);
}

TEST(HzToStep, GivesTheUpperStepOfTheIntervalHoldingTheFrequency)
{
    EXPECT_EQ(HzToStep(1000.0), 171);
    EXPECT_EQ(HzToStep(999.0), 170);
    EXPECT_EQ(HzToStep(19.7), 1);
    EXPECT_EQ(HzToStep(19.0), 0);
    EXPECT_EQ(HzToStep(19700.0), 300);
    EXPECT_EQ(HzToStep(20159.9), 300);
    EXPECT_EQ(HzToStep(20160.0), 300);
    EXPECT_EQ(HzToStep(50000.0), 300);
    for (int k = 0; k < kMaxFreqStep; ++k) {
        const double lower = FrequencyTable[static_cast<std::size_t>(k)];
        const double upper = FrequencyTable[static_cast<std::size_t>(k + 1)];
        EXPECT_EQ(HzToStep(lower), k + 1) << "step " << k;
        EXPECT_EQ(HzToStep((lower + upper) / 2), k + 1) << "step " << k;
        EXPECT_EQ(HzToStep(std::nextafter(upper, 0.0)), k + 1) << "step " << k;
    }
}

TEST(HzToStep, UnusualInputsStayInTheTable)
{
    EXPECT_EQ(HzToStep(0.0), 0);
    EXPECT_EQ(HzToStep(-1000.0), 0);
    EXPECT_EQ(HzToStep(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(HzToStep(std::numeric_limits<double>::infinity()), 300);
    EXPECT_EQ(HzToStep(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(TableLookups, StepsOutsideTheTablesAreLimited)
{
    EXPECT_EQ(FrequencyOf(-5), 19.7);
    EXPECT_EQ(FrequencyOf(301), 20160.0);
    EXPECT_EQ(FrequencyOf(std::numeric_limits<int>::min()), 19.7);
    EXPECT_EQ(FrequencyOf(170), 1000.0);
    EXPECT_EQ(QOf(1000), 128.0);
    EXPECT_EQ(QOf(-1), 0.4);
    EXPECT_EQ(QOf(35), 3.0);
}

TEST(BandEncoding, WritesTheSixByteRecordFromTheUsersFields)
{
    EqBand band;
    band.BandType = kLowShelf;
    band.BandFreq = 163;
    band.BandGain = 30;
    band.BandQ = 77;
    band.BandOff = 1;
    band.BandOffShown = 0;
    EXPECT_EQ(EncodeBand(band), Record(5, 1, 63, 30, 77, 1));

    band.BandOff = 0;
    band.BandOffShown = 1;  // what the unit last said is never sent back
    EXPECT_EQ(EncodeBand(band)[5], 0);

    band.BandType = kHighShelf;
    band.BandFreq = 300;
    EXPECT_EQ(EncodeBand(band), Record(4, 3, 0, 30, 77, 0));

    EqBand wild;
    wild.BandType = 7;
    wild.BandFreq = 9999;
    wild.BandGain = -3;
    wild.BandQ = 500;
    wild.BandOff = 2;
    EXPECT_EQ(EncodeBand(wild), Record(1, 3, 0, 0, 100, 1));
}

TEST(BandEncoding, DecodingAnEncodedBandGivesItBack)
{
    for (int type = 0; type < 3; ++type) {
        for (int step = 0; step <= kMaxFreqStep; ++step) {
            EqBand band;
            band.BandType = type;
            band.BandFreq = ShelfFix(type, step);
            band.BandGain = (step % 25) * 2;
            band.BandQ = step % 101;
            band.BandOff = step % 2;
            const BandRecord record = EncodeBand(band);
            const DecodedBand back = DecodeBandRecord(record.data());
            ASSERT_EQ(back.BandType, band.BandType);
            ASSERT_EQ(back.BandFreq, band.BandFreq);
            ASSERT_EQ(back.BandQ, band.BandQ);
            ASSERT_EQ(GainCodeThroughSlider(back.GainCode), band.BandGain);
            ASSERT_EQ(back.BandOff, band.BandOff);
        }
    }
}

TEST(EqValues, NearestStepsGainCodesAndTypeWords)
{
    EXPECT_EQ(NearestFreqStep(0.0), 0);
    EXPECT_EQ(NearestFreqStep(std::nan("")), 0);
    EXPECT_EQ(NearestFreqStep(1e6), kMaxFreqStep);
    EXPECT_EQ(NearestGainCode(-1.25), 27);  // -1.5 dB: halves go away from 0 dB
    EXPECT_EQ(NearestGainCode(1.25), 21);
    EXPECT_EQ(NearestGainCode(40.0), 0);
    for (const int type : {kHighShelf, kPeak, kLowShelf})
        EXPECT_EQ(BandTypeOfWord(BandTypeWord(type)), type);
    EXPECT_EQ(BandTypeOfWord(QStringLiteral(" Low-Shelf ")), kLowShelf);
    EXPECT_FALSE(BandTypeOfWord(QStringLiteral("notch")));
}

}  // namespace
}  // namespace qireq
