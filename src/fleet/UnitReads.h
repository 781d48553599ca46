#pragma once
// The reads and the one-unit frame every run is made of: connect and
// identify, then the work; status and usage for units that report them.
#include "fleet/UnitResult.h"
#include "fleet/UnitTarget.h"

#include "protocol/ReplyFields.h"
#include "protocol/StatusReply.h"

#include <functional>
#include <optional>

namespace qireq::fleet {

class UnitSession;

inline constexpr int kDefaultTimeoutMs = 2000;

// Work on one connected, identified unit: true when it succeeded, else
// false with r.Error set (or the session's error taken).
using UnitWork = std::function<bool(UnitSession& session, UnitResult& r)>;

// Connects to the target on this thread, identifies the unit and does the work.
UnitResult ServeUnit(const UnitTarget& target, int timeoutMs, const UnitWork& work);

// Absent with r.Error set; a unit below capability 17 reports neither.
std::optional<StatusReading> ReadStatus(UnitSession& s, UnitResult& r);
std::optional<InfoReply> ReadUsage(UnitSession& s, UnitResult& r);

// Identity, and status and usage where the unit reports them, into
// r.Fields: "capability", "mac", "temperature_text", "protected",
// "temperature_alarm", "voltage_alarm", "standby", "burn_count", "minutes".
bool ReadUnitState(UnitSession& s, UnitResult& r);

}  // namespace qireq::fleet
