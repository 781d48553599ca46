#pragma once
// The three canned requests sent on the current link: keep-alive ping,
// identify, and the TCP read-MAC block. Replaced together with the link.
#include "protocol/DeviceLink.h"

namespace qireq {

class LinkRequests {
public:
    explicit LinkRequests(DeviceLink& link) : link_(link) {}

    void SendPing();
    void SendIdentify();
    void SendReadMac();

    DeviceLink& Link() const { return link_; }

private:
    DeviceLink& link_;
};

}  // namespace qireq
