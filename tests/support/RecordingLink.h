#pragma once
// A link that records every frame written to it instead of sending it. It
// counts as open until Close.
#include "protocol/DeviceLink.h"

#include <cstdint>
#include <vector>

namespace qireq::test {

class RecordingLink : public DeviceLink {
public:
    std::vector<QByteArray> Frames;  // every write, in order

    void SetAddress(const QString& address) override { address_ = address; }
    QString GetAddress() const override { return address_; }
    void Open() override { open_ = true; }
    void Close() override { open_ = false; }
    int Write(const char* data, int size) override
    {
        Frames.emplace_back(data, size);
        return size;
    }
    int Read(char*, int) override { return 0; }
    bool IsOpen() const override { return open_; }

    // The frames of one command code, in the order written.
    std::vector<QByteArray> WithCommand(int code) const
    {
        std::vector<QByteArray> found;
        for (const QByteArray& frame : Frames)
            if (frame.size() > 5 && static_cast<std::uint8_t>(frame.at(5)) == code)
                found.push_back(frame);
        return found;
    }

private:
    QString address_;
    bool open_ = true;
};

}  // namespace qireq::test
