#include "protocol/Frames.h"

#include "protocol/ConnectGreeting.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qireq;

namespace {

using qireq::test::Hex;

}  // namespace

TEST(Frames, NinebyteRequestsAreHeaderLengthCodeTrailer)
{
    EXPECT_EQ(PingRequest(), Hex("01 20 03 40 09 0B 01 05 60"));
    EXPECT_EQ(IdentifyRequest(), Hex("01 20 03 40 09 1F 01 05 60"));
    EXPECT_EQ(ReadEqBlockRequest(), Hex("01 20 03 40 09 15 01 05 60"));
    EXPECT_EQ(ReadStatusRequest(), Hex("01 20 03 40 09 23 01 05 60"));
    EXPECT_EQ(ReadInfoRequest(), Hex("01 20 03 40 09 24 01 05 60"));
    EXPECT_EQ(ReadMacRequest(), Hex("01 20 03 40 09 21 01 05 60"));
}

TEST(Frames, ReadMacBlockIsTheRequestAndOneHundredFortyOneZeros)
{
    const QByteArray block = ReadMacBlock();
    ASSERT_EQ(block.size(), 150);
    EXPECT_EQ(block.left(9), Hex("01 20 03 40 09 21 01 05 60"));
    EXPECT_EQ(block.mid(9), QByteArray(141, '\0'));
}

TEST(Frames, BuildFrameCountsTheWholeFrameAndRefusesWhatTheLengthByteCannotHold)
{
    EXPECT_EQ(BuildFrame(0x42, Hex("AA BB")), Hex("01 20 03 40 0B 42 AA BB 01 05 60"));

    const QByteArray largest = BuildFrame(0x42, QByteArray(246, '\x7F'));
    ASSERT_EQ(largest.size(), 255);
    EXPECT_EQ(static_cast<std::uint8_t>(largest[4]), 255);
    EXPECT_EQ(largest.right(3), Hex("01 05 60"));

    EXPECT_TRUE(BuildFrame(0x42, QByteArray(247, '\x7F')).isEmpty());
}

TEST(Frames, SetTrimCarriesTheTrimCodeAndItsFixedMarker)
{
    SetTrimFrame trim;
    EXPECT_EQ(trim.Fill(-7), Hex("01 20 03 40 0B 0E 6B 48 01 05 60"));
    EXPECT_EQ(trim.Fill(0), Hex("01 20 03 40 0B 0E 79 48 01 05 60"));
    EXPECT_EQ(trim.Fill(-18), Hex("01 20 03 40 0B 0E 55 48 01 05 60"));
    // Out of range is limited, never an undefined code.
    EXPECT_EQ(trim.Fill(-40), Hex("01 20 03 40 0B 0E 55 48 01 05 60"));
    EXPECT_EQ(trim.Fill(5), Hex("01 20 03 40 0B 0E 79 48 01 05 60"));
}

TEST(Frames, SetBandTemplateKeepsItsBandAndTakesEveryField)
{
    SetBandFrame band3(3);
    EqBand band;
    band.BandFreq = 150;
    band.BandType = kLowShelf;
    band.BandGain = 30;  // -3 dB
    band.BandQ = 40;
    band.BandOff = 1;
    band.BandOffShown = 0;  // the off byte comes from BandOff alone
    EXPECT_EQ(band3.Fill(band), Hex("01 20 03 40 11 11 0A 03 05 01 32 1E 28 01 01 05 60"));

    band.BandType = kHighShelf;
    band.BandFreq = 300;
    band.BandOff = 0;
    EXPECT_EQ(band3.Fill(band), Hex("01 20 03 40 11 11 0A 03 04 03 00 1E 28 00 01 05 60"));

    band.BandType = kPeak;
    band.BandFreq = 7;
    EXPECT_EQ(SetBandFrame(5).Fill(band), Hex("01 20 03 40 11 11 0A 05 01 00 07 1E 28 00 01 05 60"));
    // A band number outside 1..5 is limited, never sent as it stands.
    EXPECT_EQ(static_cast<std::uint8_t>(SetBandFrame(9).Bytes()[7]), 5);
}

TEST(Frames, SetBypassWritesOneOrZero)
{
    SetBypassFrame bypass;
    EXPECT_EQ(bypass.Fill(true), Hex("01 20 03 40 0B 13 00 01 01 05 60"));
    EXPECT_EQ(bypass.Fill(false), Hex("01 20 03 40 0B 13 00 00 01 05 60"));
}

TEST(Frames, WriteEqBlockSendsTheSeventyFourBytesUnchanged)
{
    const QByteArray frame = WriteEqBlockFrame(ResetBlock);
    ASSERT_EQ(frame.size(), 74);
    EXPECT_EQ(frame, QByteArray(reinterpret_cast<const char*>(ResetBlock.data()), 74));
}

TEST(Frames, RenameFillsTheNameFieldAndKeepsItsSpacesAndEnd)
{
    const QByteArray five = RenameFrame("AMP-1");
    EXPECT_EQ(five, Hex("01 20 03 40 1A 1E 01"
                        "41 4D 50 2D 31 20 20 20 20 20 20 20 20 20 20 00"
                        "01 05 60"));
    EXPECT_EQ(five.mid(12, 10), QByteArray(10, ' '));
    EXPECT_EQ(five[22], '\0');

    const QByteArray empty = RenameFrame("");
    EXPECT_EQ(empty.mid(7, 16), QByteArray(15, ' ') + QByteArray(1, '\0'));

    // At most 15 name bytes: byte 22 always ends the field.
    const QByteArray longName = RenameFrame("ABCDEFGHIJKLMNOPQRST");
    ASSERT_EQ(longName.size(), 26);
    EXPECT_EQ(longName.mid(7, 15), QByteArray("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(longName[22], '\0');
    EXPECT_EQ(longName.right(3), Hex("01 05 60"));
}

TEST(Frames, SetMacCarriesTheSixBytesInOrder)
{
    EXPECT_EQ(SetMacFrame({0x00, 0xA1, 0xB0, 0x12, 0x34, 0x56}),
              Hex("01 20 03 40 10 20 00 00 A1 B0 12 34 56 01 05 60"));
}

TEST(ConnectGreeting, OverTcpTheMacIsAskedForBeforeTheIdentity)
{
    EXPECT_EQ(ConnectGreeting(RxOrigin::Kind::Socket), (std::vector<Command>{Command::ReadMac, Command::Identify}));
    EXPECT_EQ(ConnectGreeting(RxOrigin::Kind::SerialPort), std::vector<Command>{Command::Identify});
    EXPECT_EQ(GreetingBytes(Command::ReadMac), ReadMacBlock());
    EXPECT_EQ(GreetingBytes(Command::Identify), IdentifyRequest());
}
