#pragma once
// The TCP client component: connects to Host:Port without waiting and
// reports everything through notifications raised on its own (the GUI)
// thread, one at a time. Used from the GUI thread only.
//
// Active is true from the moment the connection is established until it is
// closed or lost; a connection attempt still under way does not count.
#include <QAbstractSocket>
#include <QObject>
#include <QString>

#include <stdexcept>

class QTcpSocket;

namespace qireq {

// The kinds of failure carried by OnError (values 0 to 6).
enum class TErrorEvent { General, Send, Receive, Connect, Disconnect, Accept, Lookup };

// Raised by the operations: a change of Host or Port while active, an Open
// without a host, and a failed call whose error code the handler left set.
class ESocketError : public std::runtime_error {
public:
    explicit ESocketError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

class TClientSocket : public QObject {
    Q_OBJECT
public:
    explicit TClientSocket(QObject* parent = nullptr);
    ~TClientSocket() override;

    // Both may be changed only while not active; they take effect at the
    // next Open. A change while active throws ESocketError.
    QString Host() const { return host_; }
    void SetHost(const QString& host);
    int Port() const { return port_; }
    void SetPort(int port);

    bool Active() const { return active_; }

    // Starts a connection attempt and returns at once; the outcome is
    // OnConnect or OnError (kind Lookup or Connect). Does nothing while
    // connected; an attempt still under way gives way to the new one.
    // Throws ESocketError "No address specified" without a host.
    void Open();
    // Cancels an attempt or closes the connection; Active becomes false.
    void Close();

    // Hands the bytes to the network at once. Returns how many were taken,
    // 0 when not connected, or -1 after a failure (reported as kind Send,
    // and the connection is closed).
    int Send(const char* data, int count);
    // Bytes that can be received now without waiting; 0 when not connected.
    int WaitingCount() const;
    // Takes up to count received bytes; 0 when not connected or none are
    // there, -1 after a failure (reported as kind Receive, connection closed).
    int Receive(char* buffer, int count);

signals:
    void OnConnect(qireq::TClientSocket* sender);
    void OnDisconnect(qireq::TClientSocket* sender);
    void OnRead(qireq::TClientSocket* sender);
    // The socket has handed all it was given to the network.
    void OnWrite(qireq::TClientSocket* sender);
    // A failure with the platform's error number in errorCode. A handler
    // that sets errorCode to 0 suppresses it; otherwise a failed call throws
    // "Windows socket error: <text> (<code>), on API '<call>'" and a failure
    // found by the event loop is logged as "Asynchronous socket error <code>".
    // Active is already false when the failure ended the connection.
    void OnError(qireq::TClientSocket* sender, qireq::TErrorEvent errorEvent, int& errorCode);

private:
    void NoteConnected();
    void NoteReadyRead();
    void NoteBytesWritten();
    void NoteError(QAbstractSocket::SocketError error);
    void NoteDisconnected();

    void ReleaseSocket();
    void LoseConnection();
    void ReportCallFailure(TErrorEvent kind, QAbstractSocket::SocketError error,
        const QString& text, const char* call);
    void ReportEventFailure(TErrorEvent kind, QAbstractSocket::SocketError error);

    QString host_;
    int port_ = 0;
    bool active_ = false;
    QTcpSocket* socket_ = nullptr;  // the current attempt or connection
    // While Send or Receive runs, what the socket signals belongs to them.
    bool inTransfer_ = false;
    QAbstractSocket::SocketError transferError_ = QAbstractSocket::UnknownSocketError;
    bool transferFailed_ = false;
};

}  // namespace qireq
