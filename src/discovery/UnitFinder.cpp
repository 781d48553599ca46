#include "discovery/UnitFinder.h"

#include "discovery/DiscoveryThread.h"
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"

#include <chrono>
#include <utility>

namespace qireq {

namespace {
// How often the worker looks whether the list lets the next unit in: the
// window lets it in once the last unit's tile is built (10 ms on).
constexpr int kLetInPollMs = 2;
// How long one wait for an offer may block before a stop is looked at.
constexpr int kOfferWaitSliceMs = 100;
}  // namespace

UnitFinder::UnitFinder(DeviceList& devices, MacLookup lookupMac)
    : devices_(devices), lookupMac_(std::move(lookupMac))
{
}

bool UnitFinder::Refresh(const QString& sender)
{
    return devices_.ResetSilenceCounter(sender);
}

bool UnitFinder::Offer(const QString& sender, int kind, bool unknownMacWillDo)
{
    if (sender.isEmpty() || devices_.Contains(sender))
        return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (waiting_.contains(sender) || waiting_.size() >= kMaxWaiting)
            return false;
        waiting_.insert(sender);
        queue_.push_back(Offered{sender, kind, unknownMacWillDo});
    }
    offered_.notify_one();
    return true;
}

int UnitFinder::Waiting() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(waiting_.size());
}

bool UnitFinder::ListNext(DiscoveryThread& thread, int waitMs)
{
    const std::optional<Offered> offered = TakeNext(thread, waitMs);
    if (!offered)
        return false;
    bool listed = false;
    // The look-up may take a second; a unit listed meanwhile needs none.
    if (!devices_.Contains(offered->Sender)) {
        const std::optional<QString> mac = lookupMac_ ? lookupMac_(offered->Sender) : std::nullopt;
        if (mac || offered->UnknownMacWillDo)
            listed = ListWhenLetIn(thread, *offered, mac.value_or(kUnknownMac));
    }
    Forget(offered->Sender);
    return listed;
}

std::optional<UnitFinder::Offered> UnitFinder::TakeNext(DiscoveryThread& thread, int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::unique_lock<std::mutex> lock(mutex_);
    while (queue_.empty()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline || !thread.Running())
            return std::nullopt;
        offered_.wait_for(lock, std::min<std::chrono::steady_clock::duration>(
                                    deadline - now, std::chrono::milliseconds(kOfferWaitSliceMs)));
    }
    Offered next = std::move(queue_.front());
    queue_.pop_front();
    return next;
}

// The list lets one new unit in at a time; another thread (the serial
// prober, another listener's unit) may take the turn first.
bool UnitFinder::ListWhenLetIn(DiscoveryThread& thread, const Offered& offered, const QString& mac)
{
    while (thread.Running()) {
        if (devices_.Contains(offered.Sender))
            return false;
        if (!devices_.Flags().AddPending.load() &&
            devices_.AddFoundUnit(offered.Sender, mac, offered.Kind))
            return true;
        thread.Pause(kLetInPollMs);
    }
    return false;
}

void UnitFinder::Forget(const QString& sender)
{
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.remove(sender);
}

}  // namespace qireq
