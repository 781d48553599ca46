#include "app/WindowHandoffs.h"

#include "app/InfoMessage.h"
#include "connection/ConnectionLifecycle.h"
#include "controls/Devicepanel.h"
#include "devices/DeviceTileColumn.h"
#include "devices/StatusDisplay.h"
#include "editor/BandEditor.h"
#include "state/DeviceList.h"
#include "state/MacText.h"

namespace qireq {

WindowHandoffs::WindowHandoffs(QObject& window, BandEditor& editor, DeviceList& devices,
                               DeviceTileColumn& column, StatusDisplay& status,
                               ConnectionLifecycle& connection)
    : window_(window),
      editor_(editor),
      devices_(devices),
      column_(column),
      status_(status),
      connection_(connection)
{
}

QString WindowHandoffs::ConnectionAddress(RxOrigin::Kind kind) const
{
    return connection_.ConnectionAddress(kind);
}

void WindowHandoffs::ConnectionEstablished() { connection_.ConnectionEstablished(); }

void WindowHandoffs::ShowConnectedName(const QString& name) { column_.ShowConnectedName(name); }

// The tile shows the MAC with ":" between the byte pairs, the entry keeps
// the 12 digits. A unit whose tile is not built yet gets it in its entry,
// and the tile shows it when it is built.
void WindowHandoffs::ShowUnitMac(int index, const MacBytes& mac)
{
    const QString text = MacToText(mac);
    devices_.SetMac(index, text);
    if (TDevicePanel* tile = column_.TileAt(index))
        tile->MacLabel->SetCaption(FormatMac(text, QStringLiteral(":")));
}

void WindowHandoffs::ShowStatusPanel(bool visible) { status_.ShowStatusPanel(visible); }

void WindowHandoffs::ApplyStatusReply(const StatusReading& status)
{
    status_.ApplyStatusReply(status);
}

void WindowHandoffs::ApplyEqBlock(const EqBlock& block) { editor_.ApplyEqBlock(block); }

void WindowHandoffs::ApplyBandEcho(const BandEcho& echo) { editor_.ApplyBandEcho(echo); }

void WindowHandoffs::ApplyBypassEcho(bool bypass) { editor_.ApplyBypassEcho(bypass); }

void WindowHandoffs::ApplyTrimEcho(int trim) { editor_.ApplyTrimEcho(trim); }

void WindowHandoffs::PostInfoMessage(int burnCount, int totalMinutes)
{
    qireq::PostInfoMessage(&window_, burnCount, totalMinutes);
}

}  // namespace qireq
