// SSDP: the listener on the multicast group, taking announcements that carry
// the units' marker.
#include "discovery/DirectUdpSocket.h"
#include "discovery/DiscoveryThread.h"
#include "discovery/LanAnswerRules.h"
#include "discovery/LanDatagrams.h"
#include "discovery/LanMethods.h"
#include "discovery/NextDatagram.h"
#include "discovery/SsdpMemberships.h"

#include <QElapsedTimer>
#include <QUdpSocket>

namespace qireq {

void RunSsdpListener(DiscoveryThread& thread, const LanMethodContext& context)
{
    const LanDiscoverySetup& setup = context.Setup;
    DirectUdpSocket socket;
    // Other programs on this machine listen to SSDP too.
    if (!socket.bind(setup.BindAddress, setup.SsdpPort,
                     QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return;
    AskForAnswerBuffer(socket);
    SsdpMemberships memberships(socket, setup.SsdpGroup);
    QElapsedTimer sinceRescan;
    while (thread.Running()) {
        if (!sinceRescan.isValid() || sinceRescan.elapsed() >= setup.Timing.interfaceRescanMs) {
            context.Counts.SsdpMemberships = memberships.JoinNewInterfaces();
            sinceRescan.start();
        }
        const std::optional<QNetworkDatagram> datagram =
            NextDatagram(socket, thread, kSsdpReadLimit, setup.Timing.interfaceRescanMs);
        if (!datagram)
            continue;
        ++context.Counts.SsdpDatagrams;
        // A datagram left alone while the list changes is followed by no
        // pause, nor is one with more waiting behind it.
        if (OnSsdpDatagram(context.Finder, datagram->senderAddress(), datagram->data()) ==
                LanDatagramOutcome::Deferred ||
            socket.hasPendingDatagrams())
            continue;
        thread.Pause(setup.Timing.ssdpPauseMs);
    }
}

}  // namespace qireq
