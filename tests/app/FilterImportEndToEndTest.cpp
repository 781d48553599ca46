// File > "Import Filter Text..." in the real window: the item follows
// "&Save As"; the report shows the imported and fitted curves and every
// line not read; OK applies the fitted block as Open applies a preset (the
// editor at once without a link, the unit over an open one) and Cancel
// changes nothing.
#include "support/EndToEnd.h"

#include "controls/Fftdraw.h"
#include "dialogs/FilterImportDialog.h"
#include "editor/BandEditor.h"
#include "filters/FilterImport.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace qireq;
using namespace qireq::e2e;

namespace {

// An AutoEq text as users bring it, with one line the unit cannot take.
const char kSample[] =
    "Preamp: -6,2 dB\r\n"
    "Filter 1: ON LSC Fc 105 Hz Gain 5,5 dB Q 0,70\r\n"
    "Filter 2: ON PK Fc 1,549 Hz Gain -3 dB Q 2\r\n"
    "Filter 3: ON LPQ Fc 18000 Hz Q 0.7\r\n";

class ScriptedTextChooser : public FilterTextChooser {
public:
    QString name;
    QString ChooseFilterText() override { return name; }
};

// What the dialog showed while it was up.
struct DialogView {
    bool shown = false;
    int curves = 0;
    QString report;
    QString difference;
};

class FilterImportEndToEndTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sample = dir.filePath(QStringLiteral("autoeq.txt"));
        QFile file(sample);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kSample);
        expected = ImportFilterText(QString::fromLatin1(kSample)).Block;
    }

    void UseChooser()
    {
        auto owned = std::make_unique<ScriptedTextChooser>();
        owned->name = sample;
        Parts().FilterImport->SetFileChooser(std::move(owned));
    }

    // Chooses the item from the File menu and answers the report with a
    // click on OK or Cancel.
    DialogView Import(const char* button)
    {
        DialogView view;
        QTimer::singleShot(0, form.get(), [&] {
            ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            auto* dialog = qobject_cast<FilterImportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            view.shown = true;
            view.curves = dialog->Plot()->PlotCount();
            view.report = dialog->Report()->toPlainText();
            view.difference = dialog->Difference()->text();
            auto* click = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
            ASSERT_NE(click, nullptr);
            QTest::mouseClick(click, Qt::LeftButton);
        });
        ImportItem()->trigger();
        return view;
    }

    QAction* ImportItem() { return form->FileMenu->findChild<QAction*>(QStringLiteral("ImportFilterItem")); }
    BandEditor& Editor() { return *form->Editor; }

    QTemporaryDir dir;
    QString sample;
    EqBlock expected{};
};

TEST_F(FilterImportEndToEndTest, TheItemFollowsSaveAsAndOkShowsTheFittedBlockWithoutALink)
{
    OpenWindow();
    UseChooser();
    const QList<QAction*> items = form->FileMenu->actions();
    ASSERT_EQ(items.indexOf(ImportItem()), items.indexOf(form->SaveItem) + 1);
    EXPECT_EQ(ImportItem()->text(), QStringLiteral("Import Filter Text..."));
    EXPECT_EQ(items.last(), form->ExitItem);

    // Cancel: the editor and the caption stay.
    const QString caption = form->windowTitle();
    const DialogView cancelled = Import("CancelBtn");
    ASSERT_TRUE(cancelled.shown);
    EXPECT_EQ(cancelled.curves, 2);
    EXPECT_TRUE(cancelled.report.contains(QLatin1String("line 4, not representable")))
        << cancelled.report.toStdString();
    EXPECT_TRUE(cancelled.difference.contains(QLatin1String("largest")));
    EXPECT_EQ(Editor().TrimEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(form->windowTitle(), caption);

    // OK: the editor shows the block at once, as after opening it.
    ASSERT_TRUE(Import("OKBtn").shown);
    EXPECT_EQ(Editor().TrimEdit()->text(), QStringLiteral("-6"));
    for (int b = 0; b < kBandCount; ++b) {
        const EqBand& band = State().Eq.Bands[static_cast<std::size_t>(b)];
        const std::size_t at = static_cast<std::size_t>(BandRecordOffset(b));
        EXPECT_EQ(band.BandFreq, expected[at + 1] * 100 + expected[at + 2]) << "band " << b + 1;
        EXPECT_EQ(band.BandGain, expected[at + 3]) << "band " << b + 1;
    }
    EXPECT_EQ(State().Eq.Bands[0].BandType, kLowShelf);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + sample);
}

TEST_F(FilterImportEndToEndTest, WithALinkCancelSendsNothingAndOkSendsTheBlock)
{
    SimProcess& sim = StartSim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = TcpPort(sim);
    OpenWindow(seams);
    UseChooser();
    ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(3000));
    ASSERT_TRUE(SimGot(sim, ReadEqBlockRequest()));
    ASSERT_TRUE(WaitFor([&] { return State().SendGate == 3; }, 3000)) << "the unit's block is applied";

    ASSERT_TRUE(Import("CancelBtn").shown);
    QTest::qWait(300);
    EXPECT_EQ(SimCount(sim, WriteEqBlockFrame(expected)), 0);
    EXPECT_EQ(State().SendGate, 3);

    ASSERT_TRUE(Import("OKBtn").shown);
    EXPECT_TRUE(SimGot(sim, WriteEqBlockFrame(expected)));
    // The unit reports the block back and the editor follows.
    EXPECT_TRUE(WaitFor([&] { return Editor().TrimEdit()->text() == QStringLiteral("-6"); }, 3000));
}

}  // namespace
