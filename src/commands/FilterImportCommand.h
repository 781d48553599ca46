#pragma once
// File > "Import Filter Text...": a filter text from REW, Equalizer APO or
// AutoEq, fitted to the unit's five bands and shown with its report and
// its curves before anything happens. OK applies the block as File > Open
// applies a preset (PresetCommands::ApplyOpenedBlock: sent to the unit over
// an open link, or shown in the editor at once); Cancel changes nothing.
//
// The file name comes from a FilterTextChooser: a file dialog in the
// program, a script in tests. GUI thread only.
#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace qireq {

class PresetCommands;

class FilterTextChooser {
public:
    virtual ~FilterTextChooser() = default;
    // The chosen file's full name, or an empty text when the user cancelled.
    virtual QString ChooseFilterText() = 0;
};

class FilterImportCommand : public QObject {
    Q_OBJECT
public:
    // Adds the menu item "Import Filter Text..." to fileMenu right after
    // `after`; window owns the dialogs and boxes shown.
    FilterImportCommand(PresetCommands& presets, QMenu& fileMenu, QAction* after, QWidget& window);
    ~FilterImportCommand() override;

    QAction* ImportFilterItem() const { return item_; }
    void ImportFilterItemClick();
    void SetFileChooser(std::unique_ptr<FilterTextChooser> chooser);

private:
    PresetCommands& presets_;
    QWidget& window_;
    QAction* item_;
    std::unique_ptr<FilterTextChooser> chooser_;
};

}  // namespace qireq
