// Windows: WM_DEVICECHANGE as the system sends it to the main window.
#include "platform/DeviceChangeSource.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <qt_windows.h>

namespace qireq {

namespace {

constexpr UINT kWmDeviceChange = 0x0219;
constexpr WPARAM kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
constexpr WPARAM kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE

class WinDeviceChangeSource final : public DeviceChangeSource,
                                    public QAbstractNativeEventFilter {
public:
    explicit WinDeviceChangeSource(quintptr window) : window_(window)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~WinDeviceChangeSource() override
    {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    // Looks only; the message always goes on to its default handling.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != kWmDeviceChange)
            return false;
        if (window_ != 0 && reinterpret_cast<quintptr>(msg->hwnd) != window_)
            return false;
        if (msg->wParam == kDeviceArrival)
            emit DeviceChanged(DeviceChange::Arrived);
        else if (msg->wParam == kDeviceRemoveComplete)
            emit DeviceChanged(DeviceChange::Removed);
        return false;
    }

private:
    quintptr window_;
};

}  // namespace

std::unique_ptr<DeviceChangeSource> CreateDeviceChangeSource(
    quintptr nativeWindow, SerialPortEnumerator /*enumerate*/)
{
    return std::make_unique<WinDeviceChangeSource>(nativeWindow);
}

}  // namespace qireq
