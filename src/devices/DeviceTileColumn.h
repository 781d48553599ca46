#pragma once
// The device column of the main window: one tile per listed unit inside
// DeviceBox, the green frame around the connected unit's tile, the missing
// marks, the unit counter, the search countdown and the tile popup menu.
// The main window owns it and hands it its controls; the list itself is
// the thread-safe DeviceList, which the discovery threads feed.
//
// GUI thread only, except that the list's AddFoundUnit may be called from
// any thread: the timers it asks for are started here on the GUI thread.
// Threads that add units are to be stopped before the column is destroyed.
#include "state/DeviceEntry.h"
#include "state/DeviceList.h"
#include "state/MacText.h"
#include "state/MainState.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QVector>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPainter;
class QTimer;

namespace qireq {

class PaintBox;
class TDevicePanel;
class TMouseLabel;
class TScrollBox;

// The main window's controls the column works with, all required.
struct DeviceColumnControls {
    TScrollBox* DeviceBox = nullptr;       // tiles go into its Contents()
    QLabel* TimeLabel = nullptr;           // the search countdown
    PaintBox* DevicePaintBox = nullptr;    // the selection frame, 160 x 89
    QLabel* deviceCountLabel = nullptr;
    QTimer* DeviceTimer = nullptr;         // builds the newest tile
    QTimer* SearchTimer = nullptr;         // the countdown's second
    QTimer* CloseTimer = nullptr;          // releases the probing port
    QTimer* DisconnectTimer = nullptr;     // the LAN presence watch
};

class DeviceTileColumn : public QObject {
    Q_OBJECT
public:
    static constexpr int kTileGap = 10;
    static constexpr int kFrameMargin = 5;  // the frame sits this far up and left
    static constexpr int kSearchSeconds = 15;

    DeviceTileColumn(MainState& state, DeviceList& list, const DeviceColumnControls& controls,
                     QObject* parent = nullptr);
    ~DeviceTileColumn() override;

    // --- The tiles ---------------------------------------------------------
    // Builds the tile of the entry at the next free tile position (the
    // entry's Index must be that position) and counts it. Returns the tile,
    // or none for an entry that does not belong at the next position.
    TDevicePanel* BuildTile(const DeviceEntry& entry);
    // Builds the tile of every listed unit that has none yet, in list
    // order: what a unit typed in by hand needs (a found unit may still be
    // waiting for its tile above it).
    void BuildMissingTiles();
    // Removes the unit at index with its tile and closes the gap; see the
    // .cpp for what a removal of the connected unit does.
    void RemoveUnit(int index);
    QVector<TDevicePanel*> Tiles() const;
    TDevicePanel* TileAt(int index) const;  // none when there is no such tile
    int DeviceCount() const { return deviceCount_; }
    static int TileLeft(int boxWidth);
    static int TileTop(int position);

    // --- The connected unit ---------------------------------------------------
    // The unit's own name on its tile and in its entry; the green frame
    // moves around the tile and its missing mark goes.
    void ShowConnectedName(const QString& name);
    // The MAC of the unit at index, the one at the other end of the
    // connection, in its entry (12 digits) and on its tile (with ":"). A
    // unit whose tile is not built yet shows it once the tile is built.
    void ShowConnectedMac(int index, const MacBytes& mac);
    void HideSelectionFrame();

    // --- Missing marks ------------------------------------------------------------
    void ShowRedCross(int index);
    // A USB removal: the first serial unit whose port is not among ports
    // gets its missing mark. Returns that unit's index, -1 for none; what
    // it means for the connection is the connection's business.
    int MarkUnpluggedSerialUnit(const QStringList& ports);

    // --- Menu -------------------------------------------------------------------------
    QMenu* DeviceMenu() const { return deviceMenu_.get(); }
    QAction* NewDeviceItem = nullptr;     // "New Device", never shown
    QAction* RenameItem = nullptr;        // "Rename Device"
    QAction* MACItem = nullptr;           // "Modify MAC Address", never shown
    QAction* RemoveDeviceItem = nullptr;  // "Remove Device"
    QAction* BurningItem = nullptr;       // "More Info", shown with the status row
    // A second menu with only "New Device", attached to no control.
    QMenu* PopupMenu1() const { return popupMenu1_.get(); }
    QAction* NewDeviceItem1 = nullptr;

    // --- Handlers -----------------------------------------------------------------
    void DeviceTimerTimer();
    void SearchTimerTimer();
    void DisconnectTimerTimer();
    int SearchCountdown() const { return searchCountdown_; }

    void DeviceMouseDown(TDevicePanel& sender, Qt::MouseButton button);
    void DeviceMouseUp(TDevicePanel& sender, Qt::MouseButton button);
    void LabelMouseDown(TMouseLabel& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                        const QPoint& pos);
    void LabelMouseUp(TMouseLabel& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                      const QPoint& pos);
    void DevicePanelDblClick() {}

    static void DevicePaintBoxPaint(PaintBox& box, QPainter& canvas);

signals:
    // A plain click on a tile or one of its value labels; ClickedIndex holds
    // the tile the preceding left press was on.
    void DevicePanelClick();
    // The popup menu's items, acting on MenuIndex.
    void NewDeviceItemClick();
    void RenameItemClick();
    void MACItemClick();
    void RemoveDeviceItemClick();
    void BurningItemClick();
    // The unit at index has left the list and the tiles below moved up;
    // the connection follows before the selection frame is placed again.
    void UnitRemoved(int index, bool serial);

private:
    void BuildMenu();
    void UnitAdded(bool serial);
    void ShowDeviceCount();
    void PlaceSelectionFrame(const TDevicePanel& tile);

    MainState& state_;
    DeviceList& list_;
    DeviceColumnControls controls_;
    QVector<QPointer<TDevicePanel>> tiles_;
    std::unique_ptr<QMenu> deviceMenu_;
    std::unique_ptr<QMenu> popupMenu1_;
    int deviceCount_ = 0;
    int searchCountdown_ = kSearchSeconds;
};

}  // namespace qireq
