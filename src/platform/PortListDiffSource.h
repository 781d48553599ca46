#pragma once
// A device-change source for machines that send no notifications: it reads
// the port list every interval and compares it with the previous reading.
// A name that is gone is reported as Removed, a new name as Arrived (both
// in one tick: Removed first, so a vanished unit is marked before the list
// is read again). The first reading, taken at construction, reports
// nothing. GUI thread.
#include "platform/DeviceChangeSource.h"

#include <QSet>
#include <QString>
#include <QTimer>

namespace qireq {

class PortListDiffSource final : public DeviceChangeSource {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 1000;

    explicit PortListDiffSource(SerialPortEnumerator enumerate,
        int intervalMs = kDefaultIntervalMs, QObject* parent = nullptr);

    // Reads the list now and reports what changed since the last reading.
    void Check();

private:
    SerialPortEnumerator enumerate_;
    QSet<QString> known_;
    QTimer timer_;
};

}  // namespace qireq
