#include "devices/StatusDisplay.h"

#include "app/TShape.h"
#include "devices/StatusReply.h"
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

void StatusDisplay::ApplyStatusReply(const QByteArray& frame)
{
    const std::optional<StatusReading> reading = ReadStatusReply(frame);
    if (!reading)
        return;
    controls_.TempLabel->setText(reading->TempText);
    Light(controls_.ProtectState, reading->ProtectAlarm);
    Light(controls_.TempState, reading->TempAlarm);
    Light(controls_.VoltageState, reading->VoltageAlarm);
    Light(controls_.StandbyState, reading->Standby);
}

}  // namespace qireq
