#pragma once
// What one datagram from one sender does on each discovery method, apart
// from the sockets and threads that receive it, so the rules can be checked
// on their own. The listeners call these once per datagram received.
//   probe port (8000): a listed sender is present again, whatever it sent;
//     from anyone else a datagram longer than the probe is an answer, offered
//     as kind 3 (listed once its MAC is known);
//   module port (48899): only text (up to its first zero byte) longer than
//     20 characters counts; a listed sender is present again, anyone else
//     is offered as kind 2 (listed with the unknown MAC when the look-up fails);
//   SSDP: a listed sender is present again, except while the list is being
//     changed; from anyone else an announcement carrying the marker (before
//     its first zero byte) is offered as kind 1 (listed once its MAC is known).
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
    Offered,     // an answer from a new sender, handed on to be listed
    NotOffered,  // an answer not handed on: waiting already, no IPv4 sender, queue full
    Deferred,   // SSDP from a listed sender while the list is being changed: left alone
};

LanDatagramOutcome OnProbePortDatagram(UnitFinder& finder, const QHostAddress& sender,
                                       const QByteArray& bytes);
LanDatagramOutcome OnModulePortDatagram(UnitFinder& finder, const QHostAddress& sender,
                                        const QByteArray& bytes);
LanDatagramOutcome OnSsdpDatagram(UnitFinder& finder, const QHostAddress& sender,
                                  const QByteArray& bytes);

}  // namespace qireq
