#pragma once
// Carries calls made on other threads over to the thread a component lives
// on and waits there for their result, so a QObject is only ever touched by
// its own thread. A call made on the owning thread runs at once. An
// exception thrown by the call is rethrown on the calling thread.
//
// The hand-over uses a standard mutex and condition variable and wakes the
// owner through ThreadWakeup (not Qt's blocking queued connection, whose
// steps run inside Qt where ThreadSanitizer cannot see them). The owning
// thread must run its event loop while others wait on it.
#include "platform/ThreadWakeup.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>

namespace qireq {

class OwnerThreadCalls {
public:
    // Belongs to the thread it is created on, which must be the owner's.
    OwnerThreadCalls();
    ~OwnerThreadCalls();
    OwnerThreadCalls(const OwnerThreadCalls&) = delete;
    OwnerThreadCalls& operator=(const OwnerThreadCalls&) = delete;

    bool OnOwnerThread() const { return std::this_thread::get_id() == ownerThread_; }

    template <class Fn>
    auto Run(Fn&& fn) -> std::invoke_result_t<Fn&>
    {
        using Result = std::invoke_result_t<Fn&>;
        if (OnOwnerThread())
            return fn();
        if constexpr (std::is_void_v<Result>) {
            Pending call{[&fn] { fn(); }};
            Carry(call);
        } else {
            std::optional<Result> result;
            Pending call{[&fn, &result] { result.emplace(fn()); }};
            Carry(call);
            return std::move(*result);
        }
    }

private:
    struct Pending {
        explicit Pending(std::function<void()> w) : work(std::move(w)) {}
        std::function<void()> work;
        bool done = false;
        std::exception_ptr error;
    };

    // Queues the call for the owning thread, waits until it has run there
    // and rethrows what it threw.
    void Carry(Pending& call);
    void RunQueued();

    const std::thread::id ownerThread_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Pending*> queue_;
    ThreadWakeup wakeup_;
};

}  // namespace qireq
