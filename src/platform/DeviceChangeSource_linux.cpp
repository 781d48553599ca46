// Linux: device changes from the udev daemon, or from re-reading the port
// list where no daemon runs.
#include "platform/DeviceChangeSource.h"
#include "platform/PortListDiffSource.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

#include <utility>

namespace qireq {

namespace {

// The daemon's control socket: without it nothing sends udev events, and a
// monitor would open fine and stay silent for ever.
const char* const kUdevControlSocket = "/run/udev/control";

// Reports "add" and "remove" of tty devices as the udev daemon announces
// them. The "udev" event source is used, not "kernel": the daemon sends its
// event after the device node exists with its final permissions, so the
// port can be opened by the time the list is read again.
class UdevDeviceChangeSource final : public DeviceChangeSource {
public:
    // Absent when no monitor could be set up.
    static std::unique_ptr<UdevDeviceChangeSource> Create()
    {
        udev* context = udev_new();
        if (context == nullptr)
            return nullptr;
        udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
        if (monitor == nullptr
            || udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0
            || udev_monitor_enable_receiving(monitor) < 0) {
            if (monitor != nullptr)
                udev_monitor_unref(monitor);
            udev_unref(context);
            return nullptr;
        }
        return std::unique_ptr<UdevDeviceChangeSource>(
            new UdevDeviceChangeSource(context, monitor));
    }

    ~UdevDeviceChangeSource() override
    {
        notifier_.setEnabled(false);
        udev_monitor_unref(monitor_);
        udev_unref(context_);
    }

private:
    UdevDeviceChangeSource(udev* context, udev_monitor* monitor)
        : context_(context), monitor_(monitor),
          notifier_(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this)
    {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { ReadEvents(); });
    }

    void ReadEvents()
    {
        // The monitor's socket is non-blocking: take every queued event.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const QByteArray action = udev_device_get_action(device);
            const bool hasNode = udev_device_get_devnode(device) != nullptr;
            udev_device_unref(device);
            if (!hasNode)
                continue;
            if (action == "add")
                emit DeviceChanged(DeviceChange::Arrived);
            else if (action == "remove")
                emit DeviceChanged(DeviceChange::Removed);
        }
    }

    udev* context_;
    udev_monitor* monitor_;
    QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<DeviceChangeSource> CreateDeviceChangeSource(
    quintptr /*nativeWindow*/, SerialPortEnumerator enumerate)
{
    if (QFileInfo::exists(QString::fromLatin1(kUdevControlSocket))) {
        if (auto source = UdevDeviceChangeSource::Create())
            return source;
    }
    return std::make_unique<PortListDiffSource>(std::move(enumerate),
        PortListDiffSource::kDefaultIntervalMs);
}

}  // namespace qireq
