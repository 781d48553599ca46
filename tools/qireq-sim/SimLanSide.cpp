#include "SimLanSide.h"

#include "SimLanAnswers.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QVariant>

#include <algorithm>

namespace qireq::sim {
namespace {

QHostAddress SsdpGroup()
{
    return QHostAddress(QStringLiteral("239.255.255.250"));
}

// Where an answer may go: a single host, never a group or a broadcast.
bool IsUnicastSender(const QHostAddress& address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isNull()
        && address != QHostAddress(QHostAddress::AnyIPv4) && address != QHostAddress(QHostAddress::Broadcast)
        && !address.isMulticast() && !address.isBroadcast();
}

QString Endpoint(const QHostAddress& address, quint16 port)
{
    return QStringLiteral("%1:%2").arg(address.toString()).arg(port);
}

}  // namespace

std::optional<QNetworkInterface> InterfaceOf(const QHostAddress& address,
                                             const QList<QNetworkInterface>& interfaces)
{
    for (const QNetworkInterface& candidate : interfaces) {
        for (const QNetworkAddressEntry& entry : candidate.addressEntries()) {
            if (entry.ip() == address)
                return candidate;
        }
    }
    if (address.isLoopback()) {
        for (const QNetworkInterface& candidate : interfaces) {
            if (candidate.flags().testFlag(QNetworkInterface::IsLoopBack))
                return candidate;
        }
    }
    return std::nullopt;
}

SimLanResponder::SimLanResponder(SimLog log, QObject* parent) : QObject(parent), log_(std::move(log))
{
    connect(&probeSocket_, &QUdpSocket::readyRead, this, [this] {
        Read(probeSocket_, IsPortProbe,
             [](const SimUnitState& unit, const QHostAddress& own) {
                 return PortProbeAnswer(unit, own.toIPv4Address());
             },
             // The probe leaves the control program from the probe port,
             // and its listener reads the answers there.
             probePort_);
    });
    connect(&moduleSocket_, &QUdpSocket::readyRead, this, [this] {
        Read(moduleSocket_, IsModuleSearch,
             [](const SimUnitState& unit, const QHostAddress& own) {
                 return ModuleSearchAnswer(unit, own.toString());
             },
             // The search leaves from a passing port; the answer goes to the
             // module port, where the control program's listener waits.
             modulePort_);
    });
}

void SimLanResponder::AddUnit(SimDevice& device, const QHostAddress& address)
{
    units_.push_back(Unit{&device, address, nullptr});
}

QString SimLanResponder::Start(const QHostAddress& bind, quint16 probePort, quint16 modulePort)
{
    bind_ = bind;
    probePort_ = probePort;
    modulePort_ = modulePort;
    // The control program may run on the same machine with its own sockets
    // on these ports.
    const auto mode = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    if (!probeSocket_.bind(bind, probePort, mode))
        return QStringLiteral("cannot bind %1: %2").arg(Endpoint(bind, probePort), probeSocket_.errorString());
    if (!moduleSocket_.bind(bind, modulePort, mode))
        return QStringLiteral("cannot bind %1: %2").arg(Endpoint(bind, modulePort), moduleSocket_.errorString());
    // A socket bound to a unit's own address would not receive broadcasts,
    // so units with addresses share the receiving sockets above and answer
    // from a passing port of their own address: the sender's address is
    // what tells units apart.
    for (Unit& unit : units_) {
        if (unit.address.isNull())
            continue;
        unit.socket = std::make_unique<QUdpSocket>();
        if (!unit.socket->bind(unit.address, 0)) {
            return QStringLiteral("cannot bind %1: %2")
                .arg(Endpoint(unit.address, 0), unit.socket->errorString());
        }
    }
    log_.Line(QStringLiteral("LAN %1 %2 %3").arg(bind.toString()).arg(probePort).arg(modulePort));
    return {};
}

void SimLanResponder::Read(QUdpSocket& socket, Accepts accepts, MakeAnswer makeAnswer, quint16 replyPort)
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram(2048);
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());
        log_.Bytes(QStringLiteral("UDP-RX ") + Endpoint(sender, static_cast<quint16>(datagram.senderPort())),
                   datagram.data());
        if (!accepts(datagram.data()) || !IsUnicastSender(sender))
            continue;
        const QHostAddress to(datagram.destinationAddress().toIPv4Address());
        // Sent to one unit's address: that unit answers; a broadcast: all do.
        const auto isTo = [&to](const Unit& unit) { return unit.address == to; };
        const bool toOneUnit = IsUnicastSender(to) && std::any_of(units_.cbegin(), units_.cend(), isTo);
        for (const Unit& unit : units_) {
            if ((toOneUnit && unit.address != to) || !unit.device->Answering())
                continue;
            const QHostAddress own = unit.socket ? unit.address : OwnAddress(to);
            const QByteArray answer = makeAnswer(unit.device->Unit().State(), own);
            QUdpSocket& from = unit.socket ? *unit.socket : socket;
            unit.device->Log().Bytes(QStringLiteral("UDP-TX ") + Endpoint(sender, replyPort), answer);
            if (from.writeDatagram(answer, sender, replyPort) < 0)
                unit.device->Log().Line(QStringLiteral("UDP send failed: ") + from.errorString());
        }
    }
}

QHostAddress SimLanResponder::OwnAddress(const QHostAddress& to) const
{
    // A broadcast probe does not say which address reached the unit; the
    // bind address may, otherwise the answer carries 0.0.0.0.
    if (IsUnicastSender(to))
        return to;
    if (IsUnicastSender(bind_))
        return bind_;
    return QHostAddress(QHostAddress::AnyIPv4);
}

SimSsdpAnnouncer::SimSsdpAnnouncer(SimDevice& device, QObject* parent)
    : QObject(parent), device_(device)
{
    connect(&timer_, &QTimer::timeout, this, &SimSsdpAnnouncer::Announce);
}

QString SimSsdpAnnouncer::Start(const QHostAddress& interfaceAddress, quint16 groupPort, int intervalMs)
{
    const auto iface = InterfaceOf(interfaceAddress, QNetworkInterface::allInterfaces());
    if (!iface)
        return QStringLiteral("%1 is not an address of this machine").arg(interfaceAddress.toString());
    return StartOn(*iface, interfaceAddress, groupPort, intervalMs, 0);
}

QString SimSsdpAnnouncer::StartOn(const QNetworkInterface& iface, const QHostAddress& address, quint16 groupPort,
                                  int intervalMs, int firstDelayMs)
{
    // Bound to the interface address, so the announcement comes from it.
    if (!socket_.bind(address, 0))
        return QStringLiteral("cannot bind %1: %2").arg(address.toString(), socket_.errorString());
    socket_.setMulticastInterface(iface);
    socket_.setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
    socket_.setSocketOption(QAbstractSocket::MulticastLoopbackOption, QVariant(1));
    address_ = address;
    groupPort_ = groupPort;
    device_.Log().Line(QStringLiteral("SSDP %1 %2").arg(address.toString()).arg(groupPort));
    if (firstDelayMs <= 0) {
        timer_.start(intervalMs);
        Announce();
    } else {
        QTimer::singleShot(firstDelayMs, this, [this, intervalMs] {
            timer_.start(intervalMs);
            Announce();
        });
    }
    return {};
}

void SimSsdpAnnouncer::Announce()
{
    const QByteArray notify = SsdpNotify(device_.Unit().State(), address_.toString(), groupPort_);
    device_.Log().Line(QStringLiteral("SSDP-TX %1").arg(Endpoint(SsdpGroup(), groupPort_)));
    if (socket_.writeDatagram(notify, SsdpGroup(), groupPort_) < 0)
        device_.Log().Line(QStringLiteral("SSDP send failed: ") + socket_.errorString());
}

}  // namespace qireq::sim
