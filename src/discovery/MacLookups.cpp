// The look-up worker: the listeners offer answers from senders not listed
// yet, and this thread looks their MACs up and lists them, so the
// listeners go on reading while a look-up takes its time.
#include "discovery/DiscoveryThread.h"
#include "discovery/LanMethods.h"

namespace qireq {

void RunMacLookups(DiscoveryThread& thread, const LanMethodContext& context)
{
    while (thread.Running())
        context.Finder.ListNext(thread, /*waitMs=*/1000);
}

}  // namespace qireq
