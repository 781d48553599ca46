#include "connection/ComponentLinks.h"

#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/SerialLink.h"
#include "protocol/SocketLink.h"

namespace qireq {

ComponentLinks::ComponentLinks(TComPort& comPort1, TClientSocket& clientSocket1)
    : comPort1_(comPort1), clientSocket1_(clientSocket1)
{
}

std::unique_ptr<DeviceLink> ComponentLinks::NewLink(RxOrigin::Kind kind)
{
    if (kind == RxOrigin::Kind::SerialPort)
        return std::make_unique<SerialLink>(comPort1_);
    return std::make_unique<SocketLink>(clientSocket1_);
}

void ComponentLinks::CloseComponents()
{
    CloseSerialPort();
    // A socket still connected (or connecting) from the last attempt or the
    // reconnect loop; its host cannot change while it is active.
    clientSocket1_.Close();
}

void ComponentLinks::CloseSerialPort()
{
    if (comPort1_.Connected())
        comPort1_.Close();
}

QString ComponentLinks::Address(RxOrigin::Kind kind) const
{
    return kind == RxOrigin::Kind::Socket ? clientSocket1_.Host() : comPort1_.Port();
}

}  // namespace qireq
