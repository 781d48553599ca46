// The main window's layout: which control sits where, with which name,
// caption and start state. Behaviour lives in Unit1.cpp and in
// the parts the window wires together.
#include "app/Unit1.h"

#include "app/WindowStyle.h"
#include "controls/Artwork.h"
#include "controls/Fftdraw.h"
#include "controls/PaintBox.h"
#include "controls/PictureButton.h"
#include "controls/TScrollBox.h"
#include "controls/TShape.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "editor/PlotInteraction.h"

#include <QAction>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>

namespace qireq {

namespace {

// Window geometry (logical pixels). The right-hand panels have the fixed
// sizes the editor and the plot lay themselves out in.
constexpr int kMargin = 6;
constexpr int kColumnWidth = TForm1::kDeviceBoxWidth + 2 * kMargin;
constexpr int kRightLeft = kMargin + kColumnWidth + kMargin;
constexpr int kPanelWidth = 849;
constexpr int kTopBarHeight = 32;
constexpr int kPlotPanelHeight = 241;
constexpr int kEqPanelHeight = 377;
constexpr int kStatusRowHeight = 26;
constexpr int kTopBarTop = kMargin;
constexpr int kPlotPanelTop = kTopBarTop + kTopBarHeight + kMargin;
constexpr int kEqPanelTop = kPlotPanelTop + kPlotPanelHeight + kMargin;
constexpr int kStatusRowTop = kEqPanelTop + kEqPanelHeight + kMargin;
constexpr int kCentralWidth = kRightLeft + kPanelWidth + kMargin;
constexpr int kCentralHeight = kStatusRowTop + kStatusRowHeight + kMargin;
// The light display in the plot panel: the plot with its three scale boxes.
constexpr QRect kPlotDisplay{28, 3, 817, 235};

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFrame* Panel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = Named(new QFrame(parent), name);
    panel->setGeometry(geometry);
    return panel;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QPoint& at,
              bool bold = false)
{
    auto* label = Named(new QLabel(text, parent), name);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->adjustSize();
    label->move(at);
    return label;
}

TShape* Lamp(QWidget* parent, const char* name)
{
    auto* lamp = Named(new TShape(TShape::Form::Rectangle, parent), name);
    lamp->setFixedSize(TForm1::kLampSize, TForm1::kLampSize);
    return lamp;
}

QTimer* Timer(QObject* owner, const char* name, int intervalMs, bool singleShot)
{
    auto* timer = Named(new QTimer(owner), name);
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    return timer;
}

}  // namespace

void TForm1::BuildForm()
{
    auto* central = Named(new QWidget(this), "CentralWidget");
    central->setFixedSize(kCentralWidth, kCentralHeight);
    setCentralWidget(central);
    setStyleSheet(MainWindowStyleSheet());

    BuildMenus();
    BuildDeviceColumn(central);
    BuildTopBar(central);
    BuildPlotPanel(central);
    BuildEqPanels(central);
    BuildStatusRow(central);
    BuildDiagnostics(central);
    BuildTimers();
    // Nothing here resizes: the window keeps the size of its panels.
    setFixedSize(sizeHint());
}

void TForm1::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    FileMenu = Named(bar->addMenu(QStringLiteral("&File")), "FileItem");
    OpenItem = Named(FileMenu->addAction(QStringLiteral("&Open")), "OpenItem");
    OpenItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveItem = Named(FileMenu->addAction(QStringLiteral("&Save As")), "SaveItem");
    SaveItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileMenu->addSeparator();
    ExitItem = Named(FileMenu->addAction(QStringLiteral("&Exit")), "ExitItem");
    ExitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Undo and redo are the editor's; PrepareEditor puts them in.
    EditMenu = Named(bar->addMenu(QStringLiteral("&Edit")), "EditItem");

    // The factory commands are built in, but their menu is never shown.
    ViewMenu = Named(bar->addMenu(QStringLiteral("View")), "ViewItem");
    FactoryUSBItem = Named(ViewMenu->addAction(QStringLiteral("Factory(USB)")), "FactoryUSBItem");
    FactoryIPItem = Named(ViewMenu->addAction(QStringLiteral("Factory(IP)")), "FactoryIPItem");
    FactoryIPItem->setVisible(false);
    ViewMenu->menuAction()->setVisible(false);

    HelpMenu = Named(bar->addMenu(QStringLiteral("&Help")), "HelpItem");
    AboutItem = Named(HelpMenu->addAction(QStringLiteral("&About")), "AboutItem");
}

void TForm1::BuildEditMenu()
{
    QUndoStack& stack = Editor->History().Stack();
    UndoItem = Named(stack.createUndoAction(EditMenu, QStringLiteral("Undo")), "UndoItem");
    UndoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoItem = Named(stack.createRedoAction(EditMenu, QStringLiteral("Redo")), "RedoItem");
    RedoItem->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                            QKeySequence(Qt::CTRL | Qt::Key_Y)});
    EditMenu->addAction(UndoItem);
    EditMenu->addAction(RedoItem);
}

void TForm1::BuildDeviceColumn(QWidget* central)
{
    const int height = kCentralHeight - 2 * kMargin;
    DeviceColumn = Panel(central, "DeviceColumn", QRect(kMargin, kMargin, kColumnWidth, height));

    // The stored caption; FormCreate puts the English one in.
    RefreshBtn = Named(new QPushButton(QStringLiteral("Refrescar"), DeviceColumn), "RefreshBtn");
    RefreshBtn->setGeometry(kMargin, kMargin, kDeviceBoxWidth, 26);
    RefreshBtn->setCursor(Qt::PointingHandCursor);

    const int boxTop = kMargin + 26 + kMargin;
    const int countRow = 24;
    DeviceBox = Named(new TScrollBox(DeviceColumn), "DeviceBox");
    DeviceBox->setGeometry(kMargin, boxTop, kDeviceBoxWidth, height - boxTop - countRow - kMargin);

    QWidget* inside = DeviceBox->Contents();
    TimeLabel = Label(inside, "TimeLabel", QStringLiteral("15"), QPoint(80, 8), true);
    DevicePaintBox = Named(new PaintBox(inside), "DevicePaintBox");
    DevicePaintBox->resize(kDevicePaintBoxWidth, 65);  // FormCreate sets the real height
    DevicePaintBox->hide();

    const int countTop = height - countRow - kMargin + 5;
    CountCaption = Label(DeviceColumn, "CountCaption", QStringLiteral("Count:"),
                         QPoint(kMargin + 2, countTop));
    deviceCountLabel = Label(DeviceColumn, "deviceCountLabel", QStringLiteral("0"),
                             QPoint(kMargin + 2 + CountCaption->width() + 6, countTop));
    deviceCountLabel->setMinimumWidth(40);
}

void TForm1::BuildTopBar(QWidget* central)
{
    Panel1 = Panel(central, "Panel1", QRect(kRightLeft, kTopBarTop, kPanelWidth, kTopBarHeight));

    ConnFlagList = qireq::ConnFlagList(devicePixelRatioF());
    connectflagImage = Named(new PictureButton(Panel1), "connectflagImage");
    connectflagImage->setGeometry(QRect(QPoint(12, 6), artwork::kConnFlagSize));
    connectflagImage->ShowPicture(ConnFlagList, artwork::kFlagDisconnected);
    ConnectShape = Named(new TShape(TShape::Form::Circle, Panel1), "ConnectShape");
    ConnectShape->setGeometry(62, 10, 12, 12);

    auto* title = Label(Panel1, "TitleLabel", QStringLiteral("MASTER EQ"), QPoint(92, 8), true);
    title->setFixedWidth(120);

    // A/B compare, left of LINK and RESET.
    StoreBtn = Named(new QPushButton(QStringLiteral("Store"), Panel1), "StoreBtn");
    StoreBtn->setGeometry(404, 5, 52, 22);
    StoreBtn->setCursor(Qt::PointingHandCursor);
    CompareBtn = Named(new QPushButton(QStringLiteral("A"), Panel1), "CompareBtn");
    CompareBtn->setGeometry(460, 5, 52, 22);
    CompareBtn->setCursor(Qt::PointingHandCursor);

    ConnectImageList = qireq::ConnectImageList(devicePixelRatioF());
    ConnImg = Named(new PictureButton(Panel1), "ConnImg");
    ConnImg->setGeometry(QRect(QPoint(524, 7), artwork::kConnectSize));
    ConnImg->ShowPicture(ConnectImageList, artwork::kConnectUp);

    ResetImg = Named(new PictureButton(Panel1), "ResetImg");
    ResetImg->setGeometry(QRect(QPoint(572, 7), artwork::kResetSize));
    ResetImg->ShowPicture(RstImageList(devicePixelRatioF()), artwork::kResetUp);
    ResetImg->setCursor(Qt::PointingHandCursor);

    // The hint line: three labels that keep their texts until the next hint.
    Label1 = Label(Panel1, "Label1", QString(), QPoint(632, 8));
    Label2 = Label(Panel1, "Label2", QString(), QPoint(696, 8));
    Label3 = Label(Panel1, "Label3", QString(), QPoint(768, 8));
    Label1->setFixedWidth(696 - 632 - 4);
    Label2->setFixedWidth(768 - 696 - 4);
    Label3->setFixedWidth(kPanelWidth - 768 - 4);
}

void TForm1::BuildPlotPanel(QWidget* central)
{
    Panel2 = Panel(central, "Panel2",
                   QRect(kRightLeft, kPlotPanelTop, kPanelWidth, kPlotPanelHeight));
    Image11 = Named(new QLabel(Panel2), "Image11");
    Image11->setGeometry(0, 0, kPanelWidth, kPlotPanelHeight);
    Image11->setPixmap(PlotBackgroundPicture(Image11->size(), kPlotDisplay, devicePixelRatioF()));
    Label5 = Label(Panel2, "Label5", QStringLiteral("(dB)"), QPoint(2, 120));
    FFTDraw1 = Named(new TFFTDraw(Panel2), "FFTDraw1");
    FFTDraw1->setGeometry(32, 16, 809, 201);
    // The axis boxes around it come with the plot set-up.
}

void TForm1::DressPlot()
{
    // The plot's system colours follow the window's scheme: the page is the
    // light display, and the scales around it are written in the display's
    // dark ink so they read on it.
    const QColor display = QColor::fromRgb(static_cast<QRgb>(palette::kDisplay));
    FFTDraw1->SetColor(display);
    const QString ink = QStringLiteral("color: %1;")
                            .arg(QColor::fromRgb(static_cast<QRgb>(palette::kDisplayText)).name());
    for (QWidget* box : {static_cast<QWidget*>(PlotMouse->LeftPaintBox()),
                         static_cast<QWidget*>(PlotMouse->BottomPaintBox()),
                         static_cast<QWidget*>(PlotMouse->RightPaintBox())}) {
        box->setStyleSheet(ink);
        QPalette colours = box->palette();
        colours.setColor(QPalette::Button, display);  // the right box's fill
        box->setPalette(colours);
    }
}

void TForm1::BuildEqPanels(QWidget* central)
{
    Panel3 = Panel(central, "Panel3", QRect(kRightLeft, kEqPanelTop, kPanelWidth, kEqPanelHeight));
    Panel4 = Panel(Panel3, "Panel4", QRect(176, 16, 505, 353));
}

void TForm1::BuildStatusRow(QWidget* central)
{
    StatusRow = Panel(central, "StatusRow",
                      QRect(kRightLeft, kStatusRowTop, kPanelWidth, kStatusRowHeight));
    auto* row = new QHBoxLayout(StatusRow);
    row->setContentsMargins(10, 3, 10, 3);
    row->setSpacing(8);

    TempLabel = Named(new QLabel(QStringLiteral("Temperature:0℃"), StatusRow), "TempLabel");
    TempLabel->setFixedWidth(130);  // fixed width: the row does not shift as values change
    row->addWidget(TempLabel);
    auto addPair = [&](QLabel*& caption, const char* captionName, const QString& text, TShape*& lamp,
                       const char* lampName) {
        row->addSpacing(14);
        caption = Named(new QLabel(text, StatusRow), captionName);
        row->addWidget(caption);
        lamp = Lamp(StatusRow, lampName);
        row->addWidget(lamp);
    };
    addPair(ProtectedLabel, "ProtectedLabel", QStringLiteral("Protected State"), ProtectState,
            "ProtectState");
    addPair(TempOverLabel, "TempOverLabel", QStringLiteral("Temperature State"), TempState,
            "TempState");
    addPair(VoltageLabel, "VoltageLabel", QStringLiteral("Voltage State"), VoltageState,
            "VoltageState");
    addPair(StandbyLabel, "StandbyLabel", QStringLiteral("Standby"), StandbyState, "StandbyState");
    row->addStretch(1);
}

void TForm1::BuildDiagnostics(QWidget* central)
{
    Memo1 = Named(new QPlainTextEdit(central), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setGeometry(kMargin, kCentralHeight - 120, kColumnWidth, 80);
    Memo1->hide();
    Button1 = Named(new QPushButton(QStringLiteral("Clear"), central), "Button1");
    Button1->setGeometry(kMargin, kCentralHeight - 36, 75, 25);
    Button1->hide();
}

void TForm1::BuildTimers()
{
    RecallTimer = Timer(this, "RecallTimer", 20, true);
    DeviceTimer = Timer(this, "DeviceTimer", 10, true);
    DisconnectTimer = Timer(this, "DisconnectTimer", 3000, false);
    ConnectTimer = Timer(this, "ConnectTimer", 1000, false);
    CloseTimer = Timer(this, "CloseTimer", 20, true);
    RequestTimer = Timer(this, "RequestTimer", 300, false);
    CheckTimer = Timer(this, "CheckTimer", 6000, false);
    ReconnectTimer = Timer(this, "ReconnectTimer", 3000, false);
    InputDecTimer = Timer(this, "InputDecTimer", 150, false);
    InputAddTimer = Timer(this, "InputAddTimer", 150, false);
    SearchTimer = Timer(this, "SearchTimer", 1000, false);
    ReadStateTimer = Timer(this, "ReadStateTimer", 3000, false);
    // The search countdown and the LAN presence watch run from the start.
    SearchTimer->start();
    DisconnectTimer->start();
}

}  // namespace qireq
