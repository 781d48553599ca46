#include "fleet/UnitReads.h"

#include "fleet/UnitSession.h"

#include "protocol/Frames.h"
#include "state/MacText.h"

#include <QJsonValue>

namespace qireq::fleet {

namespace {

bool NeedsStatusSupport(UnitSession& s, UnitResult& r, const QString& what)
{
    if (s.Identity().SupportsStatus())
        return true;
    r.Error = QStringLiteral("this unit does not report its %1 (capability %2, needs 17 or more)")
                  .arg(what, s.Identity().Capability ? QString::number(*s.Identity().Capability)
                                                     : QStringLiteral("not reported"));
    return false;
}

}  // namespace

UnitResult ServeUnit(const UnitTarget& target, int timeoutMs, const UnitWork& work)
{
    UnitResult r;
    r.Unit = target.Label();
    r.Name = target.Name;
    UnitSession s(target, timeoutMs);
    bool ok = s.Connect();
    if (ok) {
        r.Name = s.Identity().Name;
        ok = work(s, r);
    }
    r.Ok = ok;
    if (!ok && r.Error.isEmpty())
        r.Error = s.Error();
    return r;
}

std::optional<StatusReading> ReadStatus(UnitSession& s, UnitResult& r)
{
    if (!NeedsStatusSupport(s, r, QStringLiteral("status")))
        return std::nullopt;
    const auto reply = s.Request(ReadStatusRequest(), Command::ReadStatus, QStringLiteral("ReadStatus"));
    if (!reply)
        return std::nullopt;
    const auto st = ReadStatusReply(*reply);
    if (!st)
        r.Error = QStringLiteral("the status reply was too short (%1 bytes)").arg(reply->size());
    return st;
}

std::optional<InfoReply> ReadUsage(UnitSession& s, UnitResult& r)
{
    if (!NeedsStatusSupport(s, r, QStringLiteral("usage")))
        return std::nullopt;
    const auto reply = s.Request(ReadInfoRequest(), Command::ReadInfo, QStringLiteral("ReadInfo"));
    if (!reply)
        return std::nullopt;
    const auto info = ReadInfoReply(*reply);
    if (!info)
        r.Error = QStringLiteral("the usage reply was too short (%1 bytes)").arg(reply->size());
    return info;
}

bool ReadUnitState(UnitSession& s, UnitResult& r)
{
    const IdentityReply& id = s.Identity();
    r.Fields.insert(QStringLiteral("capability"), id.Capability ? QJsonValue(*id.Capability) : QJsonValue());
    if (const auto mac = s.Mac())
        r.Fields.insert(QStringLiteral("mac"), MacToText(*mac));
    if (!id.SupportsStatus())
        return true;  // nothing more to read: not a failure
    const auto st = ReadStatus(s, r);
    if (!st)
        return false;
    r.Fields.insert(QStringLiteral("temperature_text"), st->TempText);
    r.Fields.insert(QStringLiteral("protected"), st->ProtectAlarm);
    r.Fields.insert(QStringLiteral("temperature_alarm"), st->TempAlarm);
    r.Fields.insert(QStringLiteral("voltage_alarm"), st->VoltageAlarm);
    r.Fields.insert(QStringLiteral("standby"), st->Standby);
    const auto usage = ReadUsage(s, r);
    if (!usage)
        return false;
    r.Fields.insert(QStringLiteral("burn_count"), usage->BurnCount);
    r.Fields.insert(QStringLiteral("minutes"), usage->TotalMinutes);
    return true;
}

}  // namespace qireq::fleet
