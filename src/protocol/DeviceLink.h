#pragma once
// The one byte-stream link to a unit. SerialLink wraps a TComPort and
// SocketLink a TClientSocket; tests use recording links. A link never owns
// the component it wraps: destroying a link leaves the component as it is.
#include <QByteArray>
#include <QString>

namespace qireq {

class DeviceLink {
public:
    virtual ~DeviceLink() = default;

    virtual void SetAddress(const QString& address) = 0;
    virtual QString GetAddress() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    // Hands the bytes to the component, then pauses the calling thread
    // (20 ms serial, 18 ms TCP) so frames leave at least that far apart.
    // Returns the count the component reported, or -1 on a failed write.
    virtual int Write(const char* data, int size) = 0;
    // Copies up to capacity waiting bytes into buffer; returns at once.
    virtual int Read(char* buffer, int capacity) = 0;
    virtual bool IsOpen() const = 0;

    int WriteBytes(const QByteArray& bytes)
    {
        return Write(bytes.constData(), static_cast<int>(bytes.size()));
    }

protected:
    DeviceLink() = default;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
};

}  // namespace qireq
