#include "protocol/FrameAssembler.h"

#include "protocol/Frames.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace qireq;

namespace {

using qireq::test::Hex;

// An assembler that records every frame it hands on.
struct Recorder {
    Recorder()
    {
        assembler.SetFrameHandler([this](const QByteArray& frame) { frames.push_back(frame); });
    }
    FrameAssembler assembler;
    std::vector<QByteArray> frames;
};

const QByteArray kPing = Hex("01 20 03 40 09 0B 01 05 60");

}  // namespace

TEST(FrameAssembler, SkipsLeadingGarbageAndHandsOnOnePing)
{
    const QByteArray stream = Hex("00 FF") + kPing;
    Recorder rx;
    rx.assembler.Feed(stream);
    ASSERT_EQ(rx.frames.size(), 1u);
    EXPECT_EQ(rx.frames[0], kPing);
    EXPECT_EQ(rx.assembler.State(), 0);
    EXPECT_EQ(rx.assembler.Count(), 0);
}

TEST(FrameAssembler, SameResultWhereverTheStreamIsSplit)
{
    const QByteArray stream = Hex("00 FF") + kPing;
    for (int cut = 0; cut <= stream.size(); ++cut) {
        Recorder rx;
        rx.assembler.Feed(stream.left(cut));
        rx.assembler.Feed(stream.mid(cut));
        ASSERT_EQ(rx.frames.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(rx.frames[0], kPing) << "cut at " << cut;
    }
    for (int cut1 = 0; cut1 <= stream.size(); ++cut1) {
        for (int cut2 = cut1; cut2 <= stream.size(); ++cut2) {
            Recorder rx;
            rx.assembler.Feed(stream.left(cut1));
            rx.assembler.Feed(stream.mid(cut1, cut2 - cut1));
            rx.assembler.Feed(stream.mid(cut2));
            ASSERT_EQ(rx.frames.size(), 1u) << cut1 << "/" << cut2;
        }
    }
    // One byte per event.
    Recorder rx;
    for (const char byte : stream)
        rx.assembler.Feed(&byte, 1);
    ASSERT_EQ(rx.frames.size(), 1u);
    EXPECT_EQ(rx.frames[0], kPing);
}

TEST(FrameAssembler, ByteThatBreaksTheHeaderIsDroppedNotReexamined)
{
    Recorder rx;
    rx.assembler.Feed(Hex("01 20 01 20 03 40 09 0B 01 05 60"));
    EXPECT_TRUE(rx.frames.empty());
    EXPECT_EQ(rx.assembler.State(), 0);

    // A header broken in any of its three later places recovers at the
    // next full header.
    for (const char* broken : {"01 33", "01 20 33", "01 20 03 33"}) {
        Recorder next;
        next.assembler.Feed(Hex(broken) + kPing);
        ASSERT_EQ(next.frames.size(), 1u) << broken;
        EXPECT_EQ(next.frames[0], kPing);
    }
}

TEST(FrameAssembler, FrameEndsAfterTheAnnouncedLengthWithoutCheckingTheTrailer)
{
    Recorder rx;
    // Length 10: the trailer is wherever the count says; a wrong trailer
    // is not the assembler's business.
    rx.assembler.Feed(Hex("01 20 03 40 0A 0E 6B 48 EE EE 01 20 03 40 09 0B 01 05 60"));
    ASSERT_EQ(rx.frames.size(), 2u);
    EXPECT_EQ(rx.frames[0], Hex("01 20 03 40 0A 0E 6B 48 EE EE"));
    EXPECT_EQ(rx.frames[1], kPing);
}

TEST(FrameAssembler, LengthBelowSixEndsTheFrameAfterItsCommandByte)
{
    for (int length = 0; length <= 6; ++length) {
        Recorder rx;
        QByteArray frame = Hex("01 20 03 40");
        frame += static_cast<char>(length);
        frame += '\x1F';
        rx.assembler.Feed(frame + kPing);
        ASSERT_EQ(rx.frames.size(), 2u) << "length " << length;
        EXPECT_EQ(rx.frames[0], frame) << "length " << length;
        EXPECT_EQ(rx.frames[0].size(), 6);
        EXPECT_EQ(rx.frames[1], kPing);
    }
}

TEST(FrameAssembler, LongerLengthWaitsForItsBytesFromLaterFeeds)
{
    Recorder rx;
    const QByteArray block(reinterpret_cast<const char*>(ResetBlock.data()), kEqBlockSize);
    rx.assembler.Feed(block.left(40));
    EXPECT_TRUE(rx.frames.empty());
    EXPECT_EQ(rx.assembler.State(), 5);
    EXPECT_EQ(rx.assembler.Count(), 40);
    // The rest holds header-like bytes; inside a frame they are payload.
    rx.assembler.Feed(block.mid(40, 33));
    EXPECT_TRUE(rx.frames.empty());
    rx.assembler.Feed(block.right(1) + kPing);
    ASSERT_EQ(rx.frames.size(), 2u);
    EXPECT_EQ(rx.frames[0], block);
    EXPECT_EQ(rx.frames[1], kPing);
}

TEST(FrameAssembler, LargestLengthFitsAndGarbageBetweenFramesIsSkipped)
{
    QByteArray largest = BuildFrame(0x55, QByteArray(246, '\x01'));
    ASSERT_EQ(largest.size(), 255);
    Recorder rx;
    rx.assembler.Feed(Hex("FF 00 20 03 40 7E") + largest + Hex("01 01 20") + kPing + Hex("60 60"));
    ASSERT_EQ(rx.frames.size(), 2u);
    EXPECT_EQ(rx.frames[0], largest);
    EXPECT_EQ(rx.frames[1], kPing);
}

TEST(FrameAssembler, ResetDropsAPartFrame)
{
    Recorder rx;
    rx.assembler.Feed(kPing.left(7));
    rx.assembler.Reset();
    EXPECT_EQ(rx.assembler.State(), 0);
    EXPECT_EQ(rx.assembler.Count(), 0);
    rx.assembler.Feed(kPing.mid(7) + kPing);
    ASSERT_EQ(rx.frames.size(), 1u);
    EXPECT_EQ(rx.frames[0], kPing);
}

TEST(FrameAssembler, FeedingEmptyOrNullChangesNothing)
{
    Recorder rx;
    rx.assembler.Feed(kPing.left(3));
    rx.assembler.Feed(nullptr, 10);
    rx.assembler.Feed(QByteArray());
    rx.assembler.Feed(kPing.constData(), -1);
    EXPECT_EQ(rx.assembler.Count(), 3);
    rx.assembler.Feed(kPing.mid(3));
    EXPECT_EQ(rx.frames.size(), 1u);
}

TEST(FrameAssembler, BytesFedFromInsideTheHandlerKeepTheirOrder)
{
    // A handler that runs a nested event loop may see more bytes arrive
    // before it returns; they must not cut into the bytes still unread.
    FrameAssembler assembler;
    std::vector<QByteArray> frames;
    const QByteArray trim = Hex("01 20 03 40 0B 0E 6B 48 01 05 60");
    const QByteArray bypass = Hex("01 20 03 40 0B 13 00 01 01 05 60");
    bool nested = false;
    assembler.SetFrameHandler([&](const QByteArray& frame) {
        frames.push_back(frame);
        if (!nested) {
            nested = true;
            assembler.Feed(bypass);
        }
    });
    assembler.Feed(kPing + trim);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], kPing);
    EXPECT_EQ(frames[1], trim);
    EXPECT_EQ(frames[2], bypass);
}

TEST(FrameAssembler, HandlerMayResetOrReplaceItself)
{
    FrameAssembler assembler;
    int first = 0;
    int second = 0;
    assembler.SetFrameHandler([&](const QByteArray&) {
        ++first;
        assembler.Reset();
        assembler.SetFrameHandler([&](const QByteArray&) { ++second; });
    });
    assembler.Feed(kPing + kPing + kPing);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(FrameAssembler, RandomCutsOfAStreamWithGarbageGiveEveryFrameBack)
{
    std::mt19937 random(20240611);
    auto below = [&random](int limit) {
        return std::uniform_int_distribution<int>(0, limit - 1)(random);
    };

    // Valid frames of every size the length byte allows, payload bytes
    // anything (header-like bytes included); garbage free of 0x01, so it
    // can never start a header.
    std::vector<QByteArray> sent;
    QByteArray stream;
    for (int i = 0; i < 2000; ++i) {
        const int garbage = below(4) == 0 ? below(20) : 0;
        for (int g = 0; g < garbage; ++g) {
            char byte = static_cast<char>(below(256));
            if (byte == '\x01')
                byte = '\x02';
            stream += byte;
        }
        QByteArray payload(below(4) == 0 ? below(kMaxPayloadSize + 1) : below(12), '\0');
        for (char& byte : payload)
            byte = static_cast<char>(below(256));
        const QByteArray frame = BuildFrame(static_cast<std::uint8_t>(below(256)), payload);
        sent.push_back(frame);
        stream += frame;
    }

    for (int round = 0; round < 5; ++round) {
        Recorder rx;
        qsizetype at = 0;
        while (at < stream.size()) {
            const qsizetype chunk = std::min<qsizetype>(1 + below(round == 0 ? 3 : 1024),
                                                        stream.size() - at);
            rx.assembler.Feed(stream.constData() + at, chunk);
            at += chunk;
        }
        ASSERT_EQ(rx.frames.size(), sent.size()) << "round " << round;
        for (std::size_t i = 0; i < sent.size(); ++i)
            ASSERT_EQ(rx.frames[i], sent[i]) << "frame " << i << " round " << round;
        EXPECT_EQ(rx.assembler.State(), 0);
    }
}
