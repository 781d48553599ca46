// What a user may hand the preset commands by mistake: binary garbage, a
// huge file, a folder, a named pipe, a file that may not be read, a full or
// read-only disk, a folder that went away, names beyond ASCII. Each ends
// in a clear message and loses nothing: the editor, the caption and any
// preset already on disk stay as they were.
#include "PresetCommandsFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qireq::test {
namespace {

class PresetBadInputTest : public PresetCommandsFixture {
protected:
    void SetUp() override
    {
        PresetCommandsFixture::SetUp();
        boxes.SetAnswer(MessageBoxes::Answer::No);  // Open's offer to save first is declined
    }

    // Opens `path` (declining to save first): the one message shown.
    QString Open(const QString& path)
    {
        boxes.Clear();
        chooser->openName = path;
        commands->OpenItemClick();
        return boxes.Boxes().size() == 2 ? boxes.Boxes()[1].text : QStringLiteral("(no message)");
    }
    QString Save(const QString& path)
    {
        boxes.Clear();
        chooser->saveName = path;
        commands->SaveItemClick();
        return boxes.Boxes().isEmpty() ? QString() : boxes.Boxes().back().text;
    }
    void ExpectNothingChanged()
    {
        EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("0"));
        EXPECT_EQ(window_->windowTitle(), QStringLiteral("QIR-EQ_V4.7"));
    }
    static QString Native(const QString& path) { return QDir::toNativeSeparators(path); }
};

TEST_F(PresetBadInputTest, FilesThatAreNoPresetGiveAClearMessage)
{
    // Binary garbage: the message shows a short, printable start of it.
    const QString garbage = dir.filePath(QStringLiteral("garbage.bin"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>((i * 37 + 11) % 256 == 10 ? 0 : (i * 37 + 11) % 256));
    file.write(bytes);
    file.close();
    const QString message = Open(garbage);
    EXPECT_TRUE(message.endsWith(QStringLiteral("' is not a valid integer value"))) << qPrintable(message);
    EXPECT_LT(message.size(), 100);
    for (const QChar c : message)
        ASSERT_TRUE(c.isPrint()) << qPrintable(message);
    ExpectNothingChanged();

    // A huge file (sparse: 256 MB of zero bytes, no line end) is read no
    // further than any preset could reach.
    const QString huge = dir.filePath(QStringLiteral("huge.bin"));
    QFile big(huge);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(256 << 20));
    big.close();
    EXPECT_TRUE(Open(huge).endsWith(QStringLiteral("...' is not a valid integer value")));
    ExpectNothingChanged();

    // A folder and a named pipe are no files to open; the pipe must not hang.
    EXPECT_EQ(Open(dir.path()), QStringLiteral("Cannot open file ") + Native(dir.path()));
#ifdef Q_OS_UNIX
    const QString pipe = dir.filePath(QStringLiteral("pipe.bin"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(Open(pipe), QStringLiteral("Cannot open file ") + Native(pipe));
#endif
    ExpectNothingChanged();
}

TEST_F(PresetBadInputTest, SavingWhereNothingCanBeWrittenKeepsWhatWasThere)
{
    // The folder chosen went away before the save.
    const QString gone = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_EQ(Save(gone + QStringLiteral("/eq")), QStringLiteral("Cannot create file ") + Native(gone + "/eq.bin"));
    ExpectNothingChanged();

#ifndef Q_OS_UNIX
    GTEST_SKIP() << "full and read-only disks are made with Linux's tmpfs";
#else
    if (::geteuid() != 0)
        GTEST_SKIP() << "full and read-only disks are made as root";
    // A full disk: a tiny file system of its own, filled up, holding an
    // older preset that must survive the failed save.
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(disk));
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "no tmpfs here";
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
    const QString older = disk + QStringLiteral("/eq.bin");
    ASSERT_TRUE(WritePresetFile(older, ResetBlock).isEmpty());
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();
    boxes.SetAnswer(MessageBoxes::Answer::Yes);  // replace it
    EXPECT_EQ(Save(disk + QStringLiteral("/eq")), QStringLiteral("Cannot create file ") + Native(older));
    EXPECT_EQ(ReadPresetFile(older).record, ResetBlock);
    // Read-only: the same message, the same preset.
    ASSERT_EQ(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", disk}), 0);
    EXPECT_EQ(Save(disk + QStringLiteral("/eq")), QStringLiteral("Cannot create file ") + Native(older));
    EXPECT_EQ(ReadPresetFile(older).record, ResetBlock);
    ExpectNothingChanged();
#endif
}

TEST_F(PresetBadInputTest, NamesBeyondAsciiAreSavedOpenedAndNamedAsTheyAre)
{
    const QString folder = dir.filePath(QStringLiteral("Säle €"));
    ASSERT_TRUE(QDir().mkdir(folder));
    state_.Eq.Trim = -4;
    EXPECT_TRUE(Save(folder + QStringLiteral("/Bühne ü 音")).isEmpty());
    const QString saved = folder + QStringLiteral("/Bühne ü 音.bin");
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("QIR-EQ_V4.7    --") + Native(saved));
    state_.Eq.Trim = 0;
    editor_->ShowTrim();
    EXPECT_EQ(Open(saved), QStringLiteral("(no message)"));
    EXPECT_EQ(editor_->TrimEdit()->text(), QStringLiteral("-4"));
    EXPECT_EQ(Open(folder + QStringLiteral("/Süd.bin")),
              QStringLiteral("Cannot open file ") + Native(folder + QStringLiteral("/Süd.bin")));
}

}  // namespace
}  // namespace qireq::test
