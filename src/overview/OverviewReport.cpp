// The Units overview's "Export Report...": every selected unit read as
// "Read" reads it, with its block, then one PDF with a page per unit. The
// file and the note are asked once, before the run; a cancelled run writes
// no report.
#include "overview/UnitsOverviewWindow.h"

#include "controls/MessageBoxes.h"
#include "fleet/UnitSession.h"
#include "overview/UnitReportPage.h"
#include "overview/UnitsTableModel.h"

#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <mutex>

namespace qireq {

void UnitsOverviewWindow::ExportReportClick()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty() || IsRunning())
        return;
    const std::optional<ReportRequest> request = prompts_->ChooseReport();
    if (!request)
        return;
    const QString pdfName = ReportPdfName(request->FileName);
    if (QFileInfo::exists(pdfName) &&
        MessageBoxes::AskYesNo(this, QStringLiteral("File has already existed, override?")) !=
            MessageBoxes::Answer::Yes)
        return;

    struct Read {
        std::mutex Lock;
        QMap<QString, EqBlock> ByLabel;
    };
    auto read = std::make_shared<Read>();
    const auto work = [read](fleet::UnitSession& s, fleet::UnitResult& r) {
        if (!fleet::ReadUnitState(s, r))
            return false;
        const std::optional<EqBlock> block = s.ReadBlock();
        if (!block)
            return false;  // the session's error says why
        const std::lock_guard<std::mutex> hold(read->Lock);
        read->ByLabel.insert(s.Target().Label(), *block);
        return true;
    };
    std::vector<DeviceEntry> listed;
    for (int row : rows)
        listed.push_back(model_->Unit(row));
    const QString note = request->Note;
    StartRun(RunKind::Report, rows, work, [this, read, listed, note, pdfName](const std::vector<fleet::UnitResult>& results) {
        if (std::any_of(results.begin(), results.end(), [](const fleet::UnitResult& r) { return r.Cancelled; })) {
            extraNote_ = QStringLiteral("no report written");
            return;
        }
        const QDateTime when = QDateTime::currentDateTime();
        std::vector<ReportPage> pages;
        for (std::size_t i = 0; i < results.size() && i < listed.size(); ++i) {
            const fleet::UnitResult& r = results[i];
            const auto block = read->ByLabel.contains(r.Unit) ? std::optional<EqBlock>(read->ByLabel.value(r.Unit))
                                                              : std::nullopt;
            pages.push_back(UnitReportPage(listed[i], r, block, when, note));
        }
        const QString error = WriteReportPages(pdfName, pages, PlotRange{});
        if (!error.isEmpty()) {
            extraNote_ = error;
            MessageBoxes::Error(this, error);
            return;
        }
        extraNote_ = QStringLiteral("written to %1").arg(pdfName);
    });
}

}  // namespace qireq
