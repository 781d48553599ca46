#include "commands/FilterImportCommand.h"

#include "commands/PresetCommands.h"
#include "controls/MessageBoxes.h"
#include "dialogs/FilterImportDialog.h"
#include "filters/FilterImport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStringDecoder>
#include <QWidget>

#include <utility>

namespace qireq {

namespace {

// Filter texts are a few kilobytes; anything far larger is not one.
constexpr qint64 kLargestText = 1 << 20;

class DialogTextChooser final : public FilterTextChooser {
public:
    explicit DialogTextChooser(QWidget* owner) : owner_(owner) {}

    QString ChooseFilterText() override
    {
        QFileDialog dialog(owner_);
        dialog.setObjectName(QStringLiteral("ImportFilterDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({QStringLiteral("Filter text (*.txt *.csv *.tsv *.cfg)"),
                               QStringLiteral("All files (*)")});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }

private:
    QWidget* owner_;
};

// The text as its byte order mark says, else UTF-8, else (Windows tools
// writing in the system's code page) Latin-1, which takes any byte.
QString DecodeText(const QByteArray& bytes)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(marked.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

}  // namespace

FilterImportCommand::FilterImportCommand(PresetCommands& presets, QMenu& fileMenu, QAction* after,
                                         QWidget& window)
    : presets_(presets),
      window_(window),
      item_(new QAction(QStringLiteral("Import Filter Text..."), &fileMenu)),
      chooser_(std::make_unique<DialogTextChooser>(&window))
{
    item_->setObjectName(QStringLiteral("ImportFilterItem"));
    const QList<QAction*> items = fileMenu.actions();
    const qsizetype at = items.indexOf(after);
    fileMenu.insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, item_);
    connect(item_, &QAction::triggered, this, &FilterImportCommand::ImportFilterItemClick);
}

FilterImportCommand::~FilterImportCommand() = default;

void FilterImportCommand::SetFileChooser(std::unique_ptr<FilterTextChooser> chooser)
{
    chooser_ = std::move(chooser);
}

void FilterImportCommand::ImportFilterItemClick()
{
    const QString fileName = chooser_->ChooseFilterText();
    if (fileName.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(fileName);
    QFile file(fileName);
    // Only regular files: a FIFO would block the window on its first read.
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        MessageBoxes::Error(&window_, QStringLiteral("Cannot open file %1").arg(shown));
        return;
    }
    if (file.size() > kLargestText) {
        MessageBoxes::Error(&window_, QStringLiteral("%1 is too large for a filter text").arg(shown));
        return;
    }
    const ImportResult result = ImportFilterText(DecodeText(file.readAll()));

    FilterImportDialog dialog(result, fileName, &window_);
    if (dialog.exec() == QDialog::Accepted)
        presets_.ApplyOpenedBlock(result.Block, fileName);
}

}  // namespace qireq
