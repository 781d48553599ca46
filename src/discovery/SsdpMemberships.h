#pragma once
// The SSDP group joined on every IPv4 interface of this machine that is up,
// so announcements arrive from each attached network (the loopback one
// included); interfaces that come up later join at the next rescan.
#include <QHostAddress>
#include <QSet>
#include <QString>

class QUdpSocket;

namespace qireq {

class SsdpMemberships {
public:
    SsdpMemberships(QUdpSocket& socket, const QHostAddress& group);

    // Joins the group on every such interface not joined yet and forgets the
    // interfaces that are gone. Returns the number of memberships held.
    int JoinNewInterfaces();

private:
    QUdpSocket& socket_;
    QHostAddress group_;
    QSet<QString> joined_;  // interface name and index
};

}  // namespace qireq
