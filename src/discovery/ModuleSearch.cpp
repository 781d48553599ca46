// The module search: the search code broadcast to port 48899 from a passing
// port (ModuleBroadcaster), and the listener on port 48899 that the units'
// network modules answer to (ModuleListener).
#include "discovery/DirectUdpSocket.h"
#include "discovery/DiscoveryThread.h"
#include "discovery/LanAnswerRules.h"
#include "discovery/LanDatagrams.h"
#include "discovery/LanMethods.h"
#include "discovery/NextDatagram.h"

#include <QUdpSocket>

namespace qireq {

void RunModuleListener(DiscoveryThread& thread, const LanMethodContext& context)
{
    const LanDiscoverySetup& setup = context.Setup;
    DirectUdpSocket socket;
    if (!socket.bind(setup.BindAddress, setup.ModulePort))
        return;
    AskForAnswerBuffer(socket);
    while (thread.Running()) {
        const std::optional<QNetworkDatagram> datagram = NextDatagram(socket, thread, kProbeReadLimit);
        if (!datagram)
            continue;
        ++context.Counts.ModulePortDatagrams;
        const LanDatagramOutcome outcome =
            OnModulePortDatagram(context.Finder, datagram->senderAddress(), datagram->data());
        // Datagrams already waiting are read at once.
        if (socket.hasPendingDatagrams())
            continue;
        if (outcome != LanDatagramOutcome::Ignored)
            thread.Pause(setup.Timing.moduleAnswerPauseMs);
        thread.Pause(setup.Timing.modulePassPauseMs);
    }
}

void RunModuleBroadcaster(DiscoveryThread& thread, const LanMethodContext& context)
{
    const LanDiscoverySetup& setup = context.Setup;
    DirectUdpSocket socket;  // not bound: the system picks the source port
    const QByteArray search = ModuleSearchDatagram();
    do {
        socket.writeDatagram(search, setup.BroadcastAddress, setup.ModulePort);
        ++context.Counts.SearchesSent;
    } while (thread.Pause(setup.Timing.searchPeriodMs));
}

}  // namespace qireq
