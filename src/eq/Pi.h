#pragma once
// π, for the filter designs (C++17 has no std::numbers).
namespace qireq {

inline constexpr double kPi = 3.14159265358979323846;

}  // namespace qireq
