#include "discovery/SsdpMemberships.h"

#include <QNetworkInterface>
#include <QUdpSocket>

namespace qireq {

namespace {

bool HasIpv4(const QNetworkInterface& iface)
{
    const auto entries = iface.addressEntries();
    return std::any_of(entries.cbegin(), entries.cend(), [](const QNetworkAddressEntry& entry) {
        return entry.ip().protocol() == QAbstractSocket::IPv4Protocol;
    });
}

// Loopback carries multicast without saying so.
bool Joinable(const QNetworkInterface& iface)
{
    const auto flags = iface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) &&
           (flags.testFlag(QNetworkInterface::CanMulticast) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) &&
           HasIpv4(iface);
}

QString KeyOf(const QNetworkInterface& iface)
{
    return iface.name() + QLatin1Char('#') + QString::number(iface.index());
}

}  // namespace

SsdpMemberships::SsdpMemberships(QUdpSocket& socket, const QHostAddress& group)
    : socket_(socket), group_(group)
{
}

int SsdpMemberships::JoinNewInterfaces()
{
    QSet<QString> present;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        if (!Joinable(iface))
            continue;
        const QString key = KeyOf(iface);
        present.insert(key);
        if (!joined_.contains(key) && socket_.joinMulticastGroup(group_, iface))
            joined_.insert(key);
    }
    // An interface that went away took its membership with it.
    joined_.intersect(present);
    return static_cast<int>(joined_.size());
}

}  // namespace qireq
