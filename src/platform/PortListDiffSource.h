#pragma once
// A device-change source for machines that send no notifications: it reads
// the port list every interval and compares it with the previous reading.
// A name that is gone is reported as Removed, a new name as Arrived (both
// in one reading: Removed first, so a vanished unit is marked before the
// list is read again). The first reading, taken at construction, reports
// nothing.
//
// Reading the list walks the system's device tree and takes tens of
// milliseconds, so the periodic readings run on a thread of their own and
// only the comparison and the signal happen on the GUI thread, where the
// source is made, used and destroyed. The enumerator is called on both.
#include "platform/DeviceChangeSource.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace qireq {

class PortListDiffSource final : public DeviceChangeSource {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 1000;

    // intervalMs 0: no periodic readings, only Check.
    explicit PortListDiffSource(SerialPortEnumerator enumerate,
        int intervalMs = kDefaultIntervalMs, QObject* parent = nullptr);
    ~PortListDiffSource() override;

    // Reads the list now, here, and reports what changed since the last
    // reading.
    void Check();

private:
    void Compare(const QStringList& names);
    void ReadPeriodically(int intervalMs);
    Q_INVOKABLE void TakeReading();

    SerialPortEnumerator enumerate_;
    QSet<QString> known_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::optional<QStringList> reading_;  // the latest reading not yet compared
    std::thread reader_;
};

}  // namespace qireq
