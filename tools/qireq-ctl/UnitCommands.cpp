// info, status, usage and rename, and the run of any unit subcommand.
#include "UnitCommands.h"

#include "CtlFleet.h"

#include "fleet/UnitReads.h"

#include "protocol/Frames.h"
#include "protocol/InfoMessageText.h"
#include "state/MacText.h"

namespace qireq::ctl {

namespace {

// The rename dialog stops typing at 12 characters.
constexpr int kRenameLimit = 12;

QString LinkWord(bool serial) { return serial ? QStringLiteral("serial") : QStringLiteral("tcp"); }

}  // namespace

Prepared NothingToPrepare(const CtlCommand&, NoValue&)
{
    return {};
}

UnitResult RunOnUnit(const Prepared& p, const UnitTarget& target, int timeoutMs)
{
    return fleet::ServeUnit(target, timeoutMs, p.OnUnit);
}

std::optional<UnitInfo> RunInfo(UnitSession& s, const NoValue&, UnitResult&)
{
    return UnitInfo{s.Identity(), s.Target().IsSerial(), s.Mac()};
}

void RenderInfo(const NoValue&, const UnitInfo& info, UnitResult& r)
{
    const IdentityReply& id = info.Identity;
    const int capability = id.Capability.value_or(-1);
    r.Lines << QStringLiteral("name: %1").arg(id.Name);
    r.Lines << QStringLiteral("link: %1").arg(LinkWord(info.Serial));
    r.Lines << QStringLiteral("capability: %1 (%2)")
                   .arg(id.Capability ? QString::number(capability) : QStringLiteral("not reported"),
                        id.SupportsStatus() ? QStringLiteral("reports status and usage")
                                            : QStringLiteral("no status or usage"));
    const QString mac = info.Mac ? MacWithColons(*info.Mac) : QString();
    if (!mac.isEmpty())
        r.Lines << QStringLiteral("MAC: %1").arg(mac);
    r.Fields.insert(QStringLiteral("link"), LinkWord(info.Serial));
    r.Fields.insert(QStringLiteral("capability"), id.Capability ? QJsonValue(capability) : QJsonValue());
    r.Fields.insert(QStringLiteral("reports_status"), id.SupportsStatus());
    r.Fields.insert(QStringLiteral("mac"), mac.isEmpty() ? QJsonValue() : QJsonValue(mac));
}

std::optional<StatusReading> RunStatus(UnitSession& s, const NoValue&, UnitResult& r)
{
    return fleet::ReadStatus(s, r);
}

void RenderStatus(const NoValue&, const StatusReading& st, UnitResult& r)
{
    auto lamp = [](bool alarm) { return alarm ? QStringLiteral("alarm") : QStringLiteral("normal"); };
    r.Lines << st.TempText;
    r.Lines << QStringLiteral("Protected State: %1").arg(lamp(st.ProtectAlarm));
    r.Lines << QStringLiteral("Temperature State: %1").arg(lamp(st.TempAlarm));
    r.Lines << QStringLiteral("Voltage State: %1").arg(lamp(st.VoltageAlarm));
    r.Lines << QStringLiteral("Standby: %1").arg(st.Standby ? QStringLiteral("on") : QStringLiteral("off"));
    r.Fields.insert(QStringLiteral("temperature_c"), st.Degrees);
    r.Fields.insert(QStringLiteral("temperature_text"), st.TempText);
    r.Fields.insert(QStringLiteral("raw_temperature"), st.RawTemperature);
    r.Fields.insert(QStringLiteral("protected"), st.ProtectAlarm);
    r.Fields.insert(QStringLiteral("temperature_alarm"), st.TempAlarm);
    r.Fields.insert(QStringLiteral("voltage_alarm"), st.VoltageAlarm);
    r.Fields.insert(QStringLiteral("standby"), st.Standby);
}

std::optional<InfoReply> RunUsage(UnitSession& s, const NoValue&, UnitResult& r)
{
    return fleet::ReadUsage(s, r);
}

void RenderUsage(const NoValue&, const InfoReply& info, UnitResult& r)
{
    const QString text = InfoMessageText(info.BurnCount, info.TotalMinutes);
    r.Lines << text.split(QLatin1Char('\n'));
    r.Fields.insert(QStringLiteral("burn_count"), info.BurnCount);
    r.Fields.insert(QStringLiteral("minutes"), info.TotalMinutes);
    r.Fields.insert(QStringLiteral("text"), text);
}

Prepared PrepareRename(const CtlCommand& c, NewName& n)
{
    const QString name = c.Args.value(0);
    if (name.trimmed().isEmpty())
        return Prepared::Usage(QStringLiteral("the new name is empty"));
    if (name.trimmed() != name)
        return Prepared::Usage(QStringLiteral("the name may not start or end with a blank (the unit drops them)"));
    if (name.size() > kRenameLimit)
        return Prepared::Usage(QStringLiteral("the name has %1 characters; a unit name has at most %2")
                                   .arg(name.size())
                                   .arg(kRenameLimit));
    for (const QChar ch : name) {
        if (ch.unicode() > 0xFF || ch.unicode() < 0x20)
            return Prepared::Usage(
                QStringLiteral("the name holds \"%1\", which a unit name cannot (ISO 8859-1 letters only)").arg(ch));
    }
    n.Name = name;
    return {};
}

std::optional<QString> RunRename(UnitSession& s, const NewName& n, UnitResult& r)
{
    const QString previous = s.Identity().Name;
    if (!s.Send(RenameFrame(NameFieldBytes(n.Name))))
        return std::nullopt;
    // Rename draws no reply: the unit's identity tells whether it took it.
    const auto reply = s.Request(IdentifyRequest(), Command::Identify, QStringLiteral("the Identify after Rename"));
    if (!reply)
        return std::nullopt;
    const QString now = ReadIdentity(*reply).Name;
    r.Fields.insert(QStringLiteral("previous"), previous);
    if (now != n.Name) {
        r.Error = QStringLiteral("the unit did not apply the write: name is \"%1\" in its identity reply, \"%2\" was sent")
                      .arg(now, n.Name);
        return std::nullopt;
    }
    return previous;
}

void RenderRename(const NewName& n, const QString& previous, UnitResult& r)
{
    r.Name = n.Name;
    r.Lines << QStringLiteral("renamed \"%1\" to \"%2\"").arg(previous, n.Name);
}

}  // namespace qireq::ctl
