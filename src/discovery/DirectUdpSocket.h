#pragma once
// A UDP socket that never asks for a proxy. Units answer on the local
// network; a system proxy look-up would only cost time, and Qt runs it on a
// thread of its own.
#include <QNetworkProxy>
#include <QUdpSocket>

namespace qireq {

class DirectUdpSocket : public QUdpSocket {
public:
    DirectUdpSocket() { setProxy(QNetworkProxy::NoProxy); }
};

}  // namespace qireq
