#pragma once
// What crosses the LAN when units are looked for: the probe broadcast to
// port 8000, the module search broadcast to port 48899, and the tests that
// tell a unit's answer from anything else arriving on the three ports. Of an
// answer only the sender's address is used; its content is not read.
#include <QByteArray>
#include <QtGlobal>

namespace qireq {

inline constexpr quint16 kProbePort = 8000;
inline constexpr quint16 kModulePort = 48899;
inline constexpr quint16 kSsdpPort = 1900;
inline constexpr char kSsdpGroup[] = "239.255.255.250";
// The code the units' network modules are set up to answer.
inline constexpr char kModuleSearchCode[] = "QX-B27RELAYSCOUTS";
// Announcements of the units' network modules carry it, in this letter case.
inline constexpr char kSsdpMarker[] = "upnp_MDL-S2E";

// Bytes read of one datagram: on the probe and module ports, and by SSDP.
inline constexpr int kProbeReadLimit = 100;
inline constexpr int kSsdpReadLimit = 1024;

// 01 02 00 0C 00 00 00 00 00 01 FF FF, sent unchanged every time.
QByteArray ProbeDatagram();
// The search code and one zero byte: 18 bytes.
QByteArray ModuleSearchDatagram();

// Any datagram longer than the probe (so the probe itself, which comes back
// to the socket it left from, is no answer).
bool IsProbeAnswer(const QByteArray& datagram);
// Read as text up to its first zero byte, longer than 20 characters (the
// search itself, 17, comes back to the listener too).
bool IsModuleAnswer(const QByteArray& datagram);
// Read as text up to its first zero byte, the marker somewhere in it.
bool IsSsdpAnnouncement(const QByteArray& datagram);

}  // namespace qireq
