#include "FilterCommands.h"

#include "filters/FilterExport.h"
#include "filters/FilterImport.h"
#include "filters/FilterTextFile.h"
#include "filters/ImportReport.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

#include <QDir>
#include <QFile>

namespace qireq::ctl {

ImportOutcome ImportToPreset(const QString& textFile, const QString& presetFile)
{
    ImportOutcome out;
    FilterTextRead read;
    if (textFile == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            out.Error = QStringLiteral("Cannot read standard input");
            return out;
        }
        read = ReadFilterText(in, QStringLiteral("standard input"));
    } else {
        read = ReadFilterTextFile(textFile);
    }
    if (!read.ok()) {
        out.Error = read.Error;
        return out;
    }
    const ImportResult result = ImportFilterText(read.Text);
    out.Report = RenderImportReport(result);
    out.Filters = static_cast<int>(result.Parsed.Filters.size());
    if (result.Parsed.Filters.empty() && !result.FromUnitNotes) {
        out.Error = QStringLiteral("%1 holds no filter this program can read").arg(QDir::toNativeSeparators(textFile));
        return out;
    }
    out.Block = result.Block;
    out.File = PresetFileName(presetFile);
    out.Error = WritePresetFile(out.File, out.Block);
    return out;
}

ExportOutcome ExportPreset(const QString& presetFile)
{
    ExportOutcome out;
    const PresetLoad load = ReadPresetFile(presetFile);
    if (!load.ok()) {
        out.Error = load.message;
        return out;
    }
    out.Text = ExportEqualizerApo(load.record);
    return out;
}

}  // namespace qireq::ctl
