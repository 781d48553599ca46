#pragma once
// The unit's network module on the LAN: answers the port-8000 probe and the
// module search, each only to the datagram's sender, and (on request) sends
// SSDP announcements on one interface address. It never broadcasts.
#include "SimDevice.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

namespace qireq::sim {

class SimLanResponder : public QObject {
    Q_OBJECT
public:
    SimLanResponder(SimDevice& device, QObject* parent = nullptr);

    // Binds both ports (shared with other sockets on them) and logs
    // "LAN <addr> <probePort> <modulePort>"; returns an error text.
    QString Start(const QHostAddress& bind, quint16 probePort, quint16 modulePort);

private:
    void ReadProbes();
    void ReadSearches();
    void Reply(QUdpSocket& socket, const QByteArray& answer, const QHostAddress& to, quint16 port);
    QString OwnAddressText(const QHostAddress& destination) const;

    SimDevice& device_;
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

private:
    void Announce();

    SimDevice& device_;
    QUdpSocket socket_;
    QTimer timer_;
    QHostAddress address_;
    quint16 groupPort_ = 0;
};

}  // namespace qireq::sim
