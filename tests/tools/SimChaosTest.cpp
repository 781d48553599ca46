// Random faults at random moments: when they fall due, that they come one
// at a time and are logged once each, that the same seed gives the same
// faults, and that a flood never holds a frame.
#include "SimChaos.h"
#include "SimDevice.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"

#include "support/QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace qireq;
using namespace qireq::sim;

namespace {

// A chaos on a clock the test moves, with its log lines recorded.
struct Harness {
    explicit Harness(std::vector<ChaosKind> kinds, int intervalMs = 1000, std::uint32_t seed = 7)
        : chaos(Settings(std::move(kinds), intervalMs, seed),
                SimLog([this](const QString& line) { lines.push_back(line); }),
                [this] { return now; })
    {
    }

    static ChaosSettings Settings(std::vector<ChaosKind> kinds, int intervalMs, std::uint32_t seed)
    {
        ChaosSettings settings;
        settings.on = true;
        settings.seed = seed;
        settings.intervalMs = intervalMs;
        settings.kinds = std::move(kinds);
        return settings;
    }

    std::vector<QString> Faults() const
    {
        std::vector<QString> faults;
        for (const QString& line : lines) {
            if (line.startsWith(QStringLiteral("FAULT ")))
                faults.push_back(line);
        }
        return faults;
    }

    qint64 now = 0;
    std::vector<QString> lines;
    SimChaos chaos;
};

std::vector<QByteArray> Frames(const QByteArray& stream, FrameAssembler& assembler)
{
    std::vector<QByteArray> frames;
    assembler.SetFrameHandler([&frames](const QByteArray& frame) { frames.push_back(frame); });
    assembler.Feed(stream);
    return frames;
}

}  // namespace

TEST(SimChaos, SilenceFallsDueAtRandomStartsWithAFrameAndLastsItsLoggedTime)
{
    Harness h({ChaosKind::Silence}, 1000);
    EXPECT_EQ(h.lines.at(0), QStringLiteral("CHAOS seed 7 interval 1000 kinds silence"));
    // Nothing before half an interval.
    h.now = 499;
    EXPECT_FALSE(h.chaos.OnFrame(true).mute);
    // Due by one and a half intervals at the latest, yet it waits for a frame.
    h.now = 1500;
    EXPECT_FALSE(h.chaos.Silent());
    EXPECT_TRUE(h.chaos.OnFrame(true).mute);
    ASSERT_EQ(h.Faults().size(), 1u);
    const int ms = h.Faults()[0].section(u' ', 2).toInt();
    EXPECT_GE(ms, SimChaos::kSilenceMinMs);
    EXPECT_LE(ms, SimChaos::kSilenceMaxMs);

    h.now = 1500 + ms - 1;
    EXPECT_TRUE(h.chaos.Silent());
    EXPECT_TRUE(h.chaos.OnFrame(true).mute);
    h.now = 1500 + ms;
    EXPECT_FALSE(h.chaos.Silent());
    EXPECT_FALSE(h.chaos.OnFrame(true).mute) << "the next fault is half an interval away at least";
    EXPECT_EQ(h.Faults().size(), 1u) << "logged once, when it started";
}

TEST(SimChaos, AUnitLeftAloneSavesNoFaultForTheNextConversation)
{
    Harness h({ChaosKind::Silence}, 1000);
    // The first frame long after the start, and many after it.
    h.now = 60000;
    EXPECT_FALSE(h.chaos.OnFrame(true).mute);
    while (h.Faults().empty() && h.now < 70000) {
        h.now += 250;
        h.chaos.OnFrame(true);
    }
    ASSERT_EQ(h.Faults().size(), 1u);
    EXPECT_GE(h.now, 60500) << "half an interval of conversation at least";
    EXPECT_LE(h.now, 61500) << "one and a half intervals of conversation at most";
}

TEST(SimChaos, DropOnlyOnConnectionsThatCanBeDropped)
{
    Harness h({ChaosKind::Drop}, 0);
    h.now = 10;
    EXPECT_FALSE(h.chaos.OnFrame(false).drop);
    EXPECT_TRUE(h.Faults().empty()) << "a serial line cannot be dropped: the fault waits";
    EXPECT_TRUE(h.chaos.OnFrame(true).drop);
    EXPECT_EQ(h.Faults(), std::vector<QString>{QStringLiteral("FAULT drop")});
}

TEST(SimChaos, WrongLengthWaitsForAReplyAndChangesOnlyIt)
{
    Harness h({ChaosKind::Length}, 1000);
    h.now = 2000;
    const ChaosEffect effect = h.chaos.OnFrame(true);
    EXPECT_FALSE(effect.mute || effect.drop || effect.duplicate);
    EXPECT_TRUE(h.Faults().empty()) << "logged with the reply it spoils";

    QByteArray reply = PingRequest();  // the ping answer: length 9
    h.chaos.OnReply(reply);
    ASSERT_EQ(h.Faults().size(), 1u);
    const QStringList fields = h.Faults()[0].split(u' ');
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields[1], QStringLiteral("length"));
    EXPECT_EQ(fields[2], QStringLiteral("9"));
    EXPECT_NE(fields[3], QStringLiteral("9"));
    EXPECT_EQ(static_cast<std::uint8_t>(reply.at(kLengthOffset)), fields[3].toInt());
    EXPECT_EQ(reply.left(4), PingRequest().left(4));
    EXPECT_EQ(reply.mid(5), PingRequest().mid(5));

    QByteArray next = PingRequest();
    h.chaos.OnReply(next);
    EXPECT_EQ(next, PingRequest());
}

TEST(SimChaos, TheSameSeedDrawsTheSameFaults)
{
    const auto run = [](std::uint32_t seed) {
        Harness h(AllChaosKinds(), 1000, seed);
        for (h.now = 0; h.now < 1200000; h.now += 250) {
            h.chaos.OnFrame(true);
            QByteArray reply = PingRequest();
            h.chaos.OnReply(reply);
        }
        return h.Faults();
    };
    const std::vector<QString> first = run(42);
    EXPECT_GT(first.size(), 60u);
    EXPECT_EQ(run(42), first);
    EXPECT_NE(run(43), first);
    // Every kind comes up over a long run.
    for (const ChaosKind kind : AllChaosKinds()) {
        const QString prefix = QStringLiteral("FAULT ") + ChaosKindName(kind);
        EXPECT_TRUE(std::any_of(first.begin(), first.end(), [&](const QString& l) {
            return l.startsWith(prefix);
        })) << qPrintable(prefix);
    }
}

TEST(SimChaosFlood, AMegabyteOfBrokenHeadersWithoutAFrameEndsAnyAssemblerIdle)
{
    std::mt19937 random(1);
    const QByteArray flood = FloodBytes(SimChaos::kFloodBytes, random);
    ASSERT_EQ(flood.size(), SimChaos::kFloodBytes);
    EXPECT_EQ(flood.indexOf(QByteArray::fromHex("01200340")), -1);
    EXPECT_GT(flood.count(QByteArray::fromHex("012003")), 10000) << "full of broken headers";

    // From idle and from each partial header: only the reply after the flood.
    for (const QByteArray& before : {QByteArray(), QByteArray::fromHex("01"),
                                     QByteArray::fromHex("0120"), QByteArray::fromHex("012003")}) {
        FrameAssembler assembler;
        const std::vector<QByteArray> frames =
            Frames(before + flood + SimUnit().IdentityReply(), assembler);
        ASSERT_EQ(frames.size(), 1u) << qPrintable(before.toHex());
        EXPECT_EQ(frames[0], SimUnit().IdentityReply());
        EXPECT_EQ(assembler.State(), 0);
    }
}
