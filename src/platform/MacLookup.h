#pragma once
// The MAC address of an IPv4 host on the local network, as the system's
// ARP look-up gives it: 12 upper-case hexadecimal digits ("001A2B3C4D5E").
//
// For an address of this machine the answer is the MAC of the interface
// that holds it (a loopback address: the loopback interface's, all zeros),
// since the machine never appears in its own neighbour table.
// Linux: the kernel's neighbour table, complete entries only. A host that
// has no entry yet (a broadcast or multicast from it creates none) is sent
// one empty datagram, which makes the kernel resolve it, and the table is
// read again for up to about a second.
// Windows: SendARP, which resolves the host itself.
//
// Absent for text that is not an IPv4 address and for a host that does not
// resolve in time. Any thread; blocks the calling thread while it waits.
#include <QHostAddress>
#include <QString>

#include <optional>

namespace qireq {

std::optional<QString> LookupMac(const QString& ipv4);

// The MAC of the interface of this machine that holds the address; absent
// for an address of another host.
std::optional<QString> OwnInterfaceMac(const QHostAddress& address);

// The system's ARP look-up of another host (the platform's part of
// LookupMac): MacLookup_linux.cpp, MacLookup_win.cpp.
std::optional<QString> NeighbourMac(const QHostAddress& ipv4);

}  // namespace qireq
