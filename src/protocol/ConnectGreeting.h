#pragma once
// What a host sends a unit on connecting, before anything else. Over TCP the
// unit is first asked for its MAC (the window shows it on the tile; a serial
// unit is known by its port and is not asked), then for its identity, whose
// reply makes the unit connected. The window and qireq-ctl both greet this way.
#include "protocol/Frames.h"
#include "protocol/ReplyHandoffs.h"

#include <QByteArray>

#include <vector>

namespace qireq {

// The requests in the order they are sent: {ReadMac, Identify} over TCP,
// {Identify} over serial.
std::vector<Command> ConnectGreeting(RxOrigin::Kind link);

// The bytes of one greeting request as written: ReadMac padded to its
// 150-byte block (one TCP write), the others as their 9-byte frames.
QByteArray GreetingBytes(Command request);

}  // namespace qireq
