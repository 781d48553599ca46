#pragma once
// The loops of the LAN discovery methods, each run on a thread of its own
// and owning its socket there (LanDiscovery.h tells what each does).
#include "discovery/LanDiscovery.h"

namespace qireq {

// What every method is given.
struct LanMethodContext {
    const LanDiscoverySetup& Setup;
    UnitFinder& Finder;
    LanDiscoveryCounts& Counts;
};

void RunProbeChannel(DiscoveryThread& thread, const LanMethodContext& context);
void RunSsdpListener(DiscoveryThread& thread, const LanMethodContext& context);
void RunModuleListener(DiscoveryThread& thread, const LanMethodContext& context);
void RunModuleBroadcaster(DiscoveryThread& thread, const LanMethodContext& context);
// The look-up worker: lists the answers the listeners offer (UnitFinder).
void RunMacLookups(DiscoveryThread& thread, const LanMethodContext& context);

}  // namespace qireq
