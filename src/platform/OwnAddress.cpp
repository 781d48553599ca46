#include "platform/OwnAddress.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

namespace qireq {

namespace {

QString FirstInterfaceAddress()
{
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        // Up and carrying a link: a bridge without a cable or member is up
        // but reaches nothing.
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString();
    }
    return {};
}

QString FirstHostNameAddress()
{
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& address : info.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return {};
}

}  // namespace

QString OwnIpv4Address()
{
    QString address = FirstInterfaceAddress();
    if (address.isEmpty())
        address = FirstHostNameAddress();
    if (address.isEmpty())
        address = QHostAddress(QHostAddress::LocalHost).toString();
    return address;
}

}  // namespace qireq
