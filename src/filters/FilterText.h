#pragma once
// Reading the filter texts people bring: REW's "Filter Settings file" and its
// tab-separated filter table, and Equalizer APO / AutoEq configuration text.
// Every line that carries something is accounted for in the result: read,
// skipped (switched off, unused), or reported with the reason it was not read.
#include "eq/EqBand.h"
#include "filters/ImportedFilter.h"

#include <QString>

#include <vector>

namespace qireq {

enum class LineOutcome {
    Read,           // a filter, the preamp, or a note of this program's export
    Skipped,        // an OFF filter or an unused ("None") one: not an error
    Unsupported,    // understood, but the unit has nothing like it
    NotUnderstood,  // not a form this reader knows, or a value out of range
    Ignored,        // a REW header or notes line
};

struct LineReport {
    int Line = 0;  // 1-based
    LineOutcome Outcome = LineOutcome::Read;
    QString Text;    // the line, trimmed
    QString Reason;  // why it was not read; empty for Read
};

// The unit's own values of one band, as this program's export notes them
// beside the band's filter line, so that importing the export gives back
// exactly the band that was exported.
struct UnitBandNote {
    int Line = 0;
    int BandNumber = 0;  // 1..5
    EqBand Band;         // type, frequency step, Q step and gain code; on
};

enum class FilterTextFormat { Unknown, RewSettings, RewTable, EqualizerApo };

struct FilterSet {
    FilterTextFormat Format = FilterTextFormat::Unknown;
    std::vector<ImportedFilter> Filters;  // ON and OFF ones, in the order of the text
    bool HasPreamp = false;
    double PreampDb = 0.0;  // every "Preamp:" line added up, as Equalizer APO does
    // This program's export notes the bypass switch; other texts never set it.
    bool HasBypassNote = false;
    bool Bypass = false;
    std::vector<UnitBandNote> UnitNotes;
    std::vector<LineReport> Lines;  // every line but blank lines and comments
};

// Parses text of any of the forms above; line ends CR LF, LF or CR.
FilterSet ParseFilterText(const QString& text);

}  // namespace qireq
