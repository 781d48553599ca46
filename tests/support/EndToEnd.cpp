#include "support/EndToEnd.h"

#include "controls/Devicepanel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace qireq::e2e {

QString HexLine(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// --- PtyPair ------------------------------------------------------------------

PtyPair::~PtyPair()
{
    if (socat_.state() != QProcess::NotRunning) {
        socat_.terminate();  // this socat's own pid
        if (!socat_.waitForFinished(3000)) {
            socat_.kill();
            socat_.waitForFinished(3000);
        }
    }
}

bool PtyPair::Start()
{
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty() || !dir_.isValid()) {
        error_ = QStringLiteral("socat is not installed");
        return false;
    }
    socat_.start(socat, {QStringLiteral("pty,raw,echo=0,link=") + ProgramEnd(),
                         QStringLiteral("pty,raw,echo=0,link=") + UnitEnd()});
    if (!socat_.waitForStarted(3000)) {
        error_ = socat_.errorString();
        return false;
    }
    if (!WaitFor([this] { return QFileInfo::exists(ProgramEnd()) && QFileInfo::exists(UnitEnd()); },
                 5000)) {
        error_ = QStringLiteral("socat made no pseudo-terminals");
        return false;
    }
    return true;
}

// --- EndToEndTest ----------------------------------------------------------------

void EndToEndTest::TearDown()
{
    form.reset();
    for (auto& sim : sims)
        sim->Terminate();
}

SimProcess& EndToEndTest::StartSim(const QStringList& arguments)
{
    sims.push_back(std::make_unique<SimProcess>());
    SimProcess& sim = *sims.back();
    EXPECT_TRUE(sim.Start(arguments)) << sim.Error().toStdString();
    return sim;
}

int EndToEndTest::TcpPort(SimProcess& sim)
{
    const QString address = sim.WaitForLine(QStringLiteral("TCP "));
    return address.section(QLatin1Char(':'), -1).toInt();
}

MainWindowSeams EndToEndTest::NoDiscovery()
{
    return MainWindowSeams::Isolated();
}

MainWindowSeams EndToEndTest::ProbedPorts(const QStringList& ports)
{
    MainWindowSeams seams;
    seams.StartLanDiscovery = false;  // the serial prober only
    seams.EnumerateSerialPorts = [ports] { return ports; };
    seams.MakeDeviceChangeSource = [](quintptr, SerialPortEnumerator) {
        return std::make_unique<DeviceChangeSource>();
    };
    return seams;
}

void EndToEndTest::OpenWindow(const MainWindowSeams& seams)
{
    form = std::make_unique<TForm1>(seams);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

void EndToEndTest::ListUnit(const QString& address, int kind)
{
    const int before = Parts().Devices.Count();
    ASSERT_TRUE(WaitFor([&] { return !Parts().Devices.Flags().AddPending.load(); }, 3000));
    ASSERT_TRUE(Parts().Devices.AddFoundUnit(address, kUnknownMac, kind));
    ASSERT_TRUE(WaitForTiles(before + 1));
}

TDevicePanel* EndToEndTest::Tile(int index)
{
    return Parts().DeviceColumn->TileAt(index);
}

bool EndToEndTest::WaitForTiles(int count, int timeoutMs)
{
    return WaitFor([&] { return Parts().DeviceColumn->Tiles().size() >= count; }, timeoutMs);
}

void EndToEndTest::ClickTile(int index)
{
    TDevicePanel* tile = Tile(index);
    ASSERT_NE(tile, nullptr);
    ASSERT_TRUE(tile->isVisible());
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(TDevicePanel::kWidth - 8, 44));
}

bool EndToEndTest::WaitConnected(int timeoutMs)
{
    return WaitFor([this] { return State().Connected; }, timeoutMs);
}

int EndToEndTest::Boxes(const QString& text) const
{
    int count = 0;
    for (const MessageBoxes::Record& box : boxes.Boxes())
        count += box.text == text ? 1 : 0;
    return count;
}

bool EndToEndTest::SimGot(SimProcess& sim, const QByteArray& frame, int timeoutMs)
{
    return sim.WaitForExactLine(QStringLiteral("RX ") + HexLine(frame), timeoutMs);
}

int EndToEndTest::SimCount(SimProcess& sim, const QByteArray& frame)
{
    int count = 0;
    const QString wanted = QStringLiteral("RX ") + HexLine(frame);
    for (const QString& line : sim.Lines())
        count += line == wanted ? 1 : 0;
    return count;
}

}  // namespace qireq::e2e
