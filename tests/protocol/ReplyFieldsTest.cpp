#include "protocol/ReplyFields.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qireq;

namespace {

using qireq::test::Hex;

// An identity reply: header, length, 0x1F, one byte, the 16-byte name field,
// the capability byte and the trailer.
QByteArray IdentityFrame(const QByteArray& field, int capability)
{
    QByteArray frame = Hex("01 20 03 40 1B 1F 00");
    frame += field.leftJustified(16, ' ', true);
    frame += static_cast<char>(capability);
    frame += Hex("01 05 60");
    return frame;
}

}  // namespace

TEST(ReplyFields, CommandCodeNeedsSixBytes)
{
    EXPECT_EQ(ReplyCode(Hex("01 20 03 40 09 0B 01 05 60")), 0x0B);
    EXPECT_EQ(ReplyCode(Hex("01 20 03 40 09 F3")), 0xF3);
    EXPECT_FALSE(ReplyCode(Hex("01 20 03 40 09")));
}

TEST(ReplyFields, IdentityNameIsCutAtZeroAndTrimmed)
{
    IdentityReply reply = ReadIdentity(IdentityFrame(QByteArray("  QIR 2400\0junk", 15), 17));
    EXPECT_EQ(reply.Name, QStringLiteral("QIR 2400"));
    EXPECT_EQ(reply.Capability, 17);
    EXPECT_TRUE(reply.SupportsStatus());

    // Control characters and blanks at both ends go, inner blanks stay.
    reply = ReadIdentity(IdentityFrame("\t\r\nSUB  12\x7f\x01", 16));
    EXPECT_EQ(reply.Name, QStringLiteral("SUB  12"));
    EXPECT_FALSE(reply.SupportsStatus());

    // A full field without any 0x00 is taken whole (16 characters).
    reply = ReadIdentity(IdentityFrame("ABCDEFGHIJKLMNOP", 0xFF));
    EXPECT_EQ(reply.Name, QStringLiteral("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(reply.Capability, 255);

    // The capability byte is never taken as part of the name.
    reply = ReadIdentity(IdentityFrame(QByteArray(16, ' '), 'Z'));
    EXPECT_TRUE(reply.Name.isEmpty());
}

TEST(ReplyFields, ShortIdentityGivesWhatItHoldsAndNoCapability)
{
    IdentityReply reply = ReadIdentity(Hex("01 20 03 40 0C 1F 00 41 4D 50"));
    EXPECT_EQ(reply.Name, QStringLiteral("AMP"));
    EXPECT_FALSE(reply.Capability);
    EXPECT_FALSE(reply.SupportsStatus());

    reply = ReadIdentity(Hex("01 20 03 40 03 1F"));
    EXPECT_TRUE(reply.Name.isEmpty());
    EXPECT_FALSE(reply.Capability);

    // Ends right after the name field: name whole, capability absent.
    const QByteArray full = IdentityFrame("SPEAKER", 20);
    reply = ReadIdentity(full.left(23));
    EXPECT_EQ(reply.Name, QStringLiteral("SPEAKER"));
    EXPECT_FALSE(reply.Capability);
}

TEST(ReplyFields, NameBytesAboveAsciiAreSingleByteCharacters)
{
    EXPECT_EQ(NameFieldText(QByteArray("Caf\xE9")), QString::fromUtf8("Caf\xC3\xA9"));
}

TEST(ReplyFields, BandEchoTakesBandOneToFiveAndItsRecord)
{
    const auto echo = ReadBandEcho(Hex("01 20 03 40 11 11 0A 03 05 01 32 1E 28 01 01 05 60"));
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->BandNumber, 3);
    EXPECT_EQ(echo->Record, (BandRecord{0x05, 0x01, 0x32, 0x1E, 0x28, 0x01}));

    EXPECT_TRUE(ReadBandEcho(Hex("01 20 03 40 11 11 0A 01 05 01 32 1E 28 01 01 05 60")));
    EXPECT_TRUE(ReadBandEcho(Hex("01 20 03 40 11 11 0A 05 05 01 32 1E 28 01 01 05 60")));
    EXPECT_FALSE(ReadBandEcho(Hex("01 20 03 40 11 11 0A 00 05 01 32 1E 28 01 01 05 60")));
    EXPECT_FALSE(ReadBandEcho(Hex("01 20 03 40 11 11 0A 06 05 01 32 1E 28 01 01 05 60")));
    EXPECT_FALSE(ReadBandEcho(Hex("01 20 03 40 11 11 0A FF 05 01 32 1E 28 01 01 05 60")));
}

TEST(ReplyFields, BandEchoEndingBeforeItsOffFlagIsRefused)
{
    // Through byte 13 (the off flag) is enough; one byte less is not.
    EXPECT_TRUE(ReadBandEcho(Hex("01 20 03 40 0E 11 0A 02 05 01 32 1E 28 01")));
    EXPECT_FALSE(ReadBandEcho(Hex("01 20 03 40 0D 11 0A 02 05 01 32 1E 28")));
    EXPECT_FALSE(ReadBandEcho(Hex("01 20 03 40 05 11")));
}

TEST(ReplyFields, TrimAndBypassEchoes)
{
    EXPECT_EQ(ReadTrimEcho(Hex("01 20 03 40 0B 0E 6B 48 01 05 60")), 0x6B);
    EXPECT_FALSE(ReadTrimEcho(Hex("01 20 03 40 06 0E")));

    EXPECT_EQ(ReadBypassEcho(Hex("01 20 03 40 0B 13 00 01 01 05 60")), true);
    EXPECT_EQ(ReadBypassEcho(Hex("01 20 03 40 0B 13 00 80 01 05 60")), true);
    EXPECT_EQ(ReadBypassEcho(Hex("01 20 03 40 0B 13 00 00 01 05 60")), false);
    EXPECT_FALSE(ReadBypassEcho(Hex("01 20 03 40 07 13 00")));
}

TEST(ReplyFields, MacReplyNeedsAllSixBytes)
{
    EXPECT_EQ(ReadMacReply(Hex("01 20 03 40 10 21 00 00 1A 2B 3C 4D 5E 01 05 60")),
              (MacBytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_FALSE(ReadMacReply(Hex("01 20 03 40 0C 21 00 00 1A 2B 3C 4D")));
}

TEST(ReplyFields, EqBlockReplyNeedsSeventyFourBytes)
{
    QByteArray frame(reinterpret_cast<const char*>(ResetBlock.data()), kEqBlockSize);
    EXPECT_EQ(ReadEqBlockReply(frame), ResetBlock);
    EXPECT_FALSE(ReadEqBlockReply(frame.left(73)));
    EXPECT_FALSE(ReadEqBlockReply(Hex("01 20 03 40 09 14 01 05 60")));
}

TEST(ReplyFields, InfoReplyCombinesBothMinuteWords)
{
    auto info = ReadInfoReply(Hex("01 20 03 40 10 24 00 07 00 A1 05 00 00 01 05 60"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->BurnCount, 7);
    EXPECT_EQ(info->TotalMinutes, 1441);

    // Both words little-endian and unsigned: 0xFFFF + 10000 * 0xFFFF.
    info = ReadInfoReply(Hex("01 20 03 40 10 24 00 FF 00 FF FF FF FF 01 05 60"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->BurnCount, 255);
    EXPECT_EQ(info->TotalMinutes, 65535 + 10000 * 65535);

    info = ReadInfoReply(Hex("01 20 03 40 10 24 00 01 00 10 00 02 00 01 05 60"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->TotalMinutes, 16 + 20000);

    EXPECT_FALSE(ReadInfoReply(Hex("01 20 03 40 0C 24 00 07 00 A1 05 00")));
}
