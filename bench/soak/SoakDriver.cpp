#include "SoakDriver.h"

#include "app/MainWindowParts.h"
#include "app/Unit1.h"
#include "controls/Devicepanel.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace qireq::soak {

SoakDriver::SoakDriver(TForm1& form, SoakFaultLogs& faults) : form_(form), faults_(faults)
{
    clock_.start();
}

bool SoakDriver::Connected() const
{
    return form_.State().Connected;
}

int SoakDriver::ConnectedTile() const
{
    return form_.State().ConnectedIndex;
}

bool SoakDriver::FindUnits(const QString& lanAddress, int timeoutMs)
{
    DeviceTileColumn& column = *form_.Parts().DeviceColumn;
    DeviceList& devices = form_.Parts().Devices;
    if (!PumpUntil([&] { return column.Tiles().size() >= 1; }, timeoutMs))
        return false;
    const std::optional<DeviceEntry> serial = devices.EntryAt(kSerialTile);
    if (!serial || !serial->IsSerial())
        return false;
    if (!PumpUntil([&] { return !devices.Flags().AddPending.load(); }, 5000))
        return false;
    if (!devices.AddFoundUnit(lanAddress, kUnknownMac, kProbeUnit))
        return false;
    return PumpUntil([&] { return column.Tiles().size() >= 2; }, 5000);
}

bool SoakDriver::Connect(int tile)
{
    SettleLoss();
    const auto there = [this, tile] { return Connected() && ConnectedTile() == tile; };
    const qint64 start = NowMs();
    while (!there() && NowMs() - start < kConnectLimitMs) {
        Click(tile);
        // Until the unit answers or the attempt has given up.
        PumpUntil([&] { return there() || !form_.ConnectTimer->isActive(); }, kAttemptMs);
        if (!there()) {
            Note(QStringLiteral("attempt on tile %1 failed").arg(tile));
            ++figures_.failedAttempts;
            Pump(1000);
        }
    }
    if (there())
        return true;
    Note(QStringLiteral("tile %1 not reached").arg(tile));
    ++figures_.unreachable;
    return false;
}

void SoakDriver::Dwell(int ms)
{
    Pump(ms);
    SettleLoss();
}

void SoakDriver::Disconnect()
{
    SettleLoss();
    if (Connected())
        Click(ConnectedTile());
}

void SoakDriver::Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
}

bool SoakDriver::PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    Sample();
    if (done())
        return true;
    // A real event loop, not a busy one: the soak's own CPU stays small.
    QEventLoop loop;
    QTimer tick;
    const QDeadlineTimer deadline(timeoutMs);
    bool met = false;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        Sample();
        met = done();
        if (met || deadline.hasExpired())
            loop.quit();
    });
    tick.start(kSampleMs);
    loop.exec();
    return met;
}

void SoakDriver::Sample()
{
    const qint64 now = NowMs();
    faults_.Poll(now);
    for (; faultsNoted_ < faults_.Events().size(); ++faultsNoted_) {
        const FaultEvent& fault = faults_.Events()[faultsNoted_];
        Note(QStringLiteral("fault %1 on tile %2").arg(fault.kind).arg(fault.unit));
    }
    const bool connected = Connected();
    if (wasConnected_ && !connected) {
        Loss loss;
        loss.atMs = now;
        loss.tile = lastTile_;
        const std::optional<FaultEvent> fault =
            faults_.LatestBefore(lastTile_, now, kCauseWindowMs);
        loss.cause = fault ? fault->kind : QStringLiteral("none");
        figures_.losses.push_back(loss);
        openLoss_ = static_cast<int>(figures_.losses.size()) - 1;
        Note(QStringLiteral("connection to tile %1 lost (%2)").arg(loss.tile).arg(loss.cause));
    } else if (!wasConnected_ && connected && openLoss_ >= 0) {
        Loss& loss = figures_.losses[static_cast<std::size_t>(openLoss_)];
        if (ConnectedTile() == loss.tile)
            loss.recoveredMs = now - loss.atMs;
        Note(QStringLiteral("tile %1 won back after %2 s")
                 .arg(ConnectedTile())
                 .arg(static_cast<double>(now - loss.atMs) / 1000.0, 0, 'f', 1));
        openLoss_ = -1;
    }
    if (connected)
        lastTile_ = ConnectedTile();
    wasConnected_ = connected;
}

void SoakDriver::Click(int tile)
{
    // What happened before the click is the units' doing, what follows it ours.
    Sample();
    openLoss_ = -1;
    TDevicePanel* panel = form_.Parts().DeviceColumn->TileAt(tile);
    if (panel == nullptr)
        return;
    // The tile's bare surface, clear of its labels.
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(TDevicePanel::kWidth - 8, 44));
    ++figures_.clicks;
    Note(QStringLiteral("click on tile %1").arg(tile));
    wasConnected_ = Connected();
    if (wasConnected_)
        lastTile_ = ConnectedTile();
}

void SoakDriver::SettleLoss()
{
    if (openLoss_ < 0)
        return;
    const qint64 limit =
        figures_.losses[static_cast<std::size_t>(openLoss_)].atMs + kRecoverLimitMs;
    PumpUntil([this] { return openLoss_ < 0; },
              static_cast<int>(std::max<qint64>(0, limit - NowMs())));
    // Not won back in time: the loss stays unrecovered, and clicks may follow.
    if (openLoss_ >= 0)
        Note(QStringLiteral("not won back within %1 s").arg(kRecoverLimitMs / 1000));
    openLoss_ = -1;
}

void SoakDriver::Note(const QString& text) const
{
    std::fprintf(stderr, "%9.3f %s\n", static_cast<double>(NowMs()) / 1000.0, qUtf8Printable(text));
}

}  // namespace qireq::soak
