// eq reset, preset pull, preset push, import and export.
#include "FilterCommands.h"
#include "UnitCommands.h"
#include "CtlFleet.h"

#include "filters/FilterExport.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

namespace qireq::ctl {

Prepared PrepareEqReset(const CtlCommand&, BlockToWrite& write)
{
    write.Block = ResetBlock;
    write.Done = QStringLiteral("reset to the built-in setting");
    return {};
}

Prepared PreparePresetPush(const CtlCommand& c, BlockToWrite& write)
{
    const PresetLoad load = ReadPresetFile(c.Args.value(0));
    if (!load.ok())
        return Prepared::Failed(load.message);
    write.Block = load.record;
    write.Done = QStringLiteral("preset written and read back");
    return {};
}

Prepared PrepareImport(const CtlCommand& c, BlockToWrite& write)
{
    const ImportOutcome imported = ImportToPreset(c.Args.value(0), c.Options.value(QStringLiteral("out")));
    Prepared p;
    p.Extra.insert(QStringLiteral("report"), imported.Report);
    if (!imported.Report.isEmpty())
        p.Notes << imported.Report.trimmed();
    if (!imported.Error.isEmpty()) {
        p.Error = imported.Error;
        return p;
    }
    p.Notes << QStringLiteral("preset written to %1").arg(imported.File);
    p.Extra.insert(QStringLiteral("file"), imported.File);
    p.Extra.insert(QStringLiteral("eq"), EqJson(imported.Block));
    write.Block = imported.Block;
    write.Done = QStringLiteral("preset written and read back");
    return p;
}

std::optional<EqBlock> RunBlockWrite(UnitSession& s, const BlockToWrite& write, UnitResult& r)
{
    return WriteBlockVerified(s, write.Block, r);
}

void RenderBlockWrite(const BlockToWrite& write, const EqBlock& after, UnitResult& r)
{
    r.Lines << write.Done;
    r.Fields.insert(QStringLiteral("eq"), EqJson(after));
}

Prepared PreparePresetPull(const CtlCommand& c, PresetTarget& target)
{
    target.File = c.Args.value(0);
    return {};
}

std::optional<PresetSaved> RunPresetPull(UnitSession& s, const PresetTarget& target, UnitResult& r)
{
    const auto block = s.ReadBlock();
    if (!block)
        return std::nullopt;
    // As the window's Save As writes it: the EQ it shows for the block, the
    // off flags the unit reported.
    PresetSaved saved{PresetFileName(target.File), NewSavingRecord()};
    FillSavingRecord(saved.Record, ShownEqOf(*block), true);
    const QString problem = WritePresetFile(saved.File, saved.Record);
    if (!problem.isEmpty()) {
        r.Error = problem;
        return std::nullopt;
    }
    return saved;
}

void RenderPresetPull(const PresetTarget&, const PresetSaved& saved, UnitResult& r)
{
    r.Lines << QStringLiteral("saved to %1").arg(saved.File);
    r.Fields.insert(QStringLiteral("file"), saved.File);
    r.Fields.insert(QStringLiteral("eq"), EqJson(saved.Record));
}

Prepared PrepareExport(const CtlCommand& c)
{
    const ExportOutcome exported = ExportPreset(c.Args.value(0));
    if (!exported.Error.isEmpty())
        return Prepared::Failed(exported.Error);
    Prepared p;
    p.Notes << exported.Text.trimmed();
    p.Extra.insert(QStringLiteral("text"), exported.Text);
    return p;
}

}  // namespace qireq::ctl
