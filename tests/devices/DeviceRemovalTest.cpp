// What removing a unit does beyond the tiles: the prober's hold is lifted
// for a serial unit only, and the connection is told which kind went.
#include "DeviceColumnFixture.h"

namespace qireq::test {
namespace {

TEST_F(DeviceColumnTest, RemovingASerialUnitLetsTheProberLookAgainALanUnitDoesNot)
{
    FindThree();
    QVector<bool> serialFlags;
    QObject::connect(column.get(), &DeviceTileColumn::UnitRemoved,
                     [&](int, bool serial) { serialFlags.append(serial); });
    list.Flags().ProbeHold.store(true);

    column->RemoveUnit(1);
    EXPECT_TRUE(list.Flags().ProbeHold.load());
    column->RemoveUnit(0);
    EXPECT_FALSE(list.Flags().ProbeHold.load());
    EXPECT_EQ(serialFlags, (QVector<bool>{false, true}));
}

}  // namespace
}  // namespace qireq::test
