// The device list on its own: adding, the AddPending gate, look-up without
// regard to case, indexes that are not there, the unit waiting for its tile
// and the silence counters. Removal, the presence watch and the USB walk
// are tested through the device column.
#include "state/DeviceList.h"

#include <gtest/gtest.h>


#include <vector>

namespace qireq {
namespace {

// What the tile timer does once a tile exists.
void TileBuilt(DeviceList& list)
{
    list.Flags().AddPending.store(false);
}

TEST(DeviceListAdd, UnitsFoundInTurnGetIndexNameAndKey)
{
    DeviceList list;
    std::vector<DeviceEntry> reported;
    list.SetUnitAddedHandler([&](const DeviceEntry& e) { reported.push_back(e); });

    EXPECT_TRUE(list.AddFoundUnit("COM3", kUnknownMac, kSerialUnit));
    TileBuilt(list);
    EXPECT_TRUE(list.AddFoundUnit("192.168.1.20", "001A2B3C4D5E", kProbeUnit));
    TileBuilt(list);
    EXPECT_TRUE(list.AddFoundUnit("192.168.1.21", "001A2B3C4D5F", kSsdpUnit));

    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.DeviceKeys(), (QStringList{"COM3", "192.168.1.20", "192.168.1.21"}));
    const QVector<DeviceEntry> devices = list.Devices();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(devices[i].Index, i);
        EXPECT_EQ(devices[i].Name, QString("Device%1").arg(i));
    }
    EXPECT_EQ(devices[0].Mac, "FFFFFFFFFFFF");
    EXPECT_TRUE(devices[0].IsSerial());
    EXPECT_EQ(devices[1].Mac, "001A2B3C4D5E");
    EXPECT_FALSE(devices[2].IsSerial());
    EXPECT_EQ(list.SilenceCounters(), (QVector<int>{0, 0, 0}));
    EXPECT_EQ(list.NewestIndex(), 2);

    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[2].Address, "192.168.1.21");
    EXPECT_EQ(reported[2].Index, 2);
}

TEST(DeviceListAdd, AddPendingDropsFurtherUnitsUntilLowered)
{
    DeviceList list;
    int reports = 0;
    list.SetUnitAddedHandler([&](const DeviceEntry&) { ++reports; });

    EXPECT_TRUE(list.AddFoundUnit("COM3", kUnknownMac, kSerialUnit));
    EXPECT_TRUE(list.Flags().AddPending.load());
    EXPECT_FALSE(list.AddFoundUnit("COM4", kUnknownMac, kSerialUnit));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(reports, 1);

    TileBuilt(list);
    EXPECT_TRUE(list.AddFoundUnit("COM4", kUnknownMac, kSerialUnit));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(reports, 2);
}

TEST(DeviceListAdd, KeysIgnoreCaseAndAreNeverListedTwice)
{
    DeviceList list;
    ASSERT_TRUE(list.AddFoundUnit("COM3", kUnknownMac, kSerialUnit));
    TileBuilt(list);

    EXPECT_TRUE(list.Contains("com3"));
    EXPECT_EQ(list.IndexOf("Com3"), 0);
    EXPECT_EQ(list.IndexOf("COM4"), -1);

    // Two discovery threads that both heard the unit before it was listed.
    EXPECT_FALSE(list.AddFoundUnit("com3", kUnknownMac, kSerialUnit));
    EXPECT_FALSE(list.Flags().AddPending.load());
    EXPECT_FALSE(list.AddFoundUnit("", kUnknownMac, kSerialUnit));
    EXPECT_EQ(list.Count(), 1);

    EXPECT_FALSE(list.AddUnitByHand("COM3").has_value());
}

TEST(DeviceListAdd, UnitTypedInByHandIsLanAndLeavesAddPendingAlone)
{
    DeviceList list;
    const auto entry = list.AddUnitByHand("10.0.0.7");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->Index, 0);
    EXPECT_EQ(entry->Name, "Device0");
    EXPECT_EQ(entry->Mac, "FFFFFFFFFFFF");
    EXPECT_FALSE(entry->IsSerial());
    EXPECT_FALSE(list.Flags().AddPending.load());
    EXPECT_EQ(list.SilenceCounters(), QVector<int>{0});
}

class DeviceListOfThree : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* key : {"COM3", "192.168.1.20", "192.168.1.21"}) {
            ASSERT_TRUE(list.AddFoundUnit(key, kUnknownMac, key[0] == 'C' ? kSerialUnit : kModuleUnit));
            TileBuilt(list);
        }
    }
    DeviceList list;
};

TEST_F(DeviceListOfThree, IndexesThatAreNotThereChangeNothing)
{
    EXPECT_FALSE(list.Remove(3).has_value());
    EXPECT_FALSE(list.Remove(-1).has_value());
    EXPECT_FALSE(list.EntryAt(3).has_value());
    EXPECT_FALSE(list.SetName(3, "Hall"));
    EXPECT_FALSE(list.SetMac(-1, "001A2B3C4D5E"));
    EXPECT_EQ(list.Count(), 3);

    EXPECT_TRUE(list.SetName(1, "Hall"));
    EXPECT_TRUE(list.SetMac(1, "001A2B3C4D5E"));
    EXPECT_EQ(list.EntryAt(1)->Name, "Hall");
    EXPECT_EQ(list.EntryAt(1)->Mac, "001A2B3C4D5E");
}

TEST_F(DeviceListOfThree, NewestIndexFollowsItsUnitThroughRemovals)
{
    ASSERT_TRUE(list.AddFoundUnit("COM9", kUnknownMac, kSerialUnit));
    EXPECT_EQ(list.NewestIndex(), 3);

    list.Remove(0);  // a unit before the one waiting for its tile
    EXPECT_EQ(list.NewestIndex(), 2);
    ASSERT_TRUE(list.NewestEntry().has_value());
    EXPECT_EQ(list.NewestEntry()->Address, "COM9");

    list.Remove(2);  // the waiting unit itself
    EXPECT_EQ(list.NewestIndex(), -1);
    EXPECT_FALSE(list.NewestEntry().has_value());
}

TEST_F(DeviceListOfThree, HearingAUnitResetsItsCounterByKey)
{
    for (int tick = 0; tick < 5; ++tick)
        list.TickSilenceCounters();
    EXPECT_TRUE(list.ResetSilenceCounter("192.168.1.21"));
    EXPECT_FALSE(list.ResetSilenceCounter("192.168.1.99"));
    EXPECT_EQ(list.SilenceCounters(), (QVector<int>{5, 5, 0}));
}

}  // namespace
}  // namespace qireq
