#pragma once
// What one datagram from one sender does on each discovery method, apart
// from the sockets and threads that receive it, so the rules can be checked
// on their own. The listeners call these once per datagram received.
//   probe port (8000): a listed sender is present again, whatever it sent;
//     from anyone else a datagram longer than the probe is an answer, listed
//     as kind 3 once its MAC is known;
//   module port (48899): only text (up to its first zero byte) longer than
//     20 characters counts; a listed sender is present again, anyone else
//     is listed as kind 2, with the unknown MAC when the look-up fails;
//   SSDP: a listed sender is present again, except while the list is being
//     changed; from anyone else an announcement carrying the marker (before
//     its first zero byte) is listed as kind 1 once its MAC is known.
// Units are keyed by their sender's dotted IPv4 text (an IPv4-mapped IPv6
// sender counts as its IPv4 address); a sender without one is never listed
// or refreshed.
#include <QByteArray>
#include <QHostAddress>

namespace qireq {

class UnitFinder;

enum class LanDatagramOutcome {
    Ignored,    // from a sender not listed, and no answer
    Refreshed,  // a listed sender: its silence counter is 0 again
    Listed,     // an answer from a new sender, now listed
    NotListed,  // an answer not listed: no MAC, another unit pending, no IPv4 sender
    Deferred,   // SSDP from a listed sender while the list is being changed: left alone
};

LanDatagramOutcome OnProbePortDatagram(const UnitFinder& finder, const QHostAddress& sender,
                                       const QByteArray& bytes);
LanDatagramOutcome OnModulePortDatagram(const UnitFinder& finder, const QHostAddress& sender,
                                        const QByteArray& bytes);
LanDatagramOutcome OnSsdpDatagram(const UnitFinder& finder, const QHostAddress& sender,
                                  const QByteArray& bytes);

}  // namespace qireq
