#pragma once
// The unit as all its transports share it: one state, one log, and the fault
// switches that decide whether a frame is answered at all.
#include "SimChaos.h"
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
    bool ackOnly = false;    // EQ writes are acknowledged but not applied
    ChaosSettings chaos;     // random faults at random moments
};

// Bytes sent before a reply when garbage is switched on. They contain broken
// headers (a 0x01 followed by something else, 01 20 03 without its 0x40) and
// leave a receiving assembler in its idle state, so the reply after them
// still arrives whole; no breaking byte is itself a 0x01.
QByteArray GarbageBytes();

// A reply and what the chaos does to it.
struct SimReply {
    QByteArray bytes;  // empty: the unit sends no reply
    ChaosEffect chaos;
};

class SimDevice {
public:
    SimDevice(const SimUnitState& initial, const SimFaults& faults, SimLog log)
        : unit_(initial), faults_(faults), log_(std::move(log)), chaos_(faults.chaos, log_)
    {
        unit_.SetAckOnly(faults.ackOnly);
    }

    // Logs a received frame and returns the reply the unit sends to it:
    // empty when it sends none or has been switched mute. A mute unit
    // leaves its state as it was. `droppable`: the frame came on a
    // connection that can be ended (a TCP one), which the chaos may drop.
    SimReply Respond(const QByteArray& frame, bool droppable = false);

    // Whether the unit still answers anything (frames or LAN probes).
    bool Answering() const;

    const SimUnit& Unit() const { return unit_; }
    const SimFaults& Faults() const { return faults_; }
    const SimLog& Log() const { return log_; }
    SimChaos& Chaos() { return chaos_; }

private:
    SimUnit unit_;
    SimFaults faults_;
    SimLog log_;
    SimChaos chaos_;
    int framesSeen_ = 0;
};

}  // namespace qireq::sim
