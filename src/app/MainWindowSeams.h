#pragma once
// Where the outside world comes into the main window. The program uses the
// defaults; tests hand in pseudo-terminal paths as the machine's serial
// ports and loopback ports for their simulated LAN units.
#include "discovery/LanDiscovery.h"
#include "platform/DeviceChangeSource.h"
#include "platform/SerialPortAccess.h"
#include "platform/SerialPortEnumeration.h"

#include <functional>
#include <memory>

namespace qireq {

struct MainWindowSeams {
    // The serial port names the prober walks and a USB change re-reads.
    SerialPortEnumerator EnumerateSerialPorts = qireq::EnumerateSerialPorts;
    // Whether this user may open a port (the group to join when not).
    std::function<std::optional<QString>(const QString& port)> SerialPortAccess =
        SerialPortGroupNeeded;
    // The TCP port LAN units are reached on.
    int LanPort = 5000;
    // Whether FormShow starts the serial prober and the device-change watch,
    // and the LAN discovery threads.
    bool StartSerialDiscovery = true;
    bool StartLanDiscovery = true;
    // Where LAN discovery sends and listens.
    LanDiscoverySetup Lan;
    // Where USB arrivals and removals come from: the platform's notifications
    // in the program; tests report their own through DeviceChgMsg.
    std::function<std::unique_ptr<DeviceChangeSource>(quintptr nativeWindow,
                                                      SerialPortEnumerator enumerate)>
        MakeDeviceChangeSource = CreateDeviceChangeSource;

    // No discovery at all, and the machine's serial ports read as none: the
    // window sends nothing anywhere.
    static MainWindowSeams Isolated()
    {
        MainWindowSeams seams;
        seams.StartSerialDiscovery = false;
        seams.StartLanDiscovery = false;
        seams.EnumerateSerialPorts = [] { return QStringList(); };
        return seams;
    }
};

}  // namespace qireq
