#pragma once
// Whether a unit took a write: what was sent against what the unit echoes
// or reads back. Each check names the first field that differs, in words a
// user can act on; absent when everything sent is there.
#include "fleet/EqText.h"

#include "eq/EqBlock.h"

#include <QString>

#include <optional>

namespace qireq::fleet {

// `where` says what was read: "echo" or "read-back".
std::optional<QString> BandDifference(const UnitBand& sent, const UnitBand& got, const QString& where);
std::optional<QString> TrimDifference(int sentTrim, int gotTrim, const QString& where);
std::optional<QString> BypassDifference(bool sent, bool got, const QString& where);
// The fields the window reads from a block: trim, bypass and the five bands.
std::optional<QString> BlockDifference(const EqBlock& sent, const EqBlock& got, const QString& where);

}  // namespace qireq::fleet
