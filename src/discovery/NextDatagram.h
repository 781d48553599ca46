#pragma once
// Receiving on a discovery socket: a blocking wait for the next datagram
// that a stop of its thread still cuts short.
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QString>

#include <optional>

class QUdpSocket;

namespace qireq {

class DiscoveryThread;

// The next datagram, at most maxSize bytes of it (the rest is dropped), or
// nothing after waitMs (-1: no limit) or once the thread is to stop. A
// failed receive gives an empty datagram with no sender.
std::optional<QNetworkDatagram> NextDatagram(QUdpSocket& socket, DiscoveryThread& thread,
                                             qint64 maxSize, int waitMs = -1);

// Every unit of a site answers a probe within milliseconds: asks for a
// receive buffer that holds such a burst (1024 answers and more), so the
// system does not drop them before the listener has read them. The system
// may grant less (Linux caps it at net.core.rmem_max); returns what it
// grants, in bytes.
int AskForAnswerBuffer(QUdpSocket& socket);

// A send that failed (a broadcast while no network is up) leaves an error
// on a Qt socket that makes its next wait close it: the socket is closed and
// bound anew instead, to go on hearing answers. False when it cannot be.
bool BindAfresh(QUdpSocket& socket, const QHostAddress& address, quint16 port);

// The sender of a datagram as dotted IPv4 text ("" when there is none).
QString SenderText(const QNetworkDatagram& datagram);
QString SenderText(const QHostAddress& sender);

}  // namespace qireq
