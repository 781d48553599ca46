// qireq-ctl snapshot save, diff and restore against simulated units: the
// diff names only the units changed since the save, only they receive
// writes, a unit of the snapshot that is not reached is reported, and a bad
// file sends nothing at all.
#include "CtlHarness.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qireq::ctl::test;
using qireq::sim::test::SimProcess;

namespace {

int BlockWrites(SimProcess& sim, std::size_t from)
{
    int n = 0;
    const auto& lines = sim.Lines();
    for (std::size_t i = from; i < lines.size(); ++i)
        n += lines[i].startsWith("RX 01 20 03 40 4A 14") ? 1 : 0;
    return n;
}

}  // namespace

TEST(CtlSnapshot, RestoreWritesOnlyTheUnitsThatDiffer)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("venue.json");
    QString a, b, c;
    auto unitA = StartTcpUnit(&a, {"--mac", "00A1B0000001"});
    auto unitB = StartTcpUnit(&b, {"--mac", "00A1B0000002"});
    auto unitC = StartTcpUnit(&c, {"--mac", "00A1B0000003"});
    const QStringList all{"--tcp", a, "--tcp", b, "--tcp", c};
    const CtlRun save = RunCtl(all + QStringList{"snapshot", "save", file});
    ASSERT_EQ(save.Exit, 0) << qPrintable(save.Out + save.Err);
    EXPECT_TRUE(save.Out.contains("snapshot of 3 unit(s) written"));

    ASSERT_EQ(RunCtl({"--tcp", b, "eq", "trim", "-6"}).Exit, 0);
    ASSERT_EQ(RunCtl({"--tcp", c, "eq", "bypass", "on"}).Exit, 0);

    const CtlRun diff = RunCtl(all + QStringList{"snapshot", "diff", file, "-o", "json"});
    EXPECT_EQ(diff.Exit, 0) << qPrintable(diff.Out + diff.Err);
    const QJsonArray units = diff.Json().value("units").toArray();
    ASSERT_EQ(units.size(), 3);
    EXPECT_TRUE(units[0].toObject().value("differences").toArray().isEmpty());
    EXPECT_EQ(units[1].toObject().value("differences").toArray(),
              QJsonArray{"trim: 0 dB in the snapshot, -6 dB on the unit"});
    EXPECT_EQ(units[2].toObject().value("differences").toArray(),
              QJsonArray{"bypass: off in the snapshot, on on the unit"});
    EXPECT_EQ(units[1].toObject().value("matched_by").toString(), "mac");

    const std::size_t fromA = unitA->Lines().size(), fromB = unitB->Lines().size(), fromC = unitC->Lines().size();
    // Unit A is left out of the run: the snapshot's unit is reported as not found.
    const CtlRun restore = RunCtl({"--tcp", b, "--tcp", c, "snapshot", "restore", file});
    EXPECT_EQ(restore.Exit, 0) << qPrintable(restore.Out + restore.Err);
    EXPECT_TRUE(restore.Out.contains("not found: 00:A1:B0:00:00:01")) << qPrintable(restore.Out);
    EXPECT_EQ(restore.Out.count("restored and read back"), 2);
    FramesSince(*unitC, fromC, 6);
    EXPECT_EQ(BlockWrites(*unitA, fromA), 0);
    EXPECT_EQ(BlockWrites(*unitB, fromB), 1);
    EXPECT_EQ(BlockWrites(*unitC, fromC), 1);

    const CtlRun again = RunCtl(all + QStringList{"snapshot", "diff", file});
    EXPECT_EQ(again.Out.count("as in the snapshot"), 3) << qPrintable(again.Out);
}

TEST(CtlSnapshot, ABadFileSendsNothing)
{
    QTemporaryDir dir;
    QString a;
    auto unit = StartTcpUnit(&a);
    const QString file = dir.filePath("v2.json");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"format": "qireq-venue-snapshot", "version": 2, "units": []})");
    f.close();
    const std::size_t from = unit->Lines().size();
    const CtlRun run = RunCtl({"--tcp", a, "snapshot", "restore", file});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_TRUE(run.Err.contains("snapshot version 2 is not one this program reads")) << qPrintable(run.Err);
    EXPECT_TRUE(FramesSince(*unit, from, 1, 300).isEmpty());
}
