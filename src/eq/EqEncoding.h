#pragma once
// Conversions between the EQ's integers, physical values and unit bytes.
// Pure functions: out-of-range inputs are limited, never undefined.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"

#include <array>
#include <cstdint>

namespace qireq {

using BandRecord = std::array<std::uint8_t, kBandRecordSize>;

double FrequencyOf(int step);  // FrequencyTable value, step limited to 0..300
double QOf(int step);          // QTable value, step limited to 0..100
double GainDbOf(int code);     // 12 - code / 2

int GainCodeFromPosition(int position);  // slider position -12..12 -> 2 * position + 24
int PositionFromGainCode(int code);      // trunc(code / 2 - 12), limited to -12..12
// What a received gain code becomes once it has passed through the slider:
// always an even code 0..48 (25 and 23 both land on 24).
int GainCodeThroughSlider(int code);
// The gain the editor shows for a stored code: the negated slider position, whole dB.
int ShownGainDb(int code);

std::uint8_t EncodeTrim(int trim);  // trim limited to -18..0
int DecodeTrim(std::uint8_t code);  // trunc((code - 121) / 2), limited to -18..0

std::uint8_t EncodeType(int typeIndex);  // 0 -> 4, 1 -> 1, 2 -> 5 (index taken modulo 3)
int DecodeType(std::uint8_t code);       // 4 -> 0, 5 -> 2, anything else -> 1

BandRecord EncodeBand(const EqBand& band);  // off byte from BandOff

int HzToStep(double hz);                 // step reached by a frequency when dragging
int ShelfFix(int typeIndex, int step);   // keeps shelves on their side of 1000 Hz

// A band record as a unit sends it (type, freq div 100, freq mod 100, gain,
// Q, off), decoded: in a received EqBlock and in the echo of a band write.
// GainCode is the code as received; a block's reaches BandGain only through
// the slider (GainCodeThroughSlider).
struct DecodedBand {
    int BandType;
    int BandFreq;  // limited to 300, then shelf-fixed: what a block's band takes
    int BandQ;     // limited to 100
    int GainCode;  // raw byte
    int BandOff;   // 0/1
    int SentFreq;  // limited to 300 only: an echo shows the step the unit reports
};
DecodedBand DecodeBandRecord(const std::uint8_t* record);

}  // namespace qireq
