// A large site: hundreds of simulated units in a namespace beside the
// test's own answer every probe within milliseconds of each other. Every
// one of them is listed, not only as many as a socket's default buffer
// holds.
#include "discovery/LanDiscovery.h"
#include "state/DeviceList.h"
#include "support/PrivateNetwork.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

namespace qireq {
namespace {

TEST(LanBurstTest, EveryUnitOfABurstOfHundredsIsListed)
{
    if (!test::PrivateNetworkReady())
        GTEST_SKIP() << qPrintable(test::PrivateNetworkProblem());
    test::UnitNamespace units;
    if (!units.Make())
        GTEST_SKIP() << qPrintable(units.Error());
    constexpr int kUnits = 400;
    const QStringList addresses = units.AddUnitAddresses(kUnits);
    ASSERT_EQ(addresses.size(), kUnits) << qPrintable(units.Error());
    sim::test::SimProcess sim;
    ASSERT_TRUE(sim.Start(units.Exec(sim::test::SimProgramPath(),
                                     {QStringLiteral("--units"), addresses.join(QLatin1Char(',')),
                                      QStringLiteral("--lan")}),
                          QStringLiteral("ip")))
        << qPrintable(sim.Error());

    DeviceList devices;
    devices.SetUnitAddedHandler([&devices](const DeviceEntry&) { devices.Flags().AddPending.store(false); });
    {
        LanDiscovery lan(devices);  // the real ports, broadcast on the namespace's link
        lan.Start();
        EXPECT_TRUE(test::WaitFor([&] { return devices.Count() == kUnits; }, 15000))
            << devices.Count() << " of " << kUnits << " listed";
    }
    devices.SetUnitAddedHandler(nullptr);
}

}  // namespace
}  // namespace qireq
