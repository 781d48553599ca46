#pragma once
// The unit as all its transports share it: one state, one log, and the fault
// switches that decide whether a frame is answered at all.
#include "SimLog.h"
#include "SimUnit.h"

namespace qireq::sim {

struct SimFaults {
    bool silent = false;     // log what arrives, answer nothing
    int answerLimit = -1;    // after this many frames the unit goes mute (-1: never)
    int dropAfter = -1;      // a TCP connection is closed after this many frames (-1: never)
    int delayMs = 0;         // each reply leaves this long after its request
    int chunkBytes = 0;      // replies leave in pieces of this many bytes (0: whole)
    int chunkPauseMs = 5;    // pause between two pieces
    bool garbage = false;    // filler bytes go out before every reply
};

// Bytes sent before a reply when garbage is switched on. They contain broken
// headers (a 0x01 followed by something else, 01 20 03 without its 0x40) and
// leave a receiving assembler in its idle state, so the reply after them
// still arrives whole; no breaking byte is itself a 0x01.
QByteArray GarbageBytes();

class SimDevice {
public:
    SimDevice(const SimUnitState& initial, const SimFaults& faults, SimLog log)
        : unit_(initial), faults_(faults), log_(std::move(log))
    {
    }

    // Logs a received frame and returns the reply the unit sends to it:
    // empty when it sends none or has been switched mute. A mute unit
    // leaves its state as it was.
    QByteArray Respond(const QByteArray& frame);

    // Whether the unit still answers anything (frames or LAN probes).
    bool Answering() const;

    const SimUnit& Unit() const { return unit_; }
    const SimFaults& Faults() const { return faults_; }
    const SimLog& Log() const { return log_; }

private:
    SimUnit unit_;
    SimFaults faults_;
    SimLog log_;
    int framesSeen_ = 0;
};

}  // namespace qireq::sim
