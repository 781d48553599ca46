#include "platform/TClientSocket.h"

#include "platform/PlatformErrors.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <QtGlobal>

#include <algorithm>
#include <climits>

namespace qireq {

namespace {

constexpr int kMaxTcpPort = 65535;

}  // namespace

TClientSocket::TClientSocket(QObject* parent) : QObject(parent) {}

TClientSocket::~TClientSocket()
{
    ReleaseSocket();
}

void TClientSocket::SetHost(const QString& host)
{
    if (active_)
        throw ESocketError(QStringLiteral("Can't change value while socket is active"));
    host_ = host;
}

void TClientSocket::SetPort(int port)
{
    if (active_)
        throw ESocketError(QStringLiteral("Can't change value while socket is active"));
    port_ = port;
}

void TClientSocket::Open()
{
    if (active_)
        return;
    if (host_.isEmpty())
        throw ESocketError(QStringLiteral("No address specified"));
    ReleaseSocket();
    if (port_ < 0 || port_ > kMaxTcpPort) {
        ReportCallFailure(TErrorEvent::Connect, QAbstractSocket::SocketAddressNotAvailableError,
            QStringLiteral("The requested address is not valid in its context"), "connect");
        return;
    }
    auto* socket = new QTcpSocket(this);
    // Units are reached directly, never through a proxy the desktop may name.
    socket->setProxy(QNetworkProxy::NoProxy);
    socket_ = socket;
    connect(socket, &QTcpSocket::connected, this, &TClientSocket::NoteConnected);
    connect(socket, &QTcpSocket::readyRead, this, &TClientSocket::NoteReadyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, &TClientSocket::NoteBytesWritten);
    connect(socket, &QTcpSocket::errorOccurred, this, &TClientSocket::NoteError);
    connect(socket, &QTcpSocket::disconnected, this, &TClientSocket::NoteDisconnected);
    socket->connectToHost(host_, static_cast<quint16>(port_), QIODevice::ReadWrite,
        QAbstractSocket::IPv4Protocol);
}

void TClientSocket::Close()
{
    if (socket_ == nullptr)
        return;
    const bool wasActive = active_;
    if (wasActive) {
        // Whatever the flush runs into, this close is the one report.
        inTransfer_ = true;
        socket_->flush();
        inTransfer_ = false;
    }
    ReleaseSocket();
    if (wasActive)
        emit OnDisconnect(this);
}

int TClientSocket::Send(const char* data, int count)
{
    if (!active_ || socket_ == nullptr || count <= 0 || data == nullptr)
        return 0;
    inTransfer_ = true;
    transferFailed_ = false;
    qint64 taken = socket_->write(data, count);
    // Hand the bytes to the network now: the caller's pause after each frame
    // is meant to keep frames apart on the wire, not in our buffer.
    if (taken >= 0)
        socket_->flush();
    inTransfer_ = false;
    if (taken >= 0 && !transferFailed_)
        return static_cast<int>(taken);

    const QAbstractSocket::SocketError error = transferFailed_ ? transferError_ : socket_->error();
    const QString text = socket_->errorString();
    LoseConnection();
    ReportCallFailure(TErrorEvent::Send, error, text, "send");
    return -1;
}

int TClientSocket::WaitingCount() const
{
    if (!active_ || socket_ == nullptr)
        return 0;
    return static_cast<int>(std::min<qint64>(socket_->bytesAvailable(), INT_MAX));
}

int TClientSocket::Receive(char* buffer, int count)
{
    if (!active_ || socket_ == nullptr || count <= 0 || buffer == nullptr)
        return 0;
    inTransfer_ = true;
    transferFailed_ = false;
    const qint64 taken = socket_->read(buffer, count);
    inTransfer_ = false;
    if (taken >= 0 && !transferFailed_)
        return static_cast<int>(taken);

    const QAbstractSocket::SocketError error = transferFailed_ ? transferError_ : socket_->error();
    const QString text = socket_->errorString();
    LoseConnection();
    ReportCallFailure(TErrorEvent::Receive, error, text, "recv");
    return -1;
}

void TClientSocket::NoteConnected()
{
    active_ = true;
    // Small frames go out one by one as they are written, not gathered.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    emit OnConnect(this);
}

void TClientSocket::NoteReadyRead()
{
    if (active_ && socket_ != nullptr && socket_->bytesAvailable() > 0)
        emit OnRead(this);
}

void TClientSocket::NoteBytesWritten()
{
    if (active_ && socket_ != nullptr && socket_->bytesToWrite() == 0)
        emit OnWrite(this);
}

void TClientSocket::NoteError(QAbstractSocket::SocketError error)
{
    if (inTransfer_) {
        transferFailed_ = true;
        transferError_ = error;
        return;
    }
    if (error == QAbstractSocket::RemoteHostClosedError && active_) {
        LoseConnection();  // the peer closed: not a failure
        return;
    }
    const TErrorEvent kind = !active_
        ? (error == QAbstractSocket::HostNotFoundError ? TErrorEvent::Lookup : TErrorEvent::Connect)
        : TErrorEvent::Receive;
    LoseConnection();
    ReportEventFailure(kind, error);
}

void TClientSocket::NoteDisconnected()
{
    if (inTransfer_) {
        transferFailed_ = true;
        transferError_ = QAbstractSocket::RemoteHostClosedError;
        return;
    }
    LoseConnection();
}

void TClientSocket::ReleaseSocket()
{
    active_ = false;
    if (socket_ == nullptr)
        return;
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    // The socket may be in the middle of signalling us: cut it loose now,
    // delete it once the event loop has left it.
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
}

void TClientSocket::LoseConnection()
{
    const bool wasActive = active_;
    ReleaseSocket();
    if (wasActive)
        emit OnDisconnect(this);
}

void TClientSocket::ReportCallFailure(TErrorEvent kind, QAbstractSocket::SocketError error,
    const QString& text, const char* call)
{
    int code = SocketErrorNumber(error);
    emit OnError(this, kind, code);
    if (code != 0) {
        throw ESocketError(QStringLiteral("Windows socket error: %1 (%2), on API '%3'")
                               .arg(text)
                               .arg(code)
                               .arg(QLatin1String(call)));
    }
}

void TClientSocket::ReportEventFailure(TErrorEvent kind, QAbstractSocket::SocketError error)
{
    int code = SocketErrorNumber(error);
    emit OnError(this, kind, code);
    // Nobody called anything that could take a thrown error.
    if (code != 0)
        qWarning("Asynchronous socket error %d", code);
}

}  // namespace qireq
