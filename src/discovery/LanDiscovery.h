#pragma once
// LAN discovery: three ways of finding units, each on worker threads of its
// own, from Start until Stop (the program never stops them):
//   - the probe: a 12-byte probe broadcast to UDP port 8000 every 2000 ms
//     from a socket bound to port 8000; any longer datagram arriving there
//     is an answer (ProbeSender and ProbeListener, one thread on the one
//     socket, since a socket belongs to one thread);
//   - the module search: the search code broadcast to UDP port 48899 every
//     1500 ms from a passing port (ModuleBroadcaster); a listener on port
//     48899 takes text longer than 20 characters as an answer (ModuleListener);
//   - SSDP: announcements on 239.255.255.250:1900 carrying "upnp_MDL-S2E"
//     (SsdpListener), with the group joined on every IPv4 interface that is
//     up, and on interfaces that come up later.
// An answer from an address not listed yet lists a unit of kind 3, 2 or 1,
// through a look-up worker thread that finds its MAC while the listeners go
// on reading; any datagram from a listed address refreshes its presence
// (see UnitFinder). A listener reads every datagram already waiting before
// it pauses. A socket that cannot be set up ends its method silently; the
// others go on.
#include "discovery/UnitFinder.h"

#include <QHostAddress>

#include <atomic>
#include <memory>
#include <vector>

namespace qireq {

class DeviceList;
class DiscoveryThread;

// The waits of the methods; tests and benchmarks keep them.
struct LanDiscoveryTiming {
    int probePeriodMs = 2000;
    int probeAnswerPauseMs = 20;   // after a datagram on the probe port, with none waiting
    int searchPeriodMs = 1500;
    int moduleAnswerPauseMs = 50;  // after a module answer, with none waiting
    int modulePassPauseMs = 10;    // after a datagram on the module port, with none waiting
    int ssdpPauseMs = 100;         // after an SSDP datagram, with none waiting
    int interfaceRescanMs = 5000;  // how often new interfaces join the SSDP group
};

// Where the methods send and listen: the program uses the defaults. Tests
// on loopback bind 127.0.0.1, send to it instead of broadcasting, and use
// ports of their own.
struct LanDiscoverySetup {
    QHostAddress BindAddress{QHostAddress::AnyIPv4};
    QHostAddress BroadcastAddress{QHostAddress::Broadcast};
    quint16 ProbePort = 8000;
    quint16 ModulePort = 48899;
    quint16 SsdpPort = 1900;
    QHostAddress SsdpGroup{QStringLiteral("239.255.255.250")};
    MacLookup LookupMac;  // none: the system's ARP look-up
    LanDiscoveryTiming Timing;
};

// What the methods have done so far, for tests and benchmarks.
struct LanDiscoveryCounts {
    std::atomic<int> ProbesSent{0};
    std::atomic<int> SearchesSent{0};
    std::atomic<int> ProbePortDatagrams{0};
    std::atomic<int> ModulePortDatagrams{0};
    std::atomic<int> SsdpDatagrams{0};
    std::atomic<int> SsdpMemberships{0};  // interfaces the group is joined on
};

class LanDiscovery {
public:
    LanDiscovery(DeviceList& devices, LanDiscoverySetup setup = {});
    ~LanDiscovery();  // stops and joins the threads
    LanDiscovery(const LanDiscovery&) = delete;
    LanDiscovery& operator=(const LanDiscovery&) = delete;

    // Starts the look-up worker, the probe, SSDP, module listener and module
    // search threads, in that order; once.
    void Start();
    // Stops every thread and waits for them (a few hundred milliseconds).
    void Stop();

    const LanDiscoveryCounts& Counts() const { return counts_; }

private:
    LanDiscoverySetup setup_;
    UnitFinder finder_;
    LanDiscoveryCounts counts_;
    std::vector<std::unique_ptr<DiscoveryThread>> threads_;
};

}  // namespace qireq
