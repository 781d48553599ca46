#pragma once
// A preset as Equalizer APO text. Each band becomes the filter Equalizer APO
// applies with the same response as the unit ("PK" with the table frequency
// and the cookbook Q that equals the unit's Q at its gain; shelves as
// "LSC 12 dB" / "HSC 12 dB" at their cookbook centre), followed by a comment
// line with the unit's own values (table Hz and Q, steps, gain), which
// Equalizer APO skips and ImportFilterText reads back. The trim is the
// preamp; the bypass switch is noted in the first comment line. Importing
// the text gives the block as the window's Save As would write it for the
// EQ the window shows after opening the preset.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"

#include <QString>

namespace qireq {

// The EQ the window shows for a block opened with no unit attached: trim and
// type decoded, steps limited and shelves fixed, gain codes through the
// slider (even, 0..48), both off flags from the block.
EqState ShownEqOf(const EqBlock& block);

// The block as Equalizer APO text, lines ended by LF.
QString ExportEqualizerApo(const EqBlock& block);

}  // namespace qireq
