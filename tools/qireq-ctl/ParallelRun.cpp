#include "ParallelRun.h"

#include <QElapsedTimer>
#include <QThread>

#include <memory>

namespace qireq::ctl {

std::vector<UnitResult> RunOnUnits(const std::vector<UnitTarget>& targets, const UnitJob& job)
{
    std::vector<UnitResult> results(targets.size());
    std::vector<std::unique_ptr<QThread>> threads;
    threads.reserve(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        threads.emplace_back(QThread::create([&results, &targets, &job, i] {
            QElapsedTimer clock;
            clock.start();
            UnitResult r = job(targets[i]);
            r.Unit = targets[i].Label();
            r.Ms = clock.elapsed();
            results[i] = std::move(r);
        }));
        threads.back()->start();
    }
    for (auto& t : threads)
        t->wait();
    return results;
}

}  // namespace qireq::ctl
