#include "connection/ConnectionLifecycle.h"

#include "connection/ConnectionLinks.h"
#include "connection/ConnectionView.h"
#include "platform/PlatformErrors.h"
#include "protocol/ConnectGreeting.h"
#include "protocol/FrameAssembler.h"
#include "protocol/LinkPause.h"
#include "protocol/RequestSender.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <QTimer>

namespace qireq {

ConnectionLifecycle::ConnectionLifecycle(const ConnectionParts& parts,
                                         const ConnectionTimers& timers, QObject* parent)
    : QObject(parent),
      state_(parts.State),
      requests_(parts.Requests),
      devices_(parts.Devices),
      assembler_(parts.Assembler),
      links_(parts.Links),
      view_(parts.View),
      timers_(timers)
{
    Q_ASSERT(timers_.ConnectTimer && timers_.RecallTimer && timers_.RequestTimer &&
             timers_.CheckTimer && timers_.ReconnectTimer);
    connect(timers_.ConnectTimer, &QTimer::timeout, this, &ConnectionLifecycle::ConnectTimerTimer);
    connect(timers_.RecallTimer, &QTimer::timeout, this, &ConnectionLifecycle::RecallTimerTimer);
    connect(timers_.RequestTimer, &QTimer::timeout, this, &ConnectionLifecycle::RequestTimerTimer);
    connect(timers_.CheckTimer, &QTimer::timeout, this, &ConnectionLifecycle::CheckTimerTimer);
    connect(timers_.ReconnectTimer, &QTimer::timeout, this,
            &ConnectionLifecycle::ReconnectTimerTimer);
}

// --- The tile click ---------------------------------------------------------------

// A click on the connected unit's tile disconnects it; a click on any other
// tile (connected or not) starts an attempt on that unit.
void ConnectionLifecycle::DevicePanelClick()
{
    state_.SendGate = 0;
    const int clicked = state_.ClickedIndex;
    // ClickedIndex is not moved by removals: it may name a unit that is gone.
    const std::optional<DeviceEntry> entry = devices_.EntryAt(clicked);
    if (!entry)
        return;
    const RxOrigin::Kind kind = entry->IsSerial() ? RxOrigin::Kind::SerialPort : RxOrigin::Kind::Socket;

    if (state_.Connected) {
        DisconnectByClick(kind == RxOrigin::Kind::Socket);
        if (clicked == state_.ConnectedIndex)
            return;
    } else if (kind == RxOrigin::Kind::Socket) {
        ReleaseOldLink();
        NewLink(kind);
        view_.EnableRefresh(false);
    }
    StartAttempt(kind, entry->Address);
}

// A LAN unit's link is replaced at once, so a frame half received from the
// unit just left cannot be completed by the next unit's bytes; a serial
// unit's goes when the next attempt starts.
void ConnectionLifecycle::DisconnectByClick(bool lan)
{
    LeaveConnected(ConnectionPhase::Idle);
    CloseLink();
    view_.HideStatusPanel();
    view_.ShowConnectionFlag(false);
    if (!lan)
        return;
    assembler_.Reset();
    ReleaseOldLink();
    NewLink(RxOrigin::Kind::Socket);
    view_.DestroyConnectingDialog();
}

// A serial attempt greets the unit as soon as the port is open; a LAN
// attempt's link exists already and greets on the TCP connect event.
void ConnectionLifecycle::StartAttempt(RxOrigin::Kind kind, const QString& address)
{
    state_.ConnectTicks = 0;
    SetPhase(ConnectionPhase::Connecting);
    if (kind == RxOrigin::Kind::Socket) {
        view_.DestroyConnectingDialog();
        view_.OpenConnectingDialog();
        requests_.Link()->SetAddress(address + QLatin1Char(':') + QString::number(lanPort_));
        requests_.Link()->Open();
        timers_.ConnectTimer->start();
        return;
    }
    ReleaseOldLink();
    NewLink(kind);
    requests_.Link()->SetAddress(address);
    requests_.Link()->Open();
    SendGreeting(kind);
    timers_.ConnectTimer->start();
    view_.DestroyConnectingDialog();
    view_.OpenConnectingDialog();
}

void ConnectionLifecycle::LeaveConnected(ConnectionPhase next)
{
    SetPhase(next);
    timers_.CheckTimer->stop();
    view_.HideSelectionFrame();
}

void ConnectionLifecycle::ReleaseOldLink()
{
    requests_.ReleaseLink();
    links_.CloseComponents();
}

void ConnectionLifecycle::NewLink(RxOrigin::Kind kind)
{
    requests_.ReplaceLink(links_.NewLink(kind));
}

// Closing a link that is not open yet matters too: it calls off a TCP
// connection still under way, which would otherwise connect the unit after
// its attempt was given up.
void ConnectionLifecycle::CloseLink()
{
    if (DeviceLink* link = requests_.Link())
        link->Close();
}

// The greeting qireq-ctl sends too, through the link's canned requests.
void ConnectionLifecycle::SendGreeting(RxOrigin::Kind kind)
{
    for (const Command request : ConnectGreeting(kind)) {
        if (request == Command::ReadMac)
            requests_.SendReadMac();
        else
            requests_.SendIdentify();
    }
}

void ConnectionLifecycle::EndAttempt()
{
    if (phase_ != ConnectionPhase::Connecting)
        return;
    SetPhase(timers_.ReconnectTimer->isActive() ? ConnectionPhase::Reconnecting
                                                : ConnectionPhase::Idle);
}

void ConnectionLifecycle::SetPhase(ConnectionPhase phase)
{
    phase_ = phase;
    state_.Connected = phase == ConnectionPhase::Connected;
}

// --- Link events ------------------------------------------------------------------

void ConnectionLifecycle::ClientSocket1Connect()
{
    if (!requests_.HasLink())
        return;
    SendGreeting(RxOrigin::Kind::Socket);
    SleepMs(kAfterConnectPauseMs);
}

// Access denied: another program holds the port. One box per failure, and
// never a second one stacked on a box still on screen.
void ConnectionLifecycle::ComPort1Exception(int systemError)
{
    if (systemError != kErrorAccessDenied || portBusyShown_)
        return;
    portBusyShown_ = true;
    // Shown once the port operation that failed has returned.
    QMetaObject::invokeMethod(
        this,
        [this] {
            view_.ShowMessage(QStringLiteral("Puerto COM no disponiable"));
            portBusyShown_ = false;
        },
        Qt::QueuedConnection);
}

// --- Timers ---------------------------------------------------------------------------

// Repeats Identify every second while the link is open (a TCP link counts
// as open only once connected) and gives up on the eighth tick.
void ConnectionLifecycle::ConnectTimerTimer()
{
    if (state_.Connected)
        return;
    if (requests_.LinkOpen())
        requests_.SendIdentify();
    if (++state_.ConnectTicks < kConnectTicks)
        return;

    state_.ConnectTicks = 0;
    timers_.ConnectTimer->stop();
    CloseLink();
    if (view_.HasConnectingDialog() && !devices_.Flags().CancelPending.load())
        view_.DestroyConnectingDialog();
    EndAttempt();
    view_.ShowMessage(QStringLiteral("Conenction failed"));
    view_.EnableRefresh(true);
    view_.ShowMissingMark(state_.ClickedIndex);
}

void ConnectionLifecycle::RecallTimerTimer()
{
    requests_.SendReadEqBlock();
    timers_.RecallTimer->stop();
}

// With the 300 ms interval a ping goes out after 3 s without other traffic.
void ConnectionLifecycle::RequestTimerTimer()
{
    ++state_.QuietTicks;
    if (state_.QuietTicks >= kPingAfterQuietTicks)
        requests_.SendPing();
}

// Nothing sent or heard for a whole tick: the link is lost. The tile gets
// its missing mark and the reconnect loop starts; no message is shown.
void ConnectionLifecycle::CheckTimerTimer()
{
    if (!state_.Heard && state_.ConnectedIndex != -1) {
        view_.ShowMissingMark(state_.ConnectedIndex);
        LeaveConnected(ConnectionPhase::Reconnecting);
        CloseLink();
        timers_.ReconnectTimer->start();
    }
    state_.Heard = false;
}

// Every 3 s, without limit, until the unit answers Identify. A TCP link's
// reopening also fires the connect event, which asks again by itself.
void ConnectionLifecycle::ReconnectTimerTimer()
{
    if (!requests_.HasLink())
        return;
    requests_.Link()->Open();
    requests_.SendIdentify();
}

// Cancel on the connecting dialog: the attempt stops and the dialog hides.
// The next attempt counts its ticks from 0 again and Refresh is usable at
// once, as after a failed attempt.
void ConnectionLifecycle::CancelProgressBar()
{
    timers_.ConnectTimer->stop();
    if (!view_.HasConnectingDialog())
        return;
    const RaisedFlag cancelling(devices_.Flags().CancelPending);
    CloseLink();
    view_.DismissConnectingDialog();
    state_.ConnectTicks = 0;
    view_.EnableRefresh(true);
    EndAttempt();
}

void ConnectionLifecycle::connectflagImageMouseMove()
{
    view_.ShowHint(QString(), QStringLiteral("Device:"),
                   state_.Connected ? QStringLiteral("On") : QStringLiteral("Off"));
}

// --- The identity reply -----------------------------------------------------------------

bool ConnectionLifecycle::IdentityReceived(RxOrigin::Kind kind)
{
    if (phase_ != ConnectionPhase::Connecting && phase_ != ConnectionPhase::Reconnecting)
        return false;
    state_.ConnectTicks = 0;
    timers_.RecallTimer->start();
    timers_.ConnectTimer->stop();
    timers_.ReconnectTimer->stop();
    timers_.RequestTimer->start();
    timers_.CheckTimer->start();
    view_.EnableRefresh(true);
    view_.DestroyConnectingDialog();
    view_.ShowConnectionFlag(true);
    // -1 when the unit is not (or no longer) listed: connected all the same,
    // but there is no tile to put the name on.
    const QString address = links_.Address(kind);
    state_.ConnectedIndex = devices_.IndexOf(address);
    SetPhase(ConnectionPhase::Connected);
    emit FromLiveUnit(address);
    return true;
}

QString ConnectionLifecycle::ConnectionAddress(RxOrigin::Kind kind) const
{
    return links_.Address(kind);
}

// --- Units leaving ------------------------------------------------------------------------

// Removing the connected unit (or the one being sought again) ends the
// connection; a serial unit's port is closed, a TCP link stays open. An
// index kept from a unit disconnected earlier only goes: the port may
// belong to another unit's attempt by now.
void ConnectionLifecycle::UnitRemoved(int index, bool serial)
{
    if (index != state_.ConnectedIndex) {
        if (state_.ConnectedIndex > index)
            --state_.ConnectedIndex;
        return;
    }
    state_.ConnectedIndex = -1;
    if (phase_ != ConnectionPhase::Connected && phase_ != ConnectionPhase::Reconnecting)
        return;
    if (serial)
        links_.CloseSerialPort();
    // A unit no longer listed is not sought again.
    timers_.ReconnectTimer->stop();
    LeaveConnected(ConnectionPhase::Idle);
    view_.ShowConnectionFlag(false);
}

// The link itself is left as it is. A unit already lost keeps its reconnect
// loop, so plugging it back in is enough.
void ConnectionLifecycle::UnitUnplugged(int index)
{
    if (index != state_.ConnectedIndex || phase_ != ConnectionPhase::Connected)
        return;
    LeaveConnected(ConnectionPhase::Idle);
}

}  // namespace qireq
