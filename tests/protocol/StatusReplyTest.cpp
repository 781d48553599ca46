#include "protocol/StatusReply.h"

#include <gtest/gtest.h>

using namespace qireq;

namespace {

// A status reply with the raw reading at 9..10 and the four flags at 17..20.
QByteArray StatusFrame(int raw, const char* flagsHex)
{
    QByteArray frame = QByteArray::fromHex("01 20 03 40 18 23 00 00 00");
    frame += static_cast<char>(raw & 0xFF);
    frame += static_cast<char>(raw >> 8);
    frame += QByteArray(6, '\x33');
    frame += QByteArray::fromHex(flagsHex);
    frame += QByteArray::fromHex("01 05 60");
    return frame;
}

}  // namespace

TEST(StatusReply, TemperatureTableEdges)
{
    const struct {
        int raw;
        int degrees;
    } rows[] = {{0, 80},    {244, 80},  {245, 70}, {367, 70}, {368, 60}, {408, 60},
                {409, 50},  {510, 50},  {511, 40}, {612, 40}, {613, 30}, {641, 30},
                {642, 20},  {776, 20},  {777, 10}, {858, 10}, {859, 0},  {919, 0},
                {920, -10}, {65535, -10}};
    for (const auto& row : rows)
        EXPECT_EQ(ShownTemperature(row.raw), row.degrees) << row.raw;
}

TEST(StatusReply, ReadsTheRawLittleEndianAndTheLamps)
{
    const auto reading = ReadStatusReply(StatusFrame(919, "00 01 00 01"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->RawTemperature, 919);
    EXPECT_EQ(reading->Degrees, 0);
    EXPECT_EQ(reading->TempText, QString::fromUtf8("Temperature:0\xE2\x84\x83"));
    EXPECT_FALSE(reading->ProtectAlarm);
    EXPECT_TRUE(reading->TempAlarm);
    EXPECT_FALSE(reading->VoltageAlarm);
    EXPECT_TRUE(reading->Standby);

    const auto hot = ReadStatusReply(StatusFrame(244, "FF 00 80 00"));
    ASSERT_TRUE(hot);
    EXPECT_EQ(hot->Degrees, 80);
    EXPECT_TRUE(hot->ProtectAlarm);
    EXPECT_FALSE(hot->TempAlarm);
    EXPECT_TRUE(hot->VoltageAlarm);
    EXPECT_FALSE(hot->Standby);

    EXPECT_EQ(ReadStatusReply(StatusFrame(920, "00 00 00 00"))->TempText,
              QString::fromUtf8("Temperature:-10\xE2\x84\x83"));
    EXPECT_EQ(ReadStatusReply(StatusFrame(245, "00 00 00 00"))->Degrees, 70);
}

TEST(StatusReply, ReplyEndingBeforeTheStandbyFlagChangesNothing)
{
    const QByteArray full = StatusFrame(300, "00 00 00 00");
    EXPECT_TRUE(ReadStatusReply(full.left(21)));
    EXPECT_FALSE(ReadStatusReply(full.left(20)));
    EXPECT_FALSE(ReadStatusReply(QByteArray::fromHex("01 20 03 40 05 23")));
}
