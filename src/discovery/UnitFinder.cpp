#include "discovery/UnitFinder.h"

#include "state/DeviceEntry.h"
#include "state/DeviceList.h"

#include <utility>

namespace qireq {

UnitFinder::UnitFinder(DeviceList& devices, MacLookup lookupMac)
    : devices_(devices), lookupMac_(std::move(lookupMac))
{
}

bool UnitFinder::Refresh(const QString& sender) const
{
    return devices_.ResetSilenceCounter(sender);
}

bool UnitFinder::Add(const QString& sender, int kind, bool unknownMacWillDo) const
{
    // The look-up may take a second: not while the list would refuse anyway.
    if (sender.isEmpty() || devices_.Flags().AddPending.load() || devices_.Contains(sender))
        return false;
    const std::optional<QString> mac = lookupMac_ ? lookupMac_(sender) : std::nullopt;
    if (!mac && !unknownMacWillDo)
        return false;
    return devices_.AddFoundUnit(sender, mac.value_or(kUnknownMac), kind);
}

}  // namespace qireq
