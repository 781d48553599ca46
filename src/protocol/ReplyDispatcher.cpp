#include "protocol/ReplyDispatcher.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/ProbeAnswer.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include <QScopedValueRollback>

#include <utility>

namespace qireq {

ReplyDispatcher::ReplyDispatcher(MainState& state, DeviceList& devices, FrameAssembler& assembler,
                                 ReplyHandoffs& handoffs)
    : state_(state), devices_(devices), assembler_(assembler), handoffs_(handoffs)
{
    assembler_.SetFrameHandler([this](const QByteArray& frame) { Dispatch(current_, frame); });
}

ReplyDispatcher::~ReplyDispatcher()
{
    assembler_.SetFrameHandler(nullptr);
}

void ReplyDispatcher::Feed(const RxOrigin& origin, const QByteArray& data)
{
    Feed(origin, data.constData(), static_cast<int>(data.size()));
}

void ReplyDispatcher::Feed(const RxOrigin& origin, const char* data, int size)
{
    if (data == nullptr || size <= 0)
        return;
    if (feeding_) {
        pending_.append({origin, QByteArray(data, size)});
        return;
    }
    // Lowered again however a hand-off leaves (it may throw).
    const QScopedValueRollback<bool> feeding(feeding_, true);
    current_ = origin;
    assembler_.Feed(data, size);
    while (!pending_.isEmpty()) {
        const Pending next = pending_.takeFirst();
        current_ = next.origin;
        assembler_.Feed(next.bytes);
    }
}

void ReplyDispatcher::Dispatch(const RxOrigin& origin, const QByteArray& frame)
{
    state_.MarkHeard();
    const std::optional<std::uint8_t> code = ReplyCode(frame);
    if (!code)
        return;
    switch (static_cast<Command>(*code)) {
    case Command::Ping:
        PingAnswered(origin);
        return;
    case Command::Identify:
        Identified(origin, frame);
        return;
    case Command::SetBand:
        if (const std::optional<BandEcho> echo = ReadBandEcho(frame))
            handoffs_.ApplyBandEcho(*echo);
        return;
    case Command::SetBypass:
        if (const std::optional<bool> bypass = ReadBypassEcho(frame))
            handoffs_.ApplyBypassEcho(*bypass);
        return;
    case Command::SetTrim:
        if (const std::optional<std::uint8_t> trimCode = ReadTrimEcho(frame))
            handoffs_.ApplyTrimEcho(DecodeTrim(*trimCode));
        return;
    case kEqBlockReply:
        EqBlockReceived(frame);
        return;
    case Command::ReadMac:
        MacReceived(origin, frame);
        return;
    case Command::ReadStatus:
        if (const std::optional<StatusReading> status = ReadStatusReply(frame))
            handoffs_.ApplyStatusReply(*status);
        return;
    case Command::ReadInfo:
        InfoReceived(frame);
        return;
    default:
        return;
    }
}

// Over TCP a ping answer is only a sign of life. From a serial port it may
// be a probe answer: the unit is listed under the port the bytes came from.
void ReplyDispatcher::PingAnswered(const RxOrigin& origin)
{
    if (origin.kind != RxOrigin::Kind::SerialPort)
        return;
    CreditPingAnswer(devices_, origin.portName);
}

// The unit answered Identify: it is the connected unit from now on, if the
// connection was waiting for it. A second identity reply while connected
// changes nothing beyond the liveness above.
void ReplyDispatcher::Identified(const RxOrigin& origin, const QByteArray& frame)
{
    if (state_.Connected)
        return;
    const IdentityReply identity = ReadIdentity(frame);
    if (!handoffs_.IdentityReceived(origin.kind))
        return;

    state_.SendGate = kGateAfterIdentity;
    handoffs_.IdentityRead(identity);
    if (state_.ConnectedIndex != -1)
        handoffs_.ShowConnectedName(identity.Name);
    // A unit without status support must not inherit the row (and its
    // status requests) from a unit connected before it.
    handoffs_.ShowStatusPanel(identity.SupportsStatus());
}

void ReplyDispatcher::EqBlockReceived(const QByteArray& frame)
{
    const std::optional<EqBlock> block = ReadEqBlockReply(frame);
    if (!block)
        return;
    state_.SendGate = 0;
    handoffs_.ApplyEqBlock(*block);
}

// Over TCP the MAC is asked for before Identify, so its reply comes while
// the unit is not connected yet: it belongs to the unit at the other end of
// the TCP connection, the one being connected, not to whichever unit was
// connected last (ConnectedIndex keeps that one after a disconnect by
// click). A MAC reply over serial goes to the connected unit, if any.
void ReplyDispatcher::MacReceived(const RxOrigin& origin, const QByteArray& frame)
{
    const int index = origin.kind == RxOrigin::Kind::Socket
                          ? devices_.IndexOf(handoffs_.ConnectionAddress(origin.kind))
                          : state_.ConnectedIndex;
    if (index == -1)
        return;
    if (const std::optional<MacBytes> mac = ReadMacReply(frame))
        handoffs_.ShowConnectedMac(index, *mac);
}

void ReplyDispatcher::InfoReceived(const QByteArray& frame)
{
    if (const std::optional<InfoReply> info = ReadInfoReply(frame))
        handoffs_.PostInfoMessage(info->BurnCount, info->TotalMinutes);
}

}  // namespace qireq
