// Undo and redo, A/B compare and the report in the real window against the
// simulated unit: what the unit holds is read back from it after each.
#include "support/EndToEnd.h"

#include "commands/PresetCommands.h"
#include "commands/ReportCommand.h"
#include "controls/CSpinButton.h"
#include "editor/ABCompare.h"
#include "controls/Fftdraw.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "editor/PlotInteraction.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

using namespace qireq;
using namespace qireq::e2e;

namespace {

class UndoEndToEndTest : public EndToEndTest {
protected:
    BandEditor& Editor() { return *form->Editor; }
    EditHistory& History() { return Editor().History(); }
    ABCompare& Compare() { return *form->Compare; }

    SimProcess& ConnectToSim()
    {
        SimProcess& sim = StartSim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                                    QStringLiteral("--capability"), QStringLiteral("16")});
        MainWindowSeams seams = NoDiscovery();
        seams.LanPort = TcpPort(sim);
        OpenWindow(seams);
        ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
        ConnectTile(0);
        return sim;
    }

    void ConnectTile(int index)
    {
        ClickTile(index);
        EXPECT_TRUE(WaitConnected(3000));
        EXPECT_TRUE(WaitFor([&] { return State().SendGate == 3; }, 3000)) << "the unit's block is in";
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    static void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Every write answered and nothing of undo's left to send.
    bool Settled()
    {
        return WaitFor([&] { return !form->Requests().AwaitingEcho() && !History().Queue().Busy(); }, 5000);
    }

    // The unit's block, read from it now.
    EqBlock ReadBack()
    {
        Editor().SetLastBlock(EqBlock{});
        form->Requests().SendReadEqBlock();
        EXPECT_TRUE(WaitFor([&] { return Editor().LastBlock() != EqBlock{}; }, 3000));
        return Editor().LastBlock();
    }

    void DragBand3()
    {
        TFFTDraw* plot = form->FFTDraw1;
        const TBlock marker = plot->Block(2);
        const PlotGeometry g = form->PlotMouse->Geometry();
        const auto pixel = [&](double x, double db) {
            return QPoint(g.PageLeft + static_cast<int>((x - g.XMin) / (g.XMax - g.XMin) * g.PageWidth),
                          g.PageTop + static_cast<int>(g.PageHeight - g.PageHeight * (db - g.YMin) /
                                                                          (g.YMax - g.YMin)));
        };
        const QPoint from = pixel(marker.X, marker.Y);
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 5; ++i) {
            QTest::mouseMove(plot, from + QPoint(12 * i, -8 * i));
            QTest::qWait(30);
        }
        QTest::mouseRelease(plot, Qt::LeftButton, {}, from + QPoint(60, -40));
    }

    // To the widget with the focus, as a typed key goes.
    void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : form.get(), key, modifiers);
    }
};

TEST_F(UndoEndToEndTest, DragAndTrimUndoneTwiceRestoreTheUnitsBlockAndRedoBringsThemBack)
{
    SimProcess& sim = ConnectToSim();
    const EqBlock before = ReadBack();
    const EqState shown = State().Eq;
    EXPECT_FALSE(form->UndoItem->isEnabled()) << "the block read on connecting is no step";

    DragBand3();
    ASSERT_TRUE(Settled());
    QTest::mousePress(Editor().TrimDecImg(), Qt::LeftButton);
    QTest::mouseRelease(Editor().TrimDecImg(), Qt::LeftButton);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(form->UndoItem->text(), QStringLiteral("Undo Trim"));
    EXPECT_EQ(History().Stack().count(), 2);
    const EqBlock edited = ReadBack();
    ASSERT_NE(edited, before);

    // With a field focused the keys still undo the EQ, not the field's text.
    Editor().Band(2).FreqEdit->setFocus();
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == Editor().Band(2).FreqEdit; }, 2000));
    Keys(Qt::Key_Z, Qt::ControlModifier);
    Keys(Qt::Key_Z, Qt::ControlModifier);  // queued behind the trim write's echo
    EXPECT_EQ(form->RedoItem->text(), QStringLiteral("Redo Band 3 Drag"));
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(SimGot(sim, SetTrimFrame().Fill(shown.Trim)));
    EXPECT_TRUE(SimGot(sim, SetBandFrame(3).Fill(shown.Bands[2])));
    EXPECT_EQ(ReadBack(), before);
    EXPECT_EQ(State().Eq.Bands[2].BandFreq, shown.Bands[2].BandFreq) << "the editor followed the echo";

    Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Keys(Qt::Key_Y, Qt::ControlModifier);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(ReadBack(), edited);
    EXPECT_EQ(form->UndoItem->text(), QStringLiteral("Undo Trim"));

    // An opened preset with three bands changed is undone with one block write.
    EqBlock preset = edited;
    preset[kBlockTrimOffset] = 107;
    for (int band = 0; band < 3; ++band)
        preset[static_cast<std::size_t>(BandRecordOffset(band) + 3)] = 18;
    Parts().Presets->ApplyOpenedBlock(preset, QStringLiteral("hall.bin"));
    ASSERT_TRUE(Settled());
    ASSERT_EQ(ReadBack(), preset);
    EXPECT_EQ(form->UndoItem->text(), QStringLiteral("Undo Open"));
    Keys(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(SimGot(sim, WriteEqBlockFrame(edited)));
    EXPECT_EQ(ReadBack(), edited);
}

TEST_F(UndoEndToEndTest, CompareToggleSendsTheOtherSlotsBlockAndAnotherUnitFindsNoSlotsOrSteps)
{
    SimProcess& sim = ConnectToSim();
    const EqBlock a = ReadBack();
    Click(form->StoreBtn);

    QTest::mouseClick(Editor().Band(1).QCButton, Qt::LeftButton, {}, QPoint(8, 4));
    QTest::mousePress(Editor().TrimDecImg(), Qt::LeftButton);
    QTest::mouseRelease(Editor().TrimDecImg(), Qt::LeftButton);
    ASSERT_TRUE(Settled());
    Click(form->CompareBtn);  // B is empty: it becomes live, nothing is sent
    EXPECT_EQ(form->CompareBtn->text(), QStringLiteral("B"));
    Click(form->StoreBtn);
    const EqBlock b = ReadBack();
    ASSERT_NE(a, b);
    EXPECT_NE(form->FFTDraw1->FindPlot(ABCompare::kOtherCurvePlot), nullptr) << "A is drawn beside";

    Click(form->CompareBtn);
    EXPECT_EQ(form->CompareBtn->text(), QStringLiteral("A"));
    EXPECT_TRUE(SimGot(sim, WriteEqBlockFrame(a)));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(ReadBack(), a);
    EXPECT_EQ(State().Eq.Trim, 0) << "the editor shows A";

    Click(form->CompareBtn);
    EXPECT_TRUE(SimGot(sim, WriteEqBlockFrame(b)));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(ReadBack(), b);

    // Another unit on another address: the steps and the slots were the first one's.
    SimProcess& other = StartSim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.2:%1").arg(TcpPort(sim)),
                                  QStringLiteral("--capability"), QStringLiteral("16")});
    ASSERT_EQ(TcpPort(other), TcpPort(sim));
    ListUnit(QStringLiteral("127.0.0.2"), kProbeUnit);
    ClickTile(0);  // disconnects the first
    ASSERT_TRUE(WaitFor([&] { return !State().Connected; }, 3000));
    EXPECT_TRUE(form->UndoItem->isEnabled()) << "leaving a unit keeps its steps";
    ConnectTile(1);
    EXPECT_FALSE(form->UndoItem->isEnabled());
    EXPECT_EQ(form->CompareBtn->text(), QStringLiteral("A"));
    EXPECT_FALSE(Compare().Slots().Held(CompareSlots::Slot::A).has_value());
    EXPECT_EQ(form->FFTDraw1->FindPlot(ABCompare::kOtherCurvePlot), nullptr);
}

class ScriptedReport final : public ReportChooser {
public:
    explicit ScriptedReport(ReportRequest request) : request_(std::move(request)) {}
    std::optional<ReportRequest> ChooseReport(bool) override { return request_; }

private:
    ReportRequest request_;
};

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(UndoEndToEndTest, ExportReportWritesTheConnectedUnitsReportAndPlot)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    ConnectToSim();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Parts().Report->SetChooser(std::make_unique<ScriptedReport>(
        ReportRequest{dir.filePath(QStringLiteral("commissioning")), QStringLiteral("Main hall, left array")}));
    ASSERT_TRUE(WaitFor([&] { return Parts().Devices.EntryAt(0)->Mac != kUnknownMac; }, 3000));
    const QString mac = Parts().Devices.EntryAt(0)->Mac;

    // The item sits in the File menu after the filter import and the Units
    // Overview.
    const QList<QAction*> items = form->FileMenu->actions();
    ASSERT_EQ(items.indexOf(Parts().OverviewItem), items.indexOf(Parts().FilterImport->ImportFilterItem()) + 1);
    ASSERT_EQ(items.indexOf(Parts().Report->ExportReportItem()), items.indexOf(Parts().OverviewItem) + 1);
    Parts().Report->ExportReportItem()->trigger();
    EXPECT_TRUE(boxes.Boxes().isEmpty());

    const QString text = PdfText(dir.filePath(QStringLiteral("commissioning.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("QIR-SIM"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("IP 127.0.0.1")));
    EXPECT_TRUE(text.contains(mac.mid(0, 2).toUpper() + QLatin1Char(':') + mac.mid(2, 2).toUpper()));
    EXPECT_TRUE(text.contains(QStringLiteral("Main hall, left array")));
    EXPECT_TRUE(text.contains(QStringLiteral("2010.0 Hz")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("commissioning.png"))));
}

}  // namespace
