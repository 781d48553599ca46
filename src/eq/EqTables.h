#pragma once
// The fixed value scales. Units are addressed only with steps and codes, so
// these tables are data the units depend on and must stay exactly as they are.
#include <array>
#include <cstdint>

namespace qireq {

extern const std::array<double, 301> FrequencyTable;      // Hz for steps 0..300
extern const std::array<double, 101> QTable;              // Q for steps 0..100
extern const std::array<std::uint8_t, 19> TrimCodeTable;  // code for trim 0..-18, indexed by -trim

}  // namespace qireq
