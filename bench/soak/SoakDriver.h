#pragma once
// Drives the real main window through the soak as a user would: waits for
// the serial unit's tile (found by the prober), lists the LAN unit as
// discovery would, and connects to one or the other with real clicks on
// their tiles, while watching the window's Connected flag. A connection
// that goes without a click is a loss; the reconnect loop is to win it back
// on its own, so the driver does not click while a loss is open.
#include "SoakFaultLogs.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <vector>

namespace qireq {
class TForm1;
}

namespace qireq::soak {

struct Loss {
    qint64 atMs = 0;
    int tile = -1;
    QString cause;            // the kind of the fault on that unit just before, or "none"
    qint64 recoveredMs = -1;  // how long the reconnect loop took; -1: not within the limit
};

struct DriverFigures {
    int clicks = 0;
    int failedAttempts = 0;  // clicks after which no connection came
    int unreachable = 0;     // Connect gave up on a unit
    std::vector<Loss> losses;
};

class SoakDriver {
public:
    static constexpr int kSerialTile = 0;
    static constexpr int kLanTile = 1;
    static constexpr int kSampleMs = 50;
    // Eight one-second ConnectTimer ticks, and a little more.
    static constexpr int kAttemptMs = 10000;
    static constexpr int kConnectLimitMs = 90000;
    // The longest silence, a watchdog period and a few reconnect ticks fit
    // in here many times over.
    static constexpr int kRecoverLimitMs = 60000;
    // A loss is put down to the last fault on its unit within this time.
    static constexpr int kCauseWindowMs = 30000;

    SoakDriver(TForm1& form, SoakFaultLogs& faults);

    // The serial unit's tile (index 0), then the LAN unit at `lanAddress`
    // listed as a probe answer (index 1).
    bool FindUnits(const QString& lanAddress, int timeoutMs);
    // Clicks the tile until its unit is the connected one; a failed attempt
    // is clicked again. An open loss is settled first.
    bool Connect(int tile);
    // Stays for `ms`, then waits for an open loss to be won back.
    void Dwell(int ms);
    // A click on the connected unit's tile.
    void Disconnect();

    // The event loop for `ms`, with the window sampled all the while.
    // Clicks, faults, losses and their ends go to the timeline on stderr.
    void Pump(int ms);
    // The same until `done` holds; false after the timeout.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

    qint64 NowMs() const { return clock_.elapsed(); }
    const DriverFigures& Figures() const { return figures_; }

private:
    bool Connected() const;
    int ConnectedTile() const;
    void Sample();
    void Click(int tile);
    // One line of the soak's timeline on stderr: "  12.345 <text>".
    void Note(const QString& text) const;
    // Waits until an open loss is won back, up to kRecoverLimitMs after it.
    void SettleLoss();

    TForm1& form_;
    SoakFaultLogs& faults_;
    QElapsedTimer clock_;
    DriverFigures figures_;
    bool wasConnected_ = false;
    int lastTile_ = -1;
    int openLoss_ = -1;  // index in figures_.losses of the loss waiting to be won back
    std::size_t faultsNoted_ = 0;
};

}  // namespace qireq::soak
