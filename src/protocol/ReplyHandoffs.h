#pragma once
// Where the reply dispatcher hands its work on: the editor, the device
// column, the status row, the connection timers and the message loop. Each
// reply arrives read and checked: a reply too short for its fields never
// gets here. The main window implements it by forwarding each call to the
// part that owns it; tests implement it with a recorder. GUI thread only.
#include "eq/EqBlock.h"
#include "protocol/ReplyFields.h"
#include "protocol/StatusReply.h"

#include <QString>

namespace qireq {

// Which component a received byte came from. Serial bytes carry the name of
// the port they were read from, taken when they were read: the probing port
// moves on from port to port, so a name looked up later could be another's.
struct RxOrigin {
    enum class Kind { Socket, SerialPort };
    Kind kind = Kind::Socket;
    QString portName;

    static RxOrigin Socket() { return {Kind::Socket, QString()}; }
    static RxOrigin SerialPort(const QString& name) { return {Kind::SerialPort, name}; }
};

class ReplyHandoffs {
public:
    virtual ~ReplyHandoffs() = default;

    // The address the connection attempt runs on, as the device list keys
    // it: the TCP client's host for a reply that came over TCP, the
    // connection port's (ComPort1's) name for one that came over serial.
    virtual QString ConnectionAddress(RxOrigin::Kind kind) const = 0;

    // The unit answered Identify over the link of that kind. The
    // connection decides whether that makes it the connected unit (an
    // attempt or a reconnect loop waits for it) and returns so; it then
    // reads the EQ in 20 ms, stops the attempt and reconnect timers, starts
    // keep-alive and watchdog, enables Refresh, removes the connecting
    // dialog, shows the connection flag on and sets ConnectedIndex.
    virtual bool IdentityReceived(RxOrigin::Kind kind) = 0;
    // The identity reply of the unit that has just become the connected one.
    virtual void IdentityRead(const IdentityReply& identity) { (void)identity; }

    // Device column: the connected unit's own name on its tile, and the MAC
    // of the unit at index, the one at the other end of the connection,
    // in its entry and on its tile.
    virtual void ShowConnectedName(const QString& name) = 0;
    virtual void ShowConnectedMac(int index, const MacBytes& mac) = 0;

    // Status row: shown for units that report their status.
    virtual void ShowStatusPanel(bool visible) = 0;
    virtual void ApplyStatusReply(const StatusReading& status) = 0;

    // Editor: the unit's EQ block and its echoes (bypass on or off, trim in dB).
    virtual void ApplyEqBlock(const EqBlock& block) = 0;
    virtual void ApplyBandEcho(const BandEcho& echo) = 0;
    virtual void ApplyBypassEcho(bool bypass) = 0;
    virtual void ApplyTrimEcho(int trim) = 0;

    // Posts the "More Info" reply to the message loop, which shows it once
    // the receive handler has returned.
    virtual void PostInfoMessage(int burnCount, int totalMinutes) = 0;
};

}  // namespace qireq
