#pragma once
// One band of the unit's "Master EQ", and the whole EQ as the editor holds it.
// Everything is a small integer (a step or a code); the tables in EqTables.h
// turn them into Hz, Q and dB only for display and for the response curves.
#include <array>

namespace qireq {

// Filter type index as the editor and the type pictures count them.
enum BandTypeIndex : int { kHighShelf = 0, kPeak = 1, kLowShelf = 2 };

inline constexpr int kBandCount = 5;
inline constexpr int kMaxFreqStep = 300;
inline constexpr int kMaxQStep = 100;
inline constexpr int kMaxGainCode = 48;
inline constexpr int kFlatGainCode = 24;  // 0 dB
inline constexpr int kShelfStep = 170;    // 1000 Hz: the shelves' dividing line
inline constexpr int kMinTrim = -18;
inline constexpr int kMaxTrim = 0;

struct EqBand {
    int BandType = kPeak;      // 0..2, see BandTypeIndex
    int BandFreq = 0;          // frequency step 0..300
    int BandQ = 35;            // Q step 0..100 (used by "Peak" only)
    int BandGain = kFlatGainCode;  // gain code 0..48, dB = 12 - code / 2
    int BandOff = 0;           // 1 while switched off, as set by the user or received
    int BandOffShown = 0;      // the off flag as last received from the unit
    // The whole-dB gain the band's slider shows (its negated position): what
    // the band's curve and marker are drawn with. It is ShownGainDb(BandGain)
    // but while a connected edit waits for the unit's echo, when the slider
    // and the plot still show what the unit last confirmed.
    int GainShownDb = 0;
};

// Start-up value of band 1..5: a flat "Peak" at steps 0, 50, 100, 150, 200.
EqBand StartupBand(int bandNumber);

// The whole EQ of the editor: bands 1..5 at indexes 0..4, trim in dB, bypass.
struct EqState {
    std::array<EqBand, kBandCount> Bands{StartupBand(1), StartupBand(2), StartupBand(3),
                                         StartupBand(4), StartupBand(5)};
    int Trim = 0;
    bool Bypass = false;
};

}  // namespace qireq
