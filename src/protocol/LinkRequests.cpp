#include "protocol/LinkRequests.h"

#include "protocol/Frames.h"

namespace qireq {

void LinkRequests::SendPing()
{
    link_.WriteBytes(PingRequest());
}

void LinkRequests::SendIdentify()
{
    link_.WriteBytes(IdentifyRequest());
}

void LinkRequests::SendReadMac()
{
    link_.WriteBytes(ReadMacBlock());
}

}  // namespace qireq
