#include "commands/FilterImportCommand.h"

#include "commands/PresetCommands.h"
#include "controls/MessageBoxes.h"
#include "dialogs/FilterImportDialog.h"
#include "filters/FilterImport.h"
#include "filters/FilterTextFile.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

#include <utility>

namespace qireq {

namespace {

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
    const FilterTextRead read = ReadFilterTextFile(fileName);
    if (!read.ok()) {
        MessageBoxes::Error(&window_, read.Error);
        return;
    }
    const ImportResult result = ImportFilterText(read.Text);

    FilterImportDialog dialog(result, fileName, &window_);
    if (dialog.exec() == QDialog::Accepted)
        presets_.ApplyOpenedBlock(result.Block, fileName, QStringLiteral("Import Filter Text"));
}

}  // namespace qireq
