// The ARP look-up on Windows: SendARP resolves the host and answers with
// its hardware address.
#include "platform/MacLookup.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <array>

namespace qireq {

std::optional<QString> NeighbourMac(const QHostAddress& address)
{
    std::array<ULONG, 2> buffer{};
    ULONG length = 6;
    const IPAddr destination = htonl(address.toIPv4Address());
    if (SendARP(destination, 0, buffer.data(), &length) != NO_ERROR || length != 6)
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    QString digits;
    for (ULONG i = 0; i < length; ++i)
        digits += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0'));
    return digits.toUpper();
}

}  // namespace qireq
