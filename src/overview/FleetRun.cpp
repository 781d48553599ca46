#include "overview/FleetRun.h"

#include <QMetaObject>
#include <QThread>

namespace qireq {

FleetRun::FleetRun(std::vector<fleet::UnitTarget> targets, fleet::UnitWork work, int timeoutMs, QObject* parent)
    : QObject(parent), targets_(std::move(targets)), work_(std::move(work)), timeoutMs_(timeoutMs)
{
    control_.MaxParallel = kMaxParallel;
}

FleetRun::~FleetRun()
{
    if (thread_) {
        control_.Cancelled = true;
        thread_->wait();
    }
}

void FleetRun::Start()
{
    running_ = true;
    // Calls queued to this object are dropped should it go first, and it
    // goes only after the run's thread has ended (the destructor waits).
    control_.OnUnitDone = [this](std::size_t index, const fleet::UnitResult& r) {
        QMetaObject::invokeMethod(
            this, [this, index, r] { emit UnitDone(static_cast<int>(index), r); }, Qt::QueuedConnection);
    };
    thread_.reset(QThread::create([this] {
        const auto job = [this](const fleet::UnitTarget& t) { return fleet::ServeUnit(t, timeoutMs_, work_); };
        auto results = fleet::RunOnUnits(targets_, job, control_);
        QMetaObject::invokeMethod(
            this, [this, results = std::move(results)] {
                running_ = false;
                thread_->wait();
                emit Finished(results);
            },
            Qt::QueuedConnection);
    }));
    thread_->start();
}

void FleetRun::Cancel()
{
    control_.Cancelled = true;
}

}  // namespace qireq
