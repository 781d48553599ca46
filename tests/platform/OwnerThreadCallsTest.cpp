// Calls carried from worker threads to the owning thread: results and
// errors come back to the caller, and the work itself runs on the owner.
#include "platform/OwnerThreadCalls.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QObject>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qireq {
namespace {

using test::WaitFor;

TEST(OwnerThreadCalls, WorkRunsOnTheOwnerAndResultsAndErrorsReturnToTheCaller)
{
    OwnerThreadCalls calls;
    const std::thread::id ownerId = std::this_thread::get_id();
    EXPECT_TRUE(calls.OnOwnerThread());
    EXPECT_EQ(calls.Run([] { return 7; }), 7) << "a call on the owner runs at once";

    std::atomic<bool> done{false};
    std::thread::id ranOn;
    int result = 0;
    std::string error;
    bool ownerFromWorker = true;
    std::thread worker([&] {
        ownerFromWorker = calls.OnOwnerThread();
        result = calls.Run([&] {
            ranOn = std::this_thread::get_id();
            return 42;
        });
        try {
            calls.Run([]() -> int { throw std::runtime_error("refused"); });
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        done = true;
    });
    EXPECT_TRUE(WaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_FALSE(ownerFromWorker);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(ranOn, ownerId);
    EXPECT_EQ(error, "refused");
}

TEST(OwnerThreadCalls, CallsFromSeveralThreadsAreRunOneAtATime)
{
    OwnerThreadCalls calls;
    int counter = 0;  // touched only on the owner thread
    int inside = 0;
    int overlap = 0;
    constexpr int kThreads = 3;
    constexpr int kCalls = 200;
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) {
                calls.Run([&] {
                    if (++inside > 1)
                        ++overlap;
                    ++counter;
                    --inside;
                });
            }
            ++finished;
        });
    }
    EXPECT_TRUE(WaitFor([&] { return finished.load() == kThreads; }, 20000));
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(counter, kThreads * kCalls);
    EXPECT_EQ(overlap, 0);
}

}  // namespace
}  // namespace qireq
