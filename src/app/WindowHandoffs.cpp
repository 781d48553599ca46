#include "app/WindowHandoffs.h"

#include "app/InfoMessage.h"
#include "connection/ConnectionLifecycle.h"
#include "devices/DeviceTileColumn.h"
#include "devices/StatusDisplay.h"
#include "editor/BandEditor.h"

namespace qireq {

WindowHandoffs::WindowHandoffs(QObject& window, BandEditor& editor, DeviceTileColumn& column,
                               StatusDisplay& status, ConnectionLifecycle& connection)
    : window_(window),
      editor_(editor),
      column_(column),
      status_(status),
      connection_(connection)
{
}

QString WindowHandoffs::ConnectionAddress(RxOrigin::Kind kind) const
{
    return connection_.ConnectionAddress(kind);
}

bool WindowHandoffs::IdentityReceived(RxOrigin::Kind kind)
{
    if (!connection_.IdentityReceived(kind))
        return false;
    const QString address = connection_.ConnectionAddress(kind);
    if (address != factsAddress_) {
        facts_ = UnitFacts{};
        factsAddress_ = address;
    }
    return true;
}

void WindowHandoffs::IdentityRead(const IdentityReply& identity)
{
    facts_.Capability = identity.Capability;
}

void WindowHandoffs::ShowConnectedName(const QString& name) { column_.ShowConnectedName(name); }

void WindowHandoffs::ShowConnectedMac(int index, const MacBytes& mac)
{
    column_.ShowConnectedMac(index, mac);
}

void WindowHandoffs::ShowStatusPanel(bool visible) { status_.ShowStatusPanel(visible); }

void WindowHandoffs::ApplyStatusReply(const StatusReading& status)
{
    facts_.Status = status;
    status_.ApplyStatusReply(status);
}

void WindowHandoffs::ApplyEqBlock(const EqBlock& block) { editor_.ApplyEqBlock(block); }

void WindowHandoffs::ApplyBandEcho(const BandEcho& echo) { editor_.ApplyBandEcho(echo); }

void WindowHandoffs::ApplyBypassEcho(bool bypass) { editor_.ApplyBypassEcho(bypass); }

void WindowHandoffs::ApplyTrimEcho(int trim) { editor_.ApplyTrimEcho(trim); }

void WindowHandoffs::PostInfoMessage(int burnCount, int totalMinutes)
{
    facts_.BurnCount = burnCount;
    facts_.TotalMinutes = totalMinutes;
    qireq::PostInfoMessage(&window_, burnCount, totalMinutes);
}

}  // namespace qireq
