#include "commands/PresetCommands.h"

#include "controls/MessageBoxes.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/RequestSender.h"
#include "state/ApplicationTitle.h"
#include "state/MainState.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include <utility>

namespace qireq {

namespace {

QString RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const char* name)
{
    QFileDialog dialog(owner);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    // The filter's description names the pattern itself, so the pattern Qt
    // would repeat after it stays hidden.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(DialogFileChooser::Filter());
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace

const QString& DialogFileChooser::Filter()
{
    // The description "(bin文件)*.bin" over the pattern "*.bin": Qt takes the
    // patterns from the last parentheses and, with the dialog's
    // HideNameFilterDetails, shows only what stands before them.
    static const QString filter = QStringLiteral("(bin文件)*.bin (*.bin)");
    return filter;
}

QString DialogFileChooser::ChooseSaveName()
{
    return RunFileDialog(owner_, QFileDialog::AcceptSave, "SaveDialog");
}

QString DialogFileChooser::ChooseOpenName()
{
    return RunFileDialog(owner_, QFileDialog::AcceptOpen, "OpenDialog");
}

PresetCommands::PresetCommands(MainState& state, RequestSender& requests, EqBlock& savingRecord,
                               BandEditor& editor, QWidget& window)
    : state_(state),
      requests_(requests),
      savingRecord_(savingRecord),
      editor_(editor),
      window_(window),
      chooser_(std::make_unique<DialogFileChooser>(&window))
{
}

PresetCommands::~PresetCommands() = default;

void PresetCommands::SetFileChooser(std::unique_ptr<PresetFileChooser> chooser)
{
    chooser_ = std::move(chooser);
}

QString PresetCommands::CaptionFor(const QString& fileName)
{
    return ApplicationTitle() + QStringLiteral("    --") + QDir::toNativeSeparators(fileName);
}

void PresetCommands::SaveItemClick()
{
    SaveAs();
}

// Save As: the record takes the editor's values (the off flags as the
// editor shows them), the name gets ".bin" unless it ends in exactly that,
// an existing file is replaced only after a Yes.
PresetCommands::SaveOutcome PresetCommands::SaveAs()
{
    const QString chosen = chooser_->ChooseSaveName();
    if (chosen.isEmpty())
        return SaveOutcome::Cancelled;
    FillSavingRecord(savingRecord_, state_.Eq, state_.Connected);
    const QString fileName = PresetFileName(chosen);
    if (QFileInfo::exists(fileName) &&
        MessageBoxes::AskYesNo(&window_, QStringLiteral("File has already existed, override?")) !=
            MessageBoxes::Answer::Yes)
        return SaveOutcome::Declined;
    const QString failure = WritePresetFile(fileName, savingRecord_);
    if (!failure.isEmpty()) {
        MessageBoxes::Error(&window_, failure);
        return SaveOutcome::Failed;
    }
    window_.setWindowTitle(CaptionFor(fileName));
    return SaveOutcome::Saved;
}

// Open: offered a save first; a save that fails is an error and ends the
// command, one the user cancels or declines does not. A file that is not a
// preset changes nothing. With an open link the block goes to the unit as
// it stands and the editor waits for the unit's answer; without one the
// editor shows it at once.
void PresetCommands::OpenItemClick()
{
    if (MessageBoxes::AskYesNo(&window_, QStringLiteral("Do you want to save present preset?")) ==
            MessageBoxes::Answer::Yes &&
        SaveAs() == SaveOutcome::Failed)
        return;

    const QString fileName = chooser_->ChooseOpenName();
    if (fileName.isEmpty())
        return;
    const PresetLoad load = ReadPresetFile(fileName);
    switch (load.outcome) {
    case PresetLoad::Outcome::Loaded:
        break;
    case PresetLoad::Outcome::InvalidFile:
        MessageBoxes::Message(&window_, load.message);
        return;
    case PresetLoad::Outcome::CannotOpen:
    case PresetLoad::Outcome::NotAnInteger:
        MessageBoxes::Error(&window_, load.message);
        return;
    }

    ApplyOpenedBlock(load.record, fileName);
}

void PresetCommands::ApplyOpenedBlock(const EqBlock& block, const QString& fileName,
                                      const QString& stepText)
{
    // One undo step, whether the unit or the editor shows the block.
    EditHistory& history = editor_.History();
    history.Record(stepText, history.Current(), SnapshotOfBlock(block));
    state_.SendGate = 0;
    window_.setWindowTitle(CaptionFor(fileName));
    if (requests_.LinkOpen())
        requests_.SendEqBlock(block);
    else
        editor_.ApplyEqBlock(block);
}

}  // namespace qireq
