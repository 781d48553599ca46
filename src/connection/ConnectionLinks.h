#pragma once
// The components a connection runs on and the links made over them: a
// serial unit is reached on the connection's serial port, a LAN unit by
// the TCP client. The main window's ComponentLinks wraps its real
// components; tests use recording links. GUI thread only.
#include "protocol/DeviceLink.h"
#include "protocol/ReplyHandoffs.h"

#include <QString>

#include <memory>

namespace qireq {

class ConnectionLinks {
public:
    virtual ~ConnectionLinks() = default;

    // A new link over the component of that kind, not open yet.
    virtual std::unique_ptr<DeviceLink> NewLink(RxOrigin::Kind kind) = 0;
    // Closes whatever either component still holds open (or is still
    // opening), so nothing of an old attempt can reach the next one.
    virtual void CloseComponents() = 0;
    // Closes the serial port if it is open.
    virtual void CloseSerialPort() = 0;
    // Where the component of that kind is connected: the TCP client's host
    // or the serial port's name.
    virtual QString Address(RxOrigin::Kind kind) const = 0;
};

}  // namespace qireq
