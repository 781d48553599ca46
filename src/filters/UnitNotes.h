#pragma once
// The comment lines an export writes beside its filters: the bypass switch,
// and per band the unit's own type, steps and gain. Equalizer APO takes them
// for comments; this program's import reads them back, so that a band comes
// back with exactly its steps even where the response cannot tell them
// apart (the Q step of a shelf, Q steps 29 and 30, both 2.1, a 0 dB band).
#include "eq/EqBand.h"
#include "filters/FilterText.h"

#include <QString>

#include <optional>

namespace qireq {

// "# QIR-EQ Master EQ: trim -3 dB, bypass off"
QString MasterNoteText(int trim, bool bypass);
// The bypass state of such a line; nothing for any other line.
std::optional<bool> ReadBypassNote(const QString& line);

// "# QIR-EQ band 2: Peak, 1000.0 Hz (step 170), Q 3.00 (step 35), +6 dB"
QString UnitBandNoteText(int bandNumber, const EqBand& band);
// The band of such a line (Line left 0); nothing for any other line or for
// values outside the unit's ranges.
std::optional<UnitBandNote> ReadUnitBandNote(const QString& line);

}  // namespace qireq
