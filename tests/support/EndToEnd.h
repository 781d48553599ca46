#pragma once
// The real main window under the offscreen platform, driven with real
// mouse events and real timers against the simulated unit (qireq-sim)
// started as a child process, over pseudo-terminals and loopback TCP.
// Every message box is recorded instead of shown.
#include "app/MainWindowParts.h"
#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "controls/MessageBoxes.h"

#include "support/SimProcess.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace qireq {
class TDevicePanel;
}

namespace qireq::e2e {

using sim::test::SimProcess;

// "01 20 03 40 ...": a frame as the simulator logs it.
QString HexLine(const QByteArray& bytes);

using test::WaitFor;

// A pair of linked pseudo-terminals made by socat: what is written to one
// end comes out of the other. The program opens one end by its link, a
// simulated unit serves the other, and the unit can be restarted on its
// end while the program's end stays.
class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // False (with the reason in Error()) when socat is missing or fails.
    bool Start();
    QString ProgramEnd() const { return dir_.filePath(QStringLiteral("unit-A")); }
    QString UnitEnd() const { return dir_.filePath(QStringLiteral("unit-B")); }
    QString Error() const { return error_; }

private:
    QTemporaryDir dir_;
    QProcess socat_;
    QString error_;
};

class EndToEndTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts a simulated unit; the test fails if it does not come up.
    SimProcess& StartSim(const QStringList& arguments);
    // The address of a --tcp 127.0.0.1:0 unit's listening port.
    static int TcpPort(SimProcess& sim);

    void OpenWindow(const MainWindowSeams& seams = NoDiscovery());
    // No prober and no device-change watch.
    static MainWindowSeams NoDiscovery();
    // The prober walks these ports; device changes are the test's to report.
    static MainWindowSeams ProbedPorts(const QStringList& ports);
    MainWindowParts& Parts() { return form->Parts(); }
    MainState& State() { return form->State(); }

    // Lists a unit as discovery would and waits for its tile.
    void ListUnit(const QString& address, int kind);
    TDevicePanel* Tile(int index);
    bool WaitForTiles(int count, int timeoutMs = 8000);
    // A left click on the tile's bare surface.
    void ClickTile(int index);
    bool WaitConnected(int timeoutMs);

    // Boxes recorded so far with exactly this text.
    int Boxes(const QString& text) const;
    // The simulated unit received this frame (waits up to timeoutMs).
    static bool SimGot(SimProcess& sim, const QByteArray& frame, int timeoutMs = 3000);
    static int SimCount(SimProcess& sim, const QByteArray& frame);

    MessageBoxes::TestMode boxes{MessageBoxes::Answer::No};
    std::unique_ptr<TForm1> form;
    std::vector<std::unique_ptr<SimProcess>> sims;
};

}  // namespace qireq::e2e
