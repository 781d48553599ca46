#pragma once
// One unit at a time is connected. A click on a unit's tile starts an
// attempt over a new link (serial units on the connection's serial port,
// LAN units by TCP to their address and LanPort()); the attempt succeeds
// when the unit answers Identify and fails after eight ConnectTimer ticks
// with "Conenction failed". While connected a ping goes out after ten quiet
// RequestTimer ticks, the CheckTimer watchdog notices a silent unit, and
// ReconnectTimer reopens the link every 3 s until the unit answers again.
// The phases are in ConnectionPhase.h.
//
// This class is the one owner of the connection: the only writer of
// `Connected`, `ConnectedIndex` and `ConnectTicks`, and the only code that
// makes, opens, closes and releases links. Everything it shows goes
// through ConnectionView. It connects to its timers itself; tests call the
// tick handlers by hand.
//
// GUI thread only.
#include "connection/ConnectionPhase.h"
#include "protocol/ReplyHandoffs.h"

#include <QObject>
#include <QString>

class QTimer;

namespace qireq {

class ConnectionLinks;
class ConnectionView;
class DeviceList;
class FrameAssembler;
class RequestSender;
struct MainState;

struct ConnectionTimers {
    QTimer* ConnectTimer = nullptr;    // 1000 ms: the attempt
    QTimer* RecallTimer = nullptr;     // 20 ms, one-shot: the EQ read
    QTimer* RequestTimer = nullptr;    // 300 ms: keep-alive
    QTimer* CheckTimer = nullptr;      // 6000 ms: watchdog
    QTimer* ReconnectTimer = nullptr;  // 3000 ms: reopen after a loss
};

// What the connection works with, all owned by the main window.
struct ConnectionParts {
    MainState& State;
    RequestSender& Requests;
    DeviceList& Devices;
    FrameAssembler& Assembler;
    ConnectionLinks& Links;
    ConnectionView& View;
};

class ConnectionLifecycle : public QObject {
    Q_OBJECT
public:
    static constexpr int kLanPort = 5000;
    static constexpr int kConnectTicks = 8;
    static constexpr int kPingAfterQuietTicks = 10;
    static constexpr int kAfterConnectPauseMs = 5;

    ConnectionLifecycle(const ConnectionParts& parts, const ConnectionTimers& timers,
                        QObject* parent = nullptr);

    ConnectionPhase Phase() const { return phase_; }

    // The TCP port LAN units are reached on: 5000. Tests run their units on
    // loopback ports of their own.
    int LanPort() const { return lanPort_; }
    void SetLanPort(int port) { lanPort_ = port; }

    // --- What happens to the connection ------------------------------------------
    // A tile was clicked; ClickedIndex names it.
    void DevicePanelClick();
    // The TCP client's connection stands.
    void ClientSocket1Connect();
    void ConnectTimerTimer();
    void RecallTimerTimer();
    void RequestTimerTimer();
    void CheckTimerTimer();
    void ReconnectTimerTimer();
    // Cancel on the connecting dialog.
    void CancelProgressBar();
    // The serial port's error event.
    void ComPort1Exception(int systemError);
    // The unit answered Identify over the link of that kind. True when that
    // made it the connected unit: only an attempt or a reconnect loop
    // waits for the answer, so a late one (after Cancel, a failure or a
    // disconnect) connects nothing.
    bool IdentityReceived(RxOrigin::Kind kind);
    // The unit at index has left the list (the units below moved up one).
    void UnitRemoved(int index, bool serial);
    // The serial port of the unit at index is gone from the system.
    void UnitUnplugged(int index);

    // Hover over the connection flag or the connect picture.
    void connectflagImageMouseMove();

    // Where the attempt runs: the TCP client's host or the serial port's name.
    QString ConnectionAddress(RxOrigin::Kind kind) const;

signals:
    // A unit became the connected one; address is its port name or IP
    // address, so a reconnect to the same unit can be told from another.
    void FromLiveUnit(const QString& address);

private:
    void StartAttempt(RxOrigin::Kind kind, const QString& address);
    // The unit is let go: the next phase, the watchdog stopped, the
    // selection frame hidden. Callers add what their way of leaving needs
    // beyond that.
    void LeaveConnected(ConnectionPhase next);
    void DisconnectByClick(bool lan);
    // The old link goes, and with it whatever its component still holds
    // open, so a late reply on the old line cannot connect the wrong unit.
    void ReleaseOldLink();
    void NewLink(RxOrigin::Kind kind);
    void CloseLink();
    void SendGreeting(RxOrigin::Kind kind);
    // After a failed or cancelled attempt: Idle, or Reconnecting while the
    // reconnect loop of a lost unit still runs.
    void EndAttempt();
    void SetPhase(ConnectionPhase phase);

    MainState& state_;
    RequestSender& requests_;
    DeviceList& devices_;
    FrameAssembler& assembler_;
    ConnectionLinks& links_;
    ConnectionView& view_;
    ConnectionTimers timers_;
    ConnectionPhase phase_ = ConnectionPhase::Idle;
    int lanPort_ = kLanPort;
    bool portBusyShown_ = false;
};

}  // namespace qireq
