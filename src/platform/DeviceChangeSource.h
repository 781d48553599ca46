#pragma once
// Where the main window learns that a device arrived or was removed, the
// two events after which it reads the serial port names afresh
// (TForm1::DeviceChgMsg). One interface, one source per platform:
//   Windows: WM_DEVICECHANGE with DBT_DEVICEARRIVAL / DBT_DEVICEREMOVECOMPLETE;
//   Linux:   the udev monitor's "add" and "remove" of tty devices, or, where
//            no udev daemon runs (containers), a periodic re-reading of the
//            port list that reports what changed (PortListDiffSource).
// Tests make their own sources or emit DeviceChanged themselves.
//
// GUI thread: a source is made, used and destroyed there, and emits there.
#include "platform/DeviceChange.h"
#include "platform/SerialPortEnumeration.h"

#include <QObject>

#include <memory>

namespace qireq {

class DeviceChangeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DeviceChangeSource() override = default;

signals:
    // Arrived or Removed; never Other.
    void DeviceChanged(qireq::DeviceChange change);
};

// The source for this machine. nativeWindow is the main window's native
// handle (WId): on Windows only the messages sent to it count, so a change
// broadcast to every top-level window of the program is reported once.
// Elsewhere it is not used. enumerate is what the fallback re-reads. The
// caller owns the source (give it no QObject parent as well).
std::unique_ptr<DeviceChangeSource> CreateDeviceChangeSource(
    quintptr nativeWindow, SerialPortEnumerator enumerate = EnumerateSerialPorts);

}  // namespace qireq
