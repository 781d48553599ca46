#pragma once
// DeviceLink over the TCP client component. The address is "host:port"
// (the connection logic forms "<IPv4 address>:5000"). The link does not own
// the socket: destroying it leaves the socket as it is. GUI thread only.
#include "protocol/DeviceLink.h"
#include "protocol/LinkPause.h"

#include <stdexcept>
#include <utility>

namespace qireq {

class TClientSocket;

// An address whose port part is not a decimal number.
class EConvertError : public std::invalid_argument {
public:
    explicit EConvertError(const QString& message)
        : std::invalid_argument(message.toStdString()) {}
};

class SocketLink final : public DeviceLink {
public:
    // The pause after a write, taken in two steps.
    static constexpr int kWritePauseFirstMs = 3;
    static constexpr int kWritePauseSecondMs = 15;

    explicit SocketLink(TClientSocket& socket, LinkPause pause = SleepMs)
        : socket_(socket), pause_(std::move(pause)) {}

    // Host is the text before the first colon, the port the decimal number
    // after it; both take effect at the next Open. Throws EConvertError for
    // a text without a colon or without a number after it, and the socket's
    // ESocketError while it is connected; nothing changes then.
    void SetAddress(const QString& address) override;
    QString GetAddress() const override;
    // Starts connecting and returns at once; IsOpen turns true only once the
    // connection is established.
    void Open() override;
    void Close() override;
    int Write(const char* data, int size) override;
    // Never negative: a failed receive copies nothing.
    int Read(char* buffer, int capacity) override;
    bool IsOpen() const override;

private:
    TClientSocket& socket_;
    LinkPause pause_;
};

}  // namespace qireq
