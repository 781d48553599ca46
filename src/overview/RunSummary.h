#pragma once
// The line under the Units table once a run has ended, and each row's
// result in words.
#include "fleet/UnitResult.h"

#include <QString>

#include <vector>

namespace qireq {

enum class RunKind { Read, Push, SnapshotSave, SnapshotDiff, SnapshotRestore, Report };

// "47 of 50 units written and verified; 3 failed", with "; 2 cancelled"
// for the units a cancel left alone (they count as not done, never as done).
QString RunSummary(RunKind kind, const std::vector<fleet::UnitResult>& results);

// "ok" or the unit's error; "cancelled before it was served" for those.
QString RowResult(const fleet::UnitResult& r);

}  // namespace qireq
