// The simulator's command line: defaults, each value's checks, --help.
#include "SimOptions.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace qireq::sim;

namespace {

SimCommandLine Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("qireq-sim"));
    return ParseSimCommandLine(arguments);
}

}  // namespace

TEST(SimOptions, DefaultsMakeATcpUnitOn127002Port5000)
{
    const SimCommandLine line = Parse({});
    ASSERT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    const SimOptions& o = line.options;
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.tcpAddress, QHostAddress(QStringLiteral("127.0.0.2")));
    EXPECT_EQ(o.tcpPort, 5000);
    EXPECT_FALSE(o.pty || o.lan || o.ssdp);
    EXPECT_EQ(o.unit.name, MakeNameField(QStringLiteral("QIR-SIM")));
    EXPECT_EQ(o.unit.capability, 17);
    EXPECT_EQ(qireq::MacToText(o.unit.mac), QStringLiteral("00A1B0000001"));
    EXPECT_FALSE(o.faults.silent || o.faults.garbage);
    EXPECT_EQ(o.faults.answerLimit, -1);
    EXPECT_EQ(o.faults.dropAfter, -1);
}

TEST(SimOptions, TransportsCombine)
{
    // A serial unit only: no TCP unless asked for.
    EXPECT_FALSE(Parse({QStringLiteral("--pty")}).options.tcp);
    EXPECT_FALSE(Parse({QStringLiteral("--tty"), QStringLiteral("/dev/ttyUSB0")}).options.tcp);
    // LAN answers and SSDP keep the default TCP side.
    EXPECT_TRUE(Parse({QStringLiteral("--lan")}).options.tcp);

    const SimCommandLine line = Parse({QStringLiteral("--pty"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                                       QStringLiteral("--lan"), QStringLiteral("--lan-bind"),
                                       QStringLiteral("127.0.0.3"), QStringLiteral("--probe-port=18000"),
                                       QStringLiteral("--ssdp"), QStringLiteral("127.0.0.1"),
                                       QStringLiteral("--ssdp-port"), QStringLiteral("11900")});
    ASSERT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    EXPECT_TRUE(line.options.pty && line.options.tcp && line.options.lan && line.options.ssdp);
    EXPECT_EQ(line.options.tcpAddress, QHostAddress(QStringLiteral("127.0.0.1")));
    EXPECT_EQ(line.options.tcpPort, 0);
    EXPECT_EQ(line.options.lanBind, QHostAddress(QStringLiteral("127.0.0.3")));
    EXPECT_EQ(line.options.probePort, 18000);
    EXPECT_EQ(line.options.modulePort, 48899);
    EXPECT_EQ(line.options.ssdpPort, 11900);
}

TEST(SimOptions, UnitValues)
{
    const SimCommandLine line = Parse({QStringLiteral("--name"), QStringLiteral("Sub 2"),
                                       QStringLiteral("--capability"), QStringLiteral("16"),
                                       QStringLiteral("--mac"), QStringLiteral("00a1b0abcdef"),
                                       QStringLiteral("--temperature"), QStringLiteral("244"),
                                       QStringLiteral("--flags"), QStringLiteral("00010001"),
                                       QStringLiteral("--burn-count"), QStringLiteral("255"),
                                       QStringLiteral("--minutes"), QStringLiteral("1441")});
    ASSERT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    const SimUnitState& u = line.options.unit;
    EXPECT_EQ(u.name, MakeNameField(QStringLiteral("Sub 2")));
    EXPECT_EQ(u.capability, 16);
    EXPECT_EQ(qireq::MacToText(u.mac), QStringLiteral("00A1B0ABCDEF"));
    EXPECT_EQ(u.temperatureRaw, 244);
    EXPECT_EQ(u.flags, (std::array<std::uint8_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(u.burnCount, 255);
    EXPECT_EQ(u.minutes, 1441u);
}

TEST(SimOptions, FaultSwitches)
{
    const SimCommandLine line = Parse({QStringLiteral("--silent"), QStringLiteral("--answer-limit"), QStringLiteral("0"),
                                       QStringLiteral("--drop-after"), QStringLiteral("3"), QStringLiteral("--delay"),
                                       QStringLiteral("250"), QStringLiteral("--chunk"), QStringLiteral("2"),
                                       QStringLiteral("--chunk-pause"), QStringLiteral("0"), QStringLiteral("--garbage")});
    ASSERT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    const SimFaults& f = line.options.faults;
    EXPECT_TRUE(f.silent);
    EXPECT_EQ(f.answerLimit, 0);
    EXPECT_EQ(f.dropAfter, 3);
    EXPECT_EQ(f.delayMs, 250);
    EXPECT_EQ(f.chunkBytes, 2);
    EXPECT_EQ(f.chunkPauseMs, 0);
    EXPECT_TRUE(f.garbage);
}

TEST(SimOptions, ChaosAndAckOnly)
{
    const SimCommandLine off = Parse({});
    EXPECT_FALSE(off.options.faults.chaos.on);
    EXPECT_FALSE(off.options.faults.ackOnly);

    const SimCommandLine line = Parse({"--chaos", "4294967295", "--chaos-interval", "0", "--chaos-faults",
                                       "drop,flood,drop", "--ack-only"});
    ASSERT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    const SimFaults& f = line.options.faults;
    EXPECT_TRUE(f.chaos.on);
    EXPECT_EQ(f.chaos.seed, 4294967295u);
    EXPECT_EQ(f.chaos.intervalMs, 0);
    EXPECT_EQ(f.chaos.kinds, (std::vector<ChaosKind>{ChaosKind::Drop, ChaosKind::Flood}));
    EXPECT_TRUE(f.ackOnly);
    // Every kind unless told otherwise.
    EXPECT_EQ(Parse({"--chaos", "1"}).options.faults.chaos.kinds, AllChaosKinds());

    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--chaos", "-1"}, "--chaos"},
        {{"--chaos", "4294967296"}, "--chaos"},
        {{"--chaos-interval", "100"}, "--chaos-interval wants --chaos"},
        {{"--chaos", "1", "--chaos-faults", "silence,fire"}, "--chaos-faults"},
        {{"--chaos", "1", "--chaos-faults", ""}, "--chaos-faults"},
    };
    for (const auto& [arguments, named] : cases) {
        const SimCommandLine bad = Parse(arguments);
        EXPECT_TRUE(bad.error.contains(named)) << qPrintable(arguments.join(u' ')) << " -> "
                                               << qPrintable(bad.error);
    }
}

TEST(SimOptions, BadValuesAreRefusedWithTheOptionNamed)
{
    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--tcp", "127.0.0.1"}, "--tcp"},
        {{"--tcp", "localhost:5000"}, "--tcp"},
        {{"--tcp", "127.0.0.1:65536"}, "--tcp"},
        {{"--tcp", "::1:5000"}, "--tcp"},
        {{"--name", "seventeen chars!!"}, "--name"},
        {{"--name", QString::fromUtf8("\u2103")}, "--name"},
        {{"--mac", "00A1B0"}, "--mac"},
        {{"--capability", "256"}, "--capability"},
        {{"--capability", "-1"}, "--capability"},
        {{"--temperature", "0x10"}, "--temperature"},
        {{"--flags", "0001000"}, "--flags"},
        {{"--flags", "0001 001"}, "--flags"},
        {{"--minutes", "655360000"}, "--minutes"},
        {{"--drop-after", "0"}, "--drop-after"},
        {{"--chunk", "0"}, "--chunk"},
        {{"--lan-bind", "example"}, "--lan-bind"},
        {{"--ssdp", "not-an-address"}, "--ssdp"},
        {{"--probe-port", "0"}, "--probe-port"},
        {{"--delay"}, "delay"},
        {{"--no-such-switch"}, "no-such-switch"},
        {{"stray"}, "stray"},
    };
    for (const auto& [arguments, named] : cases) {
        const SimCommandLine line = Parse(arguments);
        EXPECT_TRUE(line.error.contains(named)) << qPrintable(arguments.join(u' ')) << " -> "
                                                << qPrintable(line.error);
    }
}

TEST(SimOptions, UnitsTakeThePortOfTcpAndRefuseWhatNamesOneUnit)
{
    const SimCommandLine plain = Parse({"--units", "10.77.1.1-3", "--lan", "--ssdp-all", "--name", "Rack"});
    ASSERT_TRUE(plain.error.isEmpty()) << qPrintable(plain.error);
    EXPECT_EQ(plain.options.units.size(), 3u);
    EXPECT_EQ(plain.options.units[2], QHostAddress(QStringLiteral("10.77.1.3")));
    EXPECT_TRUE(plain.options.tcp && plain.options.lan && plain.options.ssdpAll);
    EXPECT_EQ(plain.options.tcpPort, 5000);
    EXPECT_EQ(plain.options.name, QStringLiteral("Rack"));

    const SimCommandLine port = Parse({"--units", "127.0.0.2", "--tcp", "0.0.0.0:0"});
    ASSERT_TRUE(port.error.isEmpty()) << qPrintable(port.error);
    EXPECT_EQ(port.options.tcpPort, 0);

    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--units", "10.77.1.1-0"}, "--units"},
        {{"--units", "10.77.1.1-3", "--tcp", "10.77.1.1:5000"}, "--tcp with --units"},
        {{"--units", "10.77.1.1-3", "--pty"}, "--pty"},
        {{"--units", "10.77.1.1-3", "--tty", "/dev/ttyUSB0"}, "--tty"},
        {{"--units", "10.77.1.1-3", "--ssdp", "10.77.1.1"}, "--ssdp-all"},
        {{"--ssdp-all"}, "--ssdp-all wants --units"},
    };
    for (const auto& [arguments, named] : cases) {
        const SimCommandLine line = Parse(arguments);
        EXPECT_TRUE(line.error.contains(named)) << qPrintable(arguments.join(u' ')) << " -> "
                                                << qPrintable(line.error);
    }
}

TEST(SimOptions, HelpListsEverySwitch)
{
    const SimCommandLine line = Parse({QStringLiteral("--help")});
    EXPECT_TRUE(line.help);
    for (const char* option : {"--tcp", "--pty", "--tty", "--units", "--lan", "--ssdp", "--ssdp-all", "--name",
                               "--capability", "--mac", "--silent", "--answer-limit", "--drop-after", "--delay",
                               "--chunk", "--garbage", "--ack-only", "--chaos", "--chaos-interval",
                               "--chaos-faults"})
        EXPECT_TRUE(line.text.contains(QLatin1String(option))) << option;
}
