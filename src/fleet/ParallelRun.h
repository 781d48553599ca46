#pragma once
// Runs one job per unit, in parallel, one worker thread per unit being
// served: every job waits on its own unit (frame pauses, replies, time
// limits), so units never wait for each other. Results come back in the
// order of the targets.
#include "fleet/UnitResult.h"
#include "fleet/UnitTarget.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

namespace qireq::fleet {

using UnitJob = std::function<UnitResult(const UnitTarget& target)>;

// How a run is steered from outside: how many units are served at once
// (0: all), a cancel that stops the units not yet served, and a report of
// each unit's result as it comes (called on that unit's worker thread).
struct RunControl {
    int MaxParallel = 0;
    std::atomic<bool> Cancelled{false};
    std::function<void(std::size_t index, const UnitResult& result)> OnUnitDone;
};

// What a unit that was never served because of a cancel reports.
QString CancelledText();

// The job runs on a worker thread; everything it makes must live there.
std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job);
std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job, RunControl& control);

}  // namespace qireq::fleet
