#include "commands/ReportCommand.h"

#include "report/ReportContent.h"
#include "report/ReportWriter.h"
#include "controls/MessageBoxes.h"
#include "dialogs/ReportDialog.h"
#include "editor/PrintedPlot.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace qireq {

namespace {

class DialogReportChooser final : public ReportChooser {
public:
    explicit DialogReportChooser(QWidget* owner) : owner_(owner) {}

    std::optional<ReportRequest> ChooseReport(bool connected) override
    {
        ReportDialog dialog(connected ? QStringLiteral("The report of the connected unit.")
                                      : QStringLiteral("No unit is connected: the report shows the editor's "
                                                       "settings and says \"not connected\"."),
                            owner_);
        if (dialog.exec() != QDialog::Accepted || dialog.FileName().isEmpty())
            return std::nullopt;
        return ReportRequest{dialog.FileName(), dialog.Note()};
    }

private:
    QWidget* owner_;
};

}  // namespace

ReportCommand::ReportCommand(MainState& state, DeviceList& devices, std::function<UnitFacts()> facts,
                             TFFTDraw& plot, QMenu& fileMenu, QAction* after, QWidget& window)
    : state_(state),
      devices_(devices),
      facts_(std::move(facts)),
      plot_(plot),
      window_(window),
      item_(new QAction(QStringLiteral("Export Report..."), &fileMenu)),
      chooser_(std::make_unique<DialogReportChooser>(&window)),
      clock_([] { return QDateTime::currentDateTime(); })
{
    item_->setObjectName(QStringLiteral("ExportReportItem"));
    const QList<QAction*> items = fileMenu.actions();
    const qsizetype at = items.indexOf(after);
    fileMenu.insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, item_);
    connect(item_, &QAction::triggered, this, &ReportCommand::ExportReportItemClick);
}

ReportCommand::~ReportCommand() = default;

void ReportCommand::SetChooser(std::unique_ptr<ReportChooser> chooser)
{
    chooser_ = std::move(chooser);
}

void ReportCommand::ExportReportItemClick()
{
    const std::optional<DeviceEntry> unit =
        state_.Connected ? devices_.EntryAt(state_.ConnectedIndex) : std::nullopt;
    const std::optional<ReportRequest> request = chooser_->ChooseReport(state_.Connected);
    if (!request)
        return;
    const QString pdfName = ReportPdfName(request->FileName);
    if (QFileInfo::exists(pdfName) &&
        MessageBoxes::AskYesNo(&window_, QStringLiteral("File has already existed, override?")) !=
            MessageBoxes::Answer::Yes)
        return;
    const ReportContent content =
        MakeReportContent(state_.Eq, state_.Connected, unit, facts_ ? facts_() : UnitFacts{}, clock_(), request->Note);
    const QString failure = WriteReport(pdfName, content, state_.Eq, state_.Connected, RangeOf(plot_));
    if (!failure.isEmpty())
        MessageBoxes::Error(&window_, failure);
}

}  // namespace qireq
