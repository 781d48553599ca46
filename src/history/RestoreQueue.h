#pragma once
// The writes of undo, redo and compare waiting to go out one at a time: the
// next leaves only when the unit has answered the one before (the caller
// judges that). A restore queued behind others starts from where those
// leave the unit, not from the editor's EQ, which follows only the echoes.
#include "history/EqSnapshot.h"
#include "history/RestorePlan.h"

#include <deque>
#include <optional>

namespace qireq {

class RestoreQueue {
public:
    // Queues the writes that bring the unit to target: from current when
    // nothing is queued or awaited, otherwise from the last target queued.
    void Restore(const EqSnapshot& current, const EqSnapshot& target);

    bool Empty() const { return writes_.empty(); }
    std::size_t Size() const { return writes_.size(); }
    // The first write queued; the queue must not be empty.
    RestoreWrite TakeNext();

    // Everything sent has been answered: the editor's EQ is where the unit is.
    void Settle();
    // Nothing queued, nothing projected (another unit, or no unit).
    void Clear();
    // Writes queued or sent and not yet known to be answered.
    bool Busy() const { return projected_.has_value(); }

private:
    std::deque<RestoreWrite> writes_;
    std::optional<EqSnapshot> projected_;
};

}  // namespace qireq
