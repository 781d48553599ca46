#pragma once
// The units' network modules on the LAN: answer the port-8000 probe and the
// module search, each only to the datagram's sender, and (on request) send
// SSDP announcements from one interface address. They never broadcast.
#include "SimDevice.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <optional>
#include <vector>

namespace qireq::sim {

// The interface among `interfaces` that holds `address`; for a loopback
// address, the loopback interface.
std::optional<QNetworkInterface> InterfaceOf(const QHostAddress& address,
                                             const QList<QNetworkInterface>& interfaces);

class SimLanResponder : public QObject {
    Q_OBJECT
public:
    // `log` takes the lines of the receiving sockets ("LAN ...", "UDP-RX ...").
    explicit SimLanResponder(SimLog log, QObject* parent = nullptr);

    // A unit that answers, added before Start. A lone unit (null `address`)
    // answers from the receiving sockets and names as its own address the
    // one the datagram was sent to, else the bind address. A unit with an
    // address answers from a socket of its own bound there, so its answer
    // comes from that address; a datagram sent to it is answered by that
    // unit alone, a broadcast by every unit.
    void AddUnit(SimDevice& device, const QHostAddress& address = {});

    // Binds both ports (shared with other sockets on them) and every unit's
    // own socket, and logs "LAN <addr> <probePort> <modulePort>"; returns an
    // error text.
    QString Start(const QHostAddress& bind, quint16 probePort, quint16 modulePort);

private:
    struct Unit {
        SimDevice* device = nullptr;
        QHostAddress address;
        std::unique_ptr<QUdpSocket> socket;  // null: answers from the receiving socket
    };
    using Accepts = bool (*)(const QByteArray& datagram);
    using MakeAnswer = QByteArray (*)(const SimUnitState& unit, const QHostAddress& own);

    void Read(QUdpSocket& socket, Accepts accepts, MakeAnswer makeAnswer, quint16 replyPort);
    QHostAddress OwnAddress(const QHostAddress& destination) const;

    SimLog log_;
    std::vector<Unit> units_;
    QHostAddress bind_;
    quint16 probePort_ = 0;
    quint16 modulePort_ = 0;
    QUdpSocket probeSocket_;
    QUdpSocket moduleSocket_;
};

class SimSsdpAnnouncer : public QObject {
    Q_OBJECT
public:
    SimSsdpAnnouncer(SimDevice& device, QObject* parent = nullptr);

    // `interfaceAddress` must belong to a local interface (any loopback
    // address counts for the loopback interface). Sends one NOTIFY at once,
    // then one every `intervalMs`; logs "SSDP <addr> <port>".
    QString Start(const QHostAddress& interfaceAddress, quint16 groupPort, int intervalMs);
    // The same on `iface`, which holds `address`, with the first NOTIFY
    // `firstDelayMs` after the start.
    QString StartOn(const QNetworkInterface& iface, const QHostAddress& address, quint16 groupPort,
                    int intervalMs, int firstDelayMs);

private:
    void Announce();

    SimDevice& device_;
    QUdpSocket socket_;
    QTimer timer_;
    QHostAddress address_;
    quint16 groupPort_ = 0;
};

}  // namespace qireq::sim
