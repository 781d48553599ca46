// The simulated unit's answer to every request, byte for byte.
#include "SimUnit.h"

#include "support/QtPrinters.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace qireq;
using namespace qireq::sim;

namespace {

using qireq::test::Hex;

const char kResetBlockHex[] =
    "01200340 4A140079 0000011E 00633001"
    "01000018 00000100 32180000 01010018"
    "00000101 32180000 01020018 00000000"
    "00000000 00000000 1C475000 8C8BD500"
    "C8100000 47616901 0560";

SimUnitState SampleState()
{
    SimUnitState state;
    state.name = MakeNameField(QStringLiteral("Stage Left"));
    state.capability = 17;
    state.mac = {0x00, 0xA1, 0xB0, 0x12, 0x34, 0x56};
    state.temperatureRaw = 919;
    state.flags = {0x00, 0x01, 0x00, 0x01};
    state.burnCount = 3;
    state.minutes = 1441;
    return state;
}

}  // namespace

TEST(SimUnitReadRequests, PingIdentifyMacStatusInfo)
{
    SimUnit unit(SampleState());
    EXPECT_EQ(unit.Answer(Hex("01200340 090B 010560")), Hex("01200340 090B 010560"));
    // Name at 7..22 (spaces, closing zero), capability at 23.
    EXPECT_EQ(unit.Answer(Hex("01200340 091F 010560")),
              Hex("01200340 1B1F 01"
                  "53746167 65204C65 66742020 20202000"  // "Stage Left", spaces, 00
                  "11"
                  "010560"));
    EXPECT_EQ(unit.Answer(Hex("01200340 0921 010560")), Hex("01200340 1021 00 00A1B0123456 010560"));
    // Raw reading 919 = 0x0397 little-endian at 9..10, flags at 17..20.
    EXPECT_EQ(unit.Answer(Hex("01200340 0923 010560")),
              Hex("01200340 1823 000000 9703 000000000000 00010001 010560"));
    // 1441 minutes: L = 0x05A1, H = 0; burn count at 7.
    EXPECT_EQ(unit.Answer(Hex("01200340 0924 010560")), Hex("01200340 1024 00 03 00 A105 0000 010560"));
}

TEST(SimUnitReadRequests, EqBlockStartsAsTheResetBlock)
{
    SimUnit unit;
    EXPECT_EQ(unit.Answer(Hex("01200340 0915 010560")), Hex(kResetBlockHex));
}

TEST(SimUnitReadRequests, InfoSplitsMinutesIntoTenThousands)
{
    SimUnitState state;
    state.minutes = 123456;  // 3456 + 10000 * 12
    EXPECT_EQ(SimUnit(state).InfoReply(), Hex("01200340 1024 00 00 00 800D 0C00 010560"));
    state.minutes = kMaxMinutes;  // 9999 + 10000 * 65535
    EXPECT_EQ(SimUnit(state).InfoReply(), Hex("01200340 1024 00 00 00 0F27 FFFF 010560"));
}

TEST(SimUnitEdits, BandIsEchoedAndKeptInTheBlock)
{
    SimUnit unit;
    // Band 3, High Shelf (code 5), step 150, gain code 30, Q code 40, off.
    const QByteArray band = Hex("01200340 1111 0A 03 05 01 32 1E 28 01 010560");
    EXPECT_EQ(unit.Answer(band), band);
    QByteArray expected = Hex(kResetBlockHex);
    expected.replace(28, 6, Hex("050132 1E2801"));
    EXPECT_EQ(unit.Answer(Hex("01200340 0915 010560")), expected);
}

TEST(SimUnitEdits, BandOutsideOneToFiveChangesNothing)
{
    SimUnit unit;
    EXPECT_TRUE(unit.Answer(Hex("01200340 1111 0A 00 05 01 32 1E 28 01 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 1111 0A 06 05 01 32 1E 28 01 010560")).isEmpty());
    EXPECT_EQ(unit.EqBlockReply(), Hex(kResetBlockHex));
}

TEST(SimUnitEdits, TrimAndBypassAreEchoedAndKept)
{
    SimUnit unit;
    const QByteArray trim = Hex("01200340 0B0E 6B 48 010560");  // -7 dB
    EXPECT_EQ(unit.Answer(trim), trim);
    EXPECT_EQ(unit.State().block[7], 0x6B);

    const QByteArray bypassOn = Hex("01200340 0B13 00 01 010560");
    EXPECT_EQ(unit.Answer(bypassOn), bypassOn);
    EXPECT_EQ(unit.State().block[9], 1);
    EXPECT_EQ(unit.Answer(Hex("01200340 0B13 00 00 010560")), Hex("01200340 0B13 00 00 010560"));
    EXPECT_EQ(unit.State().block[9], 0);
}

TEST(SimUnitEdits, WrittenBlockIsAnsweredAndReadBack)
{
    SimUnit unit;
    QByteArray block = Hex(kResetBlockHex);
    block[7] = static_cast<char>(0x55);  // -18 dB
    block[9] = 1;
    block[60] = static_cast<char>(0xAB);  // bytes the host does not read travel too
    EXPECT_EQ(unit.Answer(block), block);
    EXPECT_EQ(unit.Answer(Hex("01200340 0915 010560")), block);
}

TEST(SimUnitEdits, AckOnlyAcknowledgesEveryWriteButAReadBackShowsTheOldValues)
{
    SimUnit unit;
    unit.SetAckOnly(true);
    const QByteArray band = Hex("01200340 1111 0A 03 05 01 32 1E 28 01 010560");
    const QByteArray trim = Hex("01200340 0B0E 6B 48 010560");
    const QByteArray bypass = Hex("01200340 0B13 00 01 010560");
    EXPECT_EQ(unit.Answer(band), band);
    EXPECT_EQ(unit.Answer(trim), trim);
    EXPECT_EQ(unit.Answer(bypass), bypass);
    QByteArray block = Hex(kResetBlockHex);
    block[7] = static_cast<char>(0x55);
    block[9] = 1;
    EXPECT_EQ(unit.Answer(block), block) << "answered as by a unit that stored it";

    EXPECT_EQ(unit.Answer(Hex("01200340 0915 010560")), Hex(kResetBlockHex));
    // What a unit refuses is refused all the same.
    EXPECT_TRUE(unit.Answer(Hex("01200340 1111 0A 06 05 01 32 1E 28 01 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0A14 00 010560")).isEmpty());
}

TEST(SimUnitEdits, RenameAndSetMacAreStoredWithoutReply)
{
    SimUnit unit(SampleState());
    // "Bar" and twelve spaces and the closing zero, as the host builds it.
    EXPECT_TRUE(unit.Answer(Hex("01200340 1A1E 01 426172 202020202020202020202020 00 010560")).isEmpty());
    EXPECT_EQ(unit.IdentityReply().mid(7, 16), Hex("426172 202020202020202020202020 00"));

    EXPECT_TRUE(unit.Answer(Hex("01200340 1020 00 00A1B0ABCDEF 010560")).isEmpty());
    EXPECT_EQ(unit.MacReply(), Hex("01200340 1021 00 00A1B0ABCDEF 010560"));
}

TEST(SimUnitMalformed, FramesTooShortForTheirFieldsAreIgnored)
{
    SimUnit unit(SampleState());
    const SimUnitState before = unit.State();
    // What an assembler hands on for a short length byte: code, no fields.
    EXPECT_TRUE(unit.Answer(Hex("01200340 0911 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 090E 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0913 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0A14 00 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0C1E 01 41 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0C20 00 00A1 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 05")).isEmpty());
    EXPECT_EQ(unit.EqBlockReply(), Hex(kResetBlockHex));
    EXPECT_EQ(unit.State().name, before.name);
    EXPECT_EQ(unit.State().mac, before.mac);
}

TEST(SimUnitMalformed, UnknownCodesDrawNoReply)
{
    SimUnit unit;
    EXPECT_TRUE(unit.Answer(Hex("01200340 0900 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 0922 010560")).isEmpty());
    EXPECT_TRUE(unit.Answer(Hex("01200340 09FF 010560")).isEmpty());
}

// A block written with a damaged trailer was once stored whole, so every
// later read was answered with that damaged frame; echoes repeated the
// request's bytes as they came. The unit keeps the fields and answers with
// frames of its own.
TEST(SimUnitMalformed, DamagedRequestsStillDrawWellFormedReplies)
{
    SimUnit unit;
    QByteArray written = Hex(kResetBlockHex);
    written[7] = static_cast<char>(0x55);
    QByteArray expected = written;
    written[72] = '\0';
    EXPECT_EQ(unit.Answer(written), expected);
    EXPECT_EQ(unit.Answer(Hex("01200340 0915 010560")), expected);

    // Echoes: the request's own size and fields, trailer restored.
    EXPECT_EQ(unit.Answer(Hex("01200340 0B0E 6B 48 000000")), Hex("01200340 0B0E 6B 48 010560"));
    EXPECT_EQ(unit.Answer(Hex("01200340 0D13 00 01 AABB 010560")),
              Hex("01200340 0B13 00 01 010560"));
    EXPECT_EQ(unit.Answer(Hex("01200340 1111 0A 03 05 01 32 1E 28 01 FFFFFF")),
              Hex("01200340 1111 0A 03 05 01 32 1E 28 01 010560"));
    EXPECT_EQ(unit.State().block[kBlockBypassOffset], 1);
}

TEST(SimUnitFields, NameField)
{
    EXPECT_EQ(MakeNameField(QStringLiteral("ABCDE")),
              (NameField{0x41, 0x42, 0x43, 0x44, 0x45, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00}));
    // Sixteen characters fill the field: no closing zero.
    const NameField full = MakeNameField(QStringLiteral("0123456789ABCDEF"));
    EXPECT_EQ(full[15], 'F');
    EXPECT_EQ(MakeNameField(QString())[0], 0x20);
    EXPECT_EQ(MakeNameField(QString())[15], 0x00);
}
