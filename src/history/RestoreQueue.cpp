#include "history/RestoreQueue.h"

namespace qireq {

void RestoreQueue::Restore(const EqSnapshot& current, const EqSnapshot& target)
{
    const EqSnapshot& from = projected_ ? *projected_ : current;
    for (const RestoreWrite& write : RestoreWrites(from, target))
        writes_.push_back(write);
    if (!writes_.empty() || projected_)
        projected_ = target;
}

RestoreWrite RestoreQueue::TakeNext()
{
    RestoreWrite write = writes_.front();
    writes_.pop_front();
    return write;
}

void RestoreQueue::Settle()
{
    if (writes_.empty())
        projected_.reset();
}

void RestoreQueue::Clear()
{
    writes_.clear();
    projected_.reset();
}

}  // namespace qireq
