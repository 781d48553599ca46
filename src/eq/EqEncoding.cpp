#include "eq/EqEncoding.h"

#include "eq/EqTables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qireq {

namespace {

constexpr int kMinPosition = -12;
constexpr int kMaxPosition = 12;
constexpr int kTrimZeroCode = 121;

// Type index folded into 0..2, so that any index names a real type
// (the type button steps the index modulo 3).
int FoldedType(int typeIndex)
{
    const int folded = typeIndex % 3;
    return folded < 0 ? folded + 3 : folded;
}

// Truncation toward zero of a value already limited to [lo, hi].
int TruncatedWithin(double value, int lo, int hi)
{
    if (std::isnan(value))
        return lo;
    const double limited = std::clamp(std::trunc(value), static_cast<double>(lo),
                                      static_cast<double>(hi));
    return static_cast<int>(limited);
}

}  // namespace

double FrequencyOf(int step)
{
    return FrequencyTable[static_cast<std::size_t>(std::clamp(step, 0, kMaxFreqStep))];
}

double QOf(int step)
{
    return QTable[static_cast<std::size_t>(std::clamp(step, 0, kMaxQStep))];
}

double GainDbOf(int code)
{
    return 12.0 - std::clamp(code, 0, kMaxGainCode) / 2.0;
}

int GainCodeFromPosition(int position)
{
    return 2 * std::clamp(position, kMinPosition, kMaxPosition) + kFlatGainCode;
}

int PositionFromGainCode(int code)
{
    // Real division: an odd code lands half a step toward 0 dB (23 and 25 -> 0).
    return TruncatedWithin(code / 2.0 - 12.0, kMinPosition, kMaxPosition);
}

int GainCodeThroughSlider(int code)
{
    return GainCodeFromPosition(PositionFromGainCode(code));
}

int ShownGainDb(int code)
{
    // The slider has +12 dB at its top, position -12: the gain is the negated position.
    return -PositionFromGainCode(code);
}

std::uint8_t EncodeTrim(int trim)
{
    return TrimCodeTable[static_cast<std::size_t>(-std::clamp(trim, kMinTrim, kMaxTrim))];
}

int DecodeTrim(std::uint8_t code)
{
    return TruncatedWithin((code - kTrimZeroCode) / 2.0, kMinTrim, kMaxTrim);
}

std::uint8_t EncodeType(int typeIndex)
{
    switch (FoldedType(typeIndex)) {
    case kHighShelf:
        return 4;
    case kLowShelf:
        return 5;
    default:
        return 1;
    }
}

int DecodeType(std::uint8_t code)
{
    switch (code) {
    case 4:
        return kHighShelf;
    case 5:
        return kLowShelf;
    default:
        return kPeak;  // every unknown code is taken as "Peak"
    }
}

BandRecord EncodeBand(const EqBand& band)
{
    const int freq = std::clamp(band.BandFreq, 0, kMaxFreqStep);
    return BandRecord{
        EncodeType(band.BandType),
        static_cast<std::uint8_t>(freq / 100),
        static_cast<std::uint8_t>(freq % 100),
        static_cast<std::uint8_t>(std::clamp(band.BandGain, 0, kMaxGainCode)),
        static_cast<std::uint8_t>(std::clamp(band.BandQ, 0, kMaxQStep)),
        static_cast<std::uint8_t>(band.BandOff != 0 ? 1 : 0),
    };
}

int HzToStep(double hz)
{
    // The step reached is the upper end of the table interval holding hz:
    // table[k] <= hz < table[k + 1] gives k + 1. The table never falls, so
    // the first entry above hz is exactly that upper end.
    if (std::isnan(hz))
        return 0;
    const auto above = std::upper_bound(FrequencyTable.begin(), FrequencyTable.end(), hz);
    if (above == FrequencyTable.end())
        return kMaxFreqStep;  // 20160 Hz and above
    return static_cast<int>(std::distance(FrequencyTable.begin(), above));  // 0 below 19.7 Hz
}

int ShelfFix(int typeIndex, int step)
{
    const int limited = std::clamp(step, 0, kMaxFreqStep);
    const int type = FoldedType(typeIndex);
    if (type == kHighShelf && limited < kShelfStep)
        return kShelfStep;
    if (type == kLowShelf && limited > kShelfStep)
        return kShelfStep;
    return limited;
}

DecodedBand DecodeBandRecord(const std::uint8_t* record)
{
    if (record == nullptr)
        return DecodedBand{kPeak, 0, 0, kFlatGainCode, 0, 0};
    DecodedBand decoded{};
    decoded.BandType = DecodeType(record[0]);
    decoded.SentFreq = std::min(record[1] * 100 + record[2], kMaxFreqStep);
    decoded.BandFreq = ShelfFix(decoded.BandType, decoded.SentFreq);
    decoded.BandQ = std::min(static_cast<int>(record[4]), kMaxQStep);
    decoded.GainCode = record[3];
    decoded.BandOff = record[5] != 0 ? 1 : 0;
    return decoded;
}

}  // namespace qireq
