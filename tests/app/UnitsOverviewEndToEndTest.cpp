// File > "Units Overview..." in the real window against simulated units:
// one on a pseudo-terminal and three over loopback TCP, one of which
// acknowledges writes without applying them. A preset pushed to all four
// is verified on three; the fourth fails naming the field; the window's own
// connection to one of them is let go for the run and stands again after
// it, its editor showing the pushed block.
#include "support/EndToEnd.h"

#include "editor/BandEditor.h"
#include "overview/UnitsOverviewWindow.h"
#include "overview/UnitsTableModel.h"
#include "presets/PresetFile.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

using namespace qireq;
using namespace qireq::e2e;

namespace {

class ScriptedPrompts : public OverviewPrompts {
public:
    QString file;
    QString ChooseFile(File) override { return file; }
    bool AcceptImport(const ImportResult&, const QString&) override { return true; }
    std::optional<ReportRequest> report;
    std::optional<ReportRequest> ChooseReport() override { return report; }
};

// A port free on the loopback addresses the units take.
int FreePort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    return probe.serverPort();
}

class UnitsOverviewEndToEndTest : public EndToEndTest {
protected:
    UnitsOverviewWindow& OpenOverview()
    {
        Parts().OverviewItem->trigger();
        UnitsOverviewWindow* w = Parts().Overview.get();
        EXPECT_NE(w, nullptr);
        auto owned = std::make_unique<ScriptedPrompts>();
        prompts = owned.get();
        w->SetPrompts(std::move(owned));
        return *w;
    }
    void Click(UnitsOverviewWindow& w, const char* button)
    {
        auto* b = w.findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    ScriptedPrompts* prompts = nullptr;
    QTemporaryDir dir;
};

TEST_F(UnitsOverviewEndToEndTest, PushToFourUnitsVerifiesThreeAndTheWindowsConnectionStands)
{
    const int port = FreePort();
    const QString lanPort = QString::number(port);
    SimProcess& serial = StartSim({"--pty"});
    const QString pty = serial.WaitForLine(QStringLiteral("PTY "));
    ASSERT_FALSE(pty.isEmpty());
    StartSim({"--tcp", "127.0.0.2:" + lanPort, "--mac", "00A1B0000002"});
    SimProcess& connected = StartSim({"--tcp", "127.0.0.3:" + lanPort, "--mac", "00A1B0000003"});
    StartSim({"--tcp", "127.0.0.4:" + lanPort, "--mac", "00A1B0000004", "--ack-only"});

    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = port;
    OpenWindow(seams);
    ListUnit(pty, kSerialUnit);
    ListUnit(QStringLiteral("127.0.0.2"), kProbeUnit);
    ListUnit(QStringLiteral("127.0.0.3"), kProbeUnit);
    ListUnit(QStringLiteral("127.0.0.4"), kProbeUnit);
    ASSERT_TRUE(WaitForTiles(4));
    ClickTile(2);
    ASSERT_TRUE(WaitConnected(5000));

    // A preset whose trim is -7 dB.
    EqBlock record = ResetBlock;
    record[kBlockTrimOffset] = 107;
    const QString preset = dir.filePath(QStringLiteral("hall.bin"));
    ASSERT_TRUE(WritePresetFile(preset, record).isEmpty());

    UnitsOverviewWindow& w = OpenOverview();
    ASSERT_EQ(w.Model().rowCount(), 4);
    prompts->file = preset;
    QString summary;
    QObject::connect(&w, &UnitsOverviewWindow::RunFinished, [&](const QString& text) { summary = text; });
    Click(w, "SelectAllButton");
    Click(w, "PushPresetButton");
    EXPECT_FALSE(State().Connected) << "the window lets its unit go for the run";
    ASSERT_TRUE(WaitFor([&] { return !summary.isEmpty(); }, 20000));

    EXPECT_EQ(summary, QStringLiteral("3 of 4 units written and verified; 1 failed"));
    EXPECT_EQ(w.Summary()->text(), summary);
    const auto result = [&](const QString& address) {
        return w.Model()
            .data(w.Model().index(w.Model().RowOf(address), UnitsTableModel::ResultColumn), Qt::DisplayRole)
            .toString();
    };
    EXPECT_EQ(result(QStringLiteral("127.0.0.4")),
              QStringLiteral("the unit did not apply the write: trim is 0 dB in its read-back, -7 dB was sent"));
    EXPECT_EQ(result(pty), QStringLiteral("ok"));
    EXPECT_EQ(result(QStringLiteral("127.0.0.3")), QStringLiteral("ok"));

    // The window connects to its unit again, and its editor shows the block pushed.
    ASSERT_TRUE(WaitConnected(8000));
    EXPECT_EQ(State().ConnectedIndex, 2);
    EXPECT_TRUE(WaitFor([&] { return form->Editor->TrimEdit()->text() == QStringLiteral("-7"); }, 5000));
    EXPECT_TRUE(SimGot(connected, WriteEqBlockFrame(record)));
}

TEST_F(UnitsOverviewEndToEndTest, SnapshotRoundTripWritesOnlyTheChangedUnits)
{
    const int port = FreePort();
    std::vector<SimProcess*> units;
    for (int i = 2; i <= 5; ++i) {
        units.push_back(&StartSim({"--tcp", QStringLiteral("127.0.0.%1:%2").arg(i).arg(port), "--mac",
                                   QStringLiteral("00A1B000000%1").arg(i)}));
    }
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = port;
    OpenWindow(seams);
    for (int i = 2; i <= 5; ++i)
        ListUnit(QStringLiteral("127.0.0.%1").arg(i), kProbeUnit);
    ASSERT_TRUE(WaitForTiles(4));

    UnitsOverviewWindow& w = OpenOverview();
    QString summary;
    QObject::connect(&w, &UnitsOverviewWindow::RunFinished, [&](const QString& text) { summary = text; });
    const auto run = [&](const char* button) {
        summary.clear();
        Click(w, button);
        return WaitFor([&] { return !summary.isEmpty() && !w.IsRunning(); }, 20000);
    };
    // Rows by the last number of their address (the table's order is the view's).
    const auto select = [&](std::initializer_list<int> lastNumbers) {
        w.Table()->clearSelection();
        auto* sorted = static_cast<QSortFilterProxyModel*>(w.Table()->model());
        for (int n : lastNumbers) {
            const int row = w.Model().RowOf(QStringLiteral("127.0.0.%1").arg(n));
            w.Table()->selectionModel()->select(sorted->mapFromSource(w.Model().index(row, 0)),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    };
    prompts->file = dir.filePath(QStringLiteral("venue.json"));
    Click(w, "SelectAllButton");
    ASSERT_TRUE(run("SaveSnapshotButton"));
    EXPECT_EQ(summary, QStringLiteral("4 of 4 units saved to the snapshot; written to ") + prompts->file);

    // Two units change: a preset with trim -7 dB goes to the second and fourth.
    EqBlock record = ResetBlock;
    record[kBlockTrimOffset] = 107;
    const QString snapshot = prompts->file;
    prompts->file = dir.filePath(QStringLiteral("other.bin"));
    ASSERT_TRUE(WritePresetFile(prompts->file, record).isEmpty());
    select({3, 5});
    ASSERT_TRUE(run("PushPresetButton"));
    ASSERT_EQ(summary, QStringLiteral("2 of 2 units written and verified"));

    std::vector<int> before;
    for (SimProcess* u : units)
        before.push_back(SimCount(*u, WriteEqBlockFrame(ResetBlock)));
    boxes.SetAnswer(MessageBoxes::Answer::Yes);
    boxes.Clear();
    prompts->file = snapshot;
    Click(w, "SelectAllButton");
    summary.clear();
    Click(w, "RestoreSnapshotButton");
    ASSERT_TRUE(WaitFor([&] { return summary.startsWith(QStringLiteral("2 of 2")); }, 20000)) << qPrintable(summary);
    EXPECT_EQ(summary, QStringLiteral("2 of 2 units as in the snapshot, verified"));
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const QString asked = boxes.Boxes()[0].text;
    EXPECT_TRUE(asked.contains(QStringLiteral("127.0.0.3:%1").arg(port))) << qPrintable(asked);
    EXPECT_TRUE(asked.contains(QStringLiteral("127.0.0.5:%1").arg(port)));
    EXPECT_FALSE(asked.contains(QStringLiteral("127.0.0.2:")));
    EXPECT_FALSE(asked.contains(QStringLiteral("127.0.0.4:")));
    EXPECT_EQ(asked.count(QStringLiteral("trim: 0 dB in the snapshot, -7 dB on the unit")), 2);
    // Only the two changed units were written.
    const std::vector<int> expected{0, 1, 0, 1};
    for (std::size_t i = 0; i < units.size(); ++i)
        EXPECT_EQ(SimCount(*units[i], WriteEqBlockFrame(ResetBlock)) - before[i], expected[i]) << i;

    // A snapshot unit outside the run is reported as not found.
    boxes.Clear();
    select({2, 3, 4});
    ASSERT_TRUE(run("RestoreSnapshotButton"));
    EXPECT_EQ(summary, QStringLiteral("3 of 3 units compared with the snapshot; 1 unit(s) of the snapshot not found"));
    ASSERT_EQ(boxes.Boxes().size(), 1);
    EXPECT_TRUE(boxes.Boxes()[0].text.contains(QStringLiteral("not found: 00:A1:B0:00:00:05")));
}

// One page of a PDF as text; empty when pdftotext failed.
QString PdfPageText(const QString& pdf, int page)
{
    QProcess tool;
    const QString n = QString::number(page);
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Export Report on three units, one of them absent: one PDF with a page per
// unit, the absent one's saying why; the window's unit stands again after.
TEST_F(UnitsOverviewEndToEndTest, ExportReportWritesAPagePerUnit)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    const int port = FreePort();
    StartSim({"--tcp", QStringLiteral("127.0.0.2:%1").arg(port), "--name", "Hall Left", "--mac", "00A1B0000002",
              "--burn-count", "12"});
    StartSim({"--tcp", QStringLiteral("127.0.0.3:%1").arg(port), "--name", "Hall Right", "--mac", "00A1B0000003",
              "--capability", "16"});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = port;
    OpenWindow(seams);
    for (int i = 2; i <= 4; ++i)
        ListUnit(QStringLiteral("127.0.0.%1").arg(i), kProbeUnit);  // nothing answers at 127.0.0.4
    ASSERT_TRUE(WaitForTiles(3));
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(5000));

    UnitsOverviewWindow& w = OpenOverview();
    prompts->report = ReportRequest{dir.filePath(QStringLiteral("venue")), QStringLiteral("Venue A, day 1")};
    QString summary;
    QObject::connect(&w, &UnitsOverviewWindow::RunFinished, [&](const QString& text) { summary = text; });
    Click(w, "SelectAllButton");
    Click(w, "ExportReportButton");
    EXPECT_FALSE(State().Connected) << "the window lets its unit go for the run";
    ASSERT_TRUE(WaitFor([&] { return !summary.isEmpty(); }, 20000));
    const QString pdf = dir.filePath(QStringLiteral("venue.pdf"));
    EXPECT_EQ(summary, QStringLiteral("2 of 3 units read for the report; 1 failed; written to ") + pdf);
    EXPECT_TRUE(boxes.Boxes().isEmpty());

    QStringList found;
    for (int page = 1; page <= 4; ++page) {
        const QString text = PdfPageText(pdf, page);
        if (page == 4) {
            EXPECT_TRUE(text.isEmpty()) << "three pages only";
            break;
        }
        EXPECT_TRUE(text.contains(QStringLiteral("Venue A, day 1"))) << page;
        for (const QString& name : {QStringLiteral("Hall Left"), QStringLiteral("Hall Right"), QStringLiteral("127.0.0.4")}) {
            if (text.contains(name))
                found << name;
        }
        if (text.contains(QStringLiteral("127.0.0.4"))) {
            EXPECT_TRUE(text.contains(QStringLiteral("Not read"))) << qPrintable(text);
        }
        if (text.contains(QStringLiteral("Hall Left"))) {
            EXPECT_TRUE(text.contains(QStringLiteral("00:A1:B0:00:00:02")));
            EXPECT_TRUE(text.contains(QStringLiteral("Burn count"))) << "it reports its usage";
        }
        if (text.contains(QStringLiteral("Hall Right"))) {
            EXPECT_FALSE(text.contains(QStringLiteral("Burn count"))) << "capability 16 reports no usage";
        }
    }
    found.sort();
    EXPECT_EQ(found, (QStringList{QStringLiteral("127.0.0.4"), QStringLiteral("Hall Left"), QStringLiteral("Hall Right")}));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("venue.png"))));
    ASSERT_TRUE(WaitConnected(8000));
    EXPECT_EQ(State().ConnectedIndex, 0);
}

// Cancel while a slow unit is still being greeted: it is left alone and
// reported as cancelled; the unit whose write had begun ends verified.
TEST_F(UnitsOverviewEndToEndTest, CancelLeavesTheUnitsNotYetServedAlone)
{
    const int port = FreePort();
    StartSim({"--tcp", QStringLiteral("127.0.0.2:%1").arg(port)});
    SimProcess& slow = StartSim({"--tcp", QStringLiteral("127.0.0.3:%1").arg(port), "--delay", "1500"});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = port;
    OpenWindow(seams);
    ListUnit(QStringLiteral("127.0.0.2"), kProbeUnit);
    ListUnit(QStringLiteral("127.0.0.3"), kProbeUnit);
    ASSERT_TRUE(WaitForTiles(2));

    EqBlock record = ResetBlock;
    record[kBlockTrimOffset] = 107;
    UnitsOverviewWindow& w = OpenOverview();
    prompts->file = dir.filePath(QStringLiteral("hall.bin"));
    ASSERT_TRUE(WritePresetFile(prompts->file, record).isEmpty());
    QString summary;
    QObject::connect(&w, &UnitsOverviewWindow::RunFinished, [&](const QString& text) { summary = text; });
    Click(w, "SelectAllButton");
    Click(w, "PushPresetButton");
    QTest::qWait(500);
    Click(w, "CancelButton");
    ASSERT_TRUE(WaitFor([&] { return !summary.isEmpty(); }, 20000));
    EXPECT_EQ(summary, QStringLiteral("1 of 2 units written and verified; 1 cancelled"));
    EXPECT_EQ(SimCount(slow, WriteEqBlockFrame(record)), 0);
}

}  // namespace
