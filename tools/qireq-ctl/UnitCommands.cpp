#include "UnitCommands.h"

#include "EqText.h"
#include "UnitSession.h"
#include "ValueSnap.h"

#include "eq/EqDisplay.h"
#include "presets/PresetFile.h"
#include "protocol/Frames.h"
#include "protocol/InfoMessageText.h"
#include "protocol/StatusReply.h"


namespace qireq::ctl {

namespace {

// The rename dialog stops typing at 12 characters.
constexpr int kRenameLimit = 12;

QString MacText(const MacBytes& mac)
{
    QStringList pairs;
    for (auto b : mac)
        pairs << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return pairs.join(QLatin1Char(':'));
}

QString PrepareEqSet(const CtlCommand& c, PreparedCommand& p)
{
    const Snap band = ParseBandNumber(c.Args.value(0));
    if (!band.ok())
        return band.Error;
    p.Band = band.Value;
    QStringList notes;
    if (c.Has(QStringLiteral("type"))) {
        const Snap t = ParseBandType(c.Options.value(QStringLiteral("type")));
        if (!t.ok())
            return t.Error;
        p.Type = t.Value;
        p.Snapped.insert(QStringLiteral("type"), TypeWord(t.Value));
    }
    if (c.Has(QStringLiteral("freq"))) {
        const QString text = c.Options.value(QStringLiteral("freq"));
        const Snap f = SnapFrequency(text);
        if (!f.ok())
            return f.Error;
        p.Freq = f.Value;
        notes << QStringLiteral("frequency %1 Hz -> %2 Hz (step %3)").arg(text, FrequencyText(f.Value)).arg(f.Value);
        p.Snapped.insert(QStringLiteral("freq_hz"), FrequencyText(f.Value).toDouble());
        p.Snapped.insert(QStringLiteral("freq_step"), f.Value);
    }
    if (c.Has(QStringLiteral("q"))) {
        const QString text = c.Options.value(QStringLiteral("q"));
        const Snap q = SnapQ(text);
        if (!q.ok())
            return q.Error;
        p.Q = q.Value;
        notes << QStringLiteral("Q %1 -> %2 (step %3)").arg(text, QText(q.Value)).arg(q.Value);
        p.Snapped.insert(QStringLiteral("q"), QText(q.Value).toDouble());
        p.Snapped.insert(QStringLiteral("q_step"), q.Value);
    }
    if (c.Has(QStringLiteral("gain"))) {
        const QString text = c.Options.value(QStringLiteral("gain"));
        const Snap g = SnapGain(text);
        if (!g.ok())
            return g.Error;
        p.Gain = g.Value;
        notes << QStringLiteral("gain %1 dB -> %2 (code %3)").arg(text, GainDbText(g.Value)).arg(g.Value);
        p.Snapped.insert(QStringLiteral("gain_db"), GainDb(g.Value));
        p.Snapped.insert(QStringLiteral("gain_code"), g.Value);
    }
    if (c.Has(QStringLiteral("on")))
        p.Off = false;
    if (c.Has(QStringLiteral("off")))
        p.Off = true;
    if (p.Off)
        p.Snapped.insert(QStringLiteral("on"), !*p.Off);
    if (!p.Type && !p.Freq && !p.Q && !p.Gain && !p.Off)
        return QStringLiteral("eq set %1 changes nothing: give --type, --freq, --q, --gain, --on or --off").arg(p.Band);
    if (!notes.isEmpty())
        p.Notes << QStringLiteral("snapped to the unit's steps: ") + notes.join(QStringLiteral(", "));
    return {};
}

QString PrepareRename(const CtlCommand& c, PreparedCommand& p)
{
    const QString name = c.Args.value(0);
    if (name.trimmed().isEmpty())
        return QStringLiteral("the new name is empty");
    if (name.trimmed() != name)
        return QStringLiteral("the name may not start or end with a blank (the unit drops them)");
    if (name.size() > kRenameLimit)
        return QStringLiteral("the name has %1 characters; a unit name has at most %2").arg(name.size()).arg(kRenameLimit);
    for (const QChar ch : name) {
        if (ch.unicode() > 0xFF || ch.unicode() < 0x20)
            return QStringLiteral("the name holds \"%1\", which a unit name cannot (ISO 8859-1 letters only)").arg(ch);
    }
    p.NewName = name;
    return {};
}

bool RunInfo(UnitSession& s, UnitResult& r)
{
    const IdentityReply& id = s.Identity();
    const int capability = id.Capability.value_or(-1);
    r.Lines << QStringLiteral("name: %1").arg(id.Name);
    r.Lines << QStringLiteral("link: %1").arg(s.Target().IsSerial() ? QStringLiteral("serial") : QStringLiteral("tcp"));
    r.Lines << QStringLiteral("capability: %1 (%2)")
                   .arg(id.Capability ? QString::number(capability) : QStringLiteral("not reported"),
                        id.SupportsStatus() ? QStringLiteral("reports status and usage")
                                            : QStringLiteral("no status or usage"));
    const QString mac = s.Mac() ? MacText(*s.Mac()) : QString();
    if (!mac.isEmpty())
        r.Lines << QStringLiteral("MAC: %1").arg(mac);
    r.Fields.insert(QStringLiteral("link"), s.Target().IsSerial() ? QStringLiteral("serial") : QStringLiteral("tcp"));
    r.Fields.insert(QStringLiteral("capability"), id.Capability ? QJsonValue(capability) : QJsonValue());
    r.Fields.insert(QStringLiteral("reports_status"), id.SupportsStatus());
    r.Fields.insert(QStringLiteral("mac"), mac.isEmpty() ? QJsonValue() : QJsonValue(mac));
    return true;
}

bool NeedsStatusSupport(UnitSession& s, UnitResult& r, const QString& what)
{
    if (s.Identity().SupportsStatus())
        return true;
    r.Error = QStringLiteral("this unit does not report its %1 (capability %2, needs 17 or more)")
                  .arg(what, s.Identity().Capability ? QString::number(*s.Identity().Capability)
                                                     : QStringLiteral("not reported"));
    return false;
}

bool RunStatus(UnitSession& s, UnitResult& r)
{
    if (!NeedsStatusSupport(s, r, QStringLiteral("status")))
        return false;
    const auto reply = s.Request(ReadStatusRequest(), Command::ReadStatus, QStringLiteral("ReadStatus"));
    if (!reply)
        return false;
    const auto st = ReadStatusReply(*reply);
    if (!st) {
        r.Error = QStringLiteral("the status reply was too short (%1 bytes)").arg(reply->size());
        return false;
    }
    auto lamp = [](bool alarm) { return alarm ? QStringLiteral("alarm") : QStringLiteral("normal"); };
    r.Lines << st->TempText;
    r.Lines << QStringLiteral("Protected State: %1").arg(lamp(st->ProtectAlarm));
    r.Lines << QStringLiteral("Temperature State: %1").arg(lamp(st->TempAlarm));
    r.Lines << QStringLiteral("Voltage State: %1").arg(lamp(st->VoltageAlarm));
    r.Lines << QStringLiteral("Standby: %1").arg(st->Standby ? QStringLiteral("on") : QStringLiteral("off"));
    r.Fields.insert(QStringLiteral("temperature_c"), st->Degrees);
    r.Fields.insert(QStringLiteral("temperature_text"), st->TempText);
    r.Fields.insert(QStringLiteral("raw_temperature"), st->RawTemperature);
    r.Fields.insert(QStringLiteral("protected"), st->ProtectAlarm);
    r.Fields.insert(QStringLiteral("temperature_alarm"), st->TempAlarm);
    r.Fields.insert(QStringLiteral("voltage_alarm"), st->VoltageAlarm);
    r.Fields.insert(QStringLiteral("standby"), st->Standby);
    return true;
}

bool RunUsage(UnitSession& s, UnitResult& r)
{
    if (!NeedsStatusSupport(s, r, QStringLiteral("usage")))
        return false;
    const auto reply = s.Request(ReadInfoRequest(), Command::ReadInfo, QStringLiteral("ReadInfo"));
    if (!reply)
        return false;
    const auto info = ReadInfoReply(*reply);
    if (!info) {
        r.Error = QStringLiteral("the usage reply was too short (%1 bytes)").arg(reply->size());
        return false;
    }
    const QString text = InfoMessageText(info->BurnCount, info->TotalMinutes);
    r.Lines << text.split(QLatin1Char('\n'));
    r.Fields.insert(QStringLiteral("burn_count"), info->BurnCount);
    r.Fields.insert(QStringLiteral("minutes"), info->TotalMinutes);
    r.Fields.insert(QStringLiteral("text"), text);
    return true;
}

bool RunRename(UnitSession& s, const PreparedCommand& p, UnitResult& r)
{
    const QString previous = s.Identity().Name;
    if (!s.Send(RenameFrame(NameFieldBytes(p.NewName))))
        return false;
    // Rename draws no reply: the unit's identity tells whether it took it.
    const auto reply = s.Request(IdentifyRequest(), Command::Identify, QStringLiteral("the Identify after Rename"));
    if (!reply)
        return false;
    const QString now = ReadIdentity(*reply).Name;
    r.Fields.insert(QStringLiteral("previous"), previous);
    if (now != p.NewName) {
        r.Error = QStringLiteral("the unit did not apply the write: name is \"%1\" in its identity reply, \"%2\" was sent")
                      .arg(now, p.NewName);
        return false;
    }
    r.Name = now;
    r.Lines << QStringLiteral("renamed \"%1\" to \"%2\"").arg(previous, now);
    return true;
}

}  // namespace

bool IsUnitCommand(const QString& name)
{
    static const QStringList names{QStringLiteral("info"),       QStringLiteral("status"),
                                   QStringLiteral("usage"),      QStringLiteral("eq show"),
                                   QStringLiteral("eq set"),     QStringLiteral("eq trim"),
                                   QStringLiteral("eq bypass"),  QStringLiteral("eq reset"),
                                   QStringLiteral("preset pull"), QStringLiteral("preset push"),
                                   QStringLiteral("rename")};
    return names.contains(name);
}

QString Prepare(const CtlCommand& c, PreparedCommand& p)
{
    p.Command = c;
    p.Name = c.Name();
    if (c.TimeoutMs)
        p.TimeoutMs = *c.TimeoutMs;
    if (p.Name == QLatin1String("eq set"))
        return PrepareEqSet(c, p);
    if (p.Name == QLatin1String("eq trim")) {
        const Snap t = SnapTrim(c.Args.value(0));
        if (!t.ok())
            return t.Error;
        p.Trim = t.Value;
        return {};
    }
    if (p.Name == QLatin1String("eq bypass")) {
        const QString v = c.Args.value(0).toLower();
        if (v != QLatin1String("on") && v != QLatin1String("off"))
            return QStringLiteral("eq bypass wants on or off, not \"%1\"").arg(c.Args.value(0));
        p.Bypass = v == QLatin1String("on");
        return {};
    }
    if (p.Name == QLatin1String("eq reset")) {
        p.Block = ResetBlock;
        return {};
    }
    if (p.Name == QLatin1String("preset push")) {
        const PresetLoad load = ReadPresetFile(c.Args.value(0));
        if (!load.ok())
            return load.message;
        p.Block = load.record;
        return {};
    }
    if (p.Name == QLatin1String("preset pull")) {
        p.File = c.Args.value(0);
        return {};
    }
    if (p.Name == QLatin1String("rename"))
        return PrepareRename(c, p);
    return {};
}

UnitResult RunUnitCommand(const PreparedCommand& p, const UnitTarget& target)
{
    UnitResult r;
    r.Unit = target.Label();
    r.Name = target.Name;
    UnitSession s(target, p.TimeoutMs);
    bool ok = s.Connect();
    if (ok) {
        r.Name = s.Identity().Name;
        const QString& n = p.Name;
        if (n == QLatin1String("info"))
            ok = RunInfo(s, r);
        else if (n == QLatin1String("status"))
            ok = RunStatus(s, r);
        else if (n == QLatin1String("usage"))
            ok = RunUsage(s, r);
        else if (n == QLatin1String("eq show"))
            ok = RunEqShow(s, p, r);
        else if (n == QLatin1String("eq set"))
            ok = RunEqSet(s, p, r);
        else if (n == QLatin1String("eq trim"))
            ok = RunEqTrim(s, p, r);
        else if (n == QLatin1String("eq bypass"))
            ok = RunEqBypass(s, p, r);
        else if (n == QLatin1String("eq reset"))
            ok = RunEqReset(s, p, r);
        else if (n == QLatin1String("preset pull"))
            ok = RunPresetPull(s, p, r);
        else if (n == QLatin1String("preset push") || n == QLatin1String("import"))
            ok = RunPresetPush(s, p, r);
        else if (n == QLatin1String("rename"))
            ok = RunRename(s, p, r);
        else
            ok = false;
    }
    r.Ok = ok;
    if (!ok && r.Error.isEmpty())
        r.Error = s.Error();
    return r;
}

}  // namespace qireq::ctl
