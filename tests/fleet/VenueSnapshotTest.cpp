// Venue snapshot files: what is written reads back the same; every kind of
// bad file is refused with its reason; units are matched by MAC (by
// address where it is unknown) and their differences named field by field.
#include "fleet/SnapshotDiff.h"
#include "fleet/VenueSnapshot.h"

#include "presets/PresetRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qireq;
using namespace qireq::fleet;

namespace {

SnapshotUnit LanUnit(std::uint8_t last, const QString& name)
{
    SnapshotUnit u;
    u.Mac = MacBytes{0x00, 0x1A, 0x2B, 0x3C, 0x4D, last};
    u.Name = name;
    u.Address = QStringLiteral("10.0.0.%1:5000").arg(last);
    u.Capability = 17;
    u.Block = ResetBlock;
    u.ReadAt = QDateTime::fromString(QStringLiteral("2026-12-09T04:00:00Z"), Qt::ISODate);
    return u;
}

VenueSnapshot TwoUnits()
{
    VenueSnapshot s;
    s.Saved = QDateTime::fromString(QStringLiteral("2026-12-09T04:00:01Z"), Qt::ISODate);
    s.Units.push_back(LanUnit(1, QStringLiteral("Stage L")));
    SnapshotUnit serial;
    serial.Serial = true;
    serial.Name = QStringLiteral("Sub");
    serial.Address = QStringLiteral("/dev/ttyUSB0");
    serial.Block = ResetBlock;
    serial.Block[kBlockTrimOffset] = 115;  // -3 dB
    s.Units.push_back(serial);
    return s;
}

// The JSON of TwoUnits with one change made to it.
QByteArray Edited(const std::function<void(QJsonObject&)>& edit)
{
    QJsonObject root = QJsonDocument::fromJson(SnapshotJson(TwoUnits())).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

void EditUnit(QJsonObject& root, int index, const QString& key, const QJsonValue& value)
{
    QJsonArray units = root.value(QStringLiteral("units")).toArray();
    QJsonObject unit = units.at(index).toObject();
    unit.insert(key, value);
    units.replace(index, unit);
    root.insert(QStringLiteral("units"), units);
}

}  // namespace

TEST(VenueSnapshot, WhatIsWrittenReadsBackTheSame)
{
    const QByteArray json = SnapshotJson(TwoUnits());
    const SnapshotLoad load = ParseSnapshot(json);
    ASSERT_TRUE(load.Snapshot) << load.Error.toStdString();
    ASSERT_EQ(load.Snapshot->Units.size(), 2u);
    const SnapshotUnit& lan = load.Snapshot->Units[0];
    EXPECT_EQ(lan.Key(), QStringLiteral("00:1A:2B:3C:4D:01"));
    EXPECT_EQ(lan.Capability, 17);
    EXPECT_EQ(lan.ReadAt, TwoUnits().Units[0].ReadAt);
    const SnapshotUnit& serial = load.Snapshot->Units[1];
    EXPECT_FALSE(serial.Mac);
    EXPECT_TRUE(serial.Serial);
    EXPECT_EQ(serial.Key(), QStringLiteral("/dev/ttyUSB0 (by address)"));
    EXPECT_EQ(serial.Block, TwoUnits().Units[1].Block);
    // The decoded values stand beside the block for people and scripts.
    const QJsonObject unit = QJsonDocument::fromJson(json).object()[QStringLiteral("units")].toArray()[1].toObject();
    EXPECT_EQ(unit[QStringLiteral("eq")].toObject()[QStringLiteral("trim_db")].toInt(), -3);
    EXPECT_EQ(unit[QStringLiteral("block")].toString().size(), 2 * kEqBlockSize);
}

TEST(VenueSnapshot, BadFilesAreRefusedWithTheReason)
{
    const auto refused = [](const QByteArray& json) {
        const SnapshotLoad load = ParseSnapshot(json);
        EXPECT_FALSE(load.Snapshot);
        return load.Error;
    };
    EXPECT_TRUE(refused("{\"format\": ").startsWith(QStringLiteral("not a venue snapshot: the JSON is broken")));
    EXPECT_TRUE(refused("[1, 2]").contains(QStringLiteral("not an object")));
    EXPECT_TRUE(refused(Edited([](QJsonObject& r) { r.insert(QStringLiteral("format"), QStringLiteral("x")); }))
                    .contains(QStringLiteral("\"format\" is not")));
    EXPECT_EQ(refused(Edited([](QJsonObject& r) { r.insert(QStringLiteral("version"), 2); })),
              QStringLiteral("snapshot version 2 is not one this program reads (it reads version 1)"));
    EXPECT_TRUE(refused(Edited([](QJsonObject& r) { r.remove(QStringLiteral("version")); }))
                    .contains(QStringLiteral("version missing")));

    const QString fullBlock = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(ResetBlock.data()), kEqBlockSize).toHex());
    EXPECT_EQ(refused(Edited([&](QJsonObject& r) { EditUnit(r, 1, QStringLiteral("block"), fullBlock.chopped(2)); })),
              QStringLiteral("unit 2 of the snapshot: the block is 73 bytes, not 74"));
    EXPECT_EQ(refused(Edited([&](QJsonObject& r) { EditUnit(r, 0, QStringLiteral("block"), fullBlock + "00"); })),
              QStringLiteral("unit 1 of the snapshot: the block is 75 bytes, not 74"));
    EXPECT_TRUE(refused(Edited([&](QJsonObject& r) {
                    EditUnit(r, 0, QStringLiteral("block"), QStringLiteral("zz") + fullBlock.mid(2));
                })).contains(QStringLiteral("not hexadecimal")));
    EXPECT_EQ(refused(Edited([&](QJsonObject& r) {
                  EditUnit(r, 0, QStringLiteral("block"), QStringLiteral("02") + fullBlock.mid(2));
              })),
              QStringLiteral("unit 1 of the snapshot: the block's signature is wrong (bytes 0 and 5 are 02 and 14, "
                             "not 01 and 14)"));
    EXPECT_TRUE(refused(Edited([](QJsonObject& r) { EditUnit(r, 0, QStringLiteral("mac"), QStringLiteral("00:1A")); }))
                    .contains(QStringLiteral("is not a MAC address")));
    EXPECT_TRUE(refused(Edited([](QJsonObject& r) { EditUnit(r, 1, QStringLiteral("link"), QStringLiteral("usb")); }))
                    .contains(QStringLiteral("not serial or tcp")));
}

TEST(VenueSnapshot, AUnitListedTwiceIsRefused)
{
    VenueSnapshot s = TwoUnits();
    SnapshotUnit again = s.Units[0];
    again.Address = QStringLiteral("10.0.0.99:5000");  // same MAC, another address
    s.Units.push_back(again);
    EXPECT_EQ(ParseSnapshot(SnapshotJson(s)).Error,
              QStringLiteral("unit 3 of the snapshot: 00:1A:2B:3C:4D:01 is listed twice"));

    s = TwoUnits();
    SnapshotUnit port = s.Units[1];
    port.Address = QStringLiteral("/DEV/TTYUSB0");  // ports compare without case, like the device list
    s.Units.push_back(port);
    EXPECT_TRUE(ParseSnapshot(SnapshotJson(s)).Error.contains(QStringLiteral("listed twice")));
}

TEST(SnapshotMatch, ByMacFirstByAddressOnlyWhereAMacIsUnknown)
{
    const VenueSnapshot s = TwoUnits();
    const MacBytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x01};
    // The unit moved to another address: its MAC still finds it.
    auto m = MatchSnapshotUnit(s, mac, QStringLiteral("10.0.0.77:5000"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Index, 0u);
    EXPECT_FALSE(m->ByAddress);
    // Another unit at the old address is not the snapshot's unit.
    const MacBytes other{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x09};
    EXPECT_FALSE(MatchSnapshotUnit(s, other, QStringLiteral("10.0.0.1:5000")));
    // A unit that tells no MAC is matched by address, and says so.
    m = MatchSnapshotUnit(s, std::nullopt, QStringLiteral("/dev/ttyusb0"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Index, 1u);
    EXPECT_TRUE(m->ByAddress);
    m = MatchSnapshotUnit(s, std::nullopt, QStringLiteral("10.0.0.1:5000"));
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->ByAddress);

    EXPECT_EQ(UnmatchedUnits(s, {true, false}), QStringList{QStringLiteral("/dev/ttyUSB0 (by address) \"Sub\"")});
}

TEST(SnapshotDifferences, NameEveryFieldThatDiffersAndNothingElse)
{
    const SnapshotUnit wanted = LanUnit(1, QStringLiteral("Stage L"));
    EXPECT_TRUE(SnapshotDifferences(wanted, wanted.Block, wanted.Name).isEmpty());

    EqBlock held = wanted.Block;
    held[kBlockTrimOffset] = 115;                 // -3 dB
    held[kBlockBypassOffset] = 1;                 // bypass on
    held[BandRecordOffset(1) + 3] += 2;           // band 2 gain one dB up
    const QStringList d = SnapshotDifferences(wanted, held, QStringLiteral("Stage R"));
    ASSERT_EQ(d.size(), 4) << d.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(d[0], QStringLiteral("trim: 0 dB in the snapshot, -3 dB on the unit"));
    EXPECT_EQ(d[1], QStringLiteral("bypass: off in the snapshot, on on the unit"));
    EXPECT_TRUE(d[2].startsWith(QStringLiteral("band 2 gain: ")));
    EXPECT_EQ(d[3], QStringLiteral("name: \"Stage L\" in the snapshot, \"Stage R\" on the unit"));

    // A byte that decodes alike still makes the unit differ.
    held = wanted.Block;
    held[2] ^= 0x40;
    const QStringList bytes = SnapshotDifferences(wanted, held, wanted.Name);
    ASSERT_EQ(bytes.size(), 1);
    EXPECT_TRUE(bytes[0].startsWith(QStringLiteral("block byte 2: ")));
}
