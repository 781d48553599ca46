#pragma once
// What a datagram from a LAN sender does to the device list, the same for
// every listener: a listed sender is present again (its silence counter
// starts from 0), and an answer from a sender not listed yet is listed once
// its MAC has been looked up. Units are told apart by their address alone:
// the first listener to add an address wins, and the list refuses a second.
// Any thread; the list keeps every step safe against a removal meanwhile.
#include <QString>

#include <functional>
#include <optional>

namespace qireq {

class DeviceList;

using MacLookup = std::function<std::optional<QString>(const QString& ipv4)>;

class UnitFinder {
public:
    UnitFinder(DeviceList& devices, MacLookup lookupMac);

    // True when the sender is listed; its silence counter is then 0.
    bool Refresh(const QString& sender) const;
    // Lists the sender as a unit of the given kind. Without a MAC the answer
    // is dropped (its next one tries again), or, with unknownMacWillDo, the
    // unit is listed with the unknown MAC. False when nothing was added,
    // also when the list let no new unit in just then.
    bool Add(const QString& sender, int kind, bool unknownMacWillDo = false) const;

    DeviceList& Devices() const { return devices_; }

private:
    DeviceList& devices_;
    MacLookup lookupMac_;
};

}  // namespace qireq
