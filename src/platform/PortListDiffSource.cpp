#include "platform/PortListDiffSource.h"

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
    : DeviceChangeSource(parent), enumerate_(std::move(enumerate)), timer_(this)
{
    known_ = ToSet(enumerate_());
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &PortListDiffSource::Check);
    timer_.start();
}

void PortListDiffSource::Check()
{
    QSet<QString> now = ToSet(enumerate_());
    const bool removed = !(known_ - now).isEmpty();
    const bool arrived = !(now - known_).isEmpty();
    known_ = std::move(now);
    if (removed)
        emit DeviceChanged(DeviceChange::Removed);
    if (arrived)
        emit DeviceChanged(DeviceChange::Arrived);
}

}  // namespace qireq
