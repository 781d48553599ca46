#pragma once
// This PC's own IPv4 address as dotted text, the address the new-device
// dialog offers first.
//
// The first IPv4 address of an interface that is up, running and not the
// loopback one; without such an interface, the first IPv4 address the host
// name resolves to, else "127.0.0.1". The interfaces come first because on
// Linux the host name usually resolves to 127.0.1.1, an address no unit can
// be reached from. Any thread; resolving the host name may block briefly.
#include <QString>

namespace qireq {

QString OwnIpv4Address();

}  // namespace qireq
