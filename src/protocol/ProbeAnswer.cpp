#include "protocol/ProbeAnswer.h"

#include "state/DeviceList.h"

namespace qireq {

bool CreditPingAnswer(DeviceList& devices, const QString& portName)
{
    if (portName.isEmpty() || devices.Contains(portName))
        return false;
    if (!devices.AddFoundUnit(portName, kUnknownMac, kSerialUnit))
        return false;
    devices.Flags().ProbeHold.store(true);
    return true;
}

}  // namespace qireq
