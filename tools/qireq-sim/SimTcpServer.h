#pragma once
// The unit's TCP side: accepts any number of connections, each with its own
// responder, on the address and port it was given.
#include "SimDevice.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

namespace qireq::sim {

class SimTcpServer : public QObject {
    Q_OBJECT
public:
    SimTcpServer(SimDevice& device, QObject* parent = nullptr);

    // Starts listening; returns an error text, empty on success. Logs
    // "TCP <addr>:<port>" with the port actually bound.
    QString Listen(const QHostAddress& address, quint16 port);

private:
    void Accept();

    SimDevice& device_;
    QTcpServer server_;
};

}  // namespace qireq::sim
