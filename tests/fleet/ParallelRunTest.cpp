// The parallel run: results in the targets' order, at most MaxParallel
// units at once, and a cancel that leaves the units not yet served alone
// (reported as cancelled, never as done).
#include "fleet/ParallelRun.h"

#include <QThread>

#include <gtest/gtest.h>

#include <mutex>

using namespace qireq::fleet;

namespace {

std::vector<UnitTarget> Targets(int n)
{
    std::vector<UnitTarget> targets;
    for (int i = 0; i < n; ++i) {
        UnitTarget t;
        t.Address = QStringLiteral("10.0.0.%1").arg(i + 1);
        targets.push_back(t);
    }
    return targets;
}

}  // namespace

TEST(ParallelRun, KeepsTheOrderAndTheLimit)
{
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    RunControl control;
    control.MaxParallel = 3;
    const auto results = RunOnUnits(Targets(12), [&](const UnitTarget& t) {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        QThread::msleep(5);
        --running;
        UnitResult r;
        r.Ok = true;
        r.Name = t.Address;
        return r;
    }, control);
    ASSERT_EQ(results.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(results[i].Unit, QStringLiteral("10.0.0.%1:5000").arg(i + 1));
        EXPECT_EQ(results[i].Name, QStringLiteral("10.0.0.%1").arg(i + 1));
    }
    EXPECT_LE(most.load(), 3);
}

TEST(ParallelRun, CancelStopsTheUnitsNotYetServed)
{
    RunControl control;
    control.MaxParallel = 1;
    std::mutex lock;
    std::vector<std::size_t> reported;
    control.OnUnitDone = [&](std::size_t index, const UnitResult&) {
        const std::lock_guard<std::mutex> hold(lock);
        reported.push_back(index);
        if (index == 1)
            control.Cancelled = true;
    };
    int served = 0;
    const auto results = RunOnUnits(Targets(5), [&](const UnitTarget&) {
        ++served;
        UnitResult r;
        r.Ok = true;
        return r;
    }, control);
    EXPECT_EQ(served, 2);
    EXPECT_EQ(reported.size(), 5u);  // every unit reports, cancelled ones too
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_FALSE(results[i].Ok);
        EXPECT_TRUE(results[i].Cancelled);
        EXPECT_EQ(results[i].Error, CancelledText());
    }
    EXPECT_TRUE(results[1].Ok);
}
