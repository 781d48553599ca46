#include "platform/PortListDiffSource.h"

#include <chrono>
#include <utility>

namespace qireq {

namespace {

QSet<QString> ToSet(const QStringList& names)
{
    return QSet<QString>(names.cbegin(), names.cend());
}

}  // namespace

PortListDiffSource::PortListDiffSource(SerialPortEnumerator enumerate, int intervalMs,
    QObject* parent)
    : DeviceChangeSource(parent), enumerate_(std::move(enumerate))
{
    known_ = ToSet(enumerate_());
    if (intervalMs > 0)
        reader_ = std::thread([this, intervalMs] { ReadPeriodically(intervalMs); });
}

PortListDiffSource::~PortListDiffSource()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (reader_.joinable())
        reader_.join();
}

void PortListDiffSource::Check()
{
    Compare(enumerate_());
}

void PortListDiffSource::Compare(const QStringList& names)
{
    QSet<QString> now = ToSet(names);
    const bool removed = !(known_ - now).isEmpty();
    const bool arrived = !(now - known_).isEmpty();
    known_ = std::move(now);
    if (removed)
        emit DeviceChanged(DeviceChange::Removed);
    if (arrived)
        emit DeviceChanged(DeviceChange::Arrived);
}

void PortListDiffSource::ReadPeriodically(int intervalMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (wake_.wait_for(lock, std::chrono::milliseconds(intervalMs), [this] { return stop_; }))
            return;
        lock.unlock();
        QStringList names = enumerate_();
        lock.lock();
        if (stop_)
            return;
        // A reading the GUI thread has not taken yet is simply replaced:
        // the newest one is what counts.
        const bool posted = reading_.has_value();
        reading_ = std::move(names);
        if (!posted)
            QMetaObject::invokeMethod(this, "TakeReading", Qt::QueuedConnection);
    }
}

void PortListDiffSource::TakeReading()
{
    std::optional<QStringList> names;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        names.swap(reading_);
    }
    if (names)
        Compare(*names);
}

}  // namespace qireq
