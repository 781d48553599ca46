// The serial port component on real pseudo-terminals: line settings, the
// open/close and port-name rules, received-bytes notifications, failures.
#include "platform/PlatformErrors.h"
#include "platform/TComPort.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

#include <termios.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace qireq {
namespace {

using test::PseudoTerminal;
using test::WaitFor;

struct Report {
    TComExceptions kind;
    int systemError;
    QString portMessage;
    QString systemMessage;
};

// A port that reports its failures to a handler, as ComPort1 does.
struct ReportingPort {
    TComPort port{TComFailures::Report};
    std::vector<Report> reports;

    ReportingPort()
    {
        QObject::connect(&port, &TComPort::OnException,
            [this](TComPort*, TComExceptions kind, const QString& portMessage, int systemError,
                const QString& systemMessage) {
                reports.push_back({kind, systemError, portMessage, systemMessage});
            });
    }
};

QByteArray ReadAll(TComPort& port)
{
    QByteArray got;
    char buffer[256];
    for (int n; (n = port.Read(buffer, sizeof buffer)) > 0;)
        got.append(buffer, n);
    return got;
}

// Bytes a terminal driver in cooked mode would swallow or rewrite.
const QByteArray kAwkwardBytes = QByteArray::fromHex("00 11 13 0d 0a 03 1a 7f ff 00");

// One pseudo-terminal, the unit's end of the line, and a reporting port.
class TComPortTest : public ::testing::Test {
protected:
    // Opens the port on the pseudo-terminal.
    void OpenOnPty()
    {
        ASSERT_TRUE(pty.IsValid());
        p.port.SetPort(pty.SlavePath());
        p.port.Open();
        ASSERT_TRUE(p.port.Connected());
    }

    PseudoTerminal pty;
    ReportingPort p;
};

TEST_F(TComPortTest, LineIs9600EightNoneOneRawWithoutFlowControl)
{
    OpenOnPty();
    EXPECT_TRUE(p.reports.empty());

    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.SlaveFd(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & PARENB, 0u) << "no parity";
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u) << "one stop bit";
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
    EXPECT_NE(tio.c_cflag & CREAD, 0u);
    EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY), 0u) << "no XON/XOFF";
    EXPECT_EQ(tio.c_iflag & (INPCK | ISTRIP | PARMRK), 0u) << "no parity check, no marking";
    EXPECT_EQ(tio.c_iflag & (IGNBRK | BRKINT | INLCR | IGNCR | ICRNL), 0u) << "bytes pass unchanged";
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0) << "a read returns at once";
    // DTR and RTS: a pseudo-terminal has no modem lines to read back.
}

TEST_F(TComPortTest, EveryByteValuePassesBothWays)
{
    OpenOnPty();

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    all += kAwkwardBytes;

    EXPECT_EQ(p.port.Write(all.constData(), static_cast<int>(all.size())), all.size());
    EXPECT_EQ(pty.Receive(static_cast<int>(all.size())), all);

    QByteArray received;
    QObject::connect(&p.port, &TComPort::OnRxChar, [&](TComPort*, int) { received += ReadAll(p.port); });
    pty.Send(all);
    EXPECT_TRUE(WaitFor([&] { return received.size() >= all.size(); }));
    EXPECT_EQ(received, all);
    EXPECT_TRUE(p.reports.empty());
}

TEST_F(TComPortTest, OpenAndCloseAreIdempotent)
{
    pty.Send("stale");  // waiting before the open: dropped by it
    QThread::msleep(20);
    EXPECT_EQ(p.port.Port(), QStringLiteral("COM1"));
    EXPECT_FALSE(p.port.Connected());
    p.port.Close();  // closed already: nothing happens
    EXPECT_FALSE(p.port.Connected());

    p.port.SetPort(pty.SlavePath());
    p.port.Open();
    ASSERT_TRUE(p.port.Connected());
    QSignalSpy arrivals(&p.port, &TComPort::OnRxChar);
    pty.Send("abc");
    ASSERT_TRUE(arrivals.wait(2000));
    p.port.Open();  // open already: no reopen, the queued bytes stay
    EXPECT_TRUE(p.port.Connected());
    EXPECT_EQ(ReadAll(p.port), QByteArray("abc"));

    p.port.Close();
    EXPECT_FALSE(p.port.Connected());
    p.port.Close();
    EXPECT_FALSE(p.port.Connected());
    EXPECT_TRUE(p.reports.empty());

    // Closing releases the device for the next open.
    p.port.Open();
    EXPECT_TRUE(p.port.Connected());
}

TEST_F(TComPortTest, HeldPortFailsOnceWithErrorFiveAndStaysClosed)
{
    TComPort holder(TComFailures::Throw);
    holder.SetPort(pty.SlavePath());
    holder.Open();
    ASSERT_TRUE(holder.Connected());

    ReportingPort& second = p;
    second.port.SetPort(pty.SlavePath());
    second.port.Open();
    EXPECT_FALSE(second.port.Connected());
    ASSERT_EQ(second.reports.size(), 1u);
    EXPECT_EQ(second.reports[0].kind, TComExceptions::OpenFailed);
    EXPECT_EQ(second.reports[0].systemError, kErrorAccessDenied);
    EXPECT_EQ(second.reports[0].portMessage, ComExceptionText(TComExceptions::OpenFailed));
    EXPECT_FALSE(second.reports[0].systemMessage.isEmpty());
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(second.reports.size(), 1u) << "reported once";

    // The holder is not disturbed by the refused open.
    EXPECT_TRUE(holder.Connected());
    EXPECT_EQ(holder.Write("x", 1), 1);
    EXPECT_EQ(pty.Receive(1), QByteArray("x"));

    // Released, the port opens.
    holder.Close();
    second.port.Open();
    EXPECT_TRUE(second.port.Connected());
    EXPECT_EQ(second.reports.size(), 1u);
}

TEST_F(TComPortTest, AThrowingPortThrowsEvenWithAHandler)
{
    TComPort holder(TComFailures::Throw);
    holder.SetPort(pty.SlavePath());
    holder.Open();

    TComPort prober(TComFailures::Throw);  // like ComPort2
    int reported = 0;
    QObject::connect(&prober, &TComPort::OnException, [&] { ++reported; });
    prober.SetPort(pty.SlavePath());
    try {
        prober.Open();
        ADD_FAILURE() << "the open of a held port must throw";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.Kind(), TComExceptions::OpenFailed);
        EXPECT_EQ(error.SystemError(), kErrorAccessDenied);
    }
    EXPECT_FALSE(prober.Connected());

    prober.SetPort(QStringLiteral("/dev/qireq-no-such-port"));
    try {
        prober.Open();
        ADD_FAILURE() << "the open of a missing port must throw";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.Kind(), TComExceptions::OpenFailed);
        EXPECT_NE(error.SystemError(), 0);
        EXPECT_NE(error.SystemError(), kErrorAccessDenied) << "a missing port is not a busy one";
    }
    EXPECT_THROW(prober.Write("x", 1), EComPort);
    EXPECT_EQ(reported, 0);
}

TEST_F(TComPortTest, SameNameKeepsThePortOpenAnotherNameReopensThere)
{
    PseudoTerminal& first = pty;
    PseudoTerminal second;
    QSignalSpy arrivals(&p.port, &TComPort::OnRxChar);
    p.port.SetPort(first.SlavePath());
    p.port.Open();
    ASSERT_TRUE(p.port.Connected());

    // Left unread on purpose: a reopen would drop these bytes.
    first.Send("kept");
    ASSERT_TRUE(arrivals.wait(2000));
    p.port.SetPort(first.SlavePath());
    EXPECT_TRUE(p.port.Connected());
    EXPECT_EQ(ReadAll(p.port), QByteArray("kept"));

    p.port.SetPort(second.SlavePath());
    EXPECT_TRUE(p.port.Connected());
    EXPECT_EQ(p.port.Port(), second.SlavePath());
    EXPECT_EQ(p.port.Write("hi", 2), 2);
    EXPECT_EQ(second.Receive(2), QByteArray("hi"));
    EXPECT_TRUE(first.ReceiveFor(50).isEmpty());

    // The first port is free again: another component can open it.
    TComPort other(TComFailures::Throw);
    other.SetPort(first.SlavePath());
    other.Open();
    EXPECT_TRUE(other.Connected());
    EXPECT_TRUE(p.reports.empty());
}

TEST_F(TComPortTest, ReadWithNothingQueuedReturnsZero)
{
    OpenOnPty();
    char buffer[32];
    EXPECT_EQ(p.port.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(p.port.Read(buffer, 0), 0);
    EXPECT_TRUE(p.reports.empty());
}

TEST_F(TComPortTest, BurstInPartsIsAnnouncedWithCountsThatAddUp)
{
    OpenOnPty();

    QByteArray block(74, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7);
    std::vector<int> counts;
    QByteArray received;
    QObject::connect(&p.port, &TComPort::OnRxChar, [&](TComPort* sender, int count) {
        EXPECT_EQ(sender, &p.port);
        counts.push_back(count);
        std::vector<char> buffer(static_cast<size_t>(count));
        const int n = sender->Read(buffer.data(), count);
        EXPECT_EQ(n, count) << "the count is what can be read";
        received.append(buffer.data(), n);
    });

    pty.Send(block.left(8));
    ASSERT_TRUE(WaitFor([&] { return received.size() == 8; }));
    pty.Send(block.mid(8));
    ASSERT_TRUE(WaitFor([&] { return received.size() == 74; }));
    EXPECT_EQ(received, block);
    ASSERT_GE(counts.size(), 2u);
    int sum = 0;
    for (int c : counts) {
        EXPECT_GT(c, 0);
        sum += c;
    }
    EXPECT_EQ(sum, 74);
}

TEST_F(TComPortTest, BytesLeftUnreadAreCountedAgainWithTheNextArrival)
{
    OpenOnPty();
    std::vector<int> counts;
    QObject::connect(&p.port, &TComPort::OnRxChar, [&](TComPort* sender, int count) {
        counts.push_back(count);
        char one;
        sender->Read(&one, 1);  // reads one byte, leaves the rest
    });
    pty.Send("abcd");
    ASSERT_TRUE(WaitFor([&] { return !counts.empty(); }));
    WaitFor([] { return false; }, 50);
    ASSERT_EQ(counts.size(), 1u) << "no new notification without a new byte";
    EXPECT_EQ(counts[0], 4);
    pty.Send("e");
    ASSERT_TRUE(WaitFor([&] { return counts.size() == 2; }));
    EXPECT_EQ(counts[1], 4) << "three left over and one new";
}

TEST_F(TComPortTest, NotificationsNeverNestInsideTheHandlersOwnWrites)
{
    OpenOnPty();
    int depth = 0;
    int deepest = 0;
    QByteArray received;
    QObject::connect(&p.port, &TComPort::OnRxChar, [&](TComPort* sender, int) {
        deepest = std::max(deepest, ++depth);
        received += ReadAll(*sender);
        // The unit keeps talking while the handler writes back.
        pty.Send("more");
        sender->Write("ack", 3);
        --depth;
    });
    pty.Send("go");
    ASSERT_TRUE(WaitFor([&] { return received.size() >= 20; })) << received.toStdString() << " " << deepest;
    EXPECT_EQ(deepest, 1);
}

TEST_F(TComPortTest, WriteOnAClosedPortFailsReadFindsNothing)
{
    EXPECT_EQ(p.port.Write("ping", 4), -1);
    ASSERT_EQ(p.reports.size(), 1u);
    EXPECT_EQ(p.reports[0].kind, TComExceptions::PortNotOpen);
    EXPECT_NE(p.reports[0].systemError, kErrorAccessDenied);
    char buffer[4];
    EXPECT_EQ(p.port.Read(buffer, 4), 0);
    EXPECT_EQ(p.reports.size(), 1u);

    TComPort prober(TComFailures::Throw);  // a late read must not throw either
    EXPECT_EQ(prober.Read(buffer, 4), 0);
    TComPort unheard(TComFailures::Report);  // reports with nobody listening
    EXPECT_EQ(unheard.Write("x", 1), -1);

    OpenOnPty();
    EXPECT_EQ(p.port.Write("x", -1), -1) << "a negative count is refused";
    EXPECT_EQ(p.reports.size(), 2u);
    EXPECT_TRUE(pty.ReceiveFor(30).isEmpty());
}

TEST_F(TComPortTest, StalledLineGivesUpAtTheTimeoutAndNeverSendsLate)
{
    OpenOnPty();
    ASSERT_EQ(::tcflow(pty.SlaveFd(), TCOOFF), 0);  // output suspended: the line is stalled

    QElapsedTimer clock;
    clock.start();
    const int sent = p.port.Write("123456789", 9);
    const qint64 elapsed = clock.elapsed();
    EXPECT_LT(sent, 9);
    EXPECT_GE(elapsed, TComPort::WriteTimeoutMs(9) - 5);  // 1900 ms

    ::tcflow(pty.SlaveFd(), TCOON);
    EXPECT_EQ(p.port.Write("ok", 2), 2);
    const QByteArray arrived = pty.Receive(2 + sent, 500);
    EXPECT_TRUE(arrived.endsWith("ok")) << arrived.toStdString();
    EXPECT_EQ(arrived.size(), sent + 2) << "the unsent bytes of the stalled write stay unsent";
}

// The prober writes to ComPort2 from its own thread: a stalled line must hold
// up the prober for the write's time limit, never the window's thread.
TEST_F(TComPortTest, AWorkersWriteOnAStalledLineLeavesThePortsThreadFree)
{
    TComPort port(TComFailures::Throw);  // like ComPort2
    port.SetPort(pty.SlavePath());
    port.Open();
    ASSERT_EQ(::tcflow(pty.SlaveFd(), TCOOFF), 0);

    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestGapMs = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, sinceTick.restart());
    });
    ticker.start(10);
    std::atomic<int> sent{-2};
    std::thread prober([&] { sent = port.Write("123456789", 9); });
    const bool done = WaitFor([&] { return sent.load() != -2; }, 5000);
    longestGapMs = std::max(longestGapMs, sinceTick.elapsed());
    prober.join();
    ASSERT_TRUE(done);
    EXPECT_LT(sent.load(), 9);
    EXPECT_LT(longestGapMs, 250) << "the port's thread waited for the stalled line";

    ::tcflow(pty.SlaveFd(), TCOON);
    std::thread again([&] { sent = port.Write("ok", 2); });
    ASSERT_TRUE(WaitFor([&] { return sent.load() == 2; }, 3000));
    again.join();
    EXPECT_TRUE(pty.Receive(sent + 2, 500).endsWith("ok"));
}

// The pseudo-terminal goes away in the middle: not the fixture's.
TEST(TComPortLoss, DeviceGoneClosesThePortAndReportsOnce)
{
    auto pty = std::make_unique<PseudoTerminal>();
    ReportingPort p;
    p.port.SetPort(pty->SlavePath());
    p.port.Open();
    ASSERT_TRUE(p.port.Connected());
    pty.reset();  // the unit's side goes away
    ASSERT_TRUE(WaitFor([&] { return !p.port.Connected(); }));
    WaitFor([] { return false; }, 200);
    ASSERT_EQ(p.reports.size(), 1u);
    EXPECT_TRUE(p.reports[0].kind == TComExceptions::ReadFailed
        || p.reports[0].kind == TComExceptions::WaitFailed);
    EXPECT_NE(p.reports[0].systemError, kErrorAccessDenied);

    // The component is usable again on another device.
    PseudoTerminal next;
    p.port.SetPort(next.SlavePath());
    p.port.Open();
    EXPECT_TRUE(p.port.Connected());
    EXPECT_EQ(p.port.Write("x", 1), 1);
    EXPECT_EQ(next.Receive(1), QByteArray("x"));
}

}  // namespace
}  // namespace qireq
