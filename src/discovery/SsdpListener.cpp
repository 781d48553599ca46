// SSDP: the listener on the multicast group, taking announcements that carry
// the units' marker.
#include "discovery/DiscoveryThread.h"
#include "discovery/LanDatagrams.h"
#include "discovery/LanMethods.h"
#include "discovery/NextDatagram.h"
#include "discovery/SsdpMemberships.h"
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"

#include <QElapsedTimer>
#include <QUdpSocket>

namespace qireq {

void RunSsdpListener(DiscoveryThread& thread, const LanMethodContext& context)
{
    const LanDiscoverySetup& setup = context.Setup;
    QUdpSocket socket;
    // Other programs on this machine listen to SSDP too.
    if (!socket.bind(setup.BindAddress, setup.SsdpPort,
                     QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return;
    SsdpMemberships memberships(socket, setup.SsdpGroup);
    const DeviceList& devices = context.Finder.Devices();
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
        const QString sender = SenderText(*datagram);
        if (devices.Contains(sender)) {
            // The list is being changed: its counters are left alone meanwhile.
            if (devices.Flags().ListChanging.load())
                continue;
            context.Finder.Refresh(sender);
        } else if (IsSsdpAnnouncement(datagram->data())) {
            context.Finder.Add(sender, kSsdpUnit);
        }
        thread.Pause(setup.Timing.ssdpPauseMs);
    }
}

}  // namespace qireq
