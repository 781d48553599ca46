#include "protocol/SocketLink.h"

#include "platform/TClientSocket.h"

namespace qireq {

void SocketLink::SetAddress(const QString& address)
{
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    const QString portText = colon < 0 ? QString() : address.mid(colon + 1);
    bool ok = false;
    const int port = portText.toInt(&ok, 10);
    if (!ok || portText.trimmed() != portText)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(portText));
    // Refused as a whole while connected: the host check comes first and
    // the port is not touched.
    socket_.SetHost(address.left(colon));
    socket_.SetPort(port);
}

QString SocketLink::GetAddress() const
{
    return socket_.Host() + QLatin1Char(':') + QString::number(socket_.Port());
}

void SocketLink::Open()
{
    socket_.Open();
}

void SocketLink::Close()
{
    socket_.Close();
}

int SocketLink::Write(const char* data, int size)
{
    const int sent = socket_.Send(data, size);
    pause_(kWritePauseFirstMs);
    pause_(kWritePauseSecondMs);
    return sent;
}

int SocketLink::Read(char* buffer, int capacity)
{
    const int taken = socket_.Receive(buffer, capacity);
    return taken > 0 ? taken : 0;
}

bool SocketLink::IsOpen() const
{
    return socket_.Active();
}

}  // namespace qireq
