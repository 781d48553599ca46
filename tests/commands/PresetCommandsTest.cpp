// Open and Save As on the real editor: an error in the save that Open offers
// first ends the Open, a save the user cancels or declines does not; the
// caption and the messages name files with the platform's separators.
#include "PresetCommandsFixture.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace qireq::test {
namespace {

const QString kTitle = QStringLiteral("QIR-EQ_V4.7    --");

using PresetCommandsTest = PresetCommandsFixture;

TEST_F(PresetCommandsTest, OpenEndsWhenTheSaveOfferedFirstFails)
{
    chooser->saveName = dir.filePath(QStringLiteral("no/such/folder/eq"));
    chooser->openName = WritePreset(QStringLiteral("hall.bin"));
    commands->OpenItemClick();

    const QString unwritable = QDir::toNativeSeparators(dir.filePath("no/such/folder/eq.bin"));
    EXPECT_EQ(Texts(), QStringList({QStringLiteral("Do you want to save present preset?"),
                                    QStringLiteral("Cannot create file ") + unwritable}));
    EXPECT_EQ(boxes.Boxes().back().kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(chooser->openAsked, 0) << "no open dialog after the error";
    EXPECT_EQ(state_.Eq.Trim, 0);
    EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("QIR-EQ_V4.7"));

    // The same failure from the menu's own Save As ends only that command.
    boxes.Clear();
    commands->SaveItemClick();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("Cannot create file ") + unwritable});
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("QIR-EQ_V4.7"));
}

TEST_F(PresetCommandsTest, OpenGoesOnAfterASaveTheUserDeclinesOrCancels)
{
    const QString existing = dir.filePath(QStringLiteral("eq.bin"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    chooser->saveName = dir.filePath(QStringLiteral("eq"));
    // Yes to saving first, No to replacing the file that is there.
    chooser->onSave = [this] { boxes.SetAnswer(MessageBoxes::Answer::No); };
    chooser->openName = WritePreset(QStringLiteral("hall.bin"));
    commands->OpenItemClick();

    EXPECT_EQ(Texts(), QStringList({QStringLiteral("Do you want to save present preset?"),
                                    QStringLiteral("File has already existed, override?")}));
    QFile kept(existing);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    EXPECT_EQ(chooser->openAsked, 1);
    EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("-7"));
    EXPECT_EQ(window_->windowTitle(), kTitle + QDir::toNativeSeparators(chooser->openName));

    // Yes to saving first, then no file chosen: the open goes on too.
    boxes.SetAnswer(MessageBoxes::Answer::Yes);
    chooser->onSave = nullptr;
    chooser->saveName.clear();
    state_.Eq.Trim = 0;
    editor_->ShowTrim();
    commands->OpenItemClick();
    EXPECT_EQ(chooser->openAsked, 2);
    EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("-7"));
}

TEST_F(PresetCommandsTest, CaptionAndMessagesNameFilesWithTheSystemsSeparators)
{
    // Windows shows "C:\Presets\hall.bin"; elsewhere "/" is the separator.
#ifdef Q_OS_WIN
    EXPECT_EQ(PresetCommands::CaptionFor(QStringLiteral("C:/Presets/hall.bin")),
              kTitle + QStringLiteral("C:\\Presets\\hall.bin"));
#else
    EXPECT_EQ(PresetCommands::CaptionFor(QStringLiteral("/home/eq/Presets/hall.bin")),
              kTitle + QStringLiteral("/home/eq/Presets/hall.bin"));
#endif

    boxes.SetAnswer(MessageBoxes::Answer::No);
    chooser->openName = dir.filePath(QStringLiteral("missing.bin"));
    commands->OpenItemClick();
    ASSERT_EQ(boxes.Boxes().size(), 2);
    EXPECT_EQ(boxes.Boxes()[1].kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(boxes.Boxes()[1].text,
              QStringLiteral("Cannot open file ") + QDir::toNativeSeparators(chooser->openName));

    chooser->saveName = dir.filePath(QStringLiteral("club"));
    commands->SaveItemClick();
    EXPECT_EQ(window_->windowTitle(),
              kTitle + QDir::toNativeSeparators(dir.filePath(QStringLiteral("club.bin"))));
}

}  // namespace
}  // namespace qireq::test
