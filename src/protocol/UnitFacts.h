#pragma once
// What the connected unit has told about itself beyond its EQ: the status
// capability of its identity reply, its last status reply and the counters
// of its last "More Info" reply. Each is absent until the unit reported it.
#include "protocol/StatusReply.h"

#include <optional>

namespace qireq {

struct UnitFacts {
    std::optional<int> Capability;
    std::optional<StatusReading> Status;
    std::optional<int> BurnCount;
    std::optional<int> TotalMinutes;
};

}  // namespace qireq
