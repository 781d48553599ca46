#include "SimTcpServer.h"

#include "SimResponder.h"

#include <QTcpSocket>
#include <QVariant>

namespace qireq::sim {

SimTcpServer::SimTcpServer(SimDevice& device, QObject* parent)
    : QObject(parent), device_(device)
{
    connect(&server_, &QTcpServer::newConnection, this, &SimTcpServer::Accept);
}

QString SimTcpServer::Listen(const QHostAddress& address, quint16 port)
{
    if (!server_.listen(address, port))
        return QStringLiteral("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(server_.errorString());
    device_.Log().Line(QStringLiteral("TCP %1:%2").arg(server_.serverAddress().toString()).arg(server_.serverPort()));
    return {};
}

void SimTcpServer::Accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        // Pieces of a reply are meant to leave as separate segments.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, QVariant(1));
        const QString peer = QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        device_.Log().Line(QStringLiteral("CONNECT ") + peer);

        auto* responder = new SimResponder(
            device_, [socket](const QByteArray& bytes) { socket->write(bytes); },
            [socket] { socket->disconnectFromHost(); }, socket);
        connect(socket, &QTcpSocket::readyRead, responder, [socket, responder] {
            responder->Receive(socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, peer] {
            device_.Log().Line(QStringLiteral("DISCONNECT ") + peer);
            socket->deleteLater();
        });
    }
}

}  // namespace qireq::sim
