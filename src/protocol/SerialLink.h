#pragma once
// DeviceLink over a serial port component. The address is the port name.
// The link does not own the port: destroying it leaves the port as it is.
// Usable from any one thread at a time (the prober's link runs on the
// prober thread); the port carries each call over to its own thread, while
// the pause after a write is spent on the caller's.
#include "protocol/DeviceLink.h"
#include "protocol/LinkPause.h"

#include <utility>

namespace qireq {

class TComPort;

class SerialLink final : public DeviceLink {
public:
    static constexpr int kWritePauseMs = 20;

    explicit SerialLink(TComPort& port, LinkPause pause = SleepMs)
        : port_(port), pause_(std::move(pause)) {}

    void SetAddress(const QString& address) override;
    QString GetAddress() const override;
    void Open() override;
    void Close() override;
    // A write the port fails returns -1 at once, without the pause.
    int Write(const char* data, int size) override;
    // Never negative: a failed read copies nothing.
    int Read(char* buffer, int capacity) override;
    bool IsOpen() const override;

private:
    TComPort& port_;
    LinkPause pause_;
};

}  // namespace qireq
