// SerialLink over a real port on a pseudo-terminal: the address, the
// open/close rules, the pause after each write and the -1 of a failed one.
#include "platform/TComPort.h"
#include "protocol/Frames.h"
#include "protocol/LinkRequests.h"
#include "protocol/SerialLink.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <vector>

namespace qireq {
namespace {

using test::PseudoTerminal;
using test::WaitFor;

// ComPort1 as the main window wires it: failures go to a handler.
struct ConnectionPort {
    TComPort port{TComFailures::Report};
    std::vector<int> errorNumbers;
    ConnectionPort()
    {
        QObject::connect(&port, &TComPort::OnException,
            [this](TComPort*, TComExceptions, const QString&, int systemError, const QString&) {
                errorNumbers.push_back(systemError);
            });
    }
};

struct PauseLog {
    std::vector<int> pauses;
    LinkPause Recorder()
    {
        return [this](int ms) { pauses.push_back(ms); };
    }
};

TEST(SerialLink, AddressIsThePortNameAndOpenCloseFollowThePort)
{
    PseudoTerminal pty;
    ConnectionPort com;
    SerialLink link(com.port);
    EXPECT_EQ(link.GetAddress(), QStringLiteral("COM1"));
    link.SetAddress(pty.SlavePath());
    EXPECT_EQ(com.port.Port(), pty.SlavePath());
    EXPECT_EQ(link.GetAddress(), pty.SlavePath());
    EXPECT_FALSE(link.IsOpen());
    link.Close();  // closed already
    link.Open();
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(com.port.Connected());
    link.Open();  // open already
    EXPECT_TRUE(link.IsOpen());
    link.Close();
    EXPECT_FALSE(com.port.Connected());
    EXPECT_TRUE(com.errorNumbers.empty());
}

TEST(SerialLink, DestroyingTheLinkLeavesThePortOpen)
{
    PseudoTerminal pty;
    ConnectionPort com;
    {
        SerialLink link(com.port);
        link.SetAddress(pty.SlavePath());
        link.Open();
    }
    EXPECT_TRUE(com.port.Connected());
    EXPECT_EQ(com.port.Write("x", 1), 1);
    EXPECT_EQ(pty.Receive(1), QByteArray("x"));
}

TEST(SerialLink, FailedWriteReturnsMinusOneWithoutThePause)
{
    ConnectionPort com;
    PauseLog log;
    SerialLink link(com.port, log.Recorder());
    EXPECT_EQ(link.WriteBytes(PingRequest()), -1);  // the port is not open
    EXPECT_TRUE(log.pauses.empty());
    EXPECT_EQ(com.errorNumbers.size(), 1u) << "the port reports, the link stays silent";

    TComPort probePort{TComFailures::Throw};  // the port throws, the link swallows
    SerialLink probeLink(probePort, log.Recorder());
    EXPECT_EQ(probeLink.WriteBytes(PingRequest()), -1);
    EXPECT_TRUE(log.pauses.empty());
}

TEST(SerialLink, SuccessiveWritesLeaveAtLeastTwentyMillisecondsApart)
{
    PseudoTerminal pty;
    ConnectionPort com;
    SerialLink link(com.port);
    link.SetAddress(pty.SlavePath());
    link.Open();
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> handedOver;
    for (int i = 0; i < 4; ++i) {
        link.WriteBytes(IdentifyRequest());
        handedOver.push_back(clock.nsecsElapsed());
    }
    for (size_t i = 1; i < handedOver.size(); ++i)
        EXPECT_GE(handedOver[i] - handedOver[i - 1], 20'000'000);
    EXPECT_EQ(pty.Receive(36), IdentifyRequest().repeated(4));
}

TEST(SerialLink, EachWriteSendsThenPausesTwentyMilliseconds)
{
    PseudoTerminal pty;
    ConnectionPort com;
    PauseLog log;
    SerialLink link(com.port, log.Recorder());
    link.SetAddress(pty.SlavePath());
    link.Open();
    LinkRequests requests(link);
    requests.SendIdentify();
    requests.SendPing();
    EXPECT_EQ(pty.Receive(18), IdentifyRequest() + PingRequest());
    EXPECT_EQ(log.pauses, (std::vector<int>{20, 20}));
}

}  // namespace
}  // namespace qireq
