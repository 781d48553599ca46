// The main window finding N LAN units: the time from the start of discovery
// (its first probe goes out at once) until all N are listed with their
// tiles, and the longest stall of the window's event loop meanwhile. Run by
// lan-discovery-bench.sh in a network namespace beside the simulated units.
//
//   lan_discovery_bench N [timeout seconds]
// prints "units N listed_ms T stall_ms S probes P" and exits 0 when all N
// were listed in time, 1 otherwise.
#include "app/MainWindowParts.h"
#include "app/Unit1.h"
#include "controls/MessageBoxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

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
    return listedMs >= 0 ? 0 : 1;
}
