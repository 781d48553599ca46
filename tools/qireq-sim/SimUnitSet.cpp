#include "SimUnitSet.h"

#include "SimDevice.h"
#include "SimLanSide.h"
#include "SimTcpServer.h"
#include "SimUnitList.h"

#include <QNetworkInterface>

namespace qireq::sim {

struct SimUnitSet::Unit {
    Unit(const QHostAddress& own, const SimUnitState& state, const SimFaults& faults, SimLog log)
        : address(own), device(state, faults, std::move(log)), tcp(device), ssdp(device)
    {
    }

    QHostAddress address;
    SimDevice device;
    SimTcpServer tcp;
    SimSsdpAnnouncer ssdp;  // idle without --ssdp-all
};

SimUnitSet::SimUnitSet(const SimOptions& options, QObject* parent) : QObject(parent), options_(options)
{
    const SimLog log;
    const bool many = options_.units.size() > 1;
    units_.reserve(options_.units.size());
    for (std::size_t i = 0; i < options_.units.size(); ++i) {
        const QHostAddress& address = options_.units[i];
        const SimUnitState state = NumberedUnit(options_.unit, options_.name, static_cast<int>(i + 1));
        const SimLog unitLog = many ? log.Prefixed(QStringLiteral("[%1] ").arg(address.toString())) : log;
        // Each unit draws its own faults: unit N from the seed + N - 1.
        SimFaults faults = options_.faults;
        faults.chaos.seed += static_cast<std::uint32_t>(i);
        units_.push_back(std::make_unique<Unit>(address, state, faults, unitLog));
    }
}

SimUnitSet::~SimUnitSet() = default;

QString SimUnitSet::Start()
{
    SimLog().Line(QStringLiteral("UNITS %1").arg(units_.size()));
    for (const auto& unit : units_) {
        if (const QString error = unit->tcp.Listen(unit->address, options_.tcpPort); !error.isEmpty())
            return error;
    }
    if (options_.lan) {
        lan_ = std::make_unique<SimLanResponder>(SimLog());
        for (const auto& unit : units_)
            lan_->AddUnit(unit->device, unit->address);
        if (const QString error = lan_->Start(options_.lanBind, options_.probePort, options_.modulePort);
            !error.isEmpty())
            return error;
    }
    if (options_.ssdpAll) {
        const auto interfaces = QNetworkInterface::allInterfaces();
        const auto count = static_cast<qint64>(units_.size());
        for (qint64 i = 0; i < count; ++i) {
            Unit& unit = *units_[static_cast<std::size_t>(i)];
            const auto iface = InterfaceOf(unit.address, interfaces);
            if (!iface)
                return QStringLiteral("%1 is not an address of this machine").arg(unit.address.toString());
            // The first announcements are spread over one interval, so a few
            // hundred units do not all send in the same millisecond.
            const auto firstDelayMs = static_cast<int>(options_.ssdpIntervalMs * i / count);
            if (const QString error = unit.ssdp.StartOn(*iface, unit.address, options_.ssdpPort,
                                                        options_.ssdpIntervalMs, firstDelayMs);
                !error.isEmpty())
                return error;
        }
    }
    return {};
}

quint64 SimUnitSet::DescriptorsNeeded() const
{
    // A TCP server each, a LAN answer socket and an SSDP socket when asked
    // for; the shared LAN sockets, the standard streams, the signal pipe and
    // the event loop's own descriptors fit in the rest.
    const quint64 perUnit = 1u + (options_.lan ? 1u : 0u) + (options_.ssdpAll ? 1u : 0u);
    return perUnit * units_.size() + 32;
}

}  // namespace qireq::sim
