// One simulated stream: frames found in any split of the bytes, the log
// lines, and the fault switches that shape or withhold the replies.
#include "SimResponder.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace qireq;
using namespace qireq::sim;

namespace {

struct Write {
    QByteArray bytes;
    qint64 atMs;
};

// A responder whose writes and log lines are recorded.
class Harness {
public:
    explicit Harness(SimFaults faults, SimUnitState state = {})
        : device(state, faults, SimLog([this](const QString& line) { lines.push_back(line); })),
          responder_(
              device,
              [this](const QByteArray& bytes) { writes.push_back({bytes, clock_.elapsed()}); },
              [this] { ++drops; })
    {
        clock_.start();
    }

    void Feed(const QByteArray& bytes) { responder_.Receive(bytes); }

    // Runs the event loop until `done` holds or the time is up.
    template <typename Done>
    bool RunUntil(Done done, int timeoutMs = 3000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    void RunFor(int ms)
    {
        RunUntil([] { return false; }, ms);
    }

    QByteArray Written() const
    {
        QByteArray all;
        for (const Write& w : writes)
            all += w.bytes;
        return all;
    }

    std::vector<QByteArray> FramesWritten() const
    {
        std::vector<QByteArray> frames;
        FrameAssembler assembler;
        assembler.SetFrameHandler([&frames](const QByteArray& frame) { frames.push_back(frame); });
        assembler.Feed(Written());
        return frames;
    }

    std::vector<QString> lines;
    std::vector<Write> writes;
    int drops = 0;
    SimDevice device;

private:
    QElapsedTimer clock_;
    SimResponder responder_;
};

}  // namespace

TEST(SimResponderStream, FramesAreFoundInAnySplitAndLogged)
{
    Harness h({});
    // A ping answer split byte by byte, then the TCP ReadMac block whose
    // 141 zeros are no frame at all.
    const QByteArray stream = QByteArray::fromHex("00FF") + PingRequest();
    for (const char byte : stream)
        h.Feed(QByteArray(1, byte));
    h.Feed(ReadMacBlock());
    ASSERT_TRUE(h.RunUntil([&] { return h.FramesWritten().size() == 2; }));
    EXPECT_EQ(h.FramesWritten()[0], PingRequest());
    EXPECT_EQ(h.FramesWritten()[1].at(5), 0x21);
    EXPECT_EQ(h.lines, (std::vector<QString>{
                           QStringLiteral("RX 01 20 03 40 09 0B 01 05 60"),
                           QStringLiteral("TX 01 20 03 40 09 0B 01 05 60"),
                           QStringLiteral("RX 01 20 03 40 09 21 01 05 60"),
                           QStringLiteral("TX 01 20 03 40 10 21 00 00 00 00 00 00 00 01 05 60"),
                       }));
}

TEST(SimResponderFaults, SilentLogsButAnswersNothing)
{
    SimFaults faults;
    faults.silent = true;
    Harness h(faults);
    h.Feed(IdentifyRequest());
    h.Feed(QByteArray::fromHex("01200340 0B0E 6B 48 010560"));
    h.RunFor(50);
    EXPECT_TRUE(h.writes.empty());
    EXPECT_EQ(h.lines.size(), 2u);
    EXPECT_EQ(h.device.Unit().State().block[7], 0x79);  // trim untouched
    EXPECT_FALSE(h.device.Answering());
}

TEST(SimResponderFaults, AnswerLimitMutesTheUnitAfterNFrames)
{
    SimFaults faults;
    faults.answerLimit = 2;
    Harness h(faults);
    h.Feed(PingRequest());
    EXPECT_TRUE(h.device.Answering());
    h.Feed(IdentifyRequest());
    EXPECT_FALSE(h.device.Answering());
    h.Feed(QByteArray::fromHex("01200340 0B0E 6B 48 010560"));
    h.RunFor(50);
    ASSERT_EQ(h.FramesWritten().size(), 2u);
    EXPECT_EQ(h.FramesWritten()[1].at(5), 0x1F);
    EXPECT_EQ(h.device.Unit().State().block[7], 0x79);  // the muted trim was not applied
}

TEST(SimResponderFaults, GarbageBeforeEachReplyLeavesTheFramesIntact)
{
    SimFaults faults;
    faults.garbage = true;
    Harness h(faults);
    h.Feed(PingRequest() + IdentifyRequest());
    ASSERT_TRUE(h.RunUntil([&] { return h.FramesWritten().size() == 2; }));
    EXPECT_EQ(h.Written(), GarbageBytes() + PingRequest() + GarbageBytes() + SimUnit().IdentityReply());
    EXPECT_EQ(h.lines[1], QStringLiteral("GARBAGE 00 FF 01 20 03 00 A5 01 7F 5A"));
}

TEST(SimResponderFaults, ChunksAreSmallAndSpacedButAddUpToTheReply)
{
    SimFaults faults;
    faults.chunkBytes = 4;
    faults.chunkPauseMs = 10;
    Harness h(faults);
    h.Feed(IdentifyRequest());
    const QByteArray reply = SimUnit().IdentityReply();  // 27 bytes: 7 pieces
    ASSERT_TRUE(h.RunUntil([&] { return h.Written().size() == reply.size(); }));
    EXPECT_EQ(h.Written(), reply);
    ASSERT_EQ(h.writes.size(), 7u);
    for (std::size_t i = 0; i < h.writes.size(); ++i) {
        EXPECT_LE(h.writes[i].bytes.size(), 4);
        if (i > 0) {
            EXPECT_GE(h.writes[i].atMs - h.writes[i - 1].atMs, 9);
        }
    }
    // One TX line for the whole frame.
    EXPECT_EQ(h.lines.size(), 2u);
}

TEST(SimResponderFaults, DelayedRepliesKeepTheirOrder)
{
    SimFaults faults;
    faults.delayMs = 300;
    Harness h(faults);
    h.Feed(PingRequest());
    h.Feed(IdentifyRequest());
    h.RunFor(40);
    EXPECT_TRUE(h.writes.empty());
    ASSERT_TRUE(h.RunUntil([&] { return h.writes.size() == 2; }));
    EXPECT_GE(h.writes[0].atMs, 290);
    EXPECT_EQ(h.writes[0].bytes, PingRequest());
    EXPECT_EQ(h.writes[1].bytes.at(5), 0x1F);
}

TEST(SimResponderFaults, DropAfterEndsTheStreamAfterTheNthReply)
{
    SimFaults faults;
    faults.dropAfter = 2;
    faults.delayMs = 30;
    Harness h(faults);
    h.Feed(PingRequest() + IdentifyRequest() + PingRequest());
    ASSERT_TRUE(h.RunUntil([&] { return h.drops > 0; }));
    h.RunFor(60);
    EXPECT_EQ(h.drops, 1);
    // The reply to the second frame left before the drop; the third frame was not read.
    ASSERT_EQ(h.FramesWritten().size(), 2u);
    EXPECT_EQ(h.lines.back(), QStringLiteral("DROP"));
    EXPECT_EQ(std::count_if(h.lines.begin(), h.lines.end(), [](const QString& l) { return l.startsWith("RX"); }), 2);
}

TEST(SimResponderFaults, AckOnlyEchoesTheWriteButKeepsTheOldValue)
{
    SimFaults faults;
    faults.ackOnly = true;
    Harness h(faults);
    const QByteArray trim = QByteArray::fromHex("01200340 0B0E 6B 48 010560");
    h.Feed(trim + ReadEqBlockRequest());
    ASSERT_TRUE(h.RunUntil([&] { return h.FramesWritten().size() == 2; }));
    EXPECT_EQ(h.FramesWritten()[0], trim);
    EXPECT_EQ(static_cast<std::uint8_t>(h.FramesWritten()[1].at(7)), 0x79) << "read back: the old trim";
}

namespace {

// Chaos of one kind only, due at once and again right after each fault.
SimFaults ChaosOf(ChaosKind kind)
{
    SimFaults faults;
    faults.chaos.on = true;
    faults.chaos.intervalMs = 0;
    faults.chaos.kinds = {kind};
    return faults;
}

int CountLines(const std::vector<QString>& lines, const QString& prefix)
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(prefix); }));
}

}  // namespace

TEST(SimResponderChaos, FloodGoesOutBeforeTheReplyWhichStillArrivesWhole)
{
    Harness h(ChaosOf(ChaosKind::Flood));
    h.Feed(PingRequest());
    ASSERT_TRUE(h.RunUntil([&] { return h.Written().size() == SimChaos::kFloodBytes + PingRequest().size(); }));
    EXPECT_TRUE(h.Written().endsWith(PingRequest()));
    EXPECT_EQ(h.FramesWritten(), std::vector<QByteArray>{PingRequest()});
    EXPECT_EQ(CountLines(h.lines, QStringLiteral("FAULT flood 1048576")), 1);
    EXPECT_EQ(CountLines(h.lines, QStringLiteral("FLOOD 1048576")), 1);
    for (const QString& line : h.lines)
        EXPECT_LT(line.size(), 200) << "the flood is logged by its size, not byte by byte";
}

TEST(SimResponderChaos, SilenceWithholdsRepliesAndLeavesTheStateAlone)
{
    Harness h(ChaosOf(ChaosKind::Silence));
    h.Feed(QByteArray::fromHex("01200340 0B0E 6B 48 010560"));
    h.Feed(PingRequest());
    h.RunFor(50);
    EXPECT_TRUE(h.writes.empty());
    EXPECT_EQ(h.device.Unit().State().block[7], 0x79);  // trim untouched
    EXPECT_FALSE(h.device.Answering()) << "nor does it answer LAN probes";
    EXPECT_EQ(CountLines(h.lines, QStringLiteral("FAULT silence ")), 1);
}

TEST(SimResponderChaos, DropEndsTheConnectionWithTheFrameUnanswered)
{
    Harness h(ChaosOf(ChaosKind::Drop));
    h.Feed(PingRequest() + IdentifyRequest());
    ASSERT_TRUE(h.RunUntil([&] { return h.drops > 0; }));
    h.RunFor(30);
    EXPECT_EQ(h.drops, 1);
    EXPECT_TRUE(h.writes.empty());
    EXPECT_EQ(h.lines, (std::vector<QString>{QStringLiteral("CHAOS seed 0 interval 0 kinds drop"),
                                             QStringLiteral("RX 01 20 03 40 09 0B 01 05 60"),
                                             QStringLiteral("FAULT drop"), QStringLiteral("DROP")}));
}

TEST(SimResponderChaos, DuplicatedLateAndSingleByteRepliesStillAddUpToWholeFrames)
{
    Harness twice(ChaosOf(ChaosKind::Duplicate));
    twice.Feed(IdentifyRequest());
    ASSERT_TRUE(twice.RunUntil([&] { return twice.FramesWritten().size() == 2; }));
    EXPECT_EQ(twice.FramesWritten()[0], SimUnit().IdentityReply());
    EXPECT_EQ(twice.FramesWritten()[1], SimUnit().IdentityReply());

    Harness bytes(ChaosOf(ChaosKind::Bytes));
    bytes.Feed(IdentifyRequest());
    ASSERT_TRUE(bytes.RunUntil([&] { return bytes.FramesWritten().size() == 1; }));
    EXPECT_EQ(bytes.writes.size(), static_cast<std::size_t>(SimUnit().IdentityReply().size()));
    EXPECT_EQ(bytes.FramesWritten()[0], SimUnit().IdentityReply());

    Harness late(ChaosOf(ChaosKind::Delay));
    late.Feed(PingRequest());
    ASSERT_EQ(late.lines.size(), 3u);
    const QStringList fault = late.lines[2].split(u' ');  // after CHAOS and RX
    ASSERT_EQ(fault.at(1), QStringLiteral("delay"));
    const int delayMs = fault.at(2).toInt();
    EXPECT_GE(delayMs, SimChaos::kDelayMinMs);
    ASSERT_TRUE(late.RunUntil([&] { return !late.writes.empty(); }, SimChaos::kDelayMaxMs + 1000));
    EXPECT_GE(late.writes[0].atMs, delayMs - 10);
    EXPECT_EQ(late.writes[0].bytes, PingRequest());
}
