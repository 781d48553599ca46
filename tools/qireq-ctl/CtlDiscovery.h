#pragma once
// `discover`, and finding the units of --unit and --all: the window's three
// LAN methods (probe on UDP 8000, module search on UDP 48899, SSDP) for the
// time given, the serial ping on every serial port meanwhile, then Identify
// on each unit found. This is the only place qireq-ctl broadcasts.
#include "CtlFleet.h"

#include <QStringList>

#include <vector>

namespace qireq::ctl {

inline constexpr int kDefaultDiscoverMs = 3000;

struct FoundUnit {
    UnitTarget Target;  // serial port, or the LAN address at port 5000
    QString Kind;       // "serial", "ssdp", "module", "probe"
    QString Mac;        // as discovery found it: 12 hex digits, "" unknown
    UnitResult Identity;  // Ok with Name and Fields (capability) when it answered Identify
};

struct DiscoverySettings {
    int Ms = kDefaultDiscoverMs;
    int TimeoutMs = 2000;   // per Identify / ping
    QStringList ExtraSerial;  // --serial ports to ping besides the system's
    // Stop early once every one of these addresses has been heard (--unit).
    QStringList WantedAddresses;
};

// Serial ports this user may not open are not probed; each gets a line in
// *notes ("permission denied: /dev/ttyUSB0; join the dialout group").
std::vector<FoundUnit> Discover(const DiscoverySettings& settings, QStringList* notes = nullptr);

// The result rows of `discover`, one per unit found.
std::vector<UnitResult> DiscoverResults(const std::vector<FoundUnit>& found);

// Matches a --unit value against the units found: address, name (any letter
// case) or MAC (with or without colons).
const FoundUnit* MatchUnit(const std::vector<FoundUnit>& found, const QString& wanted);

}  // namespace qireq::ctl
