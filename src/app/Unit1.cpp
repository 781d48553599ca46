// The main window's behaviour: its life cycle, its menus, its timers and its
// two hooks for messages from outside (the posted InfoMessage and the device
// changes). Each handler hands the work to the part that owns it.
#include "app/Unit1.h"

#include "app/InfoMessage.h"
#include "app/MainWindowParts.h"
#include "controls/Artwork.h"
#include "controls/Fftdraw.h"
#include "controls/PaintBox.h"
#include "controls/TShape.h"
#include "dialogs/About.h"
#include "editor/ABCompare.h"
#include "editor/BandEditor.h"
#include "editor/PlotInteraction.h"
#include "presets/PresetRecord.h"
#include "protocol/InfoMessageText.h"
#include "state/ApplicationTitle.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace qireq {

TForm1::TForm1(QWidget* parent) : TForm1(MainWindowSeams{}, parent) {}

TForm1::TForm1(const MainWindowSeams& seams, QWidget* parent)
    : QMainWindow(parent), SavingRecord(NewSavingRecord())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationTitle());
    BuildForm();
    ConnectHandlers();
    PrepareEditor();
    BuildParts(seams);
    ConnectParts();
    // The status row stays hidden until a status-capable unit is connected.
    for (QWidget* control : StatusControls())
        control->hide();
    FormCreate();
}

TForm1::~TForm1() = default;

QVector<QWidget*> TForm1::StatusControls() const
{
    return {TempLabel,    ProtectedLabel, ProtectState, TempOverLabel, TempState,
            VoltageLabel, VoltageState,   StandbyLabel, StandbyState};
}

QVector<QTimer*> TForm1::Timers() const
{
    return {RecallTimer,    DeviceTimer,   DisconnectTimer, ConnectTimer,
            CloseTimer,     RequestTimer,  CheckTimer,      ReconnectTimer,
            InputDecTimer,  InputAddTimer, SearchTimer,     ReadStateTimer};
}

void TForm1::ConnectHandlers()
{
    connect(OpenItem, &QAction::triggered, this, &TForm1::OpenItemClick);
    connect(SaveItem, &QAction::triggered, this, &TForm1::SaveItemClick);
    connect(ExitItem, &QAction::triggered, this, &TForm1::ExitItemClick);
    connect(FactoryUSBItem, &QAction::triggered, this, &TForm1::FactoryUSBItemClick);
    connect(FactoryIPItem, &QAction::triggered, this, &TForm1::FactoryIPItemClick);
    connect(AboutItem, &QAction::triggered, this, &TForm1::AboutItemClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    connect(CloseTimer, &QTimer::timeout, this, &TForm1::CloseTimerTimer);
}

void TForm1::PrepareEditor()
{
    SetUpPlot(*FFTDraw1);
    Editor = new BandEditor(state_, requests_, Curves, *FFTDraw1, Panel4,
                            TopBarControls{ResetImg, Label1, Label2, Label3},
                            TrimTimers{InputAddTimer, InputDecTimer}, this);
    PlotMouse = new PlotInteraction(state_, *Editor, *FFTDraw1, Panel2, this);
    BuildEditMenu();
    Compare = new ABCompare(state_, requests_, *Editor, *FFTDraw1, StoreBtn, CompareBtn, this);
    DressPlot();
    // The five bands once: the controls, the curves and the first plot.
    Editor->RefreshAllBands();
}

// --- Life cycle ---------------------------------------------------------------

void TForm1::FormCreate()
{
    DevicePaintBox->resize(kDevicePaintBoxWidth, kDevicePaintBoxHeight);
    RefreshBtn->setText(QStringLiteral("Refresh"));
    // The factory IP item is made visible; its menu stays hidden.
    FactoryIPItem->setVisible(true);
    setWindowIcon(ApplicationIcon());
    // MyOnMessage sees every event posted to this window (see event()).
}

void TForm1::FormShow()
{
    setWindowTitle(ApplicationTitle());
    StartDiscovery();
}

void TForm1::FormClose()
{
    // Nothing is sent to a connected unit and nothing is shut down in order:
    // the process ends as soon as the window has closed.
    emit Closed();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous() || shownOnce_)
        return;
    shownOnce_ = true;
    FormShow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    event->accept();
    FormClose();
}

bool TForm1::event(QEvent* event)
{
    if (MyOnMessage(event))
        return true;
    return QMainWindow::event(event);
}

// --- Messages from outside ----------------------------------------------------

bool TForm1::MyOnMessage(QEvent* event)
{
    if (event->type() != InfoMessageEvent::kType)
        return false;
    const auto* info = static_cast<InfoMessageEvent*>(event);
    MessageBoxes::Information(this, InfoMessageText(info->BurnCount, info->TotalMinutes));
    return true;
}

void TForm1::DeviceChgMsg(DeviceChange change)
{
    switch (change) {
    case DeviceChange::Arrived: emit DeviceArrived(); break;
    case DeviceChange::Removed: emit DeviceRemoved(); break;
    case DeviceChange::Other: break;
    }
}

MessageBoxes::Answer TForm1::AskYesNo(const QString& text)
{
    return MessageBoxes::AskYesNo(this, text);
}

void TForm1::AppendDiagnostic(const QString& line)
{
    QMetaObject::invokeMethod(Memo1, [memo = Memo1, line] { memo->appendPlainText(line); });
}

// --- Menus --------------------------------------------------------------------

void TForm1::OpenItemClick() { parts_->Presets->OpenItemClick(); }

void TForm1::SaveItemClick() { parts_->Presets->SaveItemClick(); }

void TForm1::ExitItemClick() { close(); }

void TForm1::FactoryUSBItemClick() {}

void TForm1::FactoryIPItemClick() {}

void TForm1::AboutItemClick()
{
    // Made without an owner, shown modally, gone when closed.
    TfmAbout about;
    about.exec();
}

void TForm1::Button1Click() {}

// --- Timer ticks --------------------------------------------------------------------

// The probe found a unit: the probing port lets the port go.
void TForm1::CloseTimerTimer()
{
    CloseTimer->stop();
    parts_->ComPort2.Close();
}

}  // namespace qireq
