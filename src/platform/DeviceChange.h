#pragma once
// The two device-change events the main window acts on: a device arrived,
// a device was removed. The platform's notification source reports them;
// TForm1::DeviceChgMsg is their single entry point.
#include <QMetaType>

namespace qireq {

enum class DeviceChange {
    Arrived,  // something was plugged in: read the serial port names afresh
    Removed,  // something was unplugged: mark the first vanished serial unit
    Other,    // anything else (a node list change): nothing to do
};

}  // namespace qireq

Q_DECLARE_METATYPE(qireq::DeviceChange)
