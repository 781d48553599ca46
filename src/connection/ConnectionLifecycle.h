#pragma once
// One unit at a time is connected. A click on a unit's tile starts an
// attempt over a new link (serial units on ComPort1 by port name, LAN units
// by TCP to their address and LanPort()); the attempt succeeds when the unit
// answers Identify (the reply dispatcher then calls ConnectionEstablished)
// and fails after eight ConnectTimer ticks with "Conenction failed". While
// connected a ping goes out after ten quiet RequestTimer ticks, the
// CheckTimer watchdog notices a silent unit, and ReconnectTimer reopens the
// link every 3 s until the unit answers again.
//
//   Idle --click--> Connecting --identity--> Connected --silence--> Reconnecting
//   Connecting --8th tick / Cancel--> Idle
//   Connected --click on its tile--> Idle;  --click on another--> Connecting
//   Reconnecting --identity--> Connected;   --click--> Connecting
//
// Only this class makes and replaces the request sender's link.
//
// GUI thread only.
#include "protocol/ReplyHandoffs.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

class QDialog;
class QLabel;
class QPushButton;
class QTimer;

namespace qireq {

class DeviceList;
class DeviceTileColumn;
class FrameAssembler;
class PictureButton;
class RequestSender;
class StatusDisplay;
class TClientSocket;
class TComPort;
class TProgressBarForm;
class TShape;
struct MainState;

struct ConnectionControls {
    QTimer* ConnectTimer = nullptr;    // 1000 ms: the attempt
    QTimer* RecallTimer = nullptr;     // 20 ms, one-shot: the EQ read
    QTimer* RequestTimer = nullptr;    // 300 ms: keep-alive
    QTimer* CheckTimer = nullptr;      // 6000 ms: watchdog
    QTimer* ReconnectTimer = nullptr;  // 3000 ms: reopen after a loss
    QPushButton* RefreshBtn = nullptr;
    PictureButton* connectflagImage = nullptr;
    const QVector<QPixmap>* ConnFlagList = nullptr;
    PictureButton* ConnImg = nullptr;  // the connect picture: looks only
    const QVector<QPixmap>* ConnectImageList = nullptr;
    TShape* ConnectShape = nullptr;
    QLabel* Label1 = nullptr;  // the hint line
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* DialogOwner = nullptr;  // the connecting dialog's owner
};

// The parts the connection works with, all owned by the main window.
struct ConnectionParts {
    MainState& State;
    RequestSender& Requests;
    DeviceList& Devices;
    FrameAssembler& Assembler;
    TComPort& ComPort1;
    TClientSocket& ClientSocket1;
    DeviceTileColumn& Column;
    StatusDisplay& Status;
    // The connecting dialog of the current attempt (the window's field).
    QPointer<QDialog>& ProgressForm;
};

class ConnectionLifecycle : public QObject {
    Q_OBJECT
public:
    // A plain message box with an OK button: "Conenction failed" and
    // "Puerto COM no disponiable".
    using ShowMessage = std::function<void(const QString& text)>;

    static constexpr int kLanPort = 5000;
    static constexpr int kConnectTicks = 8;
    static constexpr int kPingAfterQuietTicks = 10;
    static constexpr int kAfterConnectPauseMs = 5;

    ConnectionLifecycle(const ConnectionParts& parts, const ConnectionControls& controls,
                        ShowMessage showMessage, QObject* parent = nullptr);
    ~ConnectionLifecycle() override;

    // The TCP port LAN units are reached on: 5000. Tests run their units on
    // loopback ports of their own.
    int LanPort() const { return lanPort_; }
    void SetLanPort(int port) { lanPort_ = port; }

    // --- Handlers -------------------------------------------------------------
    void DevicePanelClick();
    void ClientSocket1Connect();
    void ConnectTimerTimer();
    void RecallTimerTimer();
    void RequestTimerTimer();
    void CheckTimerTimer();
    void ReconnectTimerTimer();
    void CancelProgressBar();
    void ComPort1Exception(int systemError);
    void connectflagImageMouseMove();
    // The connect picture shows its press and release and the same hint as
    // the connection flag; a click on it does nothing.
    void ConnMove();
    void ConnImgMouseDown();
    void ConnImgMouseUp();
    void ConnectClick() {}

    // --- For the reply dispatcher ---------------------------------------------------
    // The identity reply's share: timers, Refresh, the dialog, the flag.
    void ConnectionEstablished();
    // Where the attempt runs: the TCP client's host or ComPort1's port name.
    QString ConnectionAddress(RxOrigin::Kind kind) const;

    TProgressBarForm* ConnectingDialog() const;

private:
    void DisconnectLanUnit();
    void DisconnectSerialUnit();
    void StartLanAttempt(const QString& address);
    void StartSerialAttempt(const QString& portName);
    // The old link goes, and with it whatever its component still holds
    // open, so a late reply on the old line cannot connect the wrong unit.
    void ReleaseOldLink();
    void NewSocketLink();
    void OpenConnectingDialog();
    void DestroyConnectingDialog();
    void ShowConnectionFlag(bool connected);
    void ShowConnectPicture(int picture);
    void EnableRefresh(bool enabled);
    void CloseLink();

    MainState& state_;
    RequestSender& requests_;
    DeviceList& devices_;
    FrameAssembler& assembler_;
    TComPort& comPort1_;
    TClientSocket& clientSocket1_;
    DeviceTileColumn& column_;
    StatusDisplay& status_;
    QPointer<QDialog>& progressForm_;
    ConnectionControls controls_;
    ShowMessage showMessage_;
    int lanPort_ = kLanPort;
    bool portBusyShown_ = false;
};

}  // namespace qireq
