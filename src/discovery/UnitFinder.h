#pragma once
// What a datagram from a LAN sender does to the device list, the same for
// every listener: a listed sender is present again (its silence counter
// starts from 0), and an answer from a sender not listed yet is offered for
// listing. The listeners never wait for a MAC look-up: offered answers
// queue here, and one look-up worker takes them in turn, looks the MAC up
// and lists the unit as soon as the list lets a new unit in. Units are told
// apart by their address alone: the first answer offered for an address
// wins, and the list refuses a second.
// Any thread; the list keeps every step safe against a removal meanwhile.
#include <QSet>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace qireq {

class DeviceList;
class DiscoveryThread;

using MacLookup = std::function<std::optional<QString>(const QString& ipv4)>;

class UnitFinder {
public:
    // More waiting answers than a site has units: the rest come again with
    // their next answer.
    static constexpr int kMaxWaiting = 4096;

    UnitFinder(DeviceList& devices, MacLookup lookupMac);

    // True when the sender is listed; its silence counter is then 0.
    bool Refresh(const QString& sender);
    // Offers the sender as a unit of the given kind. Without a MAC the
    // look-up worker drops the answer (its next one tries again), or, with
    // unknownMacWillDo, lists the unit with the unknown MAC. False when
    // nothing was offered: no sender, listed already, waiting already, or
    // too many waiting.
    bool Offer(const QString& sender, int kind, bool unknownMacWillDo = false);

    // The look-up worker: waits up to waitMs for an offered answer, looks
    // its MAC up and lists it once the list lets a new unit in (after the
    // window has built the last one's tile). True when it listed one.
    bool ListNext(DiscoveryThread& thread, int waitMs);
    int Waiting() const;

    DeviceList& Devices() const { return devices_; }

private:
    struct Offered {
        QString Sender;
        int Kind = 0;
        bool UnknownMacWillDo = false;
    };
    std::optional<Offered> TakeNext(DiscoveryThread& thread, int waitMs);
    bool ListWhenLetIn(DiscoveryThread& thread, const Offered& offered, const QString& mac);
    void Forget(const QString& sender);

    DeviceList& devices_;
    MacLookup lookupMac_;
    mutable std::mutex mutex_;
    std::condition_variable offered_;
    std::deque<Offered> queue_;
    QSet<QString> waiting_;  // queued or being looked up
};

}  // namespace qireq
