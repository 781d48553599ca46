// snapshot save, snapshot diff and snapshot restore.
#include "CtlFleet.h"
#include "UnitCommands.h"

#include "fleet/SnapshotJobs.h"
#include "fleet/VenueSnapshot.h"

#include <QJsonArray>
#include <QMap>

#include <memory>
#include <mutex>

namespace qireq::ctl {

namespace {

// What the units' worker threads hand to the step after the run.
struct SavedUnits {
    std::mutex Lock;
    QMap<QString, fleet::SnapshotUnit> ByLabel;
};

struct Matches {
    std::mutex Lock;
    std::vector<bool> Found;
};

Prepared PrepareCompare(const CtlCommand& c, bool write)
{
    const fleet::SnapshotLoad load = fleet::ReadSnapshotFile(c.Args.value(0));
    if (!load.Snapshot)
        return Prepared::Failed(load.Error);
    const auto snapshot = std::make_shared<const fleet::VenueSnapshot>(*load.Snapshot);
    const auto matches = std::make_shared<Matches>();
    matches->Found.assign(snapshot->Units.size(), false);
    Prepared p;
    p.OnUnit = [snapshot, matches, write](UnitSession& s, UnitResult& r) {
        const auto restore = fleet::RestoreUnit(s, *snapshot, write, r);
        if (!restore)
            return false;
        if (restore->Match) {
            const std::lock_guard<std::mutex> hold(matches->Lock);
            matches->Found[restore->Match->Index] = true;
        }
        fleet::RenderRestore(*snapshot, *restore, write, r);
        return true;
    };
    p.AfterUnits = [snapshot, matches](const std::vector<UnitResult>&, QStringList& notes, QJsonObject& extra,
                                       QString&) {
        const QStringList missing = fleet::UnmatchedUnits(*snapshot, matches->Found);
        for (const QString& m : missing)
            notes << QStringLiteral("not found: %1").arg(m);
        extra.insert(QStringLiteral("not_found"), QJsonArray::fromStringList(missing));
    };
    return p;
}

}  // namespace

Prepared PrepareSnapshotSave(const CtlCommand& c)
{
    const QString file = c.Args.value(0);
    const auto saved = std::make_shared<SavedUnits>();
    Prepared p;
    p.OnUnit = [saved](UnitSession& s, UnitResult& r) {
        const auto unit = fleet::ReadSnapshotUnit(s, r);
        if (!unit)
            return false;
        r.Lines << QStringLiteral("read: %1").arg(unit->Key());
        r.Fields.insert(QStringLiteral("mac"), unit->Mac ? QJsonValue(MacWithColons(*unit->Mac)) : QJsonValue());
        const std::lock_guard<std::mutex> hold(saved->Lock);
        saved->ByLabel.insert(r.Unit.isEmpty() ? s.Target().Label() : r.Unit, *unit);
        return true;
    };
    p.AfterUnits = [saved, file](const std::vector<UnitResult>& results, QStringList& notes, QJsonObject& extra,
                                 QString& error) {
        std::vector<fleet::SnapshotUnit> units;
        for (const UnitResult& r : results) {
            const auto it = saved->ByLabel.constFind(r.Unit);
            if (it != saved->ByLabel.cend())
                units.push_back(*it);
        }
        const auto made = fleet::SnapshotOf(units, &error);
        if (!made)
            return;
        const fleet::VenueSnapshot& snapshot = *made;
        if (const QString e = fleet::WriteSnapshotFile(file, snapshot); !e.isEmpty()) {
            error = e;
            return;
        }
        notes << QStringLiteral("snapshot of %1 unit(s) written to %2").arg(snapshot.Units.size()).arg(file);
        extra.insert(QStringLiteral("file"), file);
        extra.insert(QStringLiteral("saved_units"), static_cast<int>(snapshot.Units.size()));
    };
    return p;
}

Prepared PrepareSnapshotDiff(const CtlCommand& c)
{
    return PrepareCompare(c, false);
}

Prepared PrepareSnapshotRestore(const CtlCommand& c)
{
    return PrepareCompare(c, true);
}

}  // namespace qireq::ctl
