#pragma once
// One run on many units started from the window: the engine's parallel run
// on a thread of its own, so the window's event loop never waits for a
// unit. Each unit's result arrives on the GUI thread as it comes, the whole
// at the end. Cancel leaves the units not yet served alone, including
// those still connecting; a unit whose work has begun ends verified or failed.
//
// Created, started, cancelled and destroyed on the GUI thread; destroying
// a running run cancels it and waits for the units being served.
#include "fleet/ParallelRun.h"
#include "fleet/UnitReads.h"

#include <QObject>

#include <deque>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class QThread;
class QTimer;

namespace qireq {

class FleetRun : public QObject {
    Q_OBJECT
public:
    // At most this many units are served at once.
    static constexpr int kMaxParallel = 64;
    // Results are handed to the window in batches, every kDeliverMs, for
    // at most kDeliverBudgetMs each time, so the window's event loop never
    // spends long on a burst of them.
    static constexpr int kDeliverMs = 15;
    static constexpr int kDeliverBudgetMs = 8;

    FleetRun(std::vector<fleet::UnitTarget> targets, fleet::UnitWork work, int timeoutMs, QObject* parent = nullptr);
    ~FleetRun() override;

    void Start();
    void Cancel();
    bool IsRunning() const { return running_; }
    const std::vector<fleet::UnitTarget>& Targets() const { return targets_; }

signals:
    void UnitDone(int index, const qireq::fleet::UnitResult& result);
    void Finished(const std::vector<qireq::fleet::UnitResult>& results);

private:
    void Deliver();

    std::vector<fleet::UnitTarget> targets_;
    fleet::UnitWork work_;
    int timeoutMs_;
    fleet::RunControl control_;
    std::unique_ptr<QThread> thread_;
    bool running_ = false;

    // Filled by the workers, emptied on the GUI thread.
    std::mutex lock_;
    std::deque<std::pair<int, fleet::UnitResult>> done_;
    bool allDone_ = false;
    std::vector<fleet::UnitResult> results_;
    QTimer* deliver_;
};

}  // namespace qireq
