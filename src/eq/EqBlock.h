#pragma once
// The whole EQ as one 74-byte frame: what the unit sends and accepts, what a
// preset file holds, and the built-in reset setting.
#include <array>
#include <cstdint>

namespace qireq {

inline constexpr int kEqBlockSize = 74;
using EqBlock = std::array<std::uint8_t, kEqBlockSize>;

inline constexpr int kBlockTrimOffset = 7;
inline constexpr int kBlockBypassOffset = 9;
inline constexpr int kBlockFirstBandOffset = 16;
inline constexpr int kBandRecordSize = 6;

// Offset of the six-byte record of band index 0..4 inside an EqBlock.
constexpr int BandRecordOffset(int bandIndex)
{
    return kBlockFirstBandOffset + kBandRecordSize * bandIndex;
}

// The block the reset button applies or sends, byte for byte as units expect it.
extern const EqBlock ResetBlock;

}  // namespace qireq
