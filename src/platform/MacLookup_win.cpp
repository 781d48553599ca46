// The ARP look-up on Windows: SendARP resolves the host and answers with
// its hardware address.
#include "platform/MacLookup.h"
#include "state/MacText.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <array>
#include <cstring>

namespace qireq {

std::optional<QString> NeighbourMac(const QHostAddress& address)
{
    std::array<ULONG, 2> buffer{};  // SendARP wants room for 8 bytes
    ULONG length = static_cast<ULONG>(sizeof buffer);
    const IPAddr destination = htonl(address.toIPv4Address());
    MacBytes mac{};
    if (SendARP(destination, 0, buffer.data(), &length) != NO_ERROR || length != mac.size())
        return std::nullopt;
    std::memcpy(mac.data(), buffer.data(), mac.size());
    return MacToText(mac);
}

}  // namespace qireq
