#pragma once
// The receive path behind the three byte sources (both serial ports and the
// TCP client): every byte goes into the one shared FrameAssembler, and each
// complete frame is acted on by its command code.
//
// Every frame first counts as traffic (QuietTicks := 0, Heard := true).
// Then:
//   0x0B ping answer  - from a serial port not yet listed: the unit behind
//                       that port is listed and the prober held; over TCP
//                       nothing more;
//   0x1F identity     - ignored while connected; otherwise the connection is
//                       established (see Identified in the .cpp);
//   0x11, 0x13, 0x0E  - band, bypass and trim echoes to the editor, read;
//   0x14 EQ block     - SendGate := 0, then the editor applies the block;
//   0x21 MAC          - onto the tile of the unit it came from (see MacReceived);
//   0x23 status       - read, to the status row;
//   0x24 information  - posted to the message loop as an InfoMessage;
//   anything else     - nothing more.
// Replies too short to hold the fields they are read for are dropped after
// the liveness update, as are band echoes naming a band outside 1..5 and
// status replies that end before their standby flag.
//
// GUI thread only. Not a QObject.
#include "protocol/ReplyHandoffs.h"

#include <QByteArray>
#include <QVector>

namespace qireq {

class DeviceList;
class FrameAssembler;
struct MainState;

class ReplyDispatcher {
public:
    // The identity reply's status capability and the unit name are read by
    // ReadIdentity; this is the send gate it leaves behind.
    static constexpr int kGateAfterIdentity = 9;

    ReplyDispatcher(MainState& state, DeviceList& devices, FrameAssembler& assembler,
                    ReplyHandoffs& handoffs);
    ~ReplyDispatcher();
    ReplyDispatcher(const ReplyDispatcher&) = delete;
    ReplyDispatcher& operator=(const ReplyDispatcher&) = delete;

    // Bytes read from one source. A frame is credited to the source whose
    // byte completed it. Bytes fed while a frame is being acted on (from a
    // nested event loop) are assembled right after, in arrival order.
    void Feed(const RxOrigin& origin, const char* data, int size);
    void Feed(const RxOrigin& origin, const QByteArray& data);

    // One complete frame, as the assembler hands it on.
    void Dispatch(const RxOrigin& origin, const QByteArray& frame);

private:
    struct Pending {
        RxOrigin origin;
        QByteArray bytes;
    };

    void PingAnswered(const RxOrigin& origin);
    void Identified(const RxOrigin& origin, const QByteArray& frame);
    void EqBlockReceived(const QByteArray& frame);
    void MacReceived(const RxOrigin& origin, const QByteArray& frame);
    void InfoReceived(const QByteArray& frame);

    MainState& state_;
    DeviceList& devices_;
    FrameAssembler& assembler_;
    ReplyHandoffs& handoffs_;

    RxOrigin current_;  // the source of the bytes being assembled
    bool feeding_ = false;
    QVector<Pending> pending_;
};

}  // namespace qireq
