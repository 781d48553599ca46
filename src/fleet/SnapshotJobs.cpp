#include "fleet/SnapshotJobs.h"

#include "fleet/UnitSession.h"
#include "fleet/VerifiedWrite.h"

#include "protocol/Frames.h"

#include <QJsonArray>

namespace qireq::fleet {

std::optional<SnapshotUnit> ReadSnapshotUnit(UnitSession& s, UnitResult&)
{
    const auto block = s.ReadBlock();
    if (!block)
        return std::nullopt;
    SnapshotUnit u;
    u.Mac = s.Mac();
    u.Name = s.Identity().Name;
    u.Serial = s.Target().IsSerial();
    u.Address = s.Target().Label();
    u.Capability = s.Identity().Capability;
    u.Block = *block;
    u.ReadAt = QDateTime::currentDateTimeUtc();
    return u;
}

namespace {

// Rename draws no reply: the unit's identity tells whether it took it.
bool WriteName(UnitSession& s, const QString& name, UnitResult& r)
{
    if (!s.Send(RenameFrame(NameFieldBytes(name))))
        return false;
    const auto reply = s.Request(IdentifyRequest(), Command::Identify, QStringLiteral("the Identify after Rename"));
    if (!reply)
        return false;
    const QString now = ReadIdentity(*reply).Name;
    if (now != name) {
        r.Error = QStringLiteral("the unit did not apply the write: name is \"%1\" in its identity reply, \"%2\" was sent")
                      .arg(now, name);
        return false;
    }
    r.Name = name;
    return true;
}

}  // namespace

std::optional<UnitRestore> RestoreUnit(UnitSession& s, const VenueSnapshot& snapshot, bool write, UnitResult& r)
{
    UnitRestore out;
    out.Match = MatchSnapshotUnit(snapshot, s.Mac(), s.Target().Label());
    if (!out.Match)
        return out;
    const SnapshotUnit& wanted = snapshot.Units[out.Match->Index];
    const auto held = s.ReadBlock();
    if (!held)
        return std::nullopt;
    const QString heldName = s.Identity().Name;
    out.Differences = SnapshotDifferences(wanted, *held, heldName);
    if (!write || out.Differences.isEmpty())
        return out;
    if (*held != wanted.Block && !WriteBlockVerified(s, wanted.Block, r))
        return std::nullopt;
    if (heldName != wanted.Name && !WriteName(s, wanted.Name, r))
        return std::nullopt;
    out.Written = true;
    return out;
}

void RenderRestore(const VenueSnapshot& snapshot, const UnitRestore& restore, bool write, UnitResult& r)
{
    if (!restore.Match) {
        r.Lines << QStringLiteral("not in the snapshot: left as it is");
        r.Fields.insert(QStringLiteral("match"), QJsonValue());
        return;
    }
    const SnapshotUnit& wanted = snapshot.Units[restore.Match->Index];
    const QString how = restore.Match->ByAddress ? QStringLiteral("by address") : QStringLiteral("by MAC");
    r.Lines << QStringLiteral("snapshot unit %1 (matched %2)").arg(wanted.Key(), how);
    for (const QString& d : restore.Differences)
        r.Lines << QStringLiteral("differs: %1").arg(d);
    if (restore.Differences.isEmpty())
        r.Lines << QStringLiteral("as in the snapshot");
    else if (write)
        r.Lines << QStringLiteral("restored and read back");
    r.Fields.insert(QStringLiteral("match"), wanted.Key());
    r.Fields.insert(QStringLiteral("matched_by"), restore.Match->ByAddress ? QStringLiteral("address") : QStringLiteral("mac"));
    r.Fields.insert(QStringLiteral("differences"), QJsonArray::fromStringList(restore.Differences));
    r.Fields.insert(QStringLiteral("written"), restore.Written);
}

}  // namespace qireq::fleet
