#include "protocol/ConnectGreeting.h"

namespace qireq {

std::vector<Command> ConnectGreeting(RxOrigin::Kind link)
{
    if (link == RxOrigin::Kind::Socket)
        return {Command::ReadMac, Command::Identify};
    return {Command::Identify};
}

QByteArray GreetingBytes(Command request)
{
    return request == Command::ReadMac ? ReadMacBlock() : BuildFrame(request);
}

}  // namespace qireq
