#pragma once
// Filter text to preset (import) and preset to Equalizer APO text (export),
// through src/filters. No unit here: the runner pushes an import's block
// like `preset push` when units are selected.
#include "eq/EqBlock.h"

#include <QString>

namespace qireq::ctl {

struct ImportOutcome {
    QString Error;   // not empty: nothing was written
    EqBlock Block{};  // the preset record, as the window's Save As lays it out
    QString Report;  // RenderImportReport
    QString File;    // the preset written
    int Filters = 0;  // filters read from the text
};

// Reads the filter text, fits it to the unit's five bands and writes the
// preset ("".bin" appended as the window's Save As does).
ImportOutcome ImportToPreset(const QString& textFile, const QString& presetFile);

struct ExportOutcome {
    QString Error;  // the window's message for a preset it would not open
    QString Text;   // Equalizer APO text
};
ExportOutcome ExportPreset(const QString& presetFile);

}  // namespace qireq::ctl
