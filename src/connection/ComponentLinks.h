#pragma once
// The connection's links over the main window's components: ComPort1 for
// serial units, ClientSocket1 for LAN units. GUI thread only.
#include "connection/ConnectionLinks.h"

namespace qireq {

class TClientSocket;
class TComPort;

class ComponentLinks : public ConnectionLinks {
public:
    ComponentLinks(TComPort& comPort1, TClientSocket& clientSocket1);

    std::unique_ptr<DeviceLink> NewLink(RxOrigin::Kind kind) override;
    void CloseComponents() override;
    void CloseSerialPort() override;
    QString Address(RxOrigin::Kind kind) const override;

private:
    TComPort& comPort1_;
    TClientSocket& clientSocket1_;
};

}  // namespace qireq
