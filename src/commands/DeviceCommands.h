#pragma once
// The tile menu's commands and the Refresh button: rename a unit, change the
// last three bytes of its MAC, remove it, empty and rebuild the whole list,
// add a LAN unit by its address, and ask a unit for its usage ("More Info").
// Each acts on the unit whose tile was last right-clicked (MenuIndex); the
// refresh acts on every unit, "More Info" on the current link. The items of
// the MAC change and the new device stay hidden; their handlers work all
// the same. Requests go to a unit only while it is the connected one.
//
// GUI thread only. The dialogs are modal: each command returns once its
// dialog has closed.
#include <QObject>
#include <QPointer>

class QTimer;
class QWidget;

namespace qireq {

class DeviceList;
class DeviceTileColumn;
class RequestSender;
class TIPCfgForm;
class TMacForm;
class TRenameFm;
struct MainState;

struct DeviceCommandParts {
    MainState& State;
    RequestSender& Requests;
    DeviceList& Devices;
    DeviceTileColumn& Column;
    QWidget& Window;      // owns the dialogs and the boxes; closed after a MAC change
    QTimer& SearchTimer;  // the search countdown, restarted by a refresh
};

class DeviceCommands : public QObject {
    Q_OBJECT
public:
    explicit DeviceCommands(const DeviceCommandParts& parts, QObject* parent = nullptr);

    void RenameItemClick();
    void RenameOKBtnClick();
    void MACItemClick();
    void MACOkClick();
    void RemoveDeviceItemClick();
    void RefreshBtnClick();
    void NewDeviceItemClick();
    void IPOkClick();
    void BurningItemClick();

    // The dialog of the command now running, none otherwise.
    TRenameFm* RenameDialog() const;
    TMacForm* MacDialog() const;
    TIPCfgForm* NewDeviceDialog() const;

private:
    // The unit the tile menu was opened on, still listed.
    bool MenuUnitListed() const;

    MainState& state_;
    RequestSender& requests_;
    DeviceList& devices_;
    DeviceTileColumn& column_;
    QWidget& window_;
    QTimer& searchTimer_;
    QPointer<TRenameFm> renameDialog_;
    QPointer<TMacForm> macDialog_;
    QPointer<TIPCfgForm> newDeviceDialog_;
};

}  // namespace qireq
