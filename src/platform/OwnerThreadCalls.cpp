#include "platform/OwnerThreadCalls.h"

#include <stdexcept>

namespace qireq {

OwnerThreadCalls::OwnerThreadCalls()
    : ownerThread_(std::this_thread::get_id()), wakeup_([this] { RunQueued(); }, nullptr)
{
}

OwnerThreadCalls::~OwnerThreadCalls()
{
    // A caller still waiting would otherwise wait for ever.
    std::lock_guard<std::mutex> lock(mutex_);
    for (Pending* call : queue_) {
        call->error = std::make_exception_ptr(
            std::runtime_error("the component was destroyed before the call could run"));
        call->done = true;
    }
    queue_.clear();
    done_.notify_all();
}

void OwnerThreadCalls::Carry(Pending& call)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(&call);
    }
    wakeup_.Wake();
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&call] { return call.done; });
    if (call.error)
        std::rethrow_exception(call.error);
}

void OwnerThreadCalls::RunQueued()
{
    for (;;) {
        Pending* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty())
                return;
            call = queue_.front();
            queue_.pop_front();
        }
        std::exception_ptr error;
        try {
            call->work();
        } catch (...) {
            error = std::current_exception();
        }
        // Handed over, not shared: the owner keeps no reference to the
        // exception, so only the caller's thread ever touches it again.
        std::lock_guard<std::mutex> lock(mutex_);
        call->error = std::move(error);
        call->done = true;
        done_.notify_all();
    }
}

}  // namespace qireq
