// The port-8000 probe: ProbeSender and ProbeListener on the one socket bound
// to port 8000. The probe leaves from that port, so answers sent back to
// its source port arrive on the same socket.
#include "discovery/DirectUdpSocket.h"
#include "discovery/DiscoveryThread.h"
#include "discovery/LanAnswerRules.h"
#include "discovery/LanDatagrams.h"
#include "discovery/LanMethods.h"
#include "discovery/NextDatagram.h"

#include <QElapsedTimer>
#include <QUdpSocket>

namespace qireq {

void RunProbeChannel(DiscoveryThread& thread, const LanMethodContext& context)
{
    const LanDiscoverySetup& setup = context.Setup;
    DirectUdpSocket probeSocket;  // broadcast is allowed on every Qt UDP socket
    if (!probeSocket.bind(setup.BindAddress, setup.ProbePort))
        return;
    AskForAnswerBuffer(probeSocket);
    const QByteArray probe = ProbeDatagram();
    QElapsedTimer sinceProbe;
    while (thread.Running()) {
        // ProbeSender: one probe per period, between two datagrams.
        if (!sinceProbe.isValid() || sinceProbe.elapsed() >= setup.Timing.probePeriodMs) {
            const bool sent = probeSocket.writeDatagram(probe, setup.BroadcastAddress, setup.ProbePort) >= 0;
            ++context.Counts.ProbesSent;
            sinceProbe.start();
            if (!sent) {
                if (!BindAfresh(probeSocket, setup.BindAddress, setup.ProbePort))
                    return;  // the port was taken meanwhile: as when it is taken at the start
                AskForAnswerBuffer(probeSocket);
            }
        }
        const int untilProbe = setup.Timing.probePeriodMs - static_cast<int>(sinceProbe.elapsed());
        const std::optional<QNetworkDatagram> datagram =
            NextDatagram(probeSocket, thread, kProbeReadLimit, std::max(untilProbe, 0));
        if (!datagram)
            continue;
        // ProbeListener.
        ++context.Counts.ProbePortDatagrams;
        OnProbePortDatagram(context.Finder, datagram->senderAddress(), datagram->data());
        // Answers already waiting are read at once: a burst from a large
        // site must not outgrow the socket's buffer.
        if (!probeSocket.hasPendingDatagrams())
            thread.Pause(setup.Timing.probeAnswerPauseMs);
    }
}

}  // namespace qireq
