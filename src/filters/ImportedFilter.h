#pragma once
// Filters as measurement and EQ tools (REW, Equalizer APO, AutoEq) write
// them: what the text says, before anything is fitted to the unit's steps.
#include <QString>

namespace qireq {

// The filter kinds the unit has a counterpart for.
enum class ImportedKind { Peak, LowShelf, HighShelf };

// How a shelf's steepness is given. Peaks always carry a Q.
enum class ShelfWidth {
    Q,       // "LSC ... Q 0.7", REW "LS Q": a Q at the centre frequency
    Slope,   // "LSC 10.8 dB", plain "LS"/"LSC": slope S = dB / 12 at the centre frequency
    Corner,  // "LS 6dB", "LS 12dB": Fc is the corner, on the shelf's plateau side
};

struct ImportedFilter {
    int Line = 0;    // 1-based line of the text
    int Number = 0;  // the number the text gives the filter, 0 when it has none
    bool On = true;
    ImportedKind Kind = ImportedKind::Peak;
    ShelfWidth Width = ShelfWidth::Slope;  // shelves only
    double Hz = 1000.0;   // centre frequency, or the corner for ShelfWidth::Corner
    double GainDb = 0.0;
    double Q = 0.0;        // peaks, and shelves given by Q
    double SlopeDb = 0.0;  // shelves given by slope or corner, dB per octave
    QString TypeText;      // the type as the text names it: "PK", "LSC", "LS 6dB", "LS_Q"
};

// APO's (and REW's) shelf slope when a shelf gives none: S = 0.9.
inline constexpr double kDefaultShelfSlopeDb = 0.9 * 12.0;

// "PK 1000 Hz Q 2.00 -3.0 dB": one line for reports.
QString DescribeFilter(const ImportedFilter& filter);

}  // namespace qireq
