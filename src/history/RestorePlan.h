#pragma once
// The writes that bring a unit from one EQ to another: a band write for each
// band that differs, a trim write, a bypass write; or one block write when
// more than two bands differ or the block's other settings differ (the block
// carries trim and bypass as well).
#include "eq/EqBand.h"
#include "eq/EqBlock.h"
#include "history/EqSnapshot.h"

#include <vector>

namespace qireq {

inline constexpr int kMostBandWritesBeforeBlock = 2;

struct RestoreWrite {
    enum class Kind { Band, Trim, Bypass, Block };
    Kind WriteKind = Kind::Block;
    int BandNumber = 0;  // 1..5, for a band write
    EqBand Band;         // its values, for a band write
    int Trim = 0;
    bool Bypass = false;
    EqBlock Block{};
};

// Bands first (lowest number first), then trim, then bypass; nothing when
// the two are alike.
std::vector<RestoreWrite> RestoreWrites(const EqSnapshot& from, const EqSnapshot& to);

// The snapshot a unit holds after the writes went out and were accepted.
EqSnapshot AfterWrites(const EqSnapshot& from, const std::vector<RestoreWrite>& writes);

}  // namespace qireq
