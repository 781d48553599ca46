#include "history/CompareSlots.h"

namespace qireq {

const std::optional<EqSnapshot>& CompareSlots::Held(Slot slot) const
{
    return slots_[static_cast<std::size_t>(slot)];
}

void CompareSlots::Store(const EqSnapshot& snapshot)
{
    slots_[static_cast<std::size_t>(live_)] = snapshot;
}

std::optional<EqSnapshot> CompareSlots::Toggle()
{
    live_ = Other(live_);
    return Held(live_);
}

void CompareSlots::Clear()
{
    slots_ = {};
    live_ = Slot::A;
}

}  // namespace qireq
