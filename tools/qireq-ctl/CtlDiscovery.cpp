#include "CtlDiscovery.h"

#include "CtlFleet.h"

#include "discovery/LanDiscovery.h"
#include "platform/SerialPortEnumeration.h"
#include "platform/TComPort.h"
#include "protocol/Frames.h"
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"
#include "state/MacText.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QThread>

#include <mutex>

namespace qireq::ctl {

namespace {

QString KindWord(int kind)
{
    switch (kind) {
    case kSsdpUnit: return QStringLiteral("ssdp");
    case kModuleUnit: return QStringLiteral("module");
    case kProbeUnit: return QStringLiteral("probe");
    default: return QStringLiteral("serial");
    }
}

// The device list's MAC text as qireq-ctl prints it; empty while unknown.
QString ShownMac(const QString& mac)
{
    const std::optional<MacBytes> bytes = mac == kUnknownMac ? std::nullopt : TextToMac(mac);
    return bytes ? MacWithColons(*bytes) : QString();
}

// Identify's answer as a row: name and capability.
UnitResult IdentifyRow(UnitSession& s)
{
    UnitResult r;
    r.Ok = true;
    r.Name = s.Identity().Name;
    r.Fields.insert(QStringLiteral("capability"),
                    s.Identity().Capability ? QJsonValue(*s.Identity().Capability) : QJsonValue());
    return r;
}

// The serial ping the prober sends, then Identify on a port that answered.
// Ports that do not open or do not answer are no units; a port this user
// may not open is still worth a line.
UnitResult PingSerial(const UnitTarget& target, int timeoutMs)
{
    UnitSession s(target, timeoutMs);
    UnitResult r;
    if (!s.OpenOnly()) {
        r.Error = s.Error();
        if (r.Error.startsWith(QLatin1String("permission denied")))
            r.Fields.insert(QStringLiteral("refused"), true);
        return r;
    }
    if (!s.Request(PingRequest(), Command::Ping, QStringLiteral("Ping"))) {
        r.Error = s.Error();
        return r;
    }
    r.Fields.insert(QStringLiteral("answered_ping"), true);
    if (!s.Identify()) {
        r.Error = s.Error();
        return r;
    }
    UnitResult row = IdentifyRow(s);
    row.Fields.insert(QStringLiteral("answered_ping"), true);
    return row;
}

}  // namespace

std::vector<FoundUnit> Discover(const DiscoverySettings& settings, QStringList* notes)
{
    // Serial ports: the system's, and those named with --serial.
    QStringList ports = EnumerateSerialPorts();
    for (const QString& p : settings.ExtraSerial) {
        if (!ports.contains(p))
            ports << p;
    }
    std::vector<UnitTarget> serialTargets;
    for (const QString& p : ports)
        serialTargets.push_back(UnitTarget::Serial(p));

    DeviceList devices;
    // The window lets the next unit in once the last one's tile is built;
    // here there is no tile to wait for.
    devices.SetUnitAddedHandler([&devices](const DeviceEntry&) { devices.Flags().AddPending.store(false); });
    LanDiscovery lan(devices);
    lan.Start();
    std::vector<UnitResult> serialRows;
    QThread* serialThread = QThread::create([&] {
        serialRows = RunOnUnits(serialTargets, [&](const UnitTarget& t) { return PingSerial(t, settings.TimeoutMs); });
    });
    serialThread->start();

    QDeadlineTimer deadline(settings.Ms);
    while (!deadline.hasExpired()) {
        QThread::msleep(50);
        if (!settings.WantedAddresses.isEmpty()) {
            bool all = true;
            for (const QString& a : settings.WantedAddresses)
                all = all && devices.Contains(a);
            if (all)
                break;
        }
    }
    lan.Stop();
    serialThread->wait();
    delete serialThread;

    std::vector<FoundUnit> found;
    for (std::size_t i = 0; i < serialTargets.size(); ++i) {
        const UnitResult& row = serialRows[i];
        if (notes && row.Fields.value(QStringLiteral("refused")).toBool())
            *notes << row.Error + QStringLiteral(" (not probed)");
        if (!row.Fields.value(QStringLiteral("answered_ping")).toBool())
            continue;
        FoundUnit f;
        f.Target = serialTargets[i];
        f.Kind = KindWord(kSerialUnit);
        f.Identity = row;
        found.push_back(f);
    }
    std::vector<FoundUnit> lanFound;
    std::vector<UnitTarget> lanTargets;
    for (const DeviceEntry& e : devices.Devices()) {
        FoundUnit f;
        f.Target.Type = UnitTarget::Kind::Tcp;
        f.Target.Address = e.Address;
        f.Kind = KindWord(e.Kind);
        f.Mac = e.Mac == kUnknownMac ? QString() : e.Mac;
        lanFound.push_back(f);
        lanTargets.push_back(f.Target);
    }
    const auto ids = RunOnUnits(lanTargets, [&](const UnitTarget& t) {
        UnitSession s(t, settings.TimeoutMs);
        if (!s.Connect()) {
            UnitResult r;
            r.Error = s.Error();
            return r;
        }
        return IdentifyRow(s);
    });
    for (std::size_t i = 0; i < lanFound.size(); ++i) {
        lanFound[i].Identity = ids[i];
        lanFound[i].Target.Name = ids[i].Name;
        found.push_back(lanFound[i]);
    }
    for (auto& f : found)
        f.Target.Name = f.Identity.Name;
    return found;
}

std::vector<UnitResult> DiscoverResults(const std::vector<FoundUnit>& found)
{
    std::vector<UnitResult> rows;
    for (const FoundUnit& f : found) {
        UnitResult r = f.Identity;
        r.Unit = f.Target.Label();
        const QString mac = ShownMac(f.Mac);
        const QJsonValue capability = r.Fields.value(QStringLiteral("capability"));
        QJsonObject fields;
        fields.insert(QStringLiteral("address"), f.Target.Address);
        fields.insert(QStringLiteral("kind"), f.Kind);
        fields.insert(QStringLiteral("mac"), mac.isEmpty() ? QJsonValue() : QJsonValue(mac));
        fields.insert(QStringLiteral("capability"), capability.isUndefined() ? QJsonValue() : capability);
        r.Fields = fields;
        r.Lines.clear();
        r.Lines << QStringLiteral("%1  %2  %3  %4  capability %5")
                       .arg(f.Target.Address, f.Kind, mac.isEmpty() ? QStringLiteral("-") : mac,
                            r.Name.isEmpty() ? QStringLiteral("-") : r.Name,
                            capability.isDouble() ? QString::number(capability.toInt()) : QStringLiteral("-"));
        rows.push_back(r);
    }
    return rows;
}

const FoundUnit* MatchUnit(const std::vector<FoundUnit>& found, const QString& wanted)
{
    const std::optional<MacBytes> macWanted = ParseMacAddress(wanted);
    for (const FoundUnit& f : found) {
        if (f.Target.Address.compare(wanted, Qt::CaseInsensitive) == 0
            || f.Target.Label().compare(wanted, Qt::CaseInsensitive) == 0)
            return &f;
    }
    for (const FoundUnit& f : found) {
        if (!f.Identity.Name.isEmpty() && f.Identity.Name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &f;
        if (macWanted && TextToMac(f.Mac) == macWanted)
            return &f;
    }
    return nullptr;
}

}  // namespace qireq::ctl
