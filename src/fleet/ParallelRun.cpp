#include "fleet/ParallelRun.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <memory>

namespace qireq::fleet {

QString CancelledText()
{
    return QStringLiteral("cancelled before it was served");
}

std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job)
{
    RunControl control;
    return RunOnUnits(targets, job, control);
}

std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job, RunControl& control)
{
    std::vector<UnitResult> results(targets.size());
    // Workers take the next unit until none is left; with no limit there is
    // one worker per unit and each serves exactly one.
    std::atomic<std::size_t> next{0};
    const auto serve = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= targets.size())
                return;
            UnitResult r;
            if (control.Cancelled.load()) {
                r.Error = CancelledText();
                r.Cancelled = true;
            } else {
                QElapsedTimer clock;
                clock.start();
                r = job(targets[i]);
                r.Ms = clock.elapsed();
            }
            r.Unit = targets[i].Label();
            if (control.OnUnitDone)
                control.OnUnitDone(i, r);
            results[i] = std::move(r);
        }
    };
    std::size_t workers = targets.size();
    if (control.MaxParallel > 0)
        workers = std::min(workers, static_cast<std::size_t>(control.MaxParallel));
    std::vector<std::unique_ptr<QThread>> threads;
    threads.reserve(workers);
    for (std::size_t w = 0; w < workers; ++w) {
        threads.emplace_back(QThread::create(serve));
        threads.back()->start();
    }
    for (auto& t : threads)
        t->wait();
    return results;
}

}  // namespace qireq::fleet
