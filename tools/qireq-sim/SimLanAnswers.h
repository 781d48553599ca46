#pragma once
// What the unit's network module says on the LAN: its answers to the two
// discovery probes and its SSDP announcement. The control program looks
// only at their length (more than 12 bytes on the probe port, more than 20
// on the module port) and the SSDP marker; the rest identifies the unit to
// a person reading a capture.
#include "SimUnit.h"

#include <QByteArray>
#include <QString>

namespace qireq::sim {

// The 12-byte probe the control program broadcasts to port 8000.
QByteArray PortProbe();
// The module search: "QX-B27RELAYSCOUTS" and a zero byte.
QByteArray ModuleSearch();

// Only the exact probe is answered, so two units never answer each other.
bool IsPortProbe(const QByteArray& datagram);
// A module answers the search code, with or without its closing zero byte.
bool IsModuleSearch(const QByteArray& datagram);

// 01 82 00 <length>, the MAC, the IPv4 address and the name field: 30 bytes.
QByteArray PortProbeAnswer(const SimUnitState& unit, quint32 ipv4);
// "<ip>,<MAC>,QX-B27": never shorter than 27 characters.
QByteArray ModuleSearchAnswer(const SimUnitState& unit, const QString& ipText);
// An SSDP "NOTIFY * HTTP/1.1" alive announcement whose NT and USN carry
// the marker "upnp_MDL-S2E".
QByteArray SsdpNotify(const SimUnitState& unit, const QString& ipText, quint16 groupPort);

}  // namespace qireq::sim
