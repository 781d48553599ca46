#include "SimLanSide.h"

#include "SimLanAnswers.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QVariant>

#include <optional>

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

// The interface that holds `address`; for a loopback address, the loopback interface.
std::optional<QNetworkInterface> InterfaceOf(const QHostAddress& address)
{
    const auto interfaces = QNetworkInterface::allInterfaces();
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

}  // namespace

SimLanResponder::SimLanResponder(SimDevice& device, QObject* parent)
    : QObject(parent), device_(device)
{
    connect(&probeSocket_, &QUdpSocket::readyRead, this, &SimLanResponder::ReadProbes);
    connect(&moduleSocket_, &QUdpSocket::readyRead, this, &SimLanResponder::ReadSearches);
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
    device_.Log().Line(QStringLiteral("LAN %1 %2 %3").arg(bind.toString()).arg(probePort).arg(modulePort));
    return {};
}

void SimLanResponder::ReadProbes()
{
    while (probeSocket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = probeSocket_.receiveDatagram(2048);
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());
        device_.Log().Bytes(QStringLiteral("UDP-RX ") + Endpoint(sender, static_cast<quint16>(datagram.senderPort())),
                            datagram.data());
        if (!IsPortProbe(datagram.data()) || !IsUnicastSender(sender) || !device_.Answering())
            continue;
        const QHostAddress own(OwnAddressText(datagram.destinationAddress()));
        // The probe leaves the control program from the probe port, and its
        // listener reads the answers there.
        Reply(probeSocket_, PortProbeAnswer(device_.Unit().State(), own.toIPv4Address()), sender, probePort_);
    }
}

void SimLanResponder::ReadSearches()
{
    while (moduleSocket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = moduleSocket_.receiveDatagram(2048);
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());
        device_.Log().Bytes(QStringLiteral("UDP-RX ") + Endpoint(sender, static_cast<quint16>(datagram.senderPort())),
                            datagram.data());
        if (!IsModuleSearch(datagram.data()) || !IsUnicastSender(sender) || !device_.Answering())
            continue;
        // The search leaves from a passing port; the answer goes to the
        // module port, where the control program's listener waits.
        Reply(moduleSocket_, ModuleSearchAnswer(device_.Unit().State(), OwnAddressText(datagram.destinationAddress())),
              sender, modulePort_);
    }
}

void SimLanResponder::Reply(QUdpSocket& socket, const QByteArray& answer, const QHostAddress& to, quint16 port)
{
    device_.Log().Bytes(QStringLiteral("UDP-TX ") + Endpoint(to, port), answer);
    if (socket.writeDatagram(answer, to, port) < 0)
        device_.Log().Line(QStringLiteral("UDP send failed: ") + socket.errorString());
}

QString SimLanResponder::OwnAddressText(const QHostAddress& destination) const
{
    // A broadcast probe does not say which address reached the unit; the
    // bind address may, otherwise the answer carries 0.0.0.0.
    const QHostAddress to(destination.toIPv4Address());
    if (IsUnicastSender(to))
        return to.toString();
    if (IsUnicastSender(bind_))
        return bind_.toString();
    return QStringLiteral("0.0.0.0");
}

SimSsdpAnnouncer::SimSsdpAnnouncer(SimDevice& device, QObject* parent)
    : QObject(parent), device_(device)
{
    connect(&timer_, &QTimer::timeout, this, &SimSsdpAnnouncer::Announce);
}

QString SimSsdpAnnouncer::Start(const QHostAddress& interfaceAddress, quint16 groupPort, int intervalMs)
{
    const auto iface = InterfaceOf(interfaceAddress);
    if (!iface)
        return QStringLiteral("%1 is not an address of this machine").arg(interfaceAddress.toString());
    // Bound to the interface address, so the announcement comes from it.
    if (!socket_.bind(interfaceAddress, 0))
        return QStringLiteral("cannot bind %1: %2").arg(interfaceAddress.toString(), socket_.errorString());
    socket_.setMulticastInterface(*iface);
    socket_.setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
    socket_.setSocketOption(QAbstractSocket::MulticastLoopbackOption, QVariant(1));
    address_ = interfaceAddress;
    groupPort_ = groupPort;
    device_.Log().Line(QStringLiteral("SSDP %1 %2").arg(interfaceAddress.toString()).arg(groupPort));
    timer_.start(intervalMs);
    Announce();
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
