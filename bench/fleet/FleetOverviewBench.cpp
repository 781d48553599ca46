// The Units overview window (offscreen) driving many simulated LAN units.
// One qireq-sim plays 250 units on 127.0.0.2 .. 127.0.0.251, all on one
// TCP port as the window expects of a venue. Measured:
//  - a preset pushed to 1, 10 and 50 units: the wall time from the click to
//    the summary line (best of --runs), and its ratio to the time for 1;
//  - "Read" of all 250 units: the wall time, and the longest gap between two
//    ticks of a 5 ms timer on the window's thread (its event loop's stall).
//
//   fleet_overview_bench [--runs N]
#include "overview/UnitsOverviewWindow.h"
#include "overview/UnitsTableModel.h"
#include "presets/PresetFile.h"
#include "state/DeviceList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace qireq;

namespace {

constexpr int kUnits = 250;

class FixedPrompts : public OverviewPrompts {
public:
    explicit FixedPrompts(QString file) : file_(std::move(file)) {}
    QString ChooseFile(File) override { return file_; }
    bool AcceptImport(const ImportResult&, const QString&) override { return true; }
    std::optional<ReportRequest> ChooseReport() override { return std::nullopt; }

private:
    QString file_;
};

void SelectFirst(UnitsOverviewWindow& w, int count)
{
    QTableView* table = w.Table();
    table->clearSelection();
    auto* sorted = static_cast<QSortFilterProxyModel*>(table->model());
    for (int i = 0; i < count; ++i) {
        const int row = w.Model().RowOf(QStringLiteral("127.0.0.%1").arg(i + 2));
        table->selectionModel()->select(sorted->mapFromSource(w.Model().index(row, 0)),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// Runs the action and waits for its summary; the wall time and the longest
// gap between the ticks of a 5 ms timer meanwhile.
struct Timed {
    qint64 Ms = 0;
    qint64 LongestGapMs = 0;
    QString Summary;
};

Timed Run(UnitsOverviewWindow& w, void (UnitsOverviewWindow::*action)())
{
    Timed t;
    QElapsedTimer clock, gap;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        t.LongestGapMs = std::max(t.LongestGapMs, gap.restart());
    });
    bool done = false;
    const auto c = QObject::connect(&w, &UnitsOverviewWindow::RunFinished, [&](const QString& s) {
        t.Summary = s;
        done = true;
    });
    clock.start();
    gap.start();
    tick.start();
    (w.*action)();
    while (!done && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    t.Ms = clock.elapsed();
    QObject::disconnect(c);
    return t;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 3;
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--runs"))
        runs = std::max(1, args[2].toInt());

    int port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress(QStringLiteral("127.0.0.2")), 0);
        port = probe.serverPort();
    }
    QTemporaryDir dir;
    const QString simLog = dir.filePath(QStringLiteral("sim.log"));
    QProcess sim;
    sim.setStandardOutputFile(simLog);  // a pipe nobody reads would stall the units
    sim.start(QStringLiteral(QIREQ_BINARY_DIR "/tools/qireq-sim/qireq-sim"),
              {"--units", QStringLiteral("127.0.0.2-127.0.0.%1").arg(1 + kUnits), "--tcp",
               QStringLiteral("0.0.0.0:%1").arg(port)});
    QElapsedTimer startClock;
    startClock.start();
    QFile logFile(simLog);
    bool ready = false;
    while (!ready && startClock.elapsed() < 20000) {
        QThread::msleep(50);
        if (logFile.open(QIODevice::ReadOnly)) {
            ready = logFile.readAll().contains("READY\n");
            logFile.close();
        }
    }
    if (!ready) {
        std::fprintf(stderr, "qireq-sim did not bring up %d units\n", kUnits);
        return 1;
    }

    DeviceList devices;
    for (int i = 0; i < kUnits; ++i)
        devices.AddUnitByHand(QStringLiteral("127.0.0.%1").arg(i + 2));
    EqBlock block = ResetBlock;
    block[kBlockTrimOffset] = 107;
    const QString preset = dir.filePath(QStringLiteral("bench.bin"));
    WritePresetFile(preset, block);

    OverviewLinks links;
    links.Devices = &devices;
    links.LanPort = port;
    UnitsOverviewWindow w(links);
    w.SetPrompts(std::make_unique<FixedPrompts>(preset));
    w.show();
    w.RefreshUnits();

    std::printf("%6s %10s %10s %s\n", "units", "wall ms", "vs 1 unit", "summary");
    qint64 one = 0;
    for (int count : {1, 10, 50}) {
        Timed best;
        for (int r = 0; r < runs; ++r) {
            SelectFirst(w, count);
            const Timed t = Run(w, &UnitsOverviewWindow::PushPresetClick);
            if (best.Ms == 0 || t.Ms < best.Ms)
                best = t;
        }
        if (count == 1)
            one = best.Ms;
        std::printf("%6d %10lld %10.2f %s\n", count, static_cast<long long>(best.Ms),
                    one > 0 ? static_cast<double>(best.Ms) / static_cast<double>(one) : 0.0, qPrintable(best.Summary));
    }

    SelectFirst(w, kUnits);
    const Timed read = Run(w, &UnitsOverviewWindow::ReadClick);
    std::printf("\nread of %d units: %lld ms, longest event-loop gap %lld ms; %s\n", kUnits,
                static_cast<long long>(read.Ms), static_cast<long long>(read.LongestGapMs), qPrintable(read.Summary));

    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
