#pragma once
// Runs one job per unit, all at once, one worker thread each: every job
// waits on its own unit (frame pauses, replies, time limits), so units
// never wait for each other. Results come back in the order of the targets.
#include "UnitResult.h"
#include "UnitTarget.h"

#include <functional>
#include <vector>

namespace qireq::ctl {

using UnitJob = std::function<UnitResult(const UnitTarget& target)>;

// The job runs on a worker thread; everything it makes must live there.
std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job);

}  // namespace qireq::ctl
