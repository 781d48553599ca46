#pragma once
// The faults injected during the soak, read from the logs of those who
// inject them (the simulated units' "FAULT <kind> ..." lines, and the
// script's for the vanishing serial line) while the logs grow. Each fault
// is tied to the tile of the unit it concerns and to the moment it was read.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace qireq::soak {

struct FaultEvent {
    qint64 atMs = 0;  // when it was read, on the soak's clock
    int unit = -1;    // the tile index of the unit it concerns
    QString kind;     // "silence", "drop", "vanish", ...
};

class SoakFaultLogs {
public:
    // Faults read from `path` concern the unit at tile `unit`. The file may
    // not exist yet; false only when it cannot be read at all.
    bool Watch(const QString& path, int unit);

    // Reads what the logs have got since the last call.
    void Poll(qint64 nowMs);

    const std::vector<FaultEvent>& Events() const { return events_; }
    // Faults per kind.
    std::map<QString, int> CountByKind() const;
    // The latest fault on `unit` read within `windowMs` before `atMs`.
    std::optional<FaultEvent> LatestBefore(int unit, qint64 atMs, qint64 windowMs) const;

private:
    struct Source {
        QFile file;
        QByteArray partial;  // a line not yet ended
        int unit = -1;
    };

    std::vector<std::unique_ptr<Source>> sources_;
    std::vector<FaultEvent> events_;
};

}  // namespace qireq::soak
