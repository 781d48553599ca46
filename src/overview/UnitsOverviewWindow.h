#pragma once
// File > "Units Overview...": every unit of the device list in a table
// (sortable; rows selected with Ctrl and Shift or "Select All") and runs on
// the selected units: "Read", "Push Preset...", "Import Filter Text and
// Push...", "Save Snapshot...", "Restore Snapshot...", "Export Report...". A run shows its
// progress, fills each row's result as it comes, can be cancelled (the
// units not yet served are left alone) and ends with a summary line.
//
// While a run is in progress the serial prober holds still and the
// window's connected unit, when selected, is let go and connected again
// after the run (OverviewLinks.h says why). GUI thread only.
#include "fleet/UnitReads.h"
#include "fleet/VenueSnapshot.h"
#include "overview/OverviewLinks.h"
#include "overview/RunSummary.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;

namespace qireq {

class FleetRun;
class UnitsTableModel;

class UnitsOverviewWindow : public QWidget {
    Q_OBJECT
public:
    UnitsOverviewWindow(OverviewLinks links, QWidget* parent = nullptr);
    ~UnitsOverviewWindow() override;

    void SetPrompts(std::unique_ptr<OverviewPrompts> prompts);

    // The actions, as their buttons call them.
    void ReadClick();
    void PushPresetClick();
    void ImportAndPushClick();
    void SaveSnapshotClick();
    void RestoreSnapshotClick();
    void ExportReportClick();
    void CancelClick();

    // Reads the device list again (the list changed, or the window is shown).
    void RefreshUnits();
    bool IsRunning() const;

    UnitsTableModel& Model() { return *model_; }
    QTableView* Table() const { return table_; }
    QLabel* Summary() const { return summary_; }
    QProgressBar* Progress() const { return progress_; }

signals:
    // A run ended; its summary line is shown.
    void RunFinished(const QString& summary);

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Finisher = std::function<void(const std::vector<fleet::UnitResult>& results)>;

    std::vector<int> SelectedRows() const;
    fleet::UnitTarget TargetOf(int row) const;
    // Starts `work` on the units of `rows`; `finish` runs on the GUI thread
    // after the last unit, before the summary is shown.
    void StartRun(RunKind kind, const std::vector<int>& rows, fleet::UnitWork work, Finisher finish = {});
    void UnitDone(int index, const fleet::UnitResult& result);
    void RunEnded(const std::vector<fleet::UnitResult>& results);
    void SetBusy(bool busy);
    void PushBlock(const EqBlock& block);
    void RestoreAfterDiff(std::shared_ptr<const fleet::VenueSnapshot> snapshot,
                          const std::vector<fleet::UnitResult>& diffs, const QStringList& notFound);

    OverviewLinks links_;
    std::unique_ptr<OverviewPrompts> prompts_;
    UnitsTableModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QPushButton* readButton_;
    QPushButton* pushButton_;
    QPushButton* importButton_;
    QPushButton* saveButton_;
    QPushButton* restoreButton_;
    QPushButton* reportButton_;
    QPushButton* selectAllButton_;
    QPushButton* cancelButton_;
    QProgressBar* progress_;
    QLabel* summary_;
    QTimer* listWatch_;

    // The run in progress.
    std::unique_ptr<FleetRun> run_;
    RunKind runKind_ = RunKind::Read;
    std::vector<QString> runAddresses_;  // the row of each target, by address
    Finisher finish_;
    QString letGo_;       // the window's unit, let go for this run
    QString extraNote_;   // appended to the summary ("1 unit of the snapshot not found")
};

}  // namespace qireq
