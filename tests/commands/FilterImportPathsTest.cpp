// One filter text read by the window's "Import Filter Text..." and by
// `qireq-ctl import` gives the same filters, whatever encoding the tool that
// wrote it chose (Windows Notepad's "Unicode" is UTF-16LE with a byte order mark).
#include "PresetCommandsFixture.h"

#include "FilterCommands.h"
#include "commands/FilterImportCommand.h"
#include "dialogs/FilterImportDialog.h"

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTimer>

namespace qireq::test {
namespace {

class FixedTextChooser : public FilterTextChooser {
public:
    explicit FixedTextChooser(QString name) : name_(std::move(name)) {}
    QString ChooseFilterText() override { return name_; }

private:
    QString name_;
};

using FilterImportPathsTest = PresetCommandsFixture;

TEST_F(FilterImportPathsTest, WindowAndToolReadEveryEncodingAlike)
{
    const QString text = QStringLiteral("# Höhen (Kopfhörer)\r\nFilter 1: ON PK Fc 1000 Hz Gain -3 dB Q 2\r\n"
                                        "Filter 2: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.70\r\n");
    const std::pair<const char*, QByteArray> files[] = {
        {"notepad-unicode.txt", QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text)},
        {"utf16be.txt", QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom)(text)},
        {"latin1.txt", text.toLatin1()},
    };
    QMenu menu;
    FilterImportCommand import(*commands, menu, menu.addAction(QStringLiteral("&Save As")), *window_);
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        QString windowReport;
        import.SetFileChooser(std::make_unique<FixedTextChooser>(path));
        QTimer::singleShot(0, &menu, [&] {
            if (auto* dialog = qobject_cast<FilterImportDialog*>(QApplication::activeModalWidget())) {
                windowReport = dialog->Report()->toPlainText();
                dialog->reject();
            }
        });
        import.ImportFilterItemClick();

        const ctl::ImportOutcome tool = ctl::ImportToPreset(path, dir.filePath(QStringLiteral("out")));
        EXPECT_TRUE(tool.Error.isEmpty()) << name << ": " << qPrintable(tool.Error);
        EXPECT_EQ(tool.Filters, 2) << name;
        EXPECT_FALSE(windowReport.isEmpty()) << name << ": the window showed no report";
        EXPECT_EQ(tool.Report, windowReport) << name;
    }
}

}  // namespace
}  // namespace qireq::test
