#pragma once
// Filter text in, the unit's EQ out: parse, fit to the unit's steps, and
// say what became of every filter and how close the result is.
//
//   const ImportResult result = ImportFilterText(text);
//   result.Block          // a preset record, to save or send as it stands
//   RenderImportReport(result)  // the report as console text
//
// The block is laid out as the window's Save As writes a preset: header,
// fixed unit-setting bytes (0x01 0x20 0x03 0x40 0x4A 0x14 0x01, byte 8 0,
// 10 0x01, 11 0x1E, 12 0x00, 13 0x63, 14 0x30, 15 0x01), trim at 7, bypass
// at 9, the five band records, zeros at 46..70 and the trailer.
#include "eq/BandResponse.h"
#include "eq/EqBand.h"
#include "eq/EqBlock.h"
#include "filters/FilterText.h"
#include "filters/FitRange.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace qireq {

// What became of one filter of the text (ON or OFF).
enum class FilterFate {
    Placed,    // one band of the unit stands for it
    Merged,    // one band stands for it and for other filters
    LeftOut,   // no band stands for it: see Why and the difference near it
    NoEffect,  // a gain of 0 dB: nothing to fit
    Off,       // switched off in the text: not fitted (kept as an off band when exact)
};

struct FilterOutcome {
    int Filter = 0;  // index into ImportResult::Parsed.Filters
    FilterFate Fate = FilterFate::Placed;
    int Band = 0;    // 1..5 where a band stands for it, else 0
    QString Why;     // for LeftOut, and remarks such as a shelf moved to 1000 Hz
    CurveDifference Near;  // the difference where the filter acts most
};

struct BandOutcome {
    int BandNumber = 1;  // 1..5
    EqBand Band;         // as imported
    bool Unused = false;  // no filter for it: flat, as the reset block has it
    std::vector<int> Filters;  // the filters it stands for (indexes into Parsed.Filters)
};

struct ImportResult {
    FilterSet Parsed;
    EqState Eq;          // trim, bypass and the five bands (GainShownDb set)
    EqBlock Block{};     // Eq as a preset record
    // Taken exactly from the unit values this program's export notes beside
    // its filters, rather than fitted.
    bool FromUnitNotes = false;

    std::array<BandOutcome, kBandCount> Bands;
    std::vector<FilterOutcome> Filters;  // one per parsed filter, in order
    ResponseArray Reference{};  // the filters as their tool defines them, no preamp
    ResponseArray Fitted{};     // the five bands as the unit has them, no trim
    CurveDifference Difference;  // Fitted against Reference over 20 Hz..20 kHz
    double PreampDb = 0.0;
    double PreampNotAppliedDb = 0.0;  // preamp - trim where the trim cannot follow it
    QStringList Notes;  // remarks that belong to no band or filter
};

ImportResult ImportFilterText(const QString& text);
ImportResult ImportFilterSet(FilterSet parsed);

// Trim for a preamp: whole dB, 0 to -18 (a boost is not applied).
int TrimForPreamp(double preampDb);

}  // namespace qireq
