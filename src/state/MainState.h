#pragma once
// The state many parts of the main window share: the connection, the send
// gate and liveness counters, and the EQ as the editor holds it. The link
// itself is the request sender's (protocol/RequestSender.h).
// One plain struct owned by the main window; each piece gets a reference.
// GUI thread only (the worker threads share the device list and the
// process-wide flags, which live elsewhere).
#include "eq/EqBand.h"

namespace qireq {

struct MainState {
    // Connection.
    bool Connected = false;
    int ConnectedIndex = -1;  // list index of the unit that answered Identify
    int ClickedIndex = 0;     // list index of the tile last clicked to connect
    int MenuIndex = 0;        // list index of the tile the popup menu acts on
    bool Heard = false;       // something sent or received since the last watchdog tick
    int QuietTicks = 0;       // keep-alive ticks since Heard was last set
    int ConnectTicks = 0;     // ConnectTimer ticks of the current attempt
    // Slider moves are transmitted only while this is non-zero, so moves
    // made by the program itself are not sent back to the unit.
    int SendGate = 0;

    // EQ: bands 1..5 at indexes 0..4, Trim (dB, 0..-18) and Bypass.
    EqState Eq;

    // Marks traffic on the link: what every send and every received frame does.
    void MarkHeard()
    {
        QuietTicks = 0;
        Heard = true;
    }
};

}  // namespace qireq
