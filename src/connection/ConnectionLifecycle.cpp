#include "connection/ConnectionLifecycle.h"

#include "controls/Artwork.h"
#include "controls/PictureButton.h"
#include "controls/TShape.h"
#include "devices/DeviceTileColumn.h"
#include "devices/StatusDisplay.h"
#include "dialogs/Progressform.h"
#include "platform/PlatformErrors.h"
#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/LinkPause.h"
#include "protocol/RequestSender.h"
#include "protocol/SerialLink.h"
#include "protocol/SocketLink.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace qireq {

namespace {
const QColor kConnectedLamp{0, 255, 0};
}  // namespace

ConnectionLifecycle::ConnectionLifecycle(const ConnectionParts& parts,
                                         const ConnectionControls& controls,
                                         ShowMessage showMessage, QObject* parent)
    : QObject(parent),
      state_(parts.State),
      requests_(parts.Requests),
      devices_(parts.Devices),
      assembler_(parts.Assembler),
      comPort1_(parts.ComPort1),
      clientSocket1_(parts.ClientSocket1),
      column_(parts.Column),
      status_(parts.Status),
      progressForm_(parts.ProgressForm),
      controls_(controls),
      showMessage_(std::move(showMessage))
{
    Q_ASSERT(controls_.ConnectTimer && controls_.RecallTimer && controls_.RequestTimer &&
             controls_.CheckTimer && controls_.ReconnectTimer && controls_.RefreshBtn);
}

ConnectionLifecycle::~ConnectionLifecycle()
{
    DestroyConnectingDialog();
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

    if (!entry->IsSerial()) {
        if (state_.Connected) {
            DisconnectLanUnit();
            if (clicked == state_.ConnectedIndex)
                return;
        } else {
            ReleaseOldLink();
            NewSocketLink();
            EnableRefresh(false);
        }
        StartLanAttempt(entry->Address);
        return;
    }

    if (state_.Connected) {
        DisconnectSerialUnit();
        if (clicked == state_.ConnectedIndex)
            return;
    }
    StartSerialAttempt(entry->Address);
}

void ConnectionLifecycle::DisconnectLanUnit()
{
    state_.Connected = false;
    controls_.CheckTimer->stop();
    CloseLink();
    status_.ShowStatusPanel(false);
    // A frame half received from the unit just left must not be completed
    // by the next unit's bytes.
    assembler_.Reset();
    ReleaseOldLink();
    NewSocketLink();
    column_.HideSelectionFrame();
    ShowConnectionFlag(false);
    DestroyConnectingDialog();
}

void ConnectionLifecycle::DisconnectSerialUnit()
{
    state_.Connected = false;
    controls_.CheckTimer->stop();
    CloseLink();
    status_.ShowStatusPanel(false);
    column_.HideSelectionFrame();
    ShowConnectionFlag(false);
}

// The socket link exists already; the connect event sends ReadMac and
// Identify once the TCP connection stands.
void ConnectionLifecycle::StartLanAttempt(const QString& address)
{
    state_.ConnectTicks = 0;
    DestroyConnectingDialog();
    OpenConnectingDialog();
    requests_.Link()->SetAddress(address + QLatin1Char(':') + QString::number(lanPort_));
    requests_.Link()->Open();
    controls_.ConnectTimer->start();
}

void ConnectionLifecycle::StartSerialAttempt(const QString& portName)
{
    state_.ConnectTicks = 0;
    ReleaseOldLink();
    requests_.ReplaceLink(std::make_unique<SerialLink>(comPort1_));
    requests_.Link()->SetAddress(portName);
    requests_.Link()->Open();
    requests_.SendIdentify();
    controls_.ConnectTimer->start();
    DestroyConnectingDialog();
    OpenConnectingDialog();
}

void ConnectionLifecycle::ReleaseOldLink()
{
    requests_.ReleaseLink();
    if (comPort1_.Connected())
        comPort1_.Close();
    // A socket still connected (or connecting) from the last attempt or the
    // reconnect loop; its host cannot change while it is active.
    clientSocket1_.Close();
}

void ConnectionLifecycle::NewSocketLink()
{
    requests_.ReplaceLink(std::make_unique<SocketLink>(clientSocket1_));
}

// --- Link events ------------------------------------------------------------------

void ConnectionLifecycle::ClientSocket1Connect()
{
    if (!requests_.HasLink())
        return;
    requests_.SendReadMac();
    requests_.SendIdentify();
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
            showMessage_(QStringLiteral("Puerto COM no disponiable"));
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
    controls_.ConnectTimer->stop();
    CloseLink();
    if (progressForm_ && !devices_.Flags().CancelPending.load())
        DestroyConnectingDialog();
    showMessage_(QStringLiteral("Conenction failed"));
    EnableRefresh(true);
    column_.ShowRedCross(state_.ClickedIndex);
}

void ConnectionLifecycle::RecallTimerTimer()
{
    requests_.SendReadEqBlock();
    controls_.RecallTimer->stop();
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
        column_.ShowRedCross(state_.ConnectedIndex);
        column_.HideSelectionFrame();
        controls_.CheckTimer->stop();
        CloseLink();
        state_.Connected = false;
        controls_.ReconnectTimer->start();
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
    controls_.ConnectTimer->stop();
    TProgressBarForm* dialog = ConnectingDialog();
    if (!dialog)
        return;
    const RaisedFlag cancelling(devices_.Flags().CancelPending);
    CloseLink();
    dialog->Dismiss();
    state_.ConnectTicks = 0;
    EnableRefresh(true);
}

void ConnectionLifecycle::ConnMove()
{
    connectflagImageMouseMove();
}

void ConnectionLifecycle::ConnImgMouseDown()
{
    ShowConnectPicture(artwork::kConnectPressed);
}

void ConnectionLifecycle::ConnImgMouseUp()
{
    ShowConnectPicture(artwork::kConnectUp);
}

void ConnectionLifecycle::ShowConnectPicture(int picture)
{
    if (controls_.ConnImg && controls_.ConnectImageList)
        controls_.ConnImg->ShowPicture(*controls_.ConnectImageList, picture);
}

void ConnectionLifecycle::connectflagImageMouseMove()
{
    if (controls_.Label1)
        controls_.Label1->setText(QString());
    if (controls_.Label2)
        controls_.Label2->setText(QStringLiteral("Device:"));
    if (controls_.Label3)
        controls_.Label3->setText(state_.Connected ? QStringLiteral("On") : QStringLiteral("Off"));
}

// --- The identity reply -----------------------------------------------------------------

void ConnectionLifecycle::ConnectionEstablished()
{
    controls_.RecallTimer->start();
    controls_.ConnectTimer->stop();
    controls_.ReconnectTimer->stop();
    controls_.RequestTimer->start();
    controls_.CheckTimer->start();
    EnableRefresh(true);
    DestroyConnectingDialog();
    ShowConnectionFlag(true);
}

QString ConnectionLifecycle::ConnectionAddress(RxOrigin::Kind kind) const
{
    return kind == RxOrigin::Kind::Socket ? clientSocket1_.Host() : comPort1_.Port();
}

// --- Pieces -----------------------------------------------------------------------------

TProgressBarForm* ConnectionLifecycle::ConnectingDialog() const
{
    return qobject_cast<TProgressBarForm*>(progressForm_.data());
}

void ConnectionLifecycle::OpenConnectingDialog()
{
    auto* dialog = new TProgressBarForm(controls_.DialogOwner);
    connect(dialog, &TProgressBarForm::CancelClicked, this, &ConnectionLifecycle::CancelProgressBar);
    progressForm_ = dialog;
    dialog->show();
}

void ConnectionLifecycle::DestroyConnectingDialog()
{
    if (TProgressBarForm* dialog = ConnectingDialog()) {
        dialog->StopAnimation();
        dialog->hide();
        // Later, in case the dialog's own Cancel click is what led here.
        dialog->deleteLater();
    }
    progressForm_ = nullptr;
}

void ConnectionLifecycle::ShowConnectionFlag(bool connected)
{
    if (controls_.connectflagImage && controls_.ConnFlagList)
        controls_.connectflagImage->ShowPicture(
            *controls_.ConnFlagList, connected ? artwork::kFlagConnected : artwork::kFlagDisconnected);
    if (connected && controls_.ConnectShape)
        controls_.ConnectShape->SetBrushColor(kConnectedLamp);
}

// The window's style shows a disabled button's caption in silver and an
// enabled one's in the normal caption colour.
void ConnectionLifecycle::EnableRefresh(bool enabled)
{
    controls_.RefreshBtn->setEnabled(enabled);
}

// Closing a link that is not open yet matters too: it calls off a TCP
// connection still under way, which would otherwise connect the unit after
// its attempt was given up.
void ConnectionLifecycle::CloseLink()
{
    if (DeviceLink* link = requests_.Link())
        link->Close();
}

}  // namespace qireq
