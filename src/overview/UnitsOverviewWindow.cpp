#include "overview/UnitsOverviewWindow.h"

#include "dialogs/FilterImportDialog.h"
#include "dialogs/ReportDialog.h"
#include "overview/FleetRun.h"
#include "overview/UnitsTableModel.h"
#include "state/DeviceList.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qireq {

namespace {

// How long a run waits after pausing the prober: its probe of one port
// (100 ms) ends meanwhile, so no port a run needs is still held by it.
constexpr int kProberSettleMs = 150;

class DialogPrompts final : public OverviewPrompts {
public:
    explicit DialogPrompts(QWidget* owner) : owner_(owner) {}

    QString ChooseFile(File kind) override
    {
        QFileDialog dialog(owner_);
        const bool save = kind == File::SnapshotToSave;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        switch (kind) {
        case File::Preset: dialog.setNameFilters({QStringLiteral("Preset (*.bin)"), QStringLiteral("All files (*)")}); break;
        case File::FilterText:
            dialog.setNameFilters({QStringLiteral("Filter text (*.txt *.csv *.tsv *.cfg)"), QStringLiteral("All files (*)")});
            break;
        case File::SnapshotToSave:
        case File::SnapshotToOpen:
            dialog.setNameFilters({QStringLiteral("Venue snapshot (*.json)"), QStringLiteral("All files (*)")});
            dialog.setDefaultSuffix(QStringLiteral("json"));
            break;
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    bool AcceptImport(const ImportResult& result, const QString& fileName) override
    {
        FilterImportDialog dialog(result, fileName, owner_);
        return dialog.exec() == QDialog::Accepted;
    }

    std::optional<ReportRequest> ChooseReport() override
    {
        ReportDialog dialog(QStringLiteral("The report of the selected units: one page for each."), owner_);
        if (dialog.exec() != QDialog::Accepted || dialog.FileName().isEmpty())
            return std::nullopt;
        return ReportRequest{dialog.FileName(), dialog.Note()};
    }

private:
    QWidget* owner_;
};

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

UnitsOverviewWindow::UnitsOverviewWindow(OverviewLinks links, QWidget* parent)
    : QWidget(parent, Qt::Window),
      links_(std::move(links)),
      prompts_(std::make_unique<DialogPrompts>(this)),
      model_(new UnitsTableModel(this)),
      sorted_(new QSortFilterProxyModel(this)),
      table_(new QTableView(this)),
      readButton_(Button(QStringLiteral("Read"), "ReadButton", this)),
      pushButton_(Button(QStringLiteral("Push Preset..."), "PushPresetButton", this)),
      importButton_(Button(QStringLiteral("Import Filter Text and Push..."), "ImportPushButton", this)),
      saveButton_(Button(QStringLiteral("Save Snapshot..."), "SaveSnapshotButton", this)),
      restoreButton_(Button(QStringLiteral("Restore Snapshot..."), "RestoreSnapshotButton", this)),
      reportButton_(Button(QStringLiteral("Export Report..."), "ExportReportButton", this)),
      selectAllButton_(Button(QStringLiteral("Select All"), "SelectAllButton", this)),
      cancelButton_(Button(QStringLiteral("Cancel"), "CancelButton", this)),
      progress_(new QProgressBar(this)),
      summary_(new QLabel(this)),
      listWatch_(new QTimer(this))
{
    setObjectName(QStringLiteral("UnitsOverview"));
    setWindowTitle(QStringLiteral("Units Overview"));
    resize(1000, 420);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    sorted_->setDynamicSortFilter(false);  // rows stay put while results come in; a header click sorts
    table_->setObjectName(QStringLiteral("UnitsTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(UnitsTableModel::LinkColumn, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    progress_->setObjectName(QStringLiteral("RunProgress"));
    summary_->setObjectName(QStringLiteral("RunSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cancelButton_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {selectAllButton_, readButton_, pushButton_, importButton_, saveButton_, restoreButton_, reportButton_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(progress_, 1);
    runRow->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(table_, 1);
    layout->addLayout(runRow);
    layout->addWidget(summary_);

    connect(selectAllButton_, &QPushButton::clicked, table_, &QTableView::selectAll);
    connect(readButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::ReadClick);
    connect(pushButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::PushPresetClick);
    connect(importButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::ImportAndPushClick);
    connect(saveButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::SaveSnapshotClick);
    connect(restoreButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::RestoreSnapshotClick);
    connect(reportButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::ExportReportClick);
    connect(cancelButton_, &QPushButton::clicked, this, &UnitsOverviewWindow::CancelClick);

    // The device list changes under discovery; the table follows it
    // between runs (a run keeps its rows).
    listWatch_->setInterval(1000);
    connect(listWatch_, &QTimer::timeout, this, [this] {
        if (IsRunning() || !links_.Devices)
            return;
        QStringList shown;
        for (int row = 0; row < model_->rowCount(); ++row)
            shown << model_->Unit(row).Address;
        if (shown != links_.Devices->DeviceKeys())
            RefreshUnits();
    });
    listWatch_->start();
}

UnitsOverviewWindow::~UnitsOverviewWindow()
{
    if (run_) {
        run_->Cancel();
        run_.reset();  // waits for the units being served
        if (links_.PauseProber)
            links_.PauseProber(false);
    }
}

void UnitsOverviewWindow::SetPrompts(std::unique_ptr<OverviewPrompts> prompts)
{
    prompts_ = std::move(prompts);
}

void UnitsOverviewWindow::showEvent(QShowEvent* event)
{
    if (!IsRunning())
        RefreshUnits();
    QWidget::showEvent(event);
}

void UnitsOverviewWindow::RefreshUnits()
{
    if (links_.Devices)
        model_->SetUnits(links_.Devices->Devices());
}

bool UnitsOverviewWindow::IsRunning() const
{
    return run_ != nullptr;
}

std::vector<int> UnitsOverviewWindow::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(sorted_->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

fleet::UnitTarget UnitsOverviewWindow::TargetOf(int row) const
{
    const DeviceEntry& e = model_->Unit(row);
    fleet::UnitTarget t = e.IsSerial() ? fleet::UnitTarget::Serial(e.Address) : fleet::UnitTarget{};
    if (!e.IsSerial()) {
        t.Address = e.Address;
        t.Port = static_cast<quint16>(links_.LanPort);
    }
    t.Name = e.Name;
    return t;
}

void UnitsOverviewWindow::StartRun(RunKind kind, const std::vector<int>& rows, fleet::UnitWork work,
                                   Finisher finish)
{
    if (IsRunning() || rows.empty())
        return;
    std::vector<fleet::UnitTarget> targets;
    runAddresses_.clear();
    const QString connected = links_.ConnectedAddress ? links_.ConnectedAddress() : QString();
    letGo_.clear();
    for (int row : rows) {
        targets.push_back(TargetOf(row));
        const QString address = model_->Unit(row).Address;
        runAddresses_.push_back(address);
        model_->SetResult(row, QStringLiteral("waiting"), true);
        if (!connected.isEmpty() && address.compare(connected, Qt::CaseInsensitive) == 0)
            letGo_ = address;
    }
    if (!letGo_.isEmpty() && links_.LetGoOfTheConnection) {
        links_.LetGoOfTheConnection();
        model_->SetResult(model_->RowOf(letGo_), QStringLiteral("waiting (the window let it go for the run)"), true);
    }
    if (links_.PauseProber)
        links_.PauseProber(true);
    runKind_ = kind;
    finish_ = std::move(finish);
    progress_->setRange(0, static_cast<int>(targets.size()));
    progress_->setValue(0);
    summary_->clear();
    run_ = std::make_unique<FleetRun>(std::move(targets), std::move(work), links_.TimeoutMs);
    connect(run_.get(), &FleetRun::UnitDone, this, &UnitsOverviewWindow::UnitDone);
    connect(run_.get(), &FleetRun::Finished, this, &UnitsOverviewWindow::RunEnded);
    SetBusy(true);
    QTimer::singleShot(kProberSettleMs, run_.get(), &FleetRun::Start);
}

void UnitsOverviewWindow::UnitDone(int index, const fleet::UnitResult& result)
{
    const int row = model_->RowOf(runAddresses_[static_cast<std::size_t>(index)]);
    if ((runKind_ == RunKind::Read || runKind_ == RunKind::Report) && result.Ok)
        model_->SetRead(row, result.Fields);
    model_->SetResult(row, RowResult(result), result.Ok);
    progress_->setValue(progress_->value() + 1);
}

void UnitsOverviewWindow::RunEnded(const std::vector<fleet::UnitResult>& results)
{
    // The run object goes once this slot returns (it emitted the signal).
    run_.release()->deleteLater();
    if (links_.PauseProber)
        links_.PauseProber(false);
    if (!letGo_.isEmpty() && links_.Reconnect)
        links_.Reconnect(letGo_);
    letGo_.clear();
    SetBusy(false);
    extraNote_.clear();
    Finisher finish = std::move(finish_);
    finish_ = {};
    QString text = RunSummary(runKind_, results);
    if (finish)
        finish(results);
    if (!extraNote_.isEmpty())
        text += QStringLiteral("; ") + extraNote_;
    if (!IsRunning() || summary_->text().isEmpty())
        summary_->setText(text);
    emit RunFinished(text);
}

void UnitsOverviewWindow::SetBusy(bool busy)
{
    for (QPushButton* b : {readButton_, pushButton_, importButton_, saveButton_, restoreButton_, reportButton_})
        b->setEnabled(!busy);
    cancelButton_->setEnabled(busy);
}

void UnitsOverviewWindow::CancelClick()
{
    if (run_)
        run_->Cancel();
}

}  // namespace qireq
