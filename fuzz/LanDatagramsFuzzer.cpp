// fuzz_lan_datagrams: what one datagram from one sender does on each of the
// three discovery methods (discovery/LanAnswerRules), datagram after
// datagram on a real DeviceList, with a MAC look-up that succeeds or fails
// as the input says. Between datagrams the window moves: a tile built, the
// list being changed or done, a unit removed, a presence-watch tick.
//
// Input: the datagrams' bytes from the front, the decisions from the back.
// A decision byte: bits 0-1 the method (probe port, module port, SSDP, or
// a window move), bits 2-4 the sender, bit 5 whether the MAC look-up
// succeeds; then the datagram's size, up to what the method reads.
//
// Checked for every datagram against the rules written plainly (the length
// tests, the marker before the first zero byte, the sender's IPv4 text,
// listed or waiting or not, the flags): the outcome; that receiving never
// lists a unit nor asks for a look-up (an answer from a new sender is only
// offered); that a refreshed sender's counter is 0 and nothing else in the
// list changes. Whenever the list would take a unit, the look-up worker's
// step runs: the oldest offer is looked up once and listed under its text
// with its method's kind and the MAC found (unknown only for a module
// answer), unless it was listed meanwhile. Keys are never empty and listed
// once.
#include "FuzzCheck.h"

#include "discovery/DiscoveryThread.h"
#include "discovery/LanAnswerRules.h"
#include "discovery/UnitFinder.h"
#include "state/DeviceList.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

using namespace qireq;

namespace {

enum Method { kProbePortMethod, kModulePortMethod, kSsdpMethod, kWindowMove };

// What the socket hands over of one datagram on each method.
constexpr std::size_t kPortReadLimit = 100;
constexpr std::size_t kSsdpReadLimit = 1024;

struct Sender {
    QHostAddress address;
    QString expectedText;  // "" for a sender without an IPv4 address
};

QString DottedText(std::uint32_t ipv4)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ipv4 >> 24)
        .arg((ipv4 >> 16) & 0xFF)
        .arg((ipv4 >> 8) & 0xFF)
        .arg(ipv4 & 0xFF);
}

Sender PickSender(int pick, FuzzedDataProvider& input)
{
    switch (pick) {
    case 0:
    case 1:
    case 2:
    case 3: {  // a few fixed units, so senders come back
        const std::uint32_t ipv4 = 0x0A000001u + static_cast<std::uint32_t>(pick);
        return {QHostAddress(ipv4), DottedText(ipv4)};
    }
    case 4: {
        const auto ipv4 = input.ConsumeIntegral<std::uint32_t>();
        return {QHostAddress(ipv4), DottedText(ipv4)};
    }
    case 5:  // an IPv4 sender as a dual-stack socket reports it
        return {QHostAddress(QStringLiteral("::ffff:10.0.0.2")), QStringLiteral("10.0.0.2")};
    case 6: {
        Q_IPV6ADDR bytes;
        const auto high = input.ConsumeIntegral<std::uint64_t>();
        const auto low = input.ConsumeIntegral<std::uint64_t>();
        for (int i = 0; i < 8; ++i) {
            bytes[i] = static_cast<quint8>(high >> (56 - 8 * i));
            bytes[8 + i] = static_cast<quint8>(low >> (56 - 8 * i));
        }
        QString text;
        // Mapped IPv4 addresses, and the unspecified address as 0.0.0.0,
        // are the IPv6 senders that carry an IPv4 address.
        if (high == 0 && (low >> 32) == 0xFFFFu)
            text = DottedText(static_cast<std::uint32_t>(low));
        else if (high == 0 && low == 0)
            text = QStringLiteral("0.0.0.0");
        return {QHostAddress(bytes), text};
    }
    default:  // a failed receive: no sender
        return {QHostAddress(), QString()};
    }
}

// The MAC the look-up finds for an address: its value in the low digits.
QString MacFor(const QString& address)
{
    const QHostAddress host(address);
    return QStringLiteral("02AA%1").arg(host.toIPv4Address(), 8, 16, QLatin1Char('0')).toUpper();
}

struct FakeArp {
    bool succeeds = false;
    QStringList asked;
};

// The text part of a datagram: up to its first zero byte.
std::string_view TextPart(const QByteArray& bytes)
{
    const std::string_view all(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return all.substr(0, all.find('\0'));
}

// An answer offered and not yet taken by the look-up worker.
struct Offer {
    QString sender;
    int kind = -1;
    bool unknownMacWillDo = false;
};

struct Expected {
    LanDatagramOutcome outcome;
    Offer offer;  // of an answer offered
};

bool IsWaiting(const std::deque<Offer>& waiting, const QString& sender)
{
    return std::any_of(waiting.begin(), waiting.end(),
                       [&sender](const Offer& offer) { return offer.sender == sender; });
}

// The rules written plainly, from the list and the offers as they stand
// before the datagram.
Expected ExpectedOf(Method method, const QString& sender, const QByteArray& bytes,
                    const DeviceList& devices, const std::deque<Offer>& waiting)
{
    const bool listed = !sender.isEmpty() && devices.IndexOf(sender) >= 0;
    bool answer = false;
    int kind = -1;
    bool unknownMacWillDo = false;
    switch (method) {
    case kProbePortMethod:
        if (listed)
            return {LanDatagramOutcome::Refreshed};
        answer = bytes.size() > 12;
        kind = kProbeUnit;
        break;
    case kModulePortMethod:
        if (TextPart(bytes).size() <= 20)
            return {LanDatagramOutcome::Ignored};
        if (listed)
            return {LanDatagramOutcome::Refreshed};
        answer = true;
        kind = kModuleUnit;
        unknownMacWillDo = true;
        break;
    default:
        if (listed)
            return {devices.Flags().ListChanging.load() ? LanDatagramOutcome::Deferred
                                                        : LanDatagramOutcome::Refreshed};
        answer = TextPart(bytes).find("upnp_MDL-S2E") != std::string_view::npos;
        kind = kSsdpUnit;
        break;
    }
    if (!answer)
        return {LanDatagramOutcome::Ignored};
    if (sender.isEmpty() || IsWaiting(waiting, sender))
        return {LanDatagramOutcome::NotOffered};
    return {LanDatagramOutcome::Offered, {sender, kind, unknownMacWillDo}};
}

LanDatagramOutcome Deliver(Method method, UnitFinder& finder, const QHostAddress& sender,
                           const QByteArray& bytes)
{
    switch (method) {
    case kProbePortMethod:
        return OnProbePortDatagram(finder, sender, bytes);
    case kModulePortMethod:
        return OnModulePortDatagram(finder, sender, bytes);
    default:
        return OnSsdpDatagram(finder, sender, bytes);
    }
}

void CheckList(const DeviceList& devices)
{
    const QVector<DeviceEntry> entries = devices.Devices();
    for (int i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(!entries[i].Address.isEmpty());
        FUZZ_CHECK(entries[i].Index == i);
        FUZZ_CHECK(devices.IndexOf(entries[i].Address) == i);
    }
}

void WindowMove(int move, FuzzedDataProvider& input, DeviceList& devices)
{
    ProcessFlags& flags = devices.Flags();
    switch (move) {
    case 0:  // the new unit's tile is built
        flags.AddPending.store(false);
        return;
    case 1:
        flags.ListChanging.store(!flags.ListChanging.load());
        return;
    case 2:
        if (devices.Count() > 0)
            devices.Remove(input.ConsumeIntegralInRange<int>(0, devices.Count() - 1));
        return;
    default:
        devices.TickSilenceCounters();
        return;
    }
}

void OneDatagram(Method method, int decision, FuzzedDataProvider& input, DeviceList& devices,
                 UnitFinder& finder, FakeArp& arp, std::deque<Offer>& waiting)
{
    const Sender sender = PickSender((decision >> 2) & 7, input);
    arp.succeeds = (decision & 0x20) != 0;
    arp.asked.clear();
    const std::size_t limit = method == kSsdpMethod ? kSsdpReadLimit : kPortReadLimit;
    const std::string data =
        input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, limit));
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));

    const Expected expected = ExpectedOf(method, sender.expectedText, bytes, devices, waiting);
    const QVector<DeviceEntry> before = devices.Devices();
    const QVector<int> countersBefore = devices.SilenceCounters();
    const LanDatagramOutcome outcome = Deliver(method, finder, sender.address, bytes);
    const QVector<DeviceEntry> after = devices.Devices();
    const QVector<int> countersAfter = devices.SilenceCounters();

    FUZZ_CHECK(outcome == expected.outcome);
    FUZZ_CHECK(arp.asked.isEmpty());  // receiving never waits for a look-up
    if (outcome == LanDatagramOutcome::Offered)
        waiting.push_back(expected.offer);
    FUZZ_CHECK(finder.Waiting() == static_cast<int>(waiting.size()));
    FUZZ_CHECK(after.size() == before.size());
    for (int i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(after[i].Address == before[i].Address && after[i].Kind == before[i].Kind);
        FUZZ_CHECK(after[i].Mac == before[i].Mac);
        if (outcome == LanDatagramOutcome::Refreshed && after[i].Address == sender.expectedText)
            FUZZ_CHECK(countersAfter[i] == 0);
        else
            FUZZ_CHECK(countersAfter[i] == countersBefore[i]);
    }
}

// The look-up worker's step, taken whenever the list would take a unit
// (otherwise the worker would wait for that).
void LookUpStep(DiscoveryThread& worker, DeviceList& devices, UnitFinder& finder, FakeArp& arp,
                std::deque<Offer>& waiting)
{
    if (waiting.empty() || devices.Flags().AddPending.load())
        return;
    const Offer offer = waiting.front();
    waiting.pop_front();
    const bool listedBefore = devices.IndexOf(offer.sender) >= 0;
    const QVector<DeviceEntry> before = devices.Devices();
    arp.asked.clear();

    const bool listed = finder.ListNext(worker, 0);
    const QVector<DeviceEntry> after = devices.Devices();
    FUZZ_CHECK(finder.Waiting() == static_cast<int>(waiting.size()));
    if (listedBefore) {
        FUZZ_CHECK(!listed && arp.asked.isEmpty() && after.size() == before.size());
        return;
    }
    FUZZ_CHECK(arp.asked == QStringList{offer.sender});
    FUZZ_CHECK(listed == (arp.succeeds || offer.unknownMacWillDo));
    if (!listed) {
        FUZZ_CHECK(after.size() == before.size());
        return;
    }
    FUZZ_CHECK(after.size() == before.size() + 1);
    const DeviceEntry& added = after.back();
    FUZZ_CHECK(added.Address == offer.sender);
    FUZZ_CHECK(added.Kind == offer.kind);
    FUZZ_CHECK(added.Mac == (arp.succeeds ? MacFor(added.Address) : kUnknownMac));
    FUZZ_CHECK(devices.Flags().AddPending.load());
    FUZZ_CHECK(devices.SilenceCounters().back() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    DeviceList devices;
    FakeArp arp;
    UnitFinder finder(devices, [&arp](const QString& address) -> std::optional<QString> {
        arp.asked << address;
        if (!arp.succeeds)
            return std::nullopt;
        return MacFor(address);
    });
    // Never started: its steps are taken on this thread, by LookUpStep.
    DiscoveryThread worker([](DiscoveryThread&) {});
    std::deque<Offer> waiting;
    while (input.remaining_bytes() > 0) {
        const int decision = input.ConsumeIntegral<std::uint8_t>();
        const auto method = static_cast<Method>(decision & 3);
        if (method == kWindowMove)
            WindowMove((decision >> 2) & 3, input, devices);
        else
            OneDatagram(method, decision, input, devices, finder, arp, waiting);
        LookUpStep(worker, devices, finder, arp, waiting);
        CheckList(devices);
    }
    return 0;
}
