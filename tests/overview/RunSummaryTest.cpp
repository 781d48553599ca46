// The Units overview's summary line and table values: cancelled units
// never count as done, a failed unit shows its reason, numbers sort as
// numbers, and what was read of a unit survives a change of the list.
#include "fleet/ParallelRun.h"
#include "overview/RunSummary.h"
#include "overview/UnitsTableModel.h"

#include <gtest/gtest.h>

using namespace qireq;

namespace {

fleet::UnitResult Result(bool ok, const QString& error = {}, bool cancelled = false)
{
    fleet::UnitResult r;
    r.Ok = ok;
    r.Error = error;
    r.Cancelled = cancelled;
    return r;
}

DeviceEntry Entry(const QString& address, int kind = kProbeUnit)
{
    DeviceEntry e;
    e.Address = address;
    e.Name = QStringLiteral("Unit ") + address;
    e.Mac = kUnknownMac;
    e.Kind = kind;
    return e;
}

}  // namespace

TEST(RunSummary, CountsDoneFailedAndCancelledApart)
{
    std::vector<fleet::UnitResult> results(47, Result(true));
    for (int i = 0; i < 3; ++i)
        results.push_back(Result(false, QStringLiteral("no answer to WriteEqBlock within 2.0 s")));
    EXPECT_EQ(RunSummary(RunKind::Push, results), QStringLiteral("47 of 50 units written and verified; 3 failed"));

    results.push_back(Result(false, fleet::CancelledText(), true));
    results.push_back(Result(false, fleet::CancelledText(), true));
    EXPECT_EQ(RunSummary(RunKind::Push, results),
              QStringLiteral("47 of 52 units written and verified; 3 failed; 2 cancelled"));
    EXPECT_EQ(RunSummary(RunKind::Read, {Result(true)}), QStringLiteral("1 of 1 unit read"));

    EXPECT_EQ(RowResult(Result(false, QStringLiteral("port busy: /dev/ttyUSB0 is held by another program"))),
              QStringLiteral("port busy: /dev/ttyUSB0 is held by another program"));
    EXPECT_EQ(RowResult(Result(true)), QStringLiteral("ok"));
}

TEST(UnitsTable, ShowsReadValuesSortsNumbersAndKeepsThemAcrossListChanges)
{
    UnitsTableModel model;
    model.SetUnits({Entry(QStringLiteral("10.0.0.2")), Entry(QStringLiteral("/dev/ttyUSB0"), kSerialUnit)});
    ASSERT_EQ(model.rowCount(), 2);
    model.SetRead(0, QJsonObject{{QStringLiteral("capability"), 17}, {QStringLiteral("minutes"), 125},
                                 {QStringLiteral("voltage_alarm"), true}, {QStringLiteral("mac"), QStringLiteral("00a1b0000002")}});
    model.SetResult(1, QStringLiteral("no answer to Identify within 2.0 s"), false);

    const auto shown = [&](int row, int column) { return model.data(model.index(row, column), Qt::DisplayRole); };
    EXPECT_EQ(shown(0, UnitsTableModel::CapabilityColumn).toInt(), 17);
    EXPECT_EQ(shown(0, UnitsTableModel::OperatingTimeColumn).toString(), QStringLiteral("2 h 5 min"));
    EXPECT_EQ(model.data(model.index(0, UnitsTableModel::OperatingTimeColumn), Qt::UserRole).toInt(), 125);
    EXPECT_EQ(shown(0, UnitsTableModel::VoltageStateColumn).toString(), QStringLiteral("alarm"));
    EXPECT_EQ(shown(0, UnitsTableModel::MacColumn).toString(), QStringLiteral("00:A1:B0:00:00:02"));
    EXPECT_EQ(shown(1, UnitsTableModel::KindColumn).toString(), QStringLiteral("serial"));
    EXPECT_FALSE(shown(1, UnitsTableModel::MacColumn).toString().contains(QStringLiteral("FF")));
    EXPECT_FALSE(shown(1, UnitsTableModel::TemperatureColumn).isValid());  // never read: empty, not zero

    // A unit joins at the top: the others keep what was read of them.
    model.SetUnits({Entry(QStringLiteral("10.0.0.9")), Entry(QStringLiteral("10.0.0.2")),
                    Entry(QStringLiteral("/dev/ttyUSB0"), kSerialUnit)});
    EXPECT_EQ(model.RowOf(QStringLiteral("10.0.0.2")), 1);
    EXPECT_EQ(shown(1, UnitsTableModel::CapabilityColumn).toInt(), 17);
    EXPECT_EQ(shown(2, UnitsTableModel::ResultColumn).toString(), QStringLiteral("no answer to Identify within 2.0 s"));
    EXPECT_FALSE(shown(0, UnitsTableModel::CapabilityColumn).isValid());
}
