#pragma once
// Many LAN units in one process (--units): for each address a unit with its
// own state, name and MAC, a TCP server on that address and, when asked
// for, LAN answers and SSDP announcements from that address.
#include "SimOptions.h"

#include <QObject>

#include <memory>
#include <vector>

namespace qireq::sim {

class SimLanResponder;

class SimUnitSet : public QObject {
    Q_OBJECT
public:
    // One unit per address of options.units, numbered from 1 in list order.
    // With more than one, each unit's log lines start with "[<addr>] ".
    explicit SimUnitSet(const SimOptions& options, QObject* parent = nullptr);
    ~SimUnitSet() override;

    // Logs "UNITS <n>" and starts every unit's transports; returns an error
    // text, empty on success.
    QString Start();

    // The descriptors the units hold before any connection, and a few more.
    quint64 DescriptorsNeeded() const;

private:
    struct Unit;

    SimOptions options_;
    std::vector<std::unique_ptr<Unit>> units_;
    std::unique_ptr<SimLanResponder> lan_;
};

}  // namespace qireq::sim
