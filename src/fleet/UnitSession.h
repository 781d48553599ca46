#pragma once
// One conversation with one unit, used from one worker thread from start to
// end (many units are served at once, one thread each). Written to
// be read top to bottom: each call sends and then waits, running this
// thread's event loop, for the reply or the time limit.
//
// The links of src/protocol carry the frames, with their pauses after every
// write (20 ms serial, 18 ms TCP), spent on this thread. Frames are found by
// a FrameAssembler of the session's own, so units never spoil each other's
// frames. On connecting a session greets the unit as the window does
// (ConnectGreeting): over TCP the ReadMac block, then Identify, whose reply
// it waits for.
#include "fleet/UnitTarget.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/ReplyFields.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace qireq {
class DeviceLink;
class TClientSocket;
class TComPort;
}  // namespace qireq

namespace qireq::fleet {

class UnitSession {
public:
    UnitSession(UnitTarget target, int timeoutMs);
    ~UnitSession();
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // Opens the port or connection and identifies the unit. False with the
    // reason in Error(): permission, port in use, no such port, refused,
    // no connection or no identity reply within the time limit.
    bool Connect();
    // Connect in two steps: open the port or connection; then identify
    // (over TCP the ReadMac block first, as the window does).
    bool OpenOnly();
    bool Identify();

    // Sends the frame and waits for the first frame with the reply code that
    // arrives after it. Absent, with Error() set, when none comes in time.
    // `what` names the request in that message.
    std::optional<QByteArray> Request(const QByteArray& frame, Command reply, const QString& what);
    // Sends a frame that draws no reply (Rename).
    bool Send(const QByteArray& frame);

    // The unit's block (ReadEqBlock); absent with Error() set.
    std::optional<EqBlock> ReadBlock(const QString& why = QStringLiteral("ReadEqBlock"));

    const IdentityReply& Identity() const { return identity_; }
    std::optional<MacBytes> Mac() const { return mac_; }
    const UnitTarget& Target() const { return target_; }
    int TimeoutMs() const { return timeoutMs_; }
    QString Error() const { return error_; }

private:
    bool OpenSerial();
    bool OpenTcp();
    void ReadAvailable();
    void OnFrame(const QByteArray& frame);
    bool WaitFor(const std::function<bool()>& done, int ms);
    std::optional<QByteArray> TakeFrame(std::uint8_t code);
    QString Seconds() const;

    UnitTarget target_;
    int timeoutMs_;
    std::unique_ptr<TComPort> port_;
    std::unique_ptr<TClientSocket> socket_;
    std::unique_ptr<DeviceLink> link_;
    FrameAssembler assembler_;
    std::deque<QByteArray> frames_;
    std::function<void()> wake_;

    IdentityReply identity_;
    std::optional<MacBytes> mac_;
    QString error_;

    // Filled by the components' notifications.
    bool tcpConnected_ = false;
    int tcpError_ = 0;
    bool lost_ = false;
    int serialError_ = 0;
    QString serialErrorText_;
};

// The message for a serial port that would not open, from the platform's
// error number (5: refused or held; 2: absent) and whether this user may
// open the port at all.
QString SerialOpenMessage(const QString& port, int systemError, const QString& systemText);
// The message for a TCP connection that failed with the platform's number.
QString TcpFailureMessage(const QString& label, int systemError);

}  // namespace qireq::fleet
