#include "platform/MacLookup.h"

#include <QNetworkInterface>

namespace qireq {

namespace {

// A loopback interface holds its whole subnet (127.0.0.0/8), not only the
// address it lists.
bool Holds(const QNetworkInterface& iface, const QNetworkAddressEntry& entry,
           const QHostAddress& address)
{
    if (entry.ip() == address)
        return true;
    return iface.flags().testFlag(QNetworkInterface::IsLoopBack) &&
           address.isInSubnet(entry.ip(), entry.prefixLength());
}

QString HexDigitsOf(const QString& hardwareAddress)
{
    QString digits = hardwareAddress;
    digits.remove(QLatin1Char(':'));
    return digits.toUpper();
}

}  // namespace

std::optional<QString> LookupMac(const QString& ipv4)
{
    const QHostAddress address(ipv4);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    if (const std::optional<QString> own = OwnInterfaceMac(address))
        return own;
    return NeighbourMac(address);
}

std::optional<QString> OwnInterfaceMac(const QHostAddress& address)
{
    const QHostAddress ipv4(address.toIPv4Address());
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol || !Holds(iface, entry, ipv4))
                continue;
            const QString digits = HexDigitsOf(iface.hardwareAddress());
            // An interface without a hardware address (a tunnel) counts as zeros.
            return digits.size() == 12 ? digits : QStringLiteral("000000000000");
        }
    }
    return std::nullopt;
}

}  // namespace qireq
