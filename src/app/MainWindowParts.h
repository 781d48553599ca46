#pragma once
// The main window's components and the parts it wires together, beside the
// controls and the editor that TForm1 holds itself. Made by TForm1's
// BuildParts and connected by ConnectParts (Unit1Parts.cpp); all of them
// live as long as the window. GUI thread only, except where a part's own
// header says otherwise.
#include "app/MainWindowSeams.h"
#include "commands/DeviceCommands.h"
#include "commands/FilterImportCommand.h"
#include "commands/PresetCommands.h"
#include "commands/ReportCommand.h"
#include "app/WindowHandoffs.h"
#include "connection/ComponentLinks.h"
#include "connection/ConnectionLifecycle.h"
#include "connection/ConnectionWidgets.h"
#include "devices/DeviceTileColumn.h"
#include "devices/StatusDisplay.h"
#include "discovery/LanDiscovery.h"
#include "discovery/SerialProber.h"
#include "overview/UnitsOverviewWindow.h"
#include "platform/DeviceChangeSource.h"
#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/ReceivePath.h"
#include "protocol/ReplyDispatcher.h"
#include "state/DeviceList.h"
#include "state/SerialPortNames.h"

#include <memory>

namespace qireq {

struct MainWindowParts {
    explicit MainWindowParts(const MainWindowSeams& seams) : Seams(seams) {}

    MainWindowSeams Seams;

    // Components: the connection's serial port (its failures go to the
    // connection's handler), the probing serial port (its failures are
    // thrown to the prober, which swallows them) and the TCP client.
    TComPort ComPort1{TComFailures::Report};
    TComPort ComPort2{TComFailures::Throw};
    TClientSocket ClientSocket1;

    // The units known (shared with the prober thread) and the serial ports present.
    DeviceList Devices;
    SerialPortNames PortNames;

    // The device column with its tiles, and the status row.
    std::unique_ptr<DeviceTileColumn> DeviceColumn;
    std::unique_ptr<StatusDisplay> StatusRow;

    // The connection (shown by its widgets, over links on the components)
    // and the receive path.
    std::unique_ptr<ConnectionWidgets> ConnectionShown;
    std::unique_ptr<ComponentLinks> Links;
    std::unique_ptr<ConnectionLifecycle> Connection;
    std::unique_ptr<WindowHandoffs> Handoffs;
    std::unique_ptr<ReplyDispatcher> Dispatcher;
    std::unique_ptr<ReceivePath> Receive;
    // The address of the unit last connected: undo steps (and compare
    // slots) belong to it and go when another one is connected.
    QString LastUnitAddress;

    // The File menu's preset commands, the tile menu's and Refresh.
    std::unique_ptr<PresetCommands> Presets;
    std::unique_ptr<FilterImportCommand> FilterImport;  // its item follows "&Save As"
    std::unique_ptr<ReportCommand> Report;  // "Export Report...", after the import
    std::unique_ptr<DeviceCommands> Commands;

    // File > "Units Overview..." (after "Import Filter Text...") and its
    // window, made when first asked for.
    QAction* OverviewItem = nullptr;
    std::unique_ptr<UnitsOverviewWindow> Overview;

    // Discovery, started when the window is first shown. Declared last so
    // the threads stop before the list, the column and the port they use go.
    std::unique_ptr<SerialProber> Prober;
    std::unique_ptr<DeviceChangeSource> DeviceChanges;
    std::unique_ptr<LanDiscovery> Lan;
};

}  // namespace qireq
