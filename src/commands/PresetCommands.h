#pragma once
// The File menu's preset commands. Save As stores what the editor holds in a
// ".bin" file; Open reads one and sends it to the unit at the other end of
// an open link (the editor follows when the unit reports its block back) or,
// with no open link, applies it to the editor at once. Either command puts
// the file's name into the window's caption.
//
// The file names come from a PresetFileChooser: the window's SaveDialog and
// OpenDialog in the program, a script in tests. GUI thread only.
#include "eq/EqBlock.h"

#include <QString>

#include <memory>

class QWidget;

namespace qireq {

class BandEditor;
class RequestSender;
struct MainState;

class PresetFileChooser {
public:
    virtual ~PresetFileChooser() = default;
    // The chosen file's full name, or an empty text when the user cancelled.
    virtual QString ChooseSaveName() = 0;
    virtual QString ChooseOpenName() = 0;
};

// The file dialogs: filter "(bin文件)*.bin" over the pattern *.bin, no
// default extension and no overwrite prompt of their own (Save As asks its
// own question).
class DialogFileChooser final : public PresetFileChooser {
public:
    explicit DialogFileChooser(QWidget* owner) : owner_(owner) {}
    QString ChooseSaveName() override;
    QString ChooseOpenName() override;

    static const QString& Filter();

private:
    QWidget* owner_;
};

class PresetCommands {
public:
    // window: the caption's owner and the owner of every box shown.
    // savingRecord: the window's preset record, filled anew by each Save As.
    PresetCommands(MainState& state, RequestSender& requests, EqBlock& savingRecord,
                   BandEditor& editor, QWidget& window);
    ~PresetCommands();

    void SaveItemClick();
    void OpenItemClick();
    // Open's last steps for a block read from fileName: no band commands
    // while it is applied, the file's name in the caption, and the block
    // sent to the unit over an open link or, without one, shown at once.
    // It is one undo step of that name.
    void ApplyOpenedBlock(const EqBlock& block, const QString& fileName,
                          const QString& stepText = QStringLiteral("Open"));

    void SetFileChooser(std::unique_ptr<PresetFileChooser> chooser);

    // The caption after a preset was saved or opened: the title and the
    // file's name with the platform's separators.
    static QString CaptionFor(const QString& fileName);

private:
    enum class SaveOutcome { Saved, Cancelled, Declined, Failed };
    // Save As; only Failed (the file could not be written) is an error.
    SaveOutcome SaveAs();

    MainState& state_;
    RequestSender& requests_;
    EqBlock& savingRecord_;
    BandEditor& editor_;
    QWidget& window_;
    std::unique_ptr<PresetFileChooser> chooser_;
};

}  // namespace qireq
