#pragma once
// The byte flags the GUI thread and the worker threads (LAN discovery, the
// serial prober) coordinate by. Atomic so that every thread sees a raise or
// a lower at once and ThreadSanitizer has nothing to report; they guard
// nothing by themselves beyond what their comments say.
#include <atomic>

namespace qireq {

struct ProcessFlags {
    // Cancel on the connecting dialog is being carried out: a failing
    // attempt leaves the dialog alone meanwhile.
    std::atomic<bool> CancelPending{false};
    // A unit was added and its tile is not built yet: further adds are
    // dropped. Raised by DeviceList::AddFoundUnit under the list's lock.
    std::atomic<bool> AddPending{false};
    // The GUI thread is rebuilding the list (USB change, remove, refresh):
    // discovery threads and the presence watch skip their list work.
    std::atomic<bool> ListChanging{false};
    // The presence watch is walking the silence counters.
    std::atomic<bool> ScanBusy{false};
    // A serial unit was found: the serial prober waits until one is removed.
    std::atomic<bool> ProbeHold{false};
    // Runs on many units (the Units overview) in progress: the serial
    // prober opens no port meanwhile, so it never holds one a run needs.
    std::atomic<int> ProbePauses{0};
};

// Raises a flag for the life of a scope and lowers it on every way out.
class RaisedFlag {
public:
    explicit RaisedFlag(std::atomic<bool>& flag) : flag_(flag) { flag_.store(true); }
    ~RaisedFlag() { flag_.store(false); }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

private:
    std::atomic<bool>& flag_;
};

}  // namespace qireq
