// The main window's parts and how they meet: which component feeds which
// handler, and which part each of the window's handlers hands its work to.
// The parts themselves hold the behaviour; nothing here decides anything.
#include "app/Unit1.h"

#include "app/MainWindowParts.h"
#include "controls/PictureButton.h"
#include "editor/ABCompare.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace qireq {

void TForm1::BuildParts(const MainWindowSeams& seams)
{
    parts_ = std::make_unique<MainWindowParts>(seams);
    MainWindowParts& p = *parts_;
    p.ComPort1.setObjectName(QStringLiteral("ComPort1"));
    p.ComPort2.setObjectName(QStringLiteral("ComPort2"));
    p.ClientSocket1.setObjectName(QStringLiteral("ClientSocket1"));

    // The device column: tiles, selection frame, counter, countdown, menu.
    DeviceColumnControls column;
    column.DeviceBox = DeviceBox;
    column.TimeLabel = TimeLabel;
    column.DevicePaintBox = DevicePaintBox;
    column.deviceCountLabel = deviceCountLabel;
    column.DeviceTimer = DeviceTimer;
    column.SearchTimer = SearchTimer;
    column.CloseTimer = CloseTimer;
    column.DisconnectTimer = DisconnectTimer;
    p.DeviceColumn = std::make_unique<DeviceTileColumn>(state_, p.Devices, column);

    // The status row and its "More Info" item.
    StatusRowControls status;
    status.TempLabel = TempLabel;
    status.ProtectState = ProtectState;
    status.TempState = TempState;
    status.VoltageState = VoltageState;
    status.StandbyState = StandbyState;
    status.Controls = StatusControls();
    status.BurningItem = p.DeviceColumn->BurningItem;
    status.ReadStateTimer = ReadStateTimer;
    p.StatusRow = std::make_unique<StatusDisplay>(requests_, status);

    // The connection: its widgets, its links over the components, its life cycle.
    ConnectionControls shown;
    shown.RefreshBtn = RefreshBtn;
    shown.connectflagImage = connectflagImage;
    shown.ConnFlagList = &ConnFlagList;
    shown.ConnImg = ConnImg;
    shown.ConnectImageList = &ConnectImageList;
    shown.ConnectShape = ConnectShape;
    shown.HintTitle = Label1;
    shown.HintSubject = Label2;
    shown.HintValue = Label3;
    shown.DialogOwner = this;
    p.ConnectionShown = std::make_unique<ConnectionWidgets>(
        shown, *p.DeviceColumn, *p.StatusRow, ProgressForm,
        [this](const QString& text) { MessageBoxes::Message(this, text); });
    p.Links = std::make_unique<ComponentLinks>(p.ComPort1, p.ClientSocket1);
    p.Connection = std::make_unique<ConnectionLifecycle>(
        ConnectionParts{state_, requests_, p.Devices, RxAssembler, *p.Links, *p.ConnectionShown},
        ConnectionTimers{ConnectTimer, RecallTimer, RequestTimer, CheckTimer, ReconnectTimer});
    p.Connection->SetLanPort(seams.LanPort);

    // The receive path: every byte into the one assembler, every frame to its part.
    p.Handoffs = std::make_unique<WindowHandoffs>(*this, *Editor, *p.DeviceColumn, *p.StatusRow,
                                                  *p.Connection);
    p.Dispatcher = std::make_unique<ReplyDispatcher>(state_, p.Devices, RxAssembler, *p.Handoffs);
    p.Receive = std::make_unique<ReceivePath>(*p.Dispatcher);

    p.Presets = std::make_unique<PresetCommands>(state_, requests_, SavingRecord, *Editor, *this);
    p.FilterImport = std::make_unique<FilterImportCommand>(*p.Presets, *FileMenu, SaveItem, *this);
    p.Report = std::make_unique<ReportCommand>(
        state_, p.Devices, [handoffs = p.Handoffs.get()] { return handoffs->Facts(); }, *FFTDraw1, *FileMenu,
        p.FilterImport->ImportFilterItem(), *this);
    p.Commands = std::make_unique<DeviceCommands>(
        DeviceCommandParts{state_, requests_, p.Devices, *p.DeviceColumn, *this, *SearchTimer});
    BuildUnitsOverviewItem();
}

// File > "Units Overview...": the item after "Import Filter Text..." and
// the window's links with this window (overview/OverviewLinks.h).
void TForm1::BuildUnitsOverviewItem()
{
    MainWindowParts& p = *parts_;
    p.OverviewItem = new QAction(QStringLiteral("Units Overview..."), FileMenu);
    p.OverviewItem->setObjectName(QStringLiteral("UnitsOverviewItem"));
    const QList<QAction*> items = FileMenu->actions();
    const qsizetype at = items.indexOf(p.FilterImport->ImportFilterItem());
    FileMenu->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, p.OverviewItem);
    connect(p.OverviewItem, &QAction::triggered, this, [this] {
        MainWindowParts& parts = *parts_;
        if (!parts.Overview) {
            OverviewLinks links;
            links.Devices = &parts.Devices;
            links.LanPort = parts.Connection->LanPort();
            links.ConnectedAddress = [this] {
                if (!state_.Connected)
                    return QString();
                const auto entry = parts_->Devices.EntryAt(state_.ConnectedIndex);
                return entry ? entry->Address : QString();
            };
            links.LetGoOfTheConnection = [this] {
                if (!state_.Connected)
                    return;
                state_.ClickedIndex = state_.ConnectedIndex;  // a click on the connected tile lets it go
                parts_->Connection->DevicePanelClick();
            };
            links.Reconnect = [this](const QString& address) {
                const int index = parts_->Devices.IndexOf(address);
                if (index < 0 || state_.Connected)
                    return;
                state_.ClickedIndex = index;
                parts_->Connection->DevicePanelClick();
            };
            links.PauseProber = [this](bool paused) {
                std::atomic<int>& pauses = parts_->Devices.Flags().ProbePauses;
                if (!paused) {
                    --pauses;
                    return;
                }
                ++pauses;
                parts_->ComPort2.Close();  // the port probed last may be a selected unit's
            };
            parts.Overview = std::make_unique<UnitsOverviewWindow>(std::move(links), this);
        }
        parts.Overview->show();
        parts.Overview->raise();
        parts.Overview->activateWindow();
    });
}

void TForm1::ConnectParts()
{
    MainWindowParts& p = *parts_;
    ReceivePath* receive = p.Receive.get();
    ConnectionLifecycle* connection = p.Connection.get();

    // Both serial ports share one receive handler; only the connection's
    // port reports its failures (the prober swallows those of its own).
    connect(&p.ComPort1, &TComPort::OnRxChar, receive, &ReceivePath::ComPort1RxChar);
    connect(&p.ComPort2, &TComPort::OnRxChar, receive, &ReceivePath::ComPort1RxChar);
    connect(&p.ComPort1, &TComPort::OnException, connection,
            [connection](TComPort*, TComExceptions, const QString&, int systemError,
                         const QString&) { connection->ComPort1Exception(systemError); });

    connect(&p.ClientSocket1, &TClientSocket::OnRead, receive, &ReceivePath::ClientSocket1Read);
    connect(&p.ClientSocket1, &TClientSocket::OnConnect, connection,
            &ConnectionLifecycle::ClientSocket1Connect);
    connect(&p.ClientSocket1, &TClientSocket::OnError, receive, &ReceivePath::ClientSocket1Error,
            Qt::DirectConnection);

    connect(p.DeviceColumn.get(), &DeviceTileColumn::DevicePanelClick, connection,
            &ConnectionLifecycle::DevicePanelClick);
    connect(p.DeviceColumn.get(), &DeviceTileColumn::UnitRemoved, connection,
            &ConnectionLifecycle::UnitRemoved);
    connect(connection, &ConnectionLifecycle::FromLiveUnit, this, [this](const QString& address) {
        MainWindowParts& parts = *parts_;
        if (address == parts.LastUnitAddress)
            return;
        parts.LastUnitAddress = address;
        Editor->History().Clear();
        Compare->Clear();
    });
    ConnectionWidgets* shown = p.ConnectionShown.get();
    connect(shown, &ConnectionWidgets::CancelClicked, connection,
            &ConnectionLifecycle::CancelProgressBar);

    // The tile menu and Refresh.
    DeviceTileColumn* column = p.DeviceColumn.get();
    DeviceCommands* commands = p.Commands.get();
    connect(column, &DeviceTileColumn::RenameItemClick, commands, &DeviceCommands::RenameItemClick);
    connect(column, &DeviceTileColumn::MACItemClick, commands, &DeviceCommands::MACItemClick);
    connect(column, &DeviceTileColumn::RemoveDeviceItemClick, commands,
            &DeviceCommands::RemoveDeviceItemClick);
    connect(column, &DeviceTileColumn::NewDeviceItemClick, commands, &DeviceCommands::NewDeviceItemClick);
    connect(column, &DeviceTileColumn::BurningItemClick, commands, &DeviceCommands::BurningItemClick);
    connect(RefreshBtn, &QPushButton::clicked, commands, &DeviceCommands::RefreshBtnClick);
    connect(connectflagImage, &PictureButton::MouseMoved, connection,
            &ConnectionLifecycle::connectflagImageMouseMove);
    // The connect picture only looks pressed and gives the flag's hint.
    connect(ConnImg, &PictureButton::MouseMoved, connection,
            &ConnectionLifecycle::connectflagImageMouseMove);
    connect(ConnImg, &PictureButton::MouseDown, shown, &ConnectionWidgets::ConnImgMouseDown);
    connect(ConnImg, &PictureButton::MouseUp, shown, &ConnectionWidgets::ConnImgMouseUp);
    connect(ConnImg, &PictureButton::Clicked, shown, &ConnectionWidgets::ConnectClick);

    connect(this, &TForm1::DeviceArrived, this, &TForm1::SerialPortsArrived);
    connect(this, &TForm1::DeviceRemoved, this, &TForm1::SerialPortsRemoved);
}

// FormShow's StartDiscovery: the LAN methods, then the serial prober and
// the USB watch.
void TForm1::StartDiscovery()
{
    MainWindowParts& p = *parts_;
    if (p.Seams.StartLanDiscovery) {
        p.Lan = std::make_unique<LanDiscovery>(p.Devices, p.Seams.Lan);
        p.Lan->Start();
    }
    if (!p.Seams.StartSerialDiscovery)
        return;
    p.Prober = std::make_unique<SerialProber>(
        p.ComPort2, p.Devices, p.PortNames, p.Seams.EnumerateSerialPorts,
        [this](const QString& line) { AppendDiagnostic(line); });
    p.Prober->ReportRefusedPorts(p.Seams.SerialPortAccess, [this](const QString& port, const QString& group) {
        QMetaObject::invokeMethod(this, [this, port, group] { SerialPortRefused(port, group); },
                                  Qt::QueuedConnection);
    });
    p.Prober->Start();
    p.DeviceChanges = p.Seams.MakeDeviceChangeSource(winId(), p.Seams.EnumerateSerialPorts);
    connect(p.DeviceChanges.get(), &DeviceChangeSource::DeviceChanged, this, &TForm1::DeviceChgMsg);
}

// A port this user may not open would never show its unit: said once a run,
// beside the window, in words the user can act on.
void TForm1::SerialPortRefused(const QString& port, const QString& group)
{
    if (refusedPortNoticeShown_)
        return;
    refusedPortNoticeShown_ = true;
    const QString join = group.isEmpty()
                             ? QStringLiteral("ask an administrator for read and write access to it")
                             : QStringLiteral("join the group \"%1\" (for example: sudo usermod -aG %1 $USER)")
                                   .arg(group);
    MessageBoxes::Notice(this, QStringLiteral("This user may not open the serial port %1, so a unit "
                                              "connected there cannot be found. To use it, %2, then "
                                              "log out and log in again.")
                                   .arg(port, join));
}

// A device arrived: the serial port names are read afresh.
void TForm1::SerialPortsArrived()
{
    MainWindowParts& p = *parts_;
    const RaisedFlag changing(p.Devices.Flags().ListChanging);
    p.PortNames.Replace(p.Seams.EnumerateSerialPorts());
}

// A device went: the names are read afresh, and the first serial unit whose
// port is gone gets its missing mark (and is no longer connected).
void TForm1::SerialPortsRemoved()
{
    MainWindowParts& p = *parts_;
    const RaisedFlag changing(p.Devices.Flags().ListChanging);
    p.PortNames.Replace(p.Seams.EnumerateSerialPorts());
    p.Connection->UnitUnplugged(p.DeviceColumn->MarkUnpluggedSerialUnit(p.PortNames.Snapshot()));
}

}  // namespace qireq
