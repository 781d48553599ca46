// `qireq-ctl preset push` to 1, 10 and 50 simulated TCP units at once.
// One qireq-sim plays 50 LAN units on 127.0.0.2 .. 127.0.0.51 (each on a
// free port); qireq-ctl runs as a process, as a script would run it. For
// each count: the wall time of the whole push (process start included),
// the mean and the slowest unit's own time (from the JSON "ms"), and the
// floor that the frames and the links' pauses between them allow for one unit.
// Units are served in parallel, so the floor of N units is the floor of one.
//
//   ctl_push_bench [--runs N]
#include "UnitCommands.h"

#include "eq/EqBlock.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/Frames.h"
#include "protocol/SerialLink.h"
#include "protocol/SocketLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace qireq;

namespace {

constexpr int kUnits = 50;

// Bytes each way and pauses of one push, as qireq-ctl sends it over TCP:
// ReadMac block, Identify, WriteEqBlock, (settle), ReadEqBlock.
struct Floor {
    int bytesOut = kReadMacBlockSize + kMinFrameSize + kEqBlockSize + kMinFrameSize;
    int bytesIn = 16 + 27 + kEqBlockSize + kEqBlockSize;  // MAC, identity, block answer, read-back
    int frames = 4;
};

double TcpFloorMs(const Floor& f)
{
    const int pause = ctl::kBlockSettleMs
        + f.frames * (SocketLink::kWritePauseFirstMs + SocketLink::kWritePauseSecondMs);
    // 100 Mbit/s: the bytes themselves are a few microseconds.
    return pause + (f.bytesOut + f.bytesIn) * 8.0 / 100e3;
}

double SerialFloorMs(const Floor& f)
{
    // No ReadMac on a serial line; 10 bits a byte at 9600 baud.
    const int out = f.bytesOut - kReadMacBlockSize;
    const int in = f.bytesIn - 16;
    const int pause = ctl::kBlockSettleMs + (f.frames - 1) * SerialLink::kWritePauseMs;
    return pause + (out + in) * 10.0 * 1000.0 / 9600.0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 3;
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--runs"))
        runs = std::max(1, args[2].toInt());

    // The simulator logs every frame; a file takes it all, where a pipe
    // nobody reads would fill and stall the units.
    QTemporaryDir dir;
    const QString simLog = dir.filePath(QStringLiteral("sim.log"));
    QProcess sim;
    sim.setStandardOutputFile(simLog);
    sim.start(QStringLiteral(QIREQ_BINARY_DIR "/tools/qireq-sim/qireq-sim"),
              {"--units", QStringLiteral("127.0.0.2-127.0.0.%1").arg(1 + kUnits), "--tcp", "0.0.0.0:0"});
    QStringList targets;
    QByteArray log;
    const QRegularExpression tcpLine(QStringLiteral(R"(^\[\S+\] TCP (\S+)$)"), QRegularExpression::MultilineOption);
    QElapsedTimer startClock;
    startClock.start();
    QFile logFile(simLog);
    while (!log.contains("READY\n") && startClock.elapsed() < 10000) {
        QThread::msleep(50);
        if (logFile.open(QIODevice::ReadOnly)) {
            log = logFile.readAll();
            logFile.close();
        }
    }
    for (auto it = tcpLine.globalMatch(QString::fromUtf8(log)); it.hasNext();)
        targets << it.next().captured(1);
    if (targets.size() != kUnits) {
        std::fprintf(stderr, "qireq-sim did not bring up %d units: %s\n", kUnits,
                     sim.readAllStandardError().constData());
        return 1;
    }

    EqBlock block = NewSavingRecord();
    std::copy(ResetBlock.begin() + 16, ResetBlock.begin() + 46, block.begin() + 16);
    block[7] = 0x6B;
    const QString preset = dir.filePath(QStringLiteral("bench.bin"));
    WritePresetFile(preset, block);

    const Floor floor;
    std::printf("preset push over TCP: %d bytes out and %d in per unit, %d frames\n", floor.bytesOut, floor.bytesIn,
                floor.frames);
    std::printf("floor per unit: %.1f ms over TCP (pauses %d x 18 ms + %d ms after the block), %.1f ms over "
                "serial at 9600 baud\n\n", TcpFloorMs(floor), floor.frames, ctl::kBlockSettleMs, SerialFloorMs(floor));
    std::printf("%6s %12s %14s %14s %14s %12s\n", "units", "wall ms", "unit mean ms", "unit max ms", "floor ms",
                "wall/floor");
    for (int count : {1, 10, kUnits}) {
        qint64 bestWall = -1;
        double mean = 0;
        qint64 slowest = 0;
        for (int run = 0; run < runs; ++run) {
            QStringList ctlArgs{"-o", "json"};
            for (int i = 0; i < count; ++i)
                ctlArgs << "--tcp" << targets[i];
            ctlArgs << "preset" << "push" << preset;
            QProcess ctl;
            QElapsedTimer clock;
            clock.start();
            ctl.start(QStringLiteral(QIREQ_BINARY_DIR "/tools/qireq-ctl/qireq-ctl"), ctlArgs);
            ctl.waitForFinished(120000);
            const qint64 wall = clock.elapsed();
            const QJsonObject o = QJsonDocument::fromJson(ctl.readAllStandardOutput()).object();
            if (ctl.exitCode() != 0 || !o.value(QStringLiteral("ok")).toBool()) {
                std::fprintf(stderr, "push to %d units failed\n", count);
                return 1;
            }
            if (bestWall < 0 || wall < bestWall) {
                bestWall = wall;
                double sum = 0;
                slowest = 0;
                for (const auto& u : o.value(QStringLiteral("units")).toArray()) {
                    const qint64 ms = u.toObject().value(QStringLiteral("ms")).toInteger();
                    sum += static_cast<double>(ms);
                    slowest = std::max(slowest, ms);
                }
                mean = sum / count;
            }
        }
        std::printf("%6d %12lld %14.1f %14lld %14.1f %12.2f\n", count, static_cast<long long>(bestWall), mean,
                    static_cast<long long>(slowest), TcpFloorMs(floor), static_cast<double>(bestWall) / TcpFloorMs(floor));
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
