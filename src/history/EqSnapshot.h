#pragma once
// One EQ as an undo step or a compare slot keeps it: the values a unit holds
// (five bands, trim, bypass) and the block they last came in, whose other
// setting bytes the editor does not own but a block write carries.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"

namespace qireq {

struct EqSnapshot {
    EqState Eq;              // BandOffShown always equals BandOff here
    EqBlock Block = ResetBlock;
};

// The EQ as the editor holds it: the edited off flags, so a change waiting
// for its echo counts as made.
EqSnapshot SnapshotOf(const EqState& eq, const EqBlock& block);
// The EQ a unit holds after it accepted this block, as the editor shows a
// received block (frequency limited and shelf-fixed, gain through the slider).
EqSnapshot SnapshotOfBlock(const EqBlock& block);

// The values a band write carries: type, frequency, Q, gain and on/off.
bool SameBandSetting(const EqBand& a, const EqBand& b);
// Bands, trim and bypass alike (the block's other bytes are not compared).
bool SameSetting(const EqSnapshot& a, const EqSnapshot& b);
// Setting bytes the editor does not own (10..15, 46..70) differ.
bool OtherSettingsDiffer(const EqBlock& a, const EqBlock& b);

// The snapshot's block with its trim, bypass and band records written in:
// what a block write sends to bring a unit to it.
EqBlock BlockOf(const EqSnapshot& snapshot);

}  // namespace qireq
