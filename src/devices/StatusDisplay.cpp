#include "devices/StatusDisplay.h"

#include "controls/TShape.h"
#include "protocol/RequestSender.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace qireq {

namespace {

const QColor kLampNormal{0, 255, 0};
const QColor kLampAlarm{255, 0, 0};

void Light(TShape* lamp, bool alarm)
{
    lamp->SetBrushColor(alarm ? kLampAlarm : kLampNormal);
}

}  // namespace

StatusDisplay::StatusDisplay(RequestSender& requests, const StatusRowControls& controls)
    : requests_(requests), controls_(controls)
{
    Q_ASSERT(controls_.TempLabel && controls_.ProtectState && controls_.TempState &&
             controls_.VoltageState && controls_.StandbyState && controls_.BurningItem &&
             controls_.ReadStateTimer);
    ticks_ = QObject::connect(controls_.ReadStateTimer, &QTimer::timeout,
                              [this] { ReadStateTimerTimer(); });
}

StatusDisplay::~StatusDisplay()
{
    QObject::disconnect(ticks_);
}

void StatusDisplay::ShowStatusPanel(bool visible)
{
    shown_ = visible;
    for (QWidget* control : controls_.Controls)
        control->setVisible(visible);
    controls_.BurningItem->setVisible(visible);
    if (visible)
        controls_.ReadStateTimer->start();
    else
        controls_.ReadStateTimer->stop();
}

void StatusDisplay::ReadStateTimerTimer()
{
    requests_.SendReadStatus();
}

void StatusDisplay::ApplyStatusReply(const StatusReading& status)
{
    controls_.TempLabel->setText(status.TempText);
    Light(controls_.ProtectState, status.ProtectAlarm);
    Light(controls_.TempState, status.TempAlarm);
    Light(controls_.VoltageState, status.VoltageAlarm);
    Light(controls_.StandbyState, status.Standby);
}

}  // namespace qireq
