// The serial prober against real pseudo-terminals: the ports it pings and in
// which order, the hold, absent and busy ports, answers credited to the port
// they came from, and prompt stopping.
#include "support/ProbedPty.h"

#include "discovery/SerialProber.h"
#include "platform/TComPort.h"
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/ProbeAnswer.h"
#include "state/DeviceList.h"
#include "state/SerialPortNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace qireq {
namespace {

using test::ProbedPty;

// The prober with what the main window gives it: ComPort2 (no exception
// handler), the device list, SerialPortNames, and a receive path that feeds
// the assembler and credits a Ping answer to the port its bytes were read
// from. A unit added closes ComPort2 20 ms later (CloseTimer) and its tile
// is "built" 10 ms later (DeviceTimer lowers AddPending).
class ProberRig {
public:
    explicit ProberRig(int ptyCount)
    {
        for (int i = 0; i < ptyCount; ++i)
            ptys.push_back(std::make_unique<ProbedPty>());
        QStringList paths;
        for (const auto& pty : ptys)
            paths.append(pty->Path());
        SetEnumerated(paths);

        assembler.SetFrameHandler([this](const QByteArray& frame) {
            if (static_cast<std::uint8_t>(frame.at(kCommandOffset))
                == static_cast<std::uint8_t>(Command::Ping))
                CreditPingAnswer(devices, readingFrom_);
        });
        QObject::connect(&comPort2, &TComPort::OnRxChar, &comPort2,
            [this](TComPort* sender, int count) {
                readingFrom_ = sender->Port();
                QByteArray bytes(std::min(count, FrameAssembler::kBufferSize), '\0');
                const int got = sender->Read(bytes.data(), static_cast<int>(bytes.size()));
                if (got > 0)
                    assembler.Feed(bytes.constData(), got);
            });
        devices.SetUnitAddedHandler([this](const DeviceEntry& added) {
            if (added.IsSerial())
                QTimer::singleShot(20, &comPort2, [this] { comPort2.Close(); });
            QTimer::singleShot(10, &comPort2, [this] { devices.Flags().AddPending.store(false); });
        });
    }

    ~ProberRig()
    {
        if (prober)
            prober->Stop();
    }

    void SetEnumerated(const QStringList& names)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        enumerated_ = names;
    }

    void Start(SerialProber::Timing timing = {})
    {
        prober = std::make_unique<SerialProber>(comPort2, devices, portNames,
            [this] {
                std::lock_guard<std::mutex> lock(mutex_);
                return enumerated_;
            },
            [this](const QString& line) {
                // As the main window does it: queued over to the GUI thread.
                QMetaObject::invokeMethod(&comPort2, [this, line] { memo.append(line); },
                    Qt::QueuedConnection);
            },
            timing);
        prober->Start();
    }

    // Runs the event loop and services the terminals for ms.
    void RunFor(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            Pump();
    }

    // Runs until the condition holds or timeoutMs passed.
    template <class Condition>
    bool RunUntil(Condition condition, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            Pump();
        }
        return true;
    }

    void Pump()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        for (auto& pty : ptys)
            pty->Service(sequence_);
        QThread::msleep(1);
    }

    ProbedPty& Pty(int i) { return *ptys[static_cast<size_t>(i)]; }
    int TotalPings() const
    {
        int total = 0;
        for (const auto& pty : ptys)
            total += pty->PingCount();
        return total;
    }

    // Lists a serial unit on a port before the prober starts.
    void ListSerialUnit(const QString& port)
    {
        ASSERT_TRUE(devices.AddFoundUnit(port, kUnknownMac, kSerialUnit));
        devices.Flags().AddPending.store(false);
    }

    TComPort comPort2{TComFailures::Throw};
    DeviceList devices;
    SerialPortNames portNames;
    FrameAssembler assembler;
    std::vector<std::unique_ptr<ProbedPty>> ptys;
    QStringList memo;
    std::unique_ptr<SerialProber> prober;

private:
    QString readingFrom_;
    int sequence_ = 0;
    std::mutex mutex_;
    QStringList enumerated_;
};

SerialProber::Timing QuickPasses(int passPauseMs = 400)
{
    SerialProber::Timing timing;
    timing.passPauseMs = passPauseMs;
    return timing;
}

TEST(SerialProber, EachPassPingsEveryUnlistedPortOnceLastEnumeratedFirst)
{
    ProberRig rig(3);
    rig.Start(QuickPasses());
    // Pass 1 and 2: 3 x (20 ms + 100 ms) + 400 ms each.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.TotalPings() >= 6; }, 5000));

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.Pty(i).Received(), PingRequest() + PingRequest())
            << "port " << i << " gets exactly one 9-byte Ping per pass";
    }
    // Order numbers 0..5: pass 1 walks ports 2, 1, 0, and so does pass 2.
    EXPECT_EQ(rig.Pty(2).PingOrder(), (std::vector<int>{0, 3}));
    EXPECT_EQ(rig.Pty(1).PingOrder(), (std::vector<int>{1, 4}));
    EXPECT_EQ(rig.Pty(0).PingOrder(), (std::vector<int>{2, 5}));
    EXPECT_EQ(rig.portNames.Snapshot(),
        QStringList({rig.Pty(0).Path(), rig.Pty(1).Path(), rig.Pty(2).Path()}));

    // Between passes ComPort2 stays on the port probed last; moving on
    // closed the others.
    rig.RunFor(50);
    EXPECT_TRUE(rig.Pty(0).SlaveOpenNow());
    EXPECT_FALSE(rig.Pty(1).SlaveOpenNow());
    EXPECT_FALSE(rig.Pty(2).SlaveOpenNow());
    EXPECT_TRUE(rig.memo.isEmpty());
}

TEST(SerialProber, ListedPortIsNotProbedAndItsPositionGoesToTheMemo)
{
    ProberRig rig(3);
    rig.ListSerialUnit(rig.Pty(1).Path());
    rig.Start(QuickPasses(300));
    ASSERT_TRUE(rig.RunUntil([&] { return rig.prober->PassCount() >= 3; }, 5000));
    rig.RunFor(50);

    EXPECT_FALSE(rig.Pty(1).EverOpened());
    EXPECT_GE(rig.Pty(0).PingCount(), 2);
    EXPECT_GE(rig.Pty(2).PingCount(), 2);
    // One line per pass, the list position of the skipped port in decimal.
    ASSERT_GE(rig.memo.size(), 2);
    EXPECT_TRUE(std::all_of(rig.memo.cbegin(), rig.memo.cend(),
        [](const QString& line) { return line == QLatin1String("1"); }));
}

TEST(SerialProber, AnsweringUnitIsListedAsSerialAndHoldsTheProber)
{
    ProberRig rig(2);
    rig.Pty(1).AnswerPings();  // probed first: the later-enumerated port
    rig.Start(QuickPasses(300));

    ASSERT_TRUE(rig.RunUntil([&] { return rig.devices.Count() == 1; }, 3000));
    const DeviceEntry unit = *rig.devices.EntryAt(0);
    EXPECT_EQ(unit.Address, rig.Pty(1).Path());
    EXPECT_EQ(unit.Name, QLatin1String("Device0"));
    EXPECT_EQ(unit.Mac, QLatin1String("FFFFFFFFFFFF"));
    EXPECT_EQ(unit.Kind, kSerialUnit);
    EXPECT_TRUE(rig.devices.Flags().ProbeHold.load());

    // The hold is looked at only when a pass starts: this pass still pings
    // the other port, and ComPort2 stays open there while held.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(0).PingCount() == 1; }, 2000));
    const int passes = rig.prober->PassCount();
    rig.RunFor(1200);  // several pass lengths
    EXPECT_EQ(rig.prober->PassCount(), passes);
    EXPECT_EQ(rig.Pty(0).PingCount(), 1);
    EXPECT_EQ(rig.Pty(1).PingCount(), 1);
    EXPECT_TRUE(rig.Pty(0).SlaveOpenNow());
    EXPECT_FALSE(rig.Pty(1).SlaveOpenNow()) << "CloseTimer closed the found unit's port";
    EXPECT_EQ(rig.devices.Count(), 1);
}

TEST(SerialProber, RaisedHoldOrListChangeKeepsEveryPortClosed)
{
    ProberRig rig(2);
    rig.devices.Flags().ProbeHold.store(true);
    rig.Start(QuickPasses(200));
    rig.RunFor(800);
    EXPECT_EQ(rig.prober->PassCount(), 0);

    // A list change in progress holds it as well, when the hold is lowered.
    rig.devices.Flags().ListChanging.store(true);
    rig.devices.Flags().ProbeHold.store(false);
    rig.RunFor(500);
    EXPECT_EQ(rig.prober->PassCount(), 0);
    EXPECT_FALSE(rig.Pty(0).EverOpened());
    EXPECT_FALSE(rig.Pty(1).EverOpened());

    rig.devices.Flags().ListChanging.store(false);
    EXPECT_TRUE(rig.RunUntil([&] { return rig.TotalPings() == 2; }, 1000));
}

// A run on many units pauses the prober; two runs at once both must end.
TEST(SerialProber, PausedByRunsOnManyUnitsUntilTheLastEnds)
{
    ProberRig rig(1);
    rig.devices.Flags().ProbePauses.store(2);
    rig.Start(QuickPasses(100));
    rig.RunFor(500);
    --rig.devices.Flags().ProbePauses;
    rig.RunFor(300);
    EXPECT_FALSE(rig.Pty(0).EverOpened());
    --rig.devices.Flags().ProbePauses;
    EXPECT_TRUE(rig.RunUntil([&] { return rig.TotalPings() == 1; }, 1000));
}

TEST(SerialProber, RemovedUnitIsFoundAgainWithinAboutThreeSeconds)
{
    ProberRig rig(2);
    rig.Pty(0).AnswerPings();
    rig.Start();  // the program's own timing
    ASSERT_TRUE(rig.RunUntil([&] { return rig.devices.Count() == 1; }, 3000));
    // Let the tile be built, then remove the serial unit as RemoveUnit does.
    ASSERT_TRUE(rig.RunUntil([&] { return !rig.devices.Flags().AddPending.load(); }, 1000));
    ASSERT_TRUE(rig.devices.Remove(0).has_value());
    rig.devices.Flags().ProbeHold.store(false);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.devices.Count() == 1; }, 10000));
    EXPECT_LT(clock.elapsed(), 4500) << "a 3000 ms pass pause plus the probes";
    EXPECT_EQ(rig.devices.EntryAt(0)->Address, rig.Pty(0).Path());
}

TEST(SerialProber, AbsentAndBusyPortsAreSkippedSilently)
{
    ProberRig rig(3);
    // ComPort1 holds port 1 for a connection; one enumerated port is gone.
    TComPort comPort1(TComFailures::Throw);
    comPort1.SetPort(rig.Pty(1).Path());
    comPort1.Open();
    ASSERT_TRUE(comPort1.Connected());
    const QString absent = QStringLiteral("/dev/pts/qireq-no-such-port");
    rig.SetEnumerated({rig.Pty(0).Path(), rig.Pty(1).Path(), absent, rig.Pty(2).Path()});

    rig.Start(QuickPasses(300));
    ASSERT_TRUE(rig.RunUntil([&] { return rig.prober->PassCount() >= 2; }, 5000));
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(0).PingCount() >= 2; }, 2000));

    EXPECT_GE(rig.Pty(2).PingCount(), 2);
    EXPECT_EQ(rig.Pty(1).PingCount(), 0) << "the busy port is not written to";
    EXPECT_TRUE(rig.prober->IsRunning());
    EXPECT_TRUE(rig.memo.isEmpty());
    EXPECT_EQ(rig.devices.Count(), 0);
    // The pass went past both failures in order: port 2 first, port 0 last.
    EXPECT_LT(rig.Pty(2).PingOrder().front(), rig.Pty(0).PingOrder().front());
}

TEST(SerialProber, LateAnswerIsNotCreditedToThePortProbedNext)
{
    ProberRig rig(2);
    // Port 1 is probed first and answers only after ComPort2 has moved on
    // to port 0 (20 ms pause + 100 ms wait).
    rig.Pty(1).AnswerPings(250);
    rig.Start(QuickPasses(300));
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(1).PingCount() >= 2; }, 5000));
    rig.RunFor(400);

    EXPECT_FALSE(rig.devices.Contains(rig.Pty(0).Path()))
        << "port 0 never answered; the late bytes came from port 1";
    EXPECT_FALSE(rig.devices.Flags().ProbeHold.load());
}

TEST(SerialProber, WaitsForAPortAtStartAndReadsTheNamesItself)
{
    ProberRig rig(1);
    const QString path = rig.Pty(0).Path();
    rig.SetEnumerated({});
    SerialProber::Timing timing = QuickPasses();
    timing.noPortsRetryMs = 200;
    rig.Start(timing);
    rig.RunFor(500);
    EXPECT_EQ(rig.prober->PassCount(), 0);
    EXPECT_TRUE(rig.portNames.IsEmpty());

    rig.SetEnumerated({path});
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(0).PingCount() == 1; }, 2000));
    EXPECT_EQ(rig.portNames.Snapshot(), QStringList{path});
}

TEST(SerialProber, ReplacedPortListTakesEffectAtTheNextPass)
{
    ProberRig rig(3);
    rig.Start(QuickPasses(300));
    // While the first pass is on port 2, the GUI thread replaces the list.
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(2).PingCount() == 1; }, 2000));
    rig.portNames.Replace({rig.Pty(0).Path()});

    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(0).PingCount() >= 2; }, 3000));
    EXPECT_EQ(rig.Pty(1).PingCount(), 1) << "the pass in progress kept its copy";
    EXPECT_EQ(rig.Pty(2).PingCount(), 1);
}

TEST(SerialProber, StopCutsTheWaitShortAndClosesTheProbingPort)
{
    ProberRig rig(1);
    rig.Start();  // 3000 ms between passes
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pty(0).PingCount() == 1; }, 2000));
    rig.RunFor(200);
    ASSERT_TRUE(rig.Pty(0).SlaveOpenNow());

    QElapsedTimer clock;
    clock.start();
    rig.prober->Stop();
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_FALSE(rig.prober->IsRunning());
    EXPECT_FALSE(rig.comPort2.Connected());
    rig.RunFor(20);
    EXPECT_FALSE(rig.Pty(0).SlaveOpenNow());
}

}  // namespace
}  // namespace qireq
