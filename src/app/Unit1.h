#pragma once
// TForm1, the main window (instance Form1): the owner of every control,
// timer and piece of shared state, and the switchboard that wires the
// focused parts of the program together. It holds no algorithm of its own.
//
// Controls carry their names as objectName ("RefreshBtn", "Panel1", ...),
// and are reachable as the public members below. The window is built by
// Unit1Form.cpp (the layout) and acts through Unit1.cpp (the handlers).
//
// Closing the window ends this process only, at once, sending nothing to a
// unit: FormClose emits Closed, and the program entry ends the process.
//
// GUI thread only, except where a member says otherwise.
#include "controls/MessageBoxes.h"
#include "eq/EqBlock.h"
#include "eq/ResponseCurves.h"
#include "platform/DeviceChange.h"
#include "protocol/FrameAssembler.h"
#include "protocol/RequestSender.h"
#include "state/MainState.h"

#include <QMainWindow>
#include <QPointer>
#include <QVector>

#include <memory>

class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace qireq {

class ABCompare;
class BandEditor;
struct MainWindowParts;
struct MainWindowSeams;
class PaintBox;
class PictureButton;
class PlotInteraction;
class TFFTDraw;
class TScrollBox;
class TShape;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Sizes of the window's layout the other parts rely on.
    static constexpr int kDeviceBoxWidth = 185;
    static constexpr int kDevicePaintBoxWidth = 160;
    static constexpr int kDevicePaintBoxHeight = 89;
    static constexpr int kLampSize = 20;

    explicit TForm1(QWidget* parent = nullptr);
    // With the outside world replaced where tests need it (MainWindowSeams.h).
    explicit TForm1(const MainWindowSeams& seams, QWidget* parent = nullptr);
    ~TForm1() override;

    // The components (ComPort1, ComPort2, ClientSocket1), the device list
    // and column, the status row, the connection, the receive path and the
    // preset commands (MainWindowParts.h).
    MainWindowParts& Parts() { return *parts_; }

    // --- Shared state -------------------------------------------------------
    MainState& State() { return state_; }
    // Every request to the connected unit, and the link they go out on.
    RequestSender& Requests() { return requests_; }
    // The six response curves the plot shows (sum and bands 1..5).
    ResponseCurves Curves;
    // The receive assembly (RxState, RxCount, RxFrame), shared by the serial
    // ports and the TCP client.
    FrameAssembler RxAssembler;
    // The preset record filled anew by every Save As.
    EqBlock SavingRecord;
    // The connecting dialog of the current attempt; none once it succeeded
    // or failed (still set, hidden, after Cancel).
    QPointer<QDialog> ProgressForm;
    // The device list (DeviceKeys, Devices, Tiles, SilenceCounters,
    // SerialPortNames, NewestIndex, DeviceCount) and the process-wide flags
    // (CancelPending, AddPending, ListChanging, ScanBusy, ProbeHold) are held
    // by the device list of src/devices, which the window owns beside this.

    // --- Menus ----------------------------------------------------------------
    QMenu* FileMenu = nullptr;        // "&File"
    QAction* OpenItem = nullptr;      // "&Open", Ctrl+O
    QAction* SaveItem = nullptr;      // "&Save As", Ctrl+S
    QAction* ExitItem = nullptr;      // "&Exit", Ctrl+Q
    QMenu* EditMenu = nullptr;        // "&Edit"
    QAction* UndoItem = nullptr;      // "Undo ...", Ctrl+Z
    QAction* RedoItem = nullptr;      // "Redo ...", Ctrl+Shift+Z and Ctrl+Y
    QMenu* ViewMenu = nullptr;        // "View", hidden
    QAction* FactoryUSBItem = nullptr;
    QAction* FactoryIPItem = nullptr;
    QMenu* HelpMenu = nullptr;        // "&Help"
    QAction* AboutItem = nullptr;     // "&About"

    // --- Device column ----------------------------------------------------------
    QFrame* DeviceColumn = nullptr;
    QPushButton* RefreshBtn = nullptr;
    // Tiles go into DeviceBox->Contents(); its width is kDeviceBoxWidth.
    TScrollBox* DeviceBox = nullptr;
    QLabel* TimeLabel = nullptr;       // search countdown, "15" at start
    PaintBox* DevicePaintBox = nullptr;  // the green selection frame, hidden
    QLabel* CountCaption = nullptr;    // "Count:"
    QLabel* deviceCountLabel = nullptr;  // "0"

    // --- Top bar ------------------------------------------------------------------
    QFrame* Panel1 = nullptr;
    PictureButton* ResetImg = nullptr;          // pictures of RstImageList
    PictureButton* connectflagImage = nullptr;  // pictures of ConnFlagList
    TShape* ConnectShape = nullptr;             // lime green while connected
    PictureButton* ConnImg = nullptr;           // pictures of ConnectImageList; cosmetic
    QPushButton* StoreBtn = nullptr;            // "Store": the EQ into the live compare slot
    QPushButton* CompareBtn = nullptr;          // "A" or "B": the live slot; click switches
    QLabel* Label1 = nullptr;  // the hint line
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QVector<QPixmap> ConnFlagList;  // 0 connected, 1 not connected
    QVector<QPixmap> ConnectImageList;  // 0 pressed, 1 up

    // --- Response plot --------------------------------------------------------------
    QFrame* Panel2 = nullptr;   // 849 x 241
    QLabel* Image11 = nullptr;  // background picture
    QLabel* Label5 = nullptr;   // "(dB)"
    TFFTDraw* FFTDraw1 = nullptr;  // the plot, at 32, 16 in Panel2

    // --- EQ editor --------------------------------------------------------------------
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;  // 505 x 353 inside Panel3: the band controls
    // The band controls in Panel4 (with ResetImg and the hint line) and the
    // plot's axis boxes and marker dragging in Panel2.
    BandEditor* Editor = nullptr;
    PlotInteraction* PlotMouse = nullptr;
    // A/B compare on StoreBtn and CompareBtn, drawing on the plot.
    ABCompare* Compare = nullptr;

    // --- Status row (hidden until a status-capable unit is connected) ---------------
    QFrame* StatusRow = nullptr;
    QLabel* TempLabel = nullptr;  // "Temperature:0℃"
    QLabel* ProtectedLabel = nullptr;
    TShape* ProtectState = nullptr;
    QLabel* TempOverLabel = nullptr;
    TShape* TempState = nullptr;
    QLabel* VoltageLabel = nullptr;
    TShape* VoltageState = nullptr;
    QLabel* StandbyLabel = nullptr;
    TShape* StandbyState = nullptr;
    // The nine controls above, left to right, as the status display shows
    // and hides them together.
    QVector<QWidget*> StatusControls() const;

    // --- Diagnostics (hidden) ---------------------------------------------------------
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;  // "Clear"; its click does nothing
    // Appends one line to Memo1; callable from any thread.
    void AppendDiagnostic(const QString& line);

    // --- Timers (intervals and start states of the timer inventory) -----------------
    QTimer* RecallTimer = nullptr;      // 20 ms, one-shot
    QTimer* DeviceTimer = nullptr;      // 10 ms, one-shot
    QTimer* DisconnectTimer = nullptr;  // 3000 ms, running from start
    QTimer* ConnectTimer = nullptr;     // 1000 ms
    QTimer* CloseTimer = nullptr;       // 20 ms, one-shot
    QTimer* RequestTimer = nullptr;     // 300 ms
    QTimer* CheckTimer = nullptr;       // 6000 ms
    QTimer* ReconnectTimer = nullptr;   // 3000 ms
    QTimer* InputDecTimer = nullptr;    // 150 ms; ticks handled by the editor
    QTimer* InputAddTimer = nullptr;    // 150 ms; ticks handled by the editor
    QTimer* SearchTimer = nullptr;      // 1000 ms, running from start
    QTimer* ReadStateTimer = nullptr;   // 3000 ms
    QVector<QTimer*> Timers() const;

    // --- Services -------------------------------------------------------------------
    // The one Yes/No confirmation: caption "QIR-EQ", buttons "&Yes"/"&No".
    MessageBoxes::Answer AskYesNo(const QString& text);
    // The window's hook for posted messages: shows the "More Info" box for
    // an InfoMessage (see InfoMessage.h) and reports it handled; lets every
    // other event pass.
    bool MyOnMessage(QEvent* event);

public slots:
    // The single entry point of device-change notifications (any thread may
    // invoke it queued; it runs on the GUI thread).
    void DeviceChgMsg(qireq::DeviceChange change);

signals:
    // Emitted by DeviceChgMsg for the parts that re-read the serial ports
    // and mark vanished units.
    void DeviceArrived();
    void DeviceRemoved();
    // The window has closed: the process is to end now.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Life cycle
    void FormCreate();
    void FormShow();
    void FormClose();

    // Menu handlers
    void OpenItemClick();
    void SaveItemClick();
    void ExitItemClick();
    void FactoryUSBItemClick();
    void FactoryIPItemClick();
    void AboutItemClick();
    void Button1Click();

    // The window's own timer; the parts connect to theirs themselves.
    void CloseTimerTimer();

    // The layout (Unit1Form.cpp).
    void BuildForm();
    void BuildMenus();
    // Undo and redo of the editor's history, named for their steps.
    void BuildEditMenu();
    void BuildDeviceColumn(QWidget* central);
    void BuildTopBar(QWidget* central);
    void BuildPlotPanel(QWidget* central);
    void BuildEqPanels(QWidget* central);
    void BuildStatusRow(QWidget* central);
    void BuildDiagnostics(QWidget* central);
    void BuildTimers();
    void ConnectHandlers();
    // The plot set-up, the band editor and the first response curve.
    void PrepareEditor();
    void DressPlot();  // the plot's colours in the window's scheme (Unit1Form.cpp)
    // The parts beside the controls and how they meet (Unit1Parts.cpp).
    void BuildParts(const MainWindowSeams& seams);
    void ConnectParts();
    void BuildUnitsOverviewItem();
    void StartDiscovery();
    void SerialPortsArrived();
    void SerialPortsRemoved();
    void SerialPortRefused(const QString& port, const QString& group);

    MainState state_;
    RequestSender requests_{state_};
    bool shownOnce_ = false;
    bool refusedPortNoticeShown_ = false;
    // Last, so the parts go before the state and the assembler they use.
    std::unique_ptr<MainWindowParts> parts_;
};

}  // namespace qireq
