#include "protocol/ReceivePath.h"

#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/ReplyDispatcher.h"

#include <QPointer>

#include <algorithm>
#include <array>

namespace qireq {

ReceivePath::ReceivePath(ReplyDispatcher& dispatcher, QObject* parent)
    : QObject(parent), dispatcher_(dispatcher)
{
}

void ReceivePath::ComPort1RxChar(TComPort* sender, int count)
{
    if (!sender || count <= 0)
        return;
    if (!ReadSerialChunk(*sender, std::min(count, kReadChunk)))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, port = QPointer<TComPort>(sender)] {
            if (port)
                ComPort1RxChar(port, kReadChunk);
        },
        Qt::QueuedConnection);
}

bool ReceivePath::ReadSerialChunk(TComPort& port, int wanted)
{
    std::array<char, kReadChunk> buffer{};
    const int read = port.Read(buffer.data(), wanted);
    if (read <= 0)
        return false;
    // The name is taken now: the probing port moves on to the next port.
    dispatcher_.Feed(RxOrigin::SerialPort(port.Port()), buffer.data(), read);
    return read == kReadChunk;
}

void ReceivePath::ClientSocket1Read(TClientSocket* sender)
{
    if (!sender || !ReadSocketChunk(*sender))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, socket = QPointer<TClientSocket>(sender)] {
            if (socket)
                ClientSocket1Read(socket);
        },
        Qt::QueuedConnection);
}

bool ReceivePath::ReadSocketChunk(TClientSocket& socket)
{
    const int waiting = std::min(socket.WaitingCount(), kReadChunk);
    if (waiting <= 0)
        return false;
    std::array<char, kReadChunk> buffer{};
    const int read = socket.Receive(buffer.data(), waiting);
    if (read <= 0)
        return false;
    dispatcher_.Feed(RxOrigin::Socket(), buffer.data(), read);
    return socket.WaitingCount() > 0;
}

void ReceivePath::ClientSocket1Error(TClientSocket*, TErrorEvent, int& errorCode)
{
    errorCode = 0;
}

}  // namespace qireq
