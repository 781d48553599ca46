#pragma once
// What a serial probe answer does: a complete Ping reply was read from the
// serial port named portName. The unit behind that port is listed as a
// serial unit (MAC unknown) unless the port is listed already, and once it
// has been added the prober is held (ProbeHold) until a serial unit is
// removed again. Returns whether a unit was added.
//
// portName must be the name of the port the reply's bytes were read from,
// taken when they were read: the probing port moves on to the next port
// 100 ms after each Ping, and a name looked up later would credit the
// answer to a port that never gave it. An empty name adds nothing.
//
// GUI thread (the receive path), but safe from any thread.
#include <QString>

namespace qireq {

class DeviceList;

bool CreditPingAnswer(DeviceList& devices, const QString& portName);

}  // namespace qireq
