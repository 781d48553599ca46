#include "discovery/NextDatagram.h"

#include "discovery/DiscoveryThread.h"

#include <QDeadlineTimer>
#include <QUdpSocket>
#include <QVariant>

#include <algorithm>

namespace qireq {

namespace {
// How long one wait may block before the stop flag is looked at again.
constexpr int kWaitSliceMs = 100;
// A small answer takes about 1 KB of a Linux socket's buffer (its data and
// the kernel's bookkeeping): room for 2048 of them.
constexpr int kAnswerBufferBytes = 2 * 1024 * 1024;
}  // namespace

std::optional<QNetworkDatagram> NextDatagram(QUdpSocket& socket, DiscoveryThread& thread,
                                             qint64 maxSize, int waitMs)
{
    const QDeadlineTimer deadline =
        waitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(waitMs);
    while (thread.Running()) {
        if (socket.state() != QAbstractSocket::BoundState) {
            // Nothing can arrive, and a wait would return at once.
            thread.Pause(static_cast<int>(deadline.isForever() ? kWaitSliceMs
                                                               : std::min<qint64>(deadline.remainingTime(),
                                                                                  kWaitSliceMs)));
            if (deadline.hasExpired())
                return std::nullopt;
            continue;
        }
        if (socket.hasPendingDatagrams())
            return socket.receiveDatagram(maxSize);
        if (deadline.hasExpired())
            return std::nullopt;
        const qint64 left = deadline.isForever() ? kWaitSliceMs : deadline.remainingTime();
        socket.waitForReadyRead(static_cast<int>(std::min<qint64>(left, kWaitSliceMs)));
    }
    return std::nullopt;
}

int AskForAnswerBuffer(QUdpSocket& socket)
{
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kAnswerBufferBytes);
    return socket.socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
}

bool BindAfresh(QUdpSocket& socket, const QHostAddress& address, quint16 port)
{
    socket.abort();
    return socket.bind(address, port);
}

QString SenderText(const QNetworkDatagram& datagram)
{
    return SenderText(datagram.senderAddress());
}

QString SenderText(const QHostAddress& sender)
{
    bool ipv4 = false;
    const quint32 address = sender.toIPv4Address(&ipv4);
    return ipv4 ? QHostAddress(address).toString() : QString();
}

}  // namespace qireq
