#pragma once
// File > "Export Report...": the commissioning report of the connected unit
// (or, without one, of the editor's EQ, marked "not connected") as a PDF
// with the plot's PNG beside it. An existing PDF is replaced only after a
// Yes; a file that cannot be written is reported as Save As reports one.
//
// The file name and note come from a ReportChooser: the report dialog in
// the program, a script in tests. GUI thread only.
#include "protocol/UnitFacts.h"
#include "report/ReportContent.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace qireq {

class DeviceList;
class TFFTDraw;
struct MainState;

class ReportChooser {
public:
    virtual ~ReportChooser() = default;
    // Nothing when the user cancelled.
    virtual std::optional<ReportRequest> ChooseReport(bool connected) = 0;
};

class ReportCommand : public QObject {
    Q_OBJECT
public:
    // Adds "Export Report..." to fileMenu right after `after`. facts gives
    // what the connected unit has reported about itself.
    ReportCommand(MainState& state, DeviceList& devices, std::function<UnitFacts()> facts, TFFTDraw& plot,
                  QMenu& fileMenu, QAction* after, QWidget& window);
    ~ReportCommand() override;

    QAction* ExportReportItem() const { return item_; }
    void ExportReportItemClick();
    void SetChooser(std::unique_ptr<ReportChooser> chooser);
    // The report's date and time; the clock unless a test sets one.
    void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

private:
    MainState& state_;
    DeviceList& devices_;
    std::function<UnitFacts()> facts_;
    TFFTDraw& plot_;
    QWidget& window_;
    QAction* item_;
    std::unique_ptr<ReportChooser> chooser_;
    std::function<QDateTime()> clock_;
};

}  // namespace qireq
