#pragma once
// Which unit of a snapshot a live unit is, and what differs between them.
#include "fleet/VenueSnapshot.h"

#include <QStringList>

#include <cstddef>
#include <optional>

namespace qireq::fleet {

struct SnapshotMatch {
    std::size_t Index = 0;   // into VenueSnapshot::Units
    bool ByAddress = false;  // a MAC was unknown, so the address decided
};

// By MAC; by address where the snapshot's or the unit's MAC is unknown.
// Two known MACs that differ never match, whatever the address.
std::optional<SnapshotMatch> MatchSnapshotUnit(const VenueSnapshot& snapshot, const std::optional<MacBytes>& mac,
                                               const QString& address);

// One line per field the unit holds otherwise than the snapshot (trim,
// bypass, each band's fields, name, other block bytes); empty when none.
QStringList SnapshotDifferences(const SnapshotUnit& wanted, const EqBlock& held, const QString& heldName);

// The snapshot's units no live unit matched, by Key().
QStringList UnmatchedUnits(const VenueSnapshot& snapshot, const std::vector<bool>& matched);

}  // namespace qireq::fleet
