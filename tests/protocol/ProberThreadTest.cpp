// The serial prober's use of ComPort2: a worker thread sets the name, opens
// and writes through its own SerialLink while the port's notifications keep
// arriving on the GUI thread, and the connection port works beside it.
#include "platform/TComPort.h"
#include "protocol/Frames.h"
#include "protocol/SerialLink.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <poll.h>
#include <unistd.h>

namespace qireq {
namespace {

using test::PseudoTerminal;
using test::WaitFor;

// Answers a complete ping on the master side with the same frame.
void AnswerPings(PseudoTerminal& unit, QByteArray& heard)
{
    char buffer[256];
    pollfd p{unit.MasterFd(), POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0) {
        const ssize_t n = ::read(unit.MasterFd(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        heard.append(buffer, n);
    }
    while (heard.size() >= PingRequest().size()) {
        if (heard.startsWith(PingRequest()))
            unit.Send(PingRequest());
        heard.remove(0, PingRequest().size());
    }
}

struct Arrival {
    std::thread::id thread;
    QString portName;
    QByteArray bytes;
};

TEST(ProberThread, ProbesFromItsThreadWhileAnswersArriveOnTheGuiThread)
{
    PseudoTerminal silent;
    PseudoTerminal unit;
    PseudoTerminal held;
    TComPort comPort1(TComFailures::Throw);  // holds one port, as a connection would
    comPort1.SetPort(held.SlavePath());
    comPort1.Open();
    ASSERT_TRUE(comPort1.Connected());

    TComPort comPort2(TComFailures::Throw);  // failures are thrown, as the prober has it
    std::vector<Arrival> arrivals;
    QObject::connect(&comPort2, &TComPort::OnRxChar, [&](TComPort* sender, int count) {
        QByteArray bytes(count, '\0');
        bytes.truncate(sender->Read(bytes.data(), count));
        arrivals.push_back({std::this_thread::get_id(), sender->Port(), bytes});
    });

    const std::vector<QString> names{QStringLiteral("/dev/qireq-no-such-port"),
        held.SlavePath(), silent.SlavePath(), unit.SlavePath()};
    std::atomic<bool> finished{false};
    int skipped = 0;
    int pinged = 0;
    std::vector<qint64> writeNs;
    std::thread prober([&] {
        SerialLink link(comPort2);
        QElapsedTimer clock;
        for (const QString& name : names) {
            try {
                link.SetAddress(name);
                link.Open();
                if (link.IsOpen()) {
                    clock.start();
                    if (link.WriteBytes(PingRequest()) == 9)
                        ++pinged;
                    writeNs.push_back(clock.nsecsElapsed());
                }
            } catch (const EComPort&) {
                ++skipped;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        finished = true;
    });

    QByteArray heard;
    const bool done = WaitFor([&] {
        AnswerPings(unit, heard);
        return finished.load();
    }, 10000);
    prober.join();
    ASSERT_TRUE(done);
    // The reply to the last ping may still be on its way.
    WaitFor([&] { return !arrivals.empty(); }, 2000);

    EXPECT_EQ(skipped, 2) << "the missing port and the held one";
    EXPECT_EQ(pinged, 2) << "the silent port and the unit";
    for (qint64 ns : writeNs)
        EXPECT_GE(ns, 20'000'000) << "the pause is spent on the prober's thread";
    EXPECT_EQ(silent.ReceiveFor(50), PingRequest());
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].thread, std::this_thread::get_id());
    EXPECT_EQ(arrivals[0].portName, unit.SlavePath());
    EXPECT_EQ(arrivals[0].bytes, PingRequest());
    EXPECT_TRUE(comPort1.Connected()) << "the held port is left to its owner";
    EXPECT_TRUE(comPort2.Connected()) << "the prober leaves the last port open";
}

TEST(ProberThread, WorkerWritesAndGuiTrafficInterleaveSafely)
{
    PseudoTerminal probed;
    PseudoTerminal connected;
    TComPort comPort1(TComFailures::Throw);
    TComPort comPort2(TComFailures::Throw);
    comPort1.SetPort(connected.SlavePath());
    comPort1.Open();
    int gotOnPort1 = 0;
    QObject::connect(&comPort1, &TComPort::OnRxChar, [&](TComPort* sender, int count) {
        QByteArray bytes(count, '\0');
        gotOnPort1 += sender->Read(bytes.data(), count);
        sender->Write("k", 1);
    });

    constexpr int kWrites = 25;
    std::atomic<bool> finished{false};
    int written = 0;
    std::thread prober([&] {
        SerialLink link(comPort2);
        link.SetAddress(probed.SlavePath());
        link.Open();
        for (int i = 0; i < kWrites; ++i)
            written += link.WriteBytes(PingRequest());
        link.Close();
        finished = true;
    });
    QByteArray fromProbe;
    int sentToPort1 = 0;
    const bool done = WaitFor([&] {
        connected.Send("x");
        ++sentToPort1;
        fromProbe += probed.ReceiveFor(1);
        return finished.load();
    }, 20000);
    prober.join();
    ASSERT_TRUE(done);
    fromProbe += probed.ReceiveFor(50);
    EXPECT_EQ(written, kWrites * 9);
    EXPECT_EQ(fromProbe, PingRequest().repeated(kWrites));
    EXPECT_TRUE(WaitFor([&] { return gotOnPort1 == sentToPort1; }));
    EXPECT_FALSE(comPort2.Connected());
}

}  // namespace
}  // namespace qireq
