// The main window finding N LAN units: the time from the start of discovery
// (its first probe goes out at once) until all N are listed with their
// tiles, and the longest stall of the window's event loop meanwhile. Run by
// lan-discovery-bench.sh in a network namespace beside the simulated units.
//
// Then, with the N tiles shown: the resident memory, the longest stall
// while the column is scrolled from top to bottom and a tile is clicked,
// and Refresh: the time until the column is empty and the countdown runs
// again, and the longest stall meanwhile.
//
//   lan_discovery_bench N [timeout seconds]
// prints "units N listed_ms T stall_ms S probes P found F", then
// "rss_kb R scroll_click_stall_ms C refresh_ms M refresh_stall_ms X", and
// exits 0 when all N were listed in time, 1 otherwise.
#include "app/MainWindowParts.h"
#include "app/Unit1.h"
#include "controls/Devicepanel.h"
#include "controls/MessageBoxes.h"
#include "controls/TScrollBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int units = arguments.value(1).toInt();
    const int timeoutMs = 1000 * (arguments.size() > 2 ? arguments[2].toInt() : 30);
    if (units <= 0) {
        std::fprintf(stderr, "usage: lan_discovery_bench N [timeout seconds]\n");
        return 2;
    }

    qireq::MessageBoxes::TestMode boxes;
    qireq::MainWindowSeams seams;
    seams.StartSerialDiscovery = false;
    seams.EnumerateSerialPorts = [] { return QStringList(); };
    qireq::TForm1 window(seams);

    // A timer asked to tick every millisecond: the longest gap between two
    // ticks, less that millisecond, is the longest stall.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastTick - 1);
        lastTick = now;
    });

    qint64 listedMs = -1;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        qireq::MainWindowParts& parts = window.Parts();
        if (parts.Devices.Count() >= units && parts.DeviceColumn->DeviceCount() >= units) {
            listedMs = clock.elapsed();
            app.quit();
        } else if (clock.elapsed() > timeoutMs) {
            app.quit();
        }
    });

    clock.start();
    window.show();  // starts discovery
    heartbeat.start(1);
    check.start(5);
    app.exec();

    const int probes = window.Parts().Lan ? window.Parts().Lan->Counts().ProbesSent.load() : 0;
    std::printf("units %d listed_ms %lld stall_ms %lld probes %d found %d\n", units,
                static_cast<long long>(listedMs), static_cast<long long>(longestStall), probes,
                window.Parts().Devices.Count());
    std::fflush(stdout);
    if (listedMs < 0)
        return 1;

    // With every tile shown: scroll the column through, click a tile.
    qireq::MainWindowParts& parts = window.Parts();
    window.Parts().Lan->Stop();  // nothing new arrives meanwhile
    const long rssKb = ResidentKb();
    longestStall = 0;
    lastTick = clock.elapsed();
    QScrollBar* bar = window.DeviceBox->verticalScrollBar();
    for (int value = bar->minimum(); value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        QTest::qWait(5);
    }
    if (qireq::TDevicePanel* tile = parts.DeviceColumn->TileAt(units / 2)) {
        window.DeviceBox->ensureWidgetVisible(tile);
        QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::qWait(50);
        // The attempt it started holds Refresh back: called off.
        parts.Connection->CancelProgressBar();
    }
    const qint64 scrollStall = longestStall;

    // Refresh: every tile goes, last to first, and the countdown restarts.
    longestStall = 0;
    lastTick = clock.elapsed();
    const qint64 refreshStart = clock.elapsed();
    qint64 refreshMs = -1;
    QTimer::singleShot(0, window.RefreshBtn, &QPushButton::click);
    (void)QTest::qWaitFor([&] {
        if (parts.Devices.Count() == 0 && parts.DeviceColumn->DeviceCount() == 0 &&
            window.SearchTimer->isActive() && refreshMs < 0)
            refreshMs = clock.elapsed() - refreshStart;
        return refreshMs >= 0;
    }, 60000);
    QTest::qWait(20);
    std::printf("rss_kb %ld scroll_click_stall_ms %lld refresh_ms %lld refresh_stall_ms %lld\n", rssKb,
                static_cast<long long>(scrollStall), static_cast<long long>(refreshMs),
                static_cast<long long>(longestStall));
    std::fflush(stdout);
    return 0;
}
