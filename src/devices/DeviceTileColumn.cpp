#include "devices/DeviceTileColumn.h"

#include "controls/Devicepanel.h"
#include "controls/PaintBox.h"
#include "controls/TScrollBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QThread>
#include <QTimer>

namespace qireq {

DeviceTileColumn::DeviceTileColumn(MainState& state, DeviceList& list,
                                   const DeviceColumnControls& controls, QObject* parent)
    : QObject(parent), state_(state), list_(list), controls_(controls)
{
    Q_ASSERT(controls_.DeviceBox && controls_.TimeLabel && controls_.DevicePaintBox &&
             controls_.deviceCountLabel && controls_.DeviceTimer && controls_.SearchTimer &&
             controls_.CloseTimer && controls_.DisconnectTimer);
    connect(controls_.DeviceTimer, &QTimer::timeout, this, &DeviceTileColumn::DeviceTimerTimer);
    connect(controls_.SearchTimer, &QTimer::timeout, this, &DeviceTileColumn::SearchTimerTimer);
    connect(controls_.DisconnectTimer, &QTimer::timeout, this,
            &DeviceTileColumn::DisconnectTimerTimer);
    BuildMenu();
    controls_.DevicePaintBox->SetOnPaint(&DeviceTileColumn::DevicePaintBoxPaint);
    // The frame is drawn under the tiles, so only its border shows.
    controls_.DevicePaintBox->lower();

    // A unit may be added on any thread; its timers are started here, on
    // the GUI thread: at once when the add came from this thread, else by a
    // queued call (dropped if the column is gone by then).
    list_.SetUnitAddedHandler([this](const DeviceEntry& added) {
        const bool serial = added.IsSerial();
        if (QThread::currentThread() == thread())
            UnitAdded(serial);
        else
            QMetaObject::invokeMethod(this, [this, serial] { UnitAdded(serial); },
                                      Qt::QueuedConnection);
    });
}

DeviceTileColumn::~DeviceTileColumn()
{
    list_.SetUnitAddedHandler(nullptr);
}

void DeviceTileColumn::BuildMenu()
{
    deviceMenu_ = std::make_unique<QMenu>();
    deviceMenu_->setObjectName(QStringLiteral("DeviceMenu"));
    auto item = [this](const char* name, const QString& caption, bool visible,
                       void (DeviceTileColumn::*signal)()) {
        QAction* action = deviceMenu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setVisible(visible);
        connect(action, &QAction::triggered, this, signal);
        return action;
    };
    NewDeviceItem = item("NewDeviceItem", QStringLiteral("New Device"), false,
                         &DeviceTileColumn::NewDeviceItemClick);
    RenameItem = item("RenameItem", QStringLiteral("Rename Device"), true,
                      &DeviceTileColumn::RenameItemClick);
    MACItem = item("MACItem", QStringLiteral("Modify MAC Address"), false,
                   &DeviceTileColumn::MACItemClick);
    RemoveDeviceItem = item("RemoveDeviceItem", QStringLiteral("Remove Device"), true,
                            &DeviceTileColumn::RemoveDeviceItemClick);
    BurningItem = item("BurningItem", QStringLiteral("More Info"), false,
                       &DeviceTileColumn::BurningItemClick);

    popupMenu1_ = std::make_unique<QMenu>();
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    NewDeviceItem1 = popupMenu1_->addAction(QStringLiteral("New Device"));
    NewDeviceItem1->setObjectName(QStringLiteral("NewDeviceItem1"));
    connect(NewDeviceItem1, &QAction::triggered, this, &DeviceTileColumn::NewDeviceItemClick);
}

void DeviceTileColumn::UnitAdded(bool serial)
{
    if (serial)
        controls_.CloseTimer->start();
    controls_.DeviceTimer->start();
}

// --- Tiles ------------------------------------------------------------------------

int DeviceTileColumn::TileLeft(int boxWidth)
{
    return (boxWidth - TDevicePanel::kWidth) / 2 - 10;
}

int DeviceTileColumn::TileTop(int position)
{
    return (TDevicePanel::kHeight + kTileGap) * position + kTileGap;
}

TDevicePanel* DeviceTileColumn::BuildTile(const DeviceEntry& entry)
{
    // Tile i shows unit i: a tile built anywhere else would show one unit
    // and act on another.
    const int position = static_cast<int>(tiles_.size());
    if (entry.Index != position) {
        qWarning("DeviceTileColumn: no tile for unit %d at position %d", entry.Index, position);
        return nullptr;
    }

    auto* tile = new TDevicePanel(controls_.DeviceBox->Contents());
    tile->setObjectName(QStringLiteral("DevicePanel%1").arg(position));
    tile->move(TileLeft(controls_.DeviceBox->width()), TileTop(position));
    tile->SetBevelOuter(TDevicePanel::Bevel::Raised);
    tile->SetTag(position);

    tile->NameLabel->SetCaption(entry.Name);
    tile->AddressLabel->SetCaption(entry.Address);
    tile->MacLabel->SetCaption(FormatMac(entry.Mac.toUpper(), QStringLiteral(":")));
    tile->AddressCaption->SetCaption(entry.IsSerial() ? QStringLiteral("Port:")
                                                      : QStringLiteral("IP:"));

    tile->OnMouseDown = [this](TDevicePanel& sender, Qt::MouseButton button,
                               Qt::KeyboardModifiers, const QPoint&) {
        DeviceMouseDown(sender, button);
    };
    tile->OnMouseUp = [this](TDevicePanel& sender, Qt::MouseButton button, Qt::KeyboardModifiers,
                             const QPoint&) { DeviceMouseUp(sender, button); };
    tile->OnClick = [this](TDevicePanel&) { emit DevicePanelClick(); };
    tile->OnDblClick = [this](TDevicePanel&) { DevicePanelDblClick(); };
    for (TMouseLabel* label : {tile->NameLabel, tile->AddressLabel, tile->MacLabel}) {
        label->OnMouseDown = [this](TMouseLabel& sender, Qt::MouseButton button,
                                    Qt::KeyboardModifiers shift, const QPoint& pos) {
            LabelMouseDown(sender, button, shift, pos);
        };
        label->OnMouseUp = [this](TMouseLabel& sender, Qt::MouseButton button,
                                  Qt::KeyboardModifiers shift, const QPoint& pos) {
            LabelMouseUp(sender, button, shift, pos);
        };
        label->OnClick = [this](TMouseLabel&) { emit DevicePanelClick(); };
    }
    tile->SetPopupMenu(deviceMenu_.get());
    tile->show();

    tiles_.append(tile);
    ++deviceCount_;
    ShowDeviceCount();
    return tile;
}

void DeviceTileColumn::BuildMissingTiles()
{
    while (const std::optional<DeviceEntry> entry =
               list_.EntryAt(static_cast<int>(tiles_.size()))) {
        if (!BuildTile(*entry))
            break;
    }
}

// The prober may look at a serial unit's port again; tiles below move up
// one place and the connection hears of it (a removed connected unit ends
// the connection). ClickedIndex and MenuIndex are left alone.
void DeviceTileColumn::RemoveUnit(int index)
{
    const std::optional<DeviceEntry> entry = list_.EntryAt(index);
    if (!entry)
        return;
    if (entry->IsSerial())
        list_.Flags().ProbeHold.store(false);

    list_.Remove(index);
    // A unit still waiting for its tile has none to destroy or uncount.
    if (index < static_cast<int>(tiles_.size())) {
        if (TDevicePanel* tile = tiles_.takeAt(index)) {
            tile->hide();
            tile->deleteLater();
        }
        --deviceCount_;
        ShowDeviceCount();
    }
    for (int i = 0; i < static_cast<int>(tiles_.size()); ++i) {
        if (TDevicePanel* tile = tiles_[i]) {
            tile->SetTag(i);
            tile->move(tile->x(), TileTop(i));
        }
    }

    emit UnitRemoved(index, entry->IsSerial());
    if (TDevicePanel* connected = TileAt(state_.ConnectedIndex))
        controls_.DevicePaintBox->move(controls_.DevicePaintBox->x(), connected->y() - kFrameMargin);
}

QVector<TDevicePanel*> DeviceTileColumn::Tiles() const
{
    QVector<TDevicePanel*> tiles;
    tiles.reserve(tiles_.size());
    for (const QPointer<TDevicePanel>& tile : tiles_)
        tiles.append(tile.data());
    return tiles;
}

TDevicePanel* DeviceTileColumn::TileAt(int index) const
{
    if (index < 0 || index >= static_cast<int>(tiles_.size()))
        return nullptr;
    return tiles_[index].data();
}

void DeviceTileColumn::ShowDeviceCount()
{
    controls_.deviceCountLabel->setText(QString::number(deviceCount_));
}

// --- The connected unit -----------------------------------------------------------

void DeviceTileColumn::ShowConnectedName(const QString& name)
{
    list_.SetName(state_.ConnectedIndex, name);
    TDevicePanel* tile = TileAt(state_.ConnectedIndex);
    if (!tile)
        return;
    tile->NameLabel->SetCaption(name);
    PlaceSelectionFrame(*tile);
    controls_.DevicePaintBox->show();
    tile->RedCross->hide();
}

void DeviceTileColumn::ShowConnectedMac(int index, const MacBytes& mac)
{
    const QString text = MacToText(mac);
    list_.SetMac(index, text);
    if (TDevicePanel* tile = TileAt(index))
        tile->MacLabel->SetCaption(FormatMac(text, QStringLiteral(":")));
}

void DeviceTileColumn::HideSelectionFrame()
{
    controls_.DevicePaintBox->hide();
}

void DeviceTileColumn::PlaceSelectionFrame(const TDevicePanel& tile)
{
    controls_.DevicePaintBox->move(tile.x() - kFrameMargin, tile.y() - kFrameMargin);
}

// --- Missing marks ------------------------------------------------------------------

void DeviceTileColumn::ShowRedCross(int index)
{
    if (TDevicePanel* tile = TileAt(index))
        tile->RedCross->show();
}

int DeviceTileColumn::MarkUnpluggedSerialUnit(const QStringList& ports)
{
    const std::optional<int> index = list_.FirstSerialUnitMissingFrom(ports);
    if (!index)
        return -1;
    ShowRedCross(*index);
    return *index;
}

// --- Timers ---------------------------------------------------------------------------

// Builds the tile of the unit just added. Every unit without a tile gets
// one, so a removal or a unit typed in meanwhile cannot leave one behind;
// and when there is nothing left to build (the new unit was removed before
// its tile existed) the gate is opened all the same, so discovery goes on.
void DeviceTileColumn::DeviceTimerTimer()
{
    BuildMissingTiles();
    controls_.DeviceTimer->stop();
    list_.Flags().AddPending.store(false);
}

void DeviceTileColumn::SearchTimerTimer()
{
    --searchCountdown_;
    QString shown = QString::number(searchCountdown_);
    if (searchCountdown_ <= 0) {
        shown = QStringLiteral("No Device");
        searchCountdown_ = kSearchSeconds;
        controls_.SearchTimer->stop();
    }
    // The label was sized for "15"; it grows and shrinks with its text from
    // where it stands.
    controls_.TimeLabel->setText(shown);
    controls_.TimeLabel->adjustSize();
}

// The LAN presence watch: a LAN unit silent for DeviceList::kSilentTicks
// ticks gets its missing mark, one unit per tick.
void DeviceTileColumn::DisconnectTimerTimer()
{
    ProcessFlags& flags = list_.Flags();
    if (flags.ListChanging.load())
        return;
    RaisedFlag scanning(flags.ScanBusy);
    if (const std::optional<int> silent = list_.TickSilenceCounters())
        ShowRedCross(*silent);
}

// --- Mouse ------------------------------------------------------------------------------

void DeviceTileColumn::DeviceMouseDown(TDevicePanel& sender, Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        sender.SetBevelOuter(TDevicePanel::Bevel::Lowered);
        state_.ClickedIndex = sender.Tag();
    } else if (button == Qt::RightButton) {
        // The popup menu opens by itself and acts on this tile.
        state_.MenuIndex = sender.Tag();
    }
}

void DeviceTileColumn::DeviceMouseUp(TDevicePanel& sender, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        sender.SetBevelOuter(TDevicePanel::Bevel::Raised);
}

// A press on a value label is a press on its tile.
void DeviceTileColumn::LabelMouseDown(TMouseLabel& sender, Qt::MouseButton button,
                                      Qt::KeyboardModifiers shift, const QPoint& pos)
{
    if (auto* tile = qobject_cast<TDevicePanel*>(sender.parentWidget()); tile && tile->OnMouseDown)
        tile->OnMouseDown(*tile, button, shift, pos);
}

void DeviceTileColumn::LabelMouseUp(TMouseLabel& sender, Qt::MouseButton button,
                                    Qt::KeyboardModifiers shift, const QPoint& pos)
{
    if (auto* tile = qobject_cast<TDevicePanel*>(sender.parentWidget()); tile && tile->OnMouseUp)
        tile->OnMouseUp(*tile, button, shift, pos);
}

// --- Painting ------------------------------------------------------------------------------

// Three nested green rectangles: with the frame 5 pixels up and left of the
// 150 x 81 tile, a three-pixel green border shows around it.
void DeviceTileColumn::DevicePaintBoxPaint(PaintBox& box, QPainter& canvas)
{
    const int w = box.width();
    const int h = box.height();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(QColor(0, 255, 0), 1));
    canvas.setBrush(box.palette().color(QPalette::Window));
    for (int inset = 0; inset < 3; ++inset) {
        // Corners as given, right and bottom edges exclusive.
        canvas.drawRect(QRect(QPoint(inset, inset), QPoint(w - inset - 1, h - inset - 1))
                            .adjusted(0, 0, -1, -1));
    }
}

}  // namespace qireq
