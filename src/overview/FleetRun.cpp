#include "overview/FleetRun.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace qireq {

FleetRun::FleetRun(std::vector<fleet::UnitTarget> targets, fleet::UnitWork work, int timeoutMs, QObject* parent)
    : QObject(parent), targets_(std::move(targets)), work_(std::move(work)), timeoutMs_(timeoutMs)
{
    control_.MaxParallel = kMaxParallel;
    deliver_ = new QTimer(this);
    deliver_->setInterval(kDeliverMs);
    connect(deliver_, &QTimer::timeout, this, &FleetRun::Deliver);
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
    control_.OnUnitDone = [this](std::size_t index, const fleet::UnitResult& r) {
        const std::lock_guard<std::mutex> hold(lock_);
        done_.emplace_back(static_cast<int>(index), r);
    };
    thread_.reset(QThread::create([this] {
        // A cancel reaches the units being connected too: what has not
        // begun its work is left alone; work begun ends verified or failed.
        const fleet::UnitWork work = [this](fleet::UnitSession& s, fleet::UnitResult& r) {
            if (control_.Cancelled.load()) {
                r.Error = fleet::CancelledText();
                r.Cancelled = true;
                return false;
            }
            return work_(s, r);
        };
        const auto job = [this, &work](const fleet::UnitTarget& t) { return fleet::ServeUnit(t, timeoutMs_, work); };
        auto results = fleet::RunOnUnits(targets_, job, control_);
        const std::lock_guard<std::mutex> hold(lock_);
        results_ = std::move(results);
        allDone_ = true;
    }));
    thread_->start();
    deliver_->start();
}

void FleetRun::Deliver()
{
    QElapsedTimer budget;
    budget.start();
    for (;;) {
        std::pair<int, fleet::UnitResult> next;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (done_.empty()) {
                if (!allDone_)
                    return;
                break;
            }
            next = std::move(done_.front());
            done_.pop_front();
        }
        emit UnitDone(next.first, next.second);
        if (budget.elapsed() >= kDeliverBudgetMs)
            return;  // the rest at the next tick
    }
    deliver_->stop();
    thread_->wait();
    running_ = false;
    emit Finished(results_);
}

void FleetRun::Cancel()
{
    control_.Cancelled = true;
}

}  // namespace qireq
