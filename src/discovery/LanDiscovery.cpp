#include "discovery/LanDiscovery.h"

#include "discovery/DiscoveryThread.h"
#include "discovery/LanMethods.h"
#include "platform/MacLookup.h"

#include <utility>

namespace qireq {

namespace {

MacLookup LookupOrSystem(MacLookup lookup)
{
    return lookup ? std::move(lookup) : MacLookup(qireq::LookupMac);
}

}  // namespace

LanDiscovery::LanDiscovery(DeviceList& devices, LanDiscoverySetup setup)
    : setup_(std::move(setup)), finder_(devices, LookupOrSystem(setup_.LookupMac))
{
}

LanDiscovery::~LanDiscovery()
{
    Stop();
}

void LanDiscovery::Start()
{
    if (!threads_.empty())
        return;
    using Method = void (*)(DiscoveryThread&, const LanMethodContext&);
    for (Method method :
         {RunMacLookups, RunProbeChannel, RunSsdpListener, RunModuleListener, RunModuleBroadcaster}) {
        threads_.push_back(std::make_unique<DiscoveryThread>([this, method](DiscoveryThread& thread) {
            method(thread, LanMethodContext{setup_, finder_, counts_});
        }));
        threads_.back()->Start();
    }
}

void LanDiscovery::Stop()
{
    for (const auto& thread : threads_)
        thread->RequestStop();
    for (const auto& thread : threads_)
        thread->Join();
}

}  // namespace qireq
