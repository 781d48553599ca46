#include "discovery/LanAnswerRules.h"

#include "discovery/LanDatagrams.h"
#include "discovery/NextDatagram.h"
#include "discovery/UnitFinder.h"
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"

namespace qireq {

namespace {

LanDatagramOutcome OfferedOrNot(bool offered)
{
    return offered ? LanDatagramOutcome::Offered : LanDatagramOutcome::NotOffered;
}

}  // namespace

LanDatagramOutcome OnProbePortDatagram(UnitFinder& finder, const QHostAddress& sender,
                                       const QByteArray& bytes)
{
    const QString address = SenderText(sender);
    if (finder.Refresh(address))
        return LanDatagramOutcome::Refreshed;
    if (!IsProbeAnswer(bytes))
        return LanDatagramOutcome::Ignored;
    return OfferedOrNot(finder.Offer(address, kProbeUnit));
}

LanDatagramOutcome OnModulePortDatagram(UnitFinder& finder, const QHostAddress& sender,
                                        const QByteArray& bytes)
{
    if (!IsModuleAnswer(bytes))
        return LanDatagramOutcome::Ignored;
    const QString address = SenderText(sender);
    if (finder.Refresh(address))
        return LanDatagramOutcome::Refreshed;
    // A module's answer lists its unit even when its MAC stays unknown.
    return OfferedOrNot(finder.Offer(address, kModuleUnit, /*unknownMacWillDo=*/true));
}

LanDatagramOutcome OnSsdpDatagram(UnitFinder& finder, const QHostAddress& sender,
                                  const QByteArray& bytes)
{
    const QString address = SenderText(sender);
    const DeviceList& devices = finder.Devices();
    if (devices.Contains(address)) {
        // The list is being changed: its counters are left alone meanwhile.
        if (devices.Flags().ListChanging.load())
            return LanDatagramOutcome::Deferred;
        return finder.Refresh(address) ? LanDatagramOutcome::Refreshed
                                       : LanDatagramOutcome::Ignored;
    }
    if (!IsSsdpAnnouncement(bytes))
        return LanDatagramOutcome::Ignored;
    return OfferedOrNot(finder.Offer(address, kSsdpUnit));
}

}  // namespace qireq
