// The Units overview's actions: what each one asks first, the work it does
// on every selected unit and what it does once all are done.
#include "overview/UnitsOverviewWindow.h"

#include "controls/MessageBoxes.h"
#include "filters/FilterImport.h"
#include "filters/FilterTextFile.h"
#include "fleet/SnapshotJobs.h"
#include "fleet/UnitSession.h"
#include "fleet/VerifiedWrite.h"
#include "presets/PresetFile.h"

#include <QJsonArray>
#include <QLabel>
#include <QMap>

#include <algorithm>

#include <mutex>

namespace qireq {

void UnitsOverviewWindow::ReadClick()
{
    StartRun(RunKind::Read, SelectedRows(), fleet::ReadUnitState);
}

void UnitsOverviewWindow::PushBlock(const EqBlock& block)
{
    StartRun(RunKind::Push, SelectedRows(), [block](fleet::UnitSession& s, fleet::UnitResult& r) {
        return fleet::WriteBlockVerified(s, block, r).has_value();
    });
}

void UnitsOverviewWindow::PushPresetClick()
{
    if (SelectedRows().empty() || IsRunning())
        return;
    const QString file = prompts_->ChooseFile(OverviewPrompts::File::Preset);
    if (file.isEmpty())
        return;
    // Checked as File > Open checks a preset, with its messages.
    const PresetLoad load = ReadPresetFile(file);
    if (!load.ok()) {
        MessageBoxes::Message(this, load.message);
        return;
    }
    PushBlock(load.record);
}

void UnitsOverviewWindow::ImportAndPushClick()
{
    if (SelectedRows().empty() || IsRunning())
        return;
    const QString file = prompts_->ChooseFile(OverviewPrompts::File::FilterText);
    if (file.isEmpty())
        return;
    const FilterTextRead read = ReadFilterTextFile(file);
    if (!read.ok()) {
        MessageBoxes::Error(this, read.Error);
        return;
    }
    const ImportResult result = ImportFilterText(read.Text);
    if (prompts_->AcceptImport(result, file))
        PushBlock(result.Block);
}

void UnitsOverviewWindow::SaveSnapshotClick()
{
    if (SelectedRows().empty() || IsRunning())
        return;
    const QString file = prompts_->ChooseFile(OverviewPrompts::File::SnapshotToSave);
    if (file.isEmpty())
        return;
    struct Read {
        std::mutex Lock;
        QMap<QString, fleet::SnapshotUnit> ByLabel;
    };
    auto read = std::make_shared<Read>();
    const auto work = [read](fleet::UnitSession& s, fleet::UnitResult& r) {
        const auto unit = fleet::ReadSnapshotUnit(s, r);
        if (!unit)
            return false;
        const std::lock_guard<std::mutex> hold(read->Lock);
        read->ByLabel.insert(s.Target().Label(), *unit);
        return true;
    };
    StartRun(RunKind::SnapshotSave, SelectedRows(), work, [this, read, file](const std::vector<fleet::UnitResult>& results) {
        std::vector<fleet::SnapshotUnit> units;
        for (const fleet::UnitResult& r : results) {
            if (read->ByLabel.contains(r.Unit))
                units.push_back(read->ByLabel.value(r.Unit));
        }
        QString error;
        const auto snapshot = fleet::SnapshotOf(units, &error);
        if (snapshot)
            error = fleet::WriteSnapshotFile(file, *snapshot);
        if (!error.isEmpty()) {
            extraNote_ = error;
            MessageBoxes::Error(this, error);
            return;
        }
        extraNote_ = QStringLiteral("written to %1").arg(file);
    });
}

void UnitsOverviewWindow::RestoreSnapshotClick()
{
    if (SelectedRows().empty() || IsRunning())
        return;
    const QString file = prompts_->ChooseFile(OverviewPrompts::File::SnapshotToOpen);
    if (file.isEmpty())
        return;
    const fleet::SnapshotLoad load = fleet::ReadSnapshotFile(file);
    if (!load.Snapshot) {
        MessageBoxes::Error(this, load.Error);  // nothing is sent
        return;
    }
    auto snapshot = std::make_shared<const fleet::VenueSnapshot>(*load.Snapshot);
    auto matched = std::make_shared<std::vector<bool>>(snapshot->Units.size(), false);
    auto lock = std::make_shared<std::mutex>();
    // First only compare: what differs is shown before anything is sent.
    const auto diff = [snapshot, matched, lock](fleet::UnitSession& s, fleet::UnitResult& r) {
        const auto restore = fleet::RestoreUnit(s, *snapshot, false, r);
        if (!restore)
            return false;
        if (restore->Match) {
            const std::lock_guard<std::mutex> hold(*lock);
            (*matched)[restore->Match->Index] = true;
        }
        fleet::RenderRestore(*snapshot, *restore, false, r);
        return true;
    };
    StartRun(RunKind::SnapshotDiff, SelectedRows(), diff,
             [this, snapshot, matched](const std::vector<fleet::UnitResult>& results) {
                 RestoreAfterDiff(snapshot, results, fleet::UnmatchedUnits(*snapshot, *matched));
             });
}

void UnitsOverviewWindow::RestoreAfterDiff(std::shared_ptr<const fleet::VenueSnapshot> snapshot,
                                           const std::vector<fleet::UnitResult>& diffs, const QStringList& notFound)
{
    QStringList text;
    std::vector<int> differing;
    for (std::size_t i = 0; i < diffs.size(); ++i) {
        const fleet::UnitResult& r = diffs[i];
        const QJsonArray lines = r.Fields.value(QStringLiteral("differences")).toArray();
        if (!r.Ok || lines.isEmpty() || i >= runAddresses_.size())
            continue;
        differing.push_back(model_->RowOf(runAddresses_[i]));
        text << QStringLiteral("%1 (%2, matched %3):")
                    .arg(r.Unit, r.Name,
                         r.Fields.value(QStringLiteral("matched_by")).toString() == QLatin1String("address")
                             ? QStringLiteral("by address")
                             : QStringLiteral("by MAC"));
        for (const QJsonValue& line : lines)
            text << QStringLiteral("  ") + line.toString();
    }
    for (const QString& missing : notFound)
        text << QStringLiteral("not found: %1").arg(missing);
    if (!notFound.isEmpty())
        extraNote_ = QStringLiteral("%1 unit(s) of the snapshot not found").arg(notFound.size());
    differing.erase(std::remove(differing.begin(), differing.end(), -1), differing.end());
    if (differing.empty()) {
        if (!notFound.isEmpty())
            MessageBoxes::Information(this, text.join(QLatin1Char('\n')));
        return;
    }
    text << QString() << QStringLiteral("Write the %1 unit(s) that differ?").arg(differing.size());
    if (MessageBoxes::AskYesNo(this, text.join(QLatin1Char('\n'))) != MessageBoxes::Answer::Yes)
        return;
    const auto write = [snapshot](fleet::UnitSession& s, fleet::UnitResult& r) {
        const auto restore = fleet::RestoreUnit(s, *snapshot, true, r);
        if (!restore)
            return false;
        fleet::RenderRestore(*snapshot, *restore, true, r);
        return true;
    };
    const QString note = extraNote_;
    StartRun(RunKind::SnapshotRestore, differing, write, [this, note](const std::vector<fleet::UnitResult>&) {
        extraNote_ = note;
    });
}

}  // namespace qireq
