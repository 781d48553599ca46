#pragma once
// The status row under the editor for units that report temperature and
// state flags: the temperature text, four lamps (protection, temperature,
// voltage, standby) and their captions, shown together with the "More
// Info" menu item while such a unit is connected, and the three-second
// status request that keeps them current. GUI thread only.
#include "protocol/StatusReply.h"

#include <QMetaObject>
#include <QVector>

class QAction;
class QLabel;
class QTimer;
class QWidget;

namespace qireq {

class RequestSender;
class TShape;

struct StatusRowControls {
    QLabel* TempLabel = nullptr;
    TShape* ProtectState = nullptr;
    TShape* TempState = nullptr;
    TShape* VoltageState = nullptr;
    TShape* StandbyState = nullptr;
    // The nine controls of the row, shown and hidden together.
    QVector<QWidget*> Controls;
    QAction* BurningItem = nullptr;  // "More Info" of the tile menu
    QTimer* ReadStateTimer = nullptr;
};

class StatusDisplay {
public:
    // Each ReadStateTimer tick asks for the status, from now until the
    // display goes.
    StatusDisplay(RequestSender& requests, const StatusRowControls& controls);
    ~StatusDisplay();
    StatusDisplay(const StatusDisplay&) = delete;
    StatusDisplay& operator=(const StatusDisplay&) = delete;

    // The row, the "More Info" item and the status requests, all together.
    // Showing keeps the values last shown.
    void ShowStatusPanel(bool visible);
    bool StatusPanelShown() const { return shown_; }

    // Asks the connected unit for its status; nothing while not connected.
    void ReadStateTimerTimer();

    // Shows a status reply: the temperature text and the four lamps (green
    // normal, red alarm).
    void ApplyStatusReply(const StatusReading& status);

private:
    RequestSender& requests_;
    StatusRowControls controls_;
    QMetaObject::Connection ticks_;
    bool shown_ = false;
};

}  // namespace qireq
