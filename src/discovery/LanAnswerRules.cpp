#include "discovery/LanAnswerRules.h"

#include "discovery/LanDatagrams.h"
#include "discovery/NextDatagram.h"
#include "discovery/UnitFinder.h"
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"

namespace qireq {

namespace {

LanDatagramOutcome AddedOrNot(bool added)
{
    return added ? LanDatagramOutcome::Listed : LanDatagramOutcome::NotListed;
}

}  // namespace

LanDatagramOutcome OnProbePortDatagram(const UnitFinder& finder, const QHostAddress& sender,
                                       const QByteArray& bytes)
{
    const QString address = SenderText(sender);
    if (finder.Refresh(address))
        return LanDatagramOutcome::Refreshed;
    if (!IsProbeAnswer(bytes))
        return LanDatagramOutcome::Ignored;
    return AddedOrNot(finder.Add(address, kProbeUnit));
}

LanDatagramOutcome OnModulePortDatagram(const UnitFinder& finder, const QHostAddress& sender,
                                        const QByteArray& bytes)
{
    if (!IsModuleAnswer(bytes))
        return LanDatagramOutcome::Ignored;
    const QString address = SenderText(sender);
    if (finder.Refresh(address))
        return LanDatagramOutcome::Refreshed;
    // A module's answer lists its unit even when its MAC stays unknown.
    return AddedOrNot(finder.Add(address, kModuleUnit, /*unknownMacWillDo=*/true));
}

LanDatagramOutcome OnSsdpDatagram(const UnitFinder& finder, const QHostAddress& sender,
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
    return AddedOrNot(finder.Add(address, kSsdpUnit));
}

}  // namespace qireq
