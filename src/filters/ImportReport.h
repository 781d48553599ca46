#pragma once
// An import's report as text for a console: the five bands with the filters
// they stand for, the filters merged, left out or off, the trim, the
// difference from the filters' own response, and every line not read.
#include "filters/FilterImport.h"

#include <QString>

namespace qireq {

QString RenderImportReport(const ImportResult& result);

// Short forms the report uses, for windows that lay it out themselves.
QString BandSummary(const EqBand& band);             // "Peak 1000.0 Hz Q 3.00 +6 dB"
QString LineOutcomeName(LineOutcome outcome);         // "read", "skipped", ...
QString FilterFateName(FilterFate fate);              // "placed", "merged", ...

}  // namespace qireq
