#include "platform/OwnerThreadCalls.h"

#include <stdexcept>

namespace qireq {

OwnerThreadCalls::OwnerThreadCalls(QObject* owner)
    : QObject(owner), ownerThread_(std::this_thread::get_id())
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
    QMetaObject::invokeMethod(this, "RunQueued", Qt::QueuedConnection);
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
        std::lock_guard<std::mutex> lock(mutex_);
        call->error = error;
        call->done = true;
        done_.notify_all();
    }
}

}  // namespace qireq
