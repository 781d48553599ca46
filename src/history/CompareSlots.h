#pragma once
// The two compare slots, "A" and "B", of the connected unit: Store keeps the
// EQ in the live slot; the toggle makes the other slot live and hands back
// what it holds for sending (nothing when it is still empty, so it starts
// as the EQ of the moment and is filled by the next Store).
#include "history/EqSnapshot.h"

#include <array>
#include <optional>

namespace qireq {

class CompareSlots {
public:
    enum class Slot { A = 0, B = 1 };

    Slot Live() const { return live_; }
    const std::optional<EqSnapshot>& Held(Slot slot) const;
    void Store(const EqSnapshot& snapshot);
    // The other slot becomes live; its EQ is returned when it holds one.
    std::optional<EqSnapshot> Toggle();
    // Both empty, "A" live: on connecting to another unit.
    void Clear();

    static Slot Other(Slot slot) { return slot == Slot::A ? Slot::B : Slot::A; }

private:
    std::array<std::optional<EqSnapshot>, 2> slots_;
    Slot live_ = Slot::A;
};

}  // namespace qireq
