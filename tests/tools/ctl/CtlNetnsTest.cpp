// `qireq-ctl discover` on a LAN of its own: the test (and the qireq-ctl it
// starts) in one network namespace, simulated units in another behind a
// veth pair, each findable by one method only: the port-8000 probe, the
// module search on port 48899, or SSDP. Skipped where namespaces cannot be
// made.
#include "CtlHarness.h"

#include "support/PrivateNetwork.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace qireq::ctl::test;
using qireq::sim::test::SimProcess;
using qireq::test::UnitNamespace;

TEST(CtlNetns, DiscoverFindsUnitsByAllThreeMethods)
{
    UnitNamespace units;
    if (!units.Make())
        GTEST_SKIP() << qPrintable(units.Error());
    const QStringList more = units.AddUnitAddresses(2);
    ASSERT_EQ(more.size(), 2) << qPrintable(units.Error());
    const QString probed = UnitNamespace::UnitAddress();
    std::vector<std::unique_ptr<SimProcess>> sims;
    auto start = [&](const QStringList& arguments) {
        sims.push_back(std::make_unique<SimProcess>());
        EXPECT_TRUE(sims.back()->Start(units.Exec(qireq::sim::test::SimProgramPath(), arguments), "ip"))
            << qPrintable(sims.back()->Error());
    };
    // Each answers one method only: the other LAN port is one nobody uses.
    // As --units, a unit answers from its own address (a single unit would
    // answer from the namespace's first one).
    start({"--units", probed, "--lan", "--module-port", "9998", "--name", "Probed"});
    start({"--units", more[0], "--lan", "--probe-port", "9997", "--name", "Searched"});
    start({"--tcp", more[1] + ":5000", "--ssdp", more[1], "--ssdp-interval", "500", "--name", "Announced"});

    const CtlRun run = RunCtl({"discover", "--seconds", "3", "-o", "json"});
    EXPECT_EQ(run.Exit, 0) << qPrintable(run.Out + run.Err);
    std::map<QString, QJsonObject> byAddress;
    for (const auto& u : run.Json().value("units").toArray())
        byAddress[u.toObject().value("address").toString()] = u.toObject();
    if (byAddress.size() != 3u) {
        for (auto& sim : sims)
            for (const QString& line : sim->Lines())
                ADD_FAILURE() << qPrintable(line);
    }
    ASSERT_EQ(byAddress.size(), 3u) << qPrintable(run.Out + run.Err);
    const auto check = [&](const QString& address, const QString& kind, const QString& name) {
        const QJsonObject u = byAddress[address];
        EXPECT_EQ(u.value("kind").toString(), kind) << qPrintable(address);
        EXPECT_EQ(u.value("name").toString(), name);
        EXPECT_EQ(u.value("capability").toInt(), 17);
        EXPECT_EQ(u.value("mac").toString().remove(':'), units.UnitMac());
        EXPECT_TRUE(u.value("ok").toBool());
    };
    check(probed, "probe", "Probed-1");
    check(more[0], "module", "Searched-1");
    check(more[1], "ssdp", "Announced");

    // --unit by name goes through the same discovery.
    const CtlRun info = RunCtl({"--unit", "searched-1", "--seconds", "3", "info"});
    EXPECT_EQ(info.Exit, 0) << qPrintable(info.Out + info.Err);
    EXPECT_TRUE(info.Out.startsWith(more[0] + ":5000 (Searched-1): ok")) << qPrintable(info.Out);
}
