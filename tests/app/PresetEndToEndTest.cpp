// The File menu's preset commands in the real window: Save As writes the
// 444-byte file and names it in the caption; Open sends the stored block to
// a connected unit and waits for its answer, or shows it at once without a
// link; a file that is no preset changes nothing.
#include "support/EndToEnd.h"

#include "editor/BandEditor.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace qireq;
using namespace qireq::e2e;

namespace {

// File names as the user would pick them; an empty text is a cancel.
class ScriptedChooser : public PresetFileChooser {
public:
    QString saveName;
    QString openName;
    int saveAsked = 0;
    int openAsked = 0;

    QString ChooseSaveName() override
    {
        ++saveAsked;
        return saveName;
    }
    QString ChooseOpenName() override
    {
        ++openAsked;
        return openName;
    }
};

class PresetEndToEndTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
    }

    void UseChooser()
    {
        auto owned = std::make_unique<ScriptedChooser>();
        chooser = owned.get();
        Parts().Presets->SetFileChooser(std::move(owned));
    }

    // A preset whose trim is -7 dB and whose band 2 is at +3 dB.
    QString WritePreset(const char* name)
    {
        EqBlock record = ResetBlock;
        record[kBlockTrimOffset] = 107;
        record[static_cast<std::size_t>(BandRecordOffset(1) + 3)] = 18;
        preset = record;
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(PresetFileText(record));
        return path;
    }

    BandEditor& Editor() { return *form->Editor; }
    void Menu(QAction* item) { item->trigger(); }

    QTemporaryDir dir;
    ScriptedChooser* chooser = nullptr;
    EqBlock preset{};
};

TEST_F(PresetEndToEndTest, SaveAsWritesTheFileAndAsksBeforeReplacingOne)
{
    OpenWindow();
    UseChooser();
    chooser->saveName = dir.filePath(QStringLiteral("eq"));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);

    const QString written = dir.filePath(QStringLiteral("eq.bin"));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(text.size(), 444);
    EXPECT_TRUE(text.startsWith("0x01\r\n0x20\r\n0x03\r\n0x40\r\n0x4A\r\n0x14\r\n0x01\r\n"));
    EXPECT_TRUE(text.endsWith("0x01\r\n0x05\r\n0x60\r\n"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + written);

    // Saving over it again: No keeps the old file and the caption.
    form->setWindowTitle(QStringLiteral("QIR-EQ_V4.7"));
    QFile::remove(written);
    QFile marker(written);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("old");
    marker.close();
    boxes.SetAnswer(MessageBoxes::Answer::No);
    Menu(form->SaveItem);
    EXPECT_EQ(Boxes(QStringLiteral("File has already existed, override?")), 1);
    QFile kept(written);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7"));
}

TEST_F(PresetEndToEndTest, OpenWithALinkSendsTheBlockAndTheEditorWaitsForTheUnit)
{
    SimProcess& sim = StartSim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                                QStringLiteral("--capability"), QStringLiteral("16")});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = TcpPort(sim);
    OpenWindow(seams);
    UseChooser();
    ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(3000));
    ASSERT_TRUE(SimGot(sim, ReadEqBlockRequest()));
    ASSERT_TRUE(WaitFor([&] { return State().SendGate == 3; }, 3000)) << "the unit's block is applied";

    chooser->openName = WritePreset("hall.bin");
    // The connecting dialog was the active window for a moment.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Boxes(QStringLiteral("Do you want to save present preset?")), 1);
    EXPECT_EQ(chooser->saveAsked, 0) << "answered No: no save first";
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + chooser->openName);
    // Sent as stored; nothing on screen has changed yet.
    EXPECT_EQ(Editor().TrimEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(State().Eq.Trim, 0);
    EXPECT_TRUE(SimGot(sim, WriteEqBlockFrame(preset)));
    // The unit reports the block back and the editor follows.
    EXPECT_TRUE(WaitFor([&] { return Editor().TrimEdit()->text() == QStringLiteral("-7"); }, 3000));
    EXPECT_EQ(State().Eq.Bands[1].BandGain, 18);
}

TEST_F(PresetEndToEndTest, OpenWithoutALinkShowsThePresetAtOnceAndRefusesAnythingElse)
{
    OpenWindow();
    UseChooser();
    // Yes to saving first, then the save dialog is cancelled: the open goes on.
    boxes.SetAnswer(MessageBoxes::Answer::Yes);
    chooser->openName = WritePreset("club.bin");
    Menu(form->OpenItem);
    EXPECT_EQ(chooser->saveAsked, 1);
    EXPECT_EQ(chooser->openAsked, 1);
    EXPECT_EQ(Editor().TrimEdit()->text(), QStringLiteral("-7"));
    EXPECT_EQ(State().Eq.Bands[1].BandGain, 18);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + chooser->openName);

    // A file whose command byte is not the EQ block's.
    EqBlock other = ResetBlock;
    other[5] = 0x0B;
    other[kBlockTrimOffset] = 85;
    const QString wrong = dir.filePath(QStringLiteral("ping.bin"));
    QFile file(wrong);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PresetFileText(other));
    file.close();
    chooser->openName = wrong;
    boxes.SetAnswer(MessageBoxes::Answer::No);
    Menu(form->OpenItem);
    EXPECT_EQ(Boxes(QStringLiteral("Invalid file")), 1);
    EXPECT_EQ(Editor().TrimEdit()->text(), QStringLiteral("-7"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + dir.filePath(QStringLiteral("club.bin")));
}

}  // namespace
