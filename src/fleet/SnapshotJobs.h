#pragma once
// The snapshot work on one connected unit: read what it holds into a
// snapshot entry; compare it with its entry of a snapshot and, when asked,
// put the entry back (block verified by echo and read-back, then the name).
#include "fleet/SnapshotDiff.h"
#include "fleet/UnitResult.h"
#include "fleet/VenueSnapshot.h"

#include <optional>

namespace qireq::fleet {

class UnitSession;

std::optional<SnapshotUnit> ReadSnapshotUnit(UnitSession& s, UnitResult& r);

struct UnitRestore {
    std::optional<SnapshotMatch> Match;  // absent: the unit is not in the snapshot
    QStringList Differences;             // before anything was sent
    bool Written = false;                // it differed and was restored, verified
};

// Matches the unit, reads its block and lists the differences; with
// `write`, a unit that differs is restored and checked. Absent with
// r.Error set when a read or the write's check failed.
std::optional<UnitRestore> RestoreUnit(UnitSession& s, const VenueSnapshot& snapshot, bool write, UnitResult& r);

// Text lines and JSON fields of the outcome ("match", "differences", "written").
void RenderRestore(const VenueSnapshot& snapshot, const UnitRestore& restore, bool write, UnitResult& r);

}  // namespace qireq::fleet
